#pragma once

// The bytes the modem gets, and the check that keeps anything else out of them.
//
// The dial command is "ATDT" (tone) or "ATDP" (pulse), the number exactly as typed, CR LF; the
// hang-up is "ATH" CR LF. Only printable ASCII (blank to tilde) may be dialled: the number comes
// from record fields that imports fill from other files, and a line break in it would start a
// second modem command. Letters, hyphens, blanks and brackets go through as typed; whether the
// modem takes them is its own business, and its answer says so.

#include "dialer/TDialOptions.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace qm::dialer {

class TDialCommand {
public:
    static QByteArray Dial(TDialMethod method, const QString& number);
    static QByteArray HangUp();

    // The first character that may not be dialled, or nothing when all may.
    static std::optional<char32_t> FirstRefused(const QString& number);
    // A character as a message shows it: control characters (and blanks outside ASCII) as
    // "U+000A", others as themselves.
    static QString CharacterName(char32_t c);
    // "The number contains a character that cannot be dialled: " + the character's name.
    static QString RefusalText(char32_t c);
};

} // namespace qm::dialer
