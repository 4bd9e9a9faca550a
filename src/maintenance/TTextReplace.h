#pragma once

// Replacing the matching text inside one value (Search and Replace, "Replace only the matching
// text with"), on Windows-1252 bytes: the value is scanned from its start for the find text
// (comparing upper-cased copies when the case does not matter); each occurrence is replaced and
// the scan goes on after it, so a replacement that contains the find text is not replaced again.
// Parts that do not match keep their case. An empty find text replaces nothing. At most
// kMaxOccurrences are replaced in one value; the rest of the value is then kept as it was.

#include <string>
#include <string_view>

namespace qm::maintenance {

struct TReplaced {
    std::string value;
    int occurrences = 0;
    bool limitReached = false;
};

class TTextReplace {
public:
    static constexpr int kMaxOccurrences = 50;

    static TReplaced Replace(std::string_view value, std::string_view find,
                             std::string_view replacement, bool caseSensitive);
};

} // namespace qm::maintenance
