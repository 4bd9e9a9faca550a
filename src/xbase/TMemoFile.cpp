#include "xbase/TMemoFile.h"

#include "xbase/TFileIo.h"
#include "xbase/TMemoFormat.h"
#include "xbase/TXbaseError.h"

#include <algorithm>
#include <cstring>

namespace qm::xbase {
namespace {

uint32_t Be32(const unsigned char* p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}

uint32_t Le32(const unsigned char* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

void PutBe32(unsigned char* p, uint32_t v)
{
    p[0] = uint8_t(v >> 24);
    p[1] = uint8_t(v >> 16);
    p[2] = uint8_t(v >> 8);
    p[3] = uint8_t(v);
}

} // namespace

TMemoFile::TMemoFile(std::unique_ptr<TFileIo> file, TMemoKind kind, bool writable)
    : mFile(std::move(file)), mKind(kind), mWritable(writable && kind == TMemoKind::Fpt)
{
    unsigned char h[memo::kFptHeaderSize] = {};
    const uint64_t size = mFile->Size();
    mSize = size;
    const size_t got = mFile->ReadAt(0, h, sizeof h);
    if (got < 8)
        throw TXbaseError(TErrorKind::Damaged, "the memo file is too short", Path(), 0);
    if (mKind == TMemoKind::Fpt) {
        mBlockSize = (uint32_t(h[memo::kFptOffBlockSize]) << 8) | h[memo::kFptOffBlockSize + 1];
        if (mBlockSize == 0)
            throw TXbaseError(TErrorKind::Damaged, "the memo file's block size is 0", Path(),
                              memo::kFptOffBlockSize);
        mNextFree = Be32(h + memo::kFptOffNextFree);
        mFirstBlock = uint32_t((memo::kFptHeaderSize + mBlockSize - 1) / mBlockSize);
    } else {
        mNextFree = Le32(h + memo::kDbtOffNextFree);
        mBlockSize = memo::kDbt3BlockSize;
        const uint32_t b4 =
            uint32_t(h[memo::kDbt4OffBlockSize]) | (uint32_t(h[memo::kDbt4OffBlockSize + 1]) << 8);
        // dBase IV keeps its block size at byte 20; dBase III leaves the header zero there.
        if (got >= 22 && b4 >= 64 && b4 % 64 == 0 && h[4] == 0 && h[5] == 0) {
            mBlockSize = b4;
            mDbase4 = true;
        }
        mFirstBlock = 1;
    }
    if (!mWritable)
        return;
    // The free pointer must lie past every block in the file, or a new memo would overwrite one.
    const uint64_t endBlock = std::max<uint64_t>((size + mBlockSize - 1) / mBlockSize, mFirstBlock);
    if (endBlock > UINT32_MAX)
        throw TXbaseError(TErrorKind::Damaged, "the memo file is too large", Path());
    if (mNextFree < endBlock) {
        mNextFree = uint32_t(endBlock);
        mRaised = true;
        WriteNextFree();
    }
}

TMemoFile::~TMemoFile()
{
    try {
        if (mWritable)
            Flush();
    } catch (...) {
        // The next open raises the free pointer instead.
    }
}

const std::string& TMemoFile::Path() const
{
    return mFile->Path();
}

void TMemoFile::WriteNewFpt(TFileIo& file, uint32_t blockSize)
{
    unsigned char h[memo::kFptHeaderSize] = {};
    const uint32_t first = uint32_t((memo::kFptHeaderSize + blockSize - 1) / blockSize);
    PutBe32(h + memo::kFptOffNextFree, first);
    h[memo::kFptOffBlockSize] = uint8_t(blockSize >> 8);
    h[memo::kFptOffBlockSize + 1] = uint8_t(blockSize);
    file.WriteAt(0, h, sizeof h);
}

std::string TMemoFile::Read(uint32_t block)
{
    if (block == 0)
        return {};
    if (mShared || !mWritable)
        mSize = mFile->Size(); // others may have added memos
    const uint64_t size = mSize;
    const uint64_t at = uint64_t(block) * mBlockSize;
    if (block < mFirstBlock || at >= size)
        throw TXbaseError(TErrorKind::Damaged,
                          "a record points to memo block " + std::to_string(block) +
                              ", outside the memo file",
                          Path(), int64_t(at));
    return mKind == TMemoKind::Fpt ? ReadFpt(block, size) : ReadDbt(block, size);
}

std::string TMemoFile::ReadFpt(uint32_t block, uint64_t size)
{
    // Most memos are short: one read fetches the block header and the text together.
    constexpr size_t kFirstRead = 512;
    const uint64_t at = uint64_t(block) * mBlockSize;
    char first[kFirstRead];
    const size_t got = mFile->ReadAt(at, first, std::min<uint64_t>(kFirstRead, size - at));
    if (got < memo::kFptBlockHeaderSize)
        throw TXbaseError(TErrorKind::Damaged,
                          "the memo at block " + std::to_string(block) + " is cut off", Path(),
                          int64_t(at));
    const uint32_t length =
        Be32(reinterpret_cast<const unsigned char*>(first) + memo::kFptOffBlockLength);
    if (at + memo::kFptBlockHeaderSize + length > size)
        throw TXbaseError(TErrorKind::Damaged,
                          "the memo at block " + std::to_string(block) + " claims " +
                              std::to_string(length) + " bytes, past the end of the memo file",
                          Path(), int64_t(at + memo::kFptOffBlockLength));
    if (memo::kFptBlockHeaderSize + length <= got)
        return std::string(first + memo::kFptBlockHeaderSize, length);
    std::string text(length, '\0');
    mFile->ReadExact(at + memo::kFptBlockHeaderSize, text.data(), length);
    return text;
}

std::string TMemoFile::ReadDbt(uint32_t block, uint64_t size)
{
    const uint64_t at = uint64_t(block) * mBlockSize;
    if (mDbase4) {
        unsigned char bh[8];
        mFile->ReadExact(at, bh, sizeof bh);
        if (std::memcmp(bh, memo::kDbt4BlockMark, 4) == 0) {
            const uint32_t length = Le32(bh + 4);
            if (length < 8 || at + length > size)
                throw TXbaseError(TErrorKind::Damaged,
                                  "the memo at block " + std::to_string(block) +
                                      " has a bad length " + std::to_string(length),
                                  Path(), int64_t(at + 4));
            std::string text(length - 8, '\0');
            mFile->ReadExact(at + 8, text.data(), text.size());
            return text;
        }
    }
    // dBase III: the text runs to the first 0x1A (or the end of the file).
    std::string text;
    char chunk[512];
    uint64_t pos = at;
    while (pos < size) {
        const size_t n = mFile->ReadAt(pos, chunk, sizeof chunk);
        if (n == 0)
            break;
        const char* end = static_cast<const char*>(std::memchr(chunk, memo::kDbtEnd, n));
        if (end) {
            text.append(chunk, size_t(end - chunk));
            return text;
        }
        text.append(chunk, n);
        pos += n;
    }
    return text;
}

uint32_t TMemoFile::Write(std::string_view text)
{
    if (!mWritable)
        throw TXbaseError(TErrorKind::Usage, "the memo file is open read-only", Path());
    if (text.empty())
        return 0;
    if (text.size() > UINT32_MAX - memo::kFptBlockHeaderSize)
        throw TXbaseError(TErrorKind::Usage, "the memo text is too long", Path());
    const uint64_t total = memo::kFptBlockHeaderSize + text.size();
    const uint64_t blocks = (total + mBlockSize - 1) / mBlockSize;
    if (uint64_t(mNextFree) + blocks > UINT32_MAX)
        throw TXbaseError(TErrorKind::Usage, "the memo file is full", Path());
    if (mShared) {
        // Another opener may have added memos since: start past its last block.
        unsigned char h[4];
        mFile->ReadExact(memo::kFptOffNextFree, h, sizeof h);
        const uint64_t endBlock = (mFile->Size() + mBlockSize - 1) / mBlockSize;
        mNextFree = uint32_t(
            std::min<uint64_t>(std::max<uint64_t>({Be32(h), endBlock, mNextFree}), UINT32_MAX));
        if (uint64_t(mNextFree) + blocks > UINT32_MAX)
            throw TXbaseError(TErrorKind::Usage, "the memo file is full", Path());
    }
    std::string bytes(size_t(blocks * mBlockSize), '\0');
    auto* p = reinterpret_cast<unsigned char*>(bytes.data());
    PutBe32(p + memo::kFptOffBlockType, memo::kFptTypeText);
    PutBe32(p + memo::kFptOffBlockLength, uint32_t(text.size()));
    std::memcpy(bytes.data() + memo::kFptBlockHeaderSize, text.data(), text.size());
    const uint32_t block = mNextFree;
    mFile->WriteAt(uint64_t(block) * mBlockSize, bytes.data(), bytes.size());
    mSize = std::max<uint64_t>(mSize, uint64_t(block) * mBlockSize + bytes.size());
    mNextFree = uint32_t(block + blocks);
    mHeaderBehind = true;
    if (mShared)
        Flush();
    return block;
}

void TMemoFile::Flush()
{
    if (mHeaderBehind) {
        WriteNextFree();
        mHeaderBehind = false;
    }
}

void TMemoFile::Clear()
{
    if (!mWritable)
        throw TXbaseError(TErrorKind::Usage, "the memo file is open read-only", Path());
    mNextFree = mFirstBlock;
    mHeaderBehind = false;
    WriteNextFree();
    mFile->Truncate(uint64_t(mFirstBlock) * mBlockSize);
    mSize = uint64_t(mFirstBlock) * mBlockSize;
}

void TMemoFile::Sync()
{
    if (mWritable) {
        Flush();
        mFile->Sync();
    }
}

void TMemoFile::WriteNextFree()
{
    unsigned char b[4];
    PutBe32(b, mNextFree);
    mFile->WriteAt(memo::kFptOffNextFree, b, sizeof b);
}

void TMemoFile::CheckInvariants()
{
    if (mBlockSize == 0)
        throw TXbaseError(TErrorKind::Damaged, "block size 0", Path());
    if (mWritable && uint64_t(mNextFree) * mBlockSize < mFile->Size())
        throw TXbaseError(TErrorKind::Damaged,
                          "the next free block lies inside the memo file's data", Path(),
                          memo::kFptOffNextFree);
}

uint32_t MemoBlockOf(std::string_view f, const std::string& file, int64_t offset)
{
    if (f.size() == 4) {
        const auto* p = reinterpret_cast<const unsigned char*>(f.data());
        return Le32(p);
    }
    uint64_t value = 0;
    bool any = false;
    for (char c : f) {
        if (c == ' ' || c == '\0') {
            if (any)
                break;
            continue;
        }
        if (c < '0' || c > '9')
            throw TXbaseError(TErrorKind::Damaged, "a memo field holds no block number", file,
                              offset);
        value = value * 10 + uint64_t(c - '0');
        if (value > UINT32_MAX)
            throw TXbaseError(TErrorKind::Damaged, "a memo block number is too large", file,
                              offset);
        any = true;
    }
    return uint32_t(value);
}

void PutMemoBlock(uint32_t block, char* field, size_t length)
{
    if (length == 4) {
        for (int i = 0; i < 4; ++i)
            field[i] = char((block >> (8 * i)) & 0xFF);
        return;
    }
    std::memset(field, ' ', length);
    if (block == 0)
        return;
    const std::string digits = std::to_string(block);
    if (digits.size() <= length)
        std::memcpy(field + length - digits.size(), digits.data(), digits.size());
}

} // namespace qm::xbase
