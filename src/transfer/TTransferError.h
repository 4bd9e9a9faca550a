#pragma once

// A failure of an import or export with the text the user is shown: what failed and where (file,
// line, field). Thrown by the transfer classes; the runs turn it into their closing messages.

#include <QString>
#include <stdexcept>

namespace qm::transfer {

class TTransferError : public std::runtime_error {
public:
    explicit TTransferError(const QString& message)
        : std::runtime_error(message.toStdString()), mMessage(message)
    {
    }
    const QString& Message() const { return mMessage; }

private:
    QString mMessage;
};

} // namespace qm::transfer
