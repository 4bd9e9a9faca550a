#pragma once

// Where the record reader takes its bytes from: a text file (converted to UTF-8 when it was
// UTF-16) or, in tests and the fuzzer, a block of memory. Plain C++.

#include <cstddef>
#include <cstring>
#include <string_view>

namespace qm::transfer {

class TByteSource {
public:
    virtual ~TByteSource() = default;
    // Copies up to size bytes into buffer; 0 only at the end of the input. Errors are thrown by
    // the implementation.
    virtual size_t Read(char* buffer, size_t size) = 0;
};

// Bytes held by the caller, who keeps them alive while the source is read.
class TMemoryByteSource : public TByteSource {
public:
    explicit TMemoryByteSource(std::string_view bytes) : mBytes(bytes) {}
    size_t Read(char* buffer, size_t size) override
    {
        const size_t n = size < mBytes.size() - mPos ? size : mBytes.size() - mPos;
        if (n > 0)
            std::memcpy(buffer, mBytes.data() + mPos, n);
        mPos += n;
        return n;
    }
    void Rewind() { mPos = 0; }

private:
    std::string_view mBytes;
    size_t mPos = 0;
};

} // namespace qm::transfer
