#pragma once

// Conversion between UTF-8 (what the table tool reads and writes on the command line and in CSV
// files) and the single-byte Windows-1252 text that tables hold. Plain C++ so the tool's table
// commands need nothing beyond the engine.

#include <string>
#include <string_view>

namespace qm::tools {

class TTextEncoding {
public:
    // True when the bytes form valid UTF-8 (shortest forms only, no surrogates).
    static bool IsValidUtf8(std::string_view bytes);

    // Windows-1252 bytes to UTF-8. The five bytes the code page leaves unassigned (0x81, 0x8D,
    // 0x8F, 0x90, 0x9D) map to the control characters of the same value, so nothing is lost.
    static std::string Win1252ToUtf8(std::string_view text);

    // UTF-8 to Windows-1252. Returns false when a character has no Windows-1252 byte (or the
    // input is not UTF-8); then *badCodePoint holds the first such character (or 0xFFFD for
    // broken UTF-8) and *out is unspecified. Characters are never replaced silently.
    static bool Utf8ToWin1252(std::string_view text, std::string& out, char32_t* badCodePoint);

    // "U+20AC" style name of a character for messages.
    static std::string CodePointName(char32_t cp);
};

} // namespace qm::tools
