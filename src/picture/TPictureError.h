#pragma once

// A picture that cannot be decoded: what was wrong and where (byte offset into the picture's
// bytes, -1 when the whole file is meant). The loaders throw it; TPicture turns it into a value.

#include <QString>
#include <cstdint>
#include <stdexcept>

namespace qm::picture {

class TPictureError : public std::runtime_error {
public:
    TPictureError(const QString& message, std::int64_t offset = -1);

    const QString& Message() const { return mMessage; }
    std::int64_t Offset() const { return mOffset; }
    // "message (at byte N)" for logs and test failures.
    QString Describe() const;

private:
    QString mMessage;
    std::int64_t mOffset;
};

} // namespace qm::picture
