#include "xbase/TXbaseError.h"

namespace qm::xbase {
namespace {

std::string Describe(const std::string& message, const std::string& file, int64_t offset)
{
    std::string text;
    if (!file.empty())
        text = file + ": ";
    text += message;
    if (offset != TXbaseError::kNoOffset)
        text += " (at byte " + std::to_string(offset) + ")";
    return text;
}

} // namespace

TXbaseError::TXbaseError(TErrorKind kind, std::string message, std::string file, int64_t offset,
                         int osError)
    : std::runtime_error(Describe(message, file, offset)), mKind(kind),
      mMessage(std::move(message)), mFile(std::move(file)), mOffset(offset), mOsError(osError)
{
}

} // namespace qm::xbase
