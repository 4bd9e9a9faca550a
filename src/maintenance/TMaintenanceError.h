#pragma once

// Why a maintenance run could not start or go on, with the message to show. A run that needs one
// of the address file's tags and finds it missing names the tag, so the caller can offer to
// rebuild the indexes.

#include <QString>
#include <stdexcept>

namespace qm::maintenance {

class TMaintenanceError : public std::runtime_error {
public:
    explicit TMaintenanceError(const QString& message, const QString& missingTag = {});
    const QString& Message() const { return mMessage; }
    // The tag the run needs and the index lacks; empty for other failures.
    const QString& MissingTag() const { return mMissingTag; }

private:
    QString mMessage;
    QString mMissingTag;
};

} // namespace qm::maintenance
