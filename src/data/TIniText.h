#pragma once

// An INI text held as bytes, read and changed the way the Windows profile-string service does it.
//
// Contract:
// - Section and key names match without regard to ASCII letter case; the first matching section
//   and, within it, the first matching key win.
// - A value is the text after the first '=' with blanks and tabs trimmed at both ends; a value
//   wrapped in a pair of matching quotes (" or ') loses them.
// - Lines whose first non-blank byte is ';' or '#' are comments; lines without '=' hold no key.
// - SetValue() changes at most one line or inserts one (and a section line when needed); every
//   other byte of the text is kept exactly, so comments, unknown sections and their order survive.
// - Lines end with "\n" or "\r\n"; inserted lines use the ending of the text's first line ("\n"
//   for an empty text).
// The class knows nothing of files or encodings: values are byte strings.

#include <optional>
#include <string>
#include <string_view>

namespace qm::data {

class TIniText {
public:
    TIniText() = default;
    explicit TIniText(std::string bytes);

    const std::string& Bytes() const { return mBytes; }

    std::optional<std::string> Value(std::string_view section, std::string_view key) const;
    void SetValue(std::string_view section, std::string_view key, std::string_view value);
    // Removes the key's line; returns false when there was none.
    bool RemoveKey(std::string_view section, std::string_view key);

private:
    struct TLine {
        size_t begin = 0;      // first byte of the line
        size_t contentEnd = 0; // end of the text before the line ending
        size_t end = 0;        // first byte after the line ending
    };
    struct TKeyHit {
        TLine line;
        size_t valueBegin = 0; // first byte after '='
    };
    struct TSectionHit {
        TLine header;
        size_t lastContentEnd = 0; // end (with ending) of the last non-blank line of the section
        std::optional<TKeyHit> key;
    };

    std::optional<TSectionHit> Find(std::string_view section, std::string_view key) const;
    std::string_view LineEnding() const;

    std::string mBytes;
};

} // namespace qm::data
