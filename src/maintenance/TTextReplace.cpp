#include "maintenance/TTextReplace.h"

#include "xbase/TCodePage1252.h"

namespace qm::maintenance {

TReplaced TTextReplace::Replace(std::string_view value, std::string_view find,
                                std::string_view replacement, bool caseSensitive)
{
    TReplaced out;
    if (find.empty()) {
        out.value = value;
        return out;
    }
    std::string upperValue, upperFind;
    std::string_view haystack = value;
    std::string_view needle = find;
    if (!caseSensitive) {
        upperValue = xbase::TCodePage1252::Upper(value);
        upperFind = xbase::TCodePage1252::Upper(find);
        haystack = upperValue;
        needle = upperFind;
    }
    out.value.reserve(value.size() + replacement.size());
    std::size_t from = 0;
    while (from <= value.size()) {
        if (out.occurrences == kMaxOccurrences) {
            out.limitReached = haystack.find(needle, from) != std::string_view::npos;
            break;
        }
        const std::size_t at = haystack.find(needle, from);
        if (at == std::string_view::npos)
            break;
        out.value.append(value.substr(from, at - from));
        out.value.append(replacement);
        from = at + needle.size();
        ++out.occurrences;
    }
    if (from < value.size())
        out.value.append(value.substr(from));
    return out;
}

} // namespace qm::maintenance
