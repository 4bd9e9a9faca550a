#include "data/TIniText.h"

namespace qm::data {
namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view s)
{
    while (!s.empty() && (IsBlank(s.front()) || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (IsBlank(s.back()) || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    return true;
}

} // namespace

TIniText::TIniText(std::string bytes) : mBytes(std::move(bytes)) {}

std::string_view TIniText::LineEnding() const
{
    const size_t nl = mBytes.find('\n');
    if (nl != std::string::npos && nl > 0 && mBytes[nl - 1] == '\r')
        return "\r\n";
    return "\n";
}

std::optional<TIniText::TSectionHit> TIniText::Find(std::string_view section,
                                                    std::string_view key) const
{
    const std::string_view text(mBytes);
    std::optional<TSectionHit> hit;
    bool inSection = false;
    size_t pos = text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
    while (pos < text.size()) {
        TLine line;
        line.begin = pos;
        const size_t nl = text.find('\n', pos);
        line.end = nl == std::string_view::npos ? text.size() : nl + 1;
        line.contentEnd = nl == std::string_view::npos ? text.size() : nl;
        if (line.contentEnd > line.begin && text[line.contentEnd - 1] == '\r')
            --line.contentEnd;
        pos = line.end;

        const std::string_view content = text.substr(line.begin, line.contentEnd - line.begin);
        const std::string_view trimmed = TrimBlanks(content);
        if (!trimmed.empty() && trimmed.front() == '[') {
            if (inSection)
                return hit; // the first matching section ends here
            const size_t close = trimmed.find(']');
            const std::string_view name = TrimBlanks(trimmed.substr(
                1, close == std::string_view::npos ? std::string_view::npos : close - 1));
            if (SameName(name, section)) {
                inSection = true;
                hit = TSectionHit{line, line.end, std::nullopt};
            }
            continue;
        }
        if (!inSection || trimmed.empty())
            continue;
        hit->lastContentEnd = line.end;
        if (hit->key || trimmed.front() == ';' || trimmed.front() == '#')
            continue;
        const size_t eq = content.find('=');
        if (eq == std::string_view::npos)
            continue;
        if (SameName(TrimBlanks(content.substr(0, eq)), key))
            hit->key = TKeyHit{line, line.begin + eq + 1};
    }
    return hit;
}

std::optional<std::string> TIniText::Value(std::string_view section, std::string_view key) const
{
    const auto hit = Find(section, key);
    if (!hit || !hit->key)
        return std::nullopt;
    std::string_view value = TrimBlanks(std::string_view(mBytes).substr(
        hit->key->valueBegin, hit->key->line.contentEnd - hit->key->valueBegin));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

void TIniText::SetValue(std::string_view section, std::string_view key, std::string_view value)
{
    const std::string eol(LineEnding());
    const auto hit = Find(section, key);
    if (hit && hit->key) {
        mBytes.replace(hit->key->valueBegin, hit->key->line.contentEnd - hit->key->valueBegin,
                       value);
        return;
    }
    std::string keyLine;
    keyLine.append(key).append("=").append(value).append(eol);
    if (hit) {
        size_t at = hit->lastContentEnd;
        // A section whose last line has no ending (end of file) needs one before the new line.
        if (at > 0 && mBytes[at - 1] != '\n') {
            mBytes.insert(at, eol);
            at += eol.size();
        }
        mBytes.insert(at, keyLine);
        return;
    }
    const bool onlyMark = mBytes == kByteOrderMark;
    if (!mBytes.empty() && !onlyMark && mBytes.back() != '\n')
        mBytes.append(eol);
    if (!mBytes.empty() && !onlyMark)
        mBytes.append(eol);
    mBytes.append("[").append(section).append("]").append(eol).append(keyLine);
}

bool TIniText::RemoveKey(std::string_view section, std::string_view key)
{
    const auto hit = Find(section, key);
    if (!hit || !hit->key)
        return false;
    mBytes.erase(hit->key->line.begin, hit->key->line.end - hit->key->line.begin);
    return true;
}

} // namespace qm::data
