#include "design/stream/TLayoutError.h"

namespace qm::design {

TLayoutError::TLayoutError(TLayoutErrorKind kind, const QString& message, qint64 offset,
                           const QString& path)
    : std::runtime_error(message.toStdString()), mKind(kind), mMessage(message), mOffset(offset),
      mPath(path)
{
}

TLayoutError TLayoutError::StreamRead(qint64 offset)
{
    return TLayoutError(TLayoutErrorKind::StreamRead, QString::fromLatin1(kStreamRead), offset);
}

TLayoutError TLayoutError::InvalidStreamFormat(qint64 offset)
{
    return TLayoutError(TLayoutErrorKind::InvalidStreamFormat,
                        QString::fromLatin1(kInvalidStreamFormat), offset);
}

TLayoutError TLayoutError::InvalidValue(qint64 offset)
{
    return TLayoutError(TLayoutErrorKind::InvalidValue, QString::fromLatin1(kInvalidValue), offset);
}

TLayoutError TLayoutError::WithPath(const QString& path) const
{
    return TLayoutError(mKind, mMessage, mOffset, path);
}

} // namespace qm::design
