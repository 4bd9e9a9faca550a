#pragma once

// The three case conversions of Convert Case, on Windows-1252 bytes with the table engine's own
// letter maps, so a value never changes its length (ß and µ have no single-byte capital and stay)
// and the upper-cased keys of the address file's tags never move.
//
// Proper case lower-cases the value, then upper-cases every letter that starts the value or follows
// a blank: "o'NEILL mcDONALD" gives "O'neill Mcdonald", "élodie" gives "Élodie".

#include <QString>
#include <string>
#include <string_view>

namespace qm::maintenance {

enum class TCaseKind { Upper, Proper, Lower };

class TCaseMapping {
public:
    // Converts n bytes in place.
    static void Apply(TCaseKind kind, char* bytes, std::size_t n);
    static std::string Convert(TCaseKind kind, std::string_view bytes);
    // The same on text; characters outside the code page are left as they are.
    static QString Convert(TCaseKind kind, const QString& text);
};

} // namespace qm::maintenance
