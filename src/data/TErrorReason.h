#pragma once

// The reason an engine error gives, as the second line of a message: the messages keep their
// first line and add this one, so the user sees why ("permission denied", "damaged header at
// byte N", "in use by another program") and not only that something failed.

#include <QString>

namespace qm::xbase {
class TXbaseError;
}

namespace qm::data {

class TErrorReason {
public:
    // "NAME.EXT: what went wrong (at byte N)": the file's name without its folder (the first line
    // of the message names the path), the engine's message and the offset when there is one.
    static QString Of(const xbase::TXbaseError& error);

    // first + CR LF + reason; just first when the reason is empty.
    static QString WithReason(const QString& first, const QString& reason);
};

} // namespace qm::data
