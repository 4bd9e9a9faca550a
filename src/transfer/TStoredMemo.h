#pragma once

// The stored-memo rule for memos written by the imports and the copy out: when the length of the
// whole text, every line break counted as the two characters CR LF, is a positive multiple of 4,
// one blank is appended to the end of its last line (in front of a final line break, when the text
// ends with one). Works on Windows-1252 bytes; line breaks are kept as they are.

#include <string>

namespace qm::transfer {

class TStoredMemo {
public:
    static void Apply(std::string& text);
};

} // namespace qm::transfer
