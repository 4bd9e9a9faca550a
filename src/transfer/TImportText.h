#pragma once

// Turns the bytes of an imported value into what a character field of the address file holds:
// Windows-1252, with every line break (CR LF, CR or LF) as one blank. UTF-8 values are converted;
// Windows-1252 values pass as they are. A character that Windows-1252 cannot hold is never
// replaced: the conversion fails and names it.

#include <QString>
#include <string>
#include <string_view>

namespace qm::transfer {

class TImportText {
public:
    explicit TImportText(bool utf8) : mUtf8(utf8) {}

    // Appends the converted value to out (cleared first). Returns false when a character cannot
    // be held; *bad is then that character (U+FFFD for a broken UTF-8 sequence).
    bool ToWin1252(std::string_view value, std::string& out, char32_t* bad) const;

    // The value as the sample grid shows it (line breaks as blanks).
    QString Display(std::string_view value) const;

    // The Windows-1252 byte of a character, or -1 when the code page has none.
    static int Win1252Byte(char32_t c);

    // "U+0141 (Ł)" for messages.
    static QString CharacterName(char32_t c);

private:
    bool mUtf8;
};

} // namespace qm::transfer
