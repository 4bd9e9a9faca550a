#include "maintenance/TMaintenanceError.h"

namespace qm::maintenance {

TMaintenanceError::TMaintenanceError(const QString& message, const QString& missingTag)
    : std::runtime_error(message.toStdString()), mMessage(message), mMissingTag(missingTag)
{
}

} // namespace qm::maintenance
