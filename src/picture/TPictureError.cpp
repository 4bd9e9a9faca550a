#include "picture/TPictureError.h"

namespace qm::picture {

TPictureError::TPictureError(const QString& message, std::int64_t offset)
    : std::runtime_error(message.toStdString()), mMessage(message), mOffset(offset)
{
}

QString TPictureError::Describe() const
{
    if (mOffset < 0)
        return mMessage;
    return QStringLiteral("%1 (at byte %2)").arg(mMessage).arg(mOffset);
}

} // namespace qm::picture
