#pragma once

// Reads layout stream values from a byte buffer, bounded by it: every length is checked against
// the bytes left before anything is allocated, and lists nest at most kMaxDepth deep. Running
// out of bytes throws TLayoutError "Stream read error" with the offset.

#include "design/stream/TLayoutValue.h"

#include <QByteArray>
#include <cstdint>
#include <utility>

namespace qm::design {

class TLayoutReader {
public:
    static constexpr int kMaxDepth = 16;

    // Keeps its own (shared, not copied) reference to the bytes.
    explicit TLayoutReader(QByteArray bytes) : mBytes(std::move(bytes)) {}

    qint64 Position() const { return mPos; }
    qint64 Remaining() const { return mBytes.size() - mPos; }
    bool AtEnd() const { return mPos >= mBytes.size(); }

    std::uint8_t ReadByte();
    std::uint8_t PeekByte() const;
    QByteArray ReadBytes(qint64 count);
    std::uint32_t ReadLe32();
    QByteArray ReadShortString();
    // True (and consumed) when the next byte is 0x00, the end of a list.
    bool AtListEnd();
    // 0x01 expected; anything else is "Invalid stream format".
    void ReadListStart();
    // 0x00 expected; anything else is "Invalid stream format".
    void ReadListEnd();

    // One tagged value. Tags 0x05 (kept raw), 0x0D and 0x0E are read but only 0x05 and 0x0D
    // carry a value any property accepts as nothing; 0x0E and unknown tags throw InvalidValue.
    TLayoutValue ReadValue();

private:
    TLayoutValue ReadValue(int depth);
    void Need(qint64 count) const;

    const QByteArray mBytes;
    qint64 mPos = 0;
};

} // namespace qm::design
