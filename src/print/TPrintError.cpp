#include "print/TPrintError.h"

namespace qm::print {

TPrintError::TPrintError(TPrintErrorKind kind, const QString& message, std::int64_t offset)
    : std::runtime_error(message.toStdString()), mKind(kind), mMessage(message), mOffset(offset)
{
}

} // namespace qm::print
