#include "xbase/TDbfFile.h"

#include "xbase/TDbfFormat.h"
#include "xbase/TFileIo.h"
#include "xbase/TXbaseError.h"

#include <algorithm>
#include <atomic>
#include <cassert>
#include <cstring>
#include <exception>
#include <future>
#include <thread>

namespace qm::xbase {
namespace {

constexpr size_t kReadAheadBytes = 256 * 1024;
// Below this many records the marks are collected by one thread.
constexpr uint32_t kParallelMarkRecords = 200000;
// The change journal remembers this many record numbers; older changes are forgotten at once.
constexpr size_t kJournalLength = 4096;

uint64_t NextIdentity()
{
    static std::atomic<uint64_t> next{0};
    return ++next;
}

} // namespace

TDbfFile::TDbfFile(std::unique_ptr<TFileIo> file, bool writable)
    : mFile(std::move(file)), mWritable(writable), mIdentity(NextIdentity())
{
    mHeader = TDbfHeader::Read(*mFile, mFile->Size());
    mCountOnOpen = mHeader.recordCount;
    mCountOnDisk = mHeader.recordCount;
    Reconcile();
}

TDbfFile::~TDbfFile()
{
    try {
        if (mWritable && mCountOnDisk != mHeader.recordCount)
            WriteCount();
    } catch (...) {
        // The next open takes the records in.
    }
}

const std::string& TDbfFile::Path() const
{
    return mFile->Path();
}

void TDbfFile::WriteNew(TFileIo& file, const TDbfHeader& header)
{
    std::string bytes = header.Serialize();
    bytes.push_back(char(dbf::kEndOfFile));
    file.WriteAt(0, bytes.data(), bytes.size());
}

// A count above what the file holds would serve garbage as records: it drops to the whole
// records present. A count below it means a crash came between an appended record and its
// header update: records past the count are taken in while they look like records (a valid
// deletion mark), so that nothing written whole is dropped.
void TDbfFile::Reconcile()
{
    const uint64_t size = mFile->Size();
    const uint64_t body = size - mHeader.headerLength; // headerLength <= size was checked
    const uint64_t whole64 = body / mHeader.recordLength;
    const uint32_t whole = uint32_t(std::min<uint64_t>(whole64, UINT32_MAX));
    uint32_t count = mHeader.recordCount;
    if (count > whole) {
        count = whole;
    } else if (count < whole) {
        std::string rec(mHeader.recordLength, '\0');
        while (count < whole) {
            const uint64_t at = mHeader.headerLength + uint64_t(count) * mHeader.recordLength;
            mFile->ReadExact(at, rec.data(), 1);
            if (rec[0] != dbf::kRecordLive && rec[0] != dbf::kRecordDeleted)
                break;
            ++count;
        }
    }
    if (count == mHeader.recordCount) {
        // Bytes past the last record and its end-of-file mark are a record cut short by a crash:
        // a writable open cuts them off, so that the file ends where its records do.
        const uint64_t end = mHeader.headerLength + uint64_t(count) * mHeader.recordLength;
        if (mWritable && size > end + 1) {
            const char eof = char(dbf::kEndOfFile);
            mFile->WriteAt(end, &eof, 1);
            mFile->Truncate(end + 1);
        }
        return;
    }
    mHeader.recordCount = count;
    if (mWritable) {
        WriteCount();
        const uint64_t end = mHeader.headerLength + uint64_t(count) * mHeader.recordLength;
        const char eof = char(dbf::kEndOfFile);
        mFile->WriteAt(end, &eof, 1);
        mFile->Truncate(end + 1);
    }
}

void TDbfFile::Refresh()
{
    unsigned char b[4];
    mFile->ReadExact(dbf::kOffRecordCount, b, sizeof b);
    const uint32_t onDisk =
        uint32_t(b[0]) | (uint32_t(b[1]) << 8) | (uint32_t(b[2]) << 16) | (uint32_t(b[3]) << 24);
    if (onDisk <= mHeader.recordCount)
        return;
    const uint64_t whole = (mFile->Size() - mHeader.headerLength) / mHeader.recordLength;
    mHeader.recordCount = uint32_t(std::min<uint64_t>(onDisk, whole));
    mCountOnDisk = mHeader.recordCount;
    mWindowFirst = 0;
    mMarksLoaded = false;
    ForgetChanges();
}

void TDbfFile::EnsureWritable() const
{
    if (!mWritable)
        throw TXbaseError(TErrorKind::Usage, "the table is open read-only", Path());
}

std::string_view TDbfFile::Read(uint32_t recNo)
{
    if (recNo == 0 || recNo > mHeader.recordCount)
        throw TXbaseError(TErrorKind::Usage,
                          "record " + std::to_string(recNo) + " does not exist (the table has " +
                              std::to_string(mHeader.recordCount) + ")",
                          Path());
    const size_t rl = mHeader.recordLength;
    if (mWindowFirst == 0 || recNo < mWindowFirst || recNo >= mWindowFirst + mWindowCount) {
        uint32_t n = 1;
        if (mReadAhead)
            n = uint32_t(std::max<size_t>(1, kReadAheadBytes / rl));
        n = std::min<uint32_t>(n, mHeader.recordCount - recNo + 1);
        mWindow.resize(size_t(n) * rl);
        const uint64_t at = mHeader.headerLength + uint64_t(recNo - 1) * rl;
        mWindowFirst = 0;
        mFile->ReadExact(at, mWindow.data(), mWindow.size());
        mWindowFirst = recNo;
        mWindowCount = n;
    }
    return std::string_view(mWindow).substr(size_t(recNo - mWindowFirst) * rl, rl);
}

bool TDbfFile::IsDeleted(uint32_t recNo)
{
    if (mMarksLoaded && recNo != 0 && recNo <= mHeader.recordCount)
        return (mMarks[(recNo - 1) / 64] >> ((recNo - 1) % 64)) & 1;
    const bool inWindow =
        mWindowFirst != 0 && recNo >= mWindowFirst && recNo < mWindowFirst + mWindowCount;
    // A pass over the whole file costs about as much as this many single reads.
    if (mKeepMarks && !inWindow &&
        ++mSingleMarkReads > std::max(1024u, mHeader.recordCount / 256) && recNo != 0 &&
        recNo <= mHeader.recordCount) {
        LoadMarks();
        return (mMarks[(recNo - 1) / 64] >> ((recNo - 1) % 64)) & 1;
    }
    return Read(recNo)[0] == char(dbf::kRecordDeleted);
}

void TDbfFile::SetKeepMarks(bool on)
{
    mKeepMarks = on;
    if (!on) {
        mMarksLoaded = false;
        mMarks = {};
    }
}

namespace {

struct TMarkScan {
    uint64_t first;  // offset of record 1
    uint64_t length; // record length
    uint64_t* marks;
};

void CollectMarks(void* context, uint64_t offset, const uint8_t* bytes, size_t size)
{
    const TMarkScan& scan = *static_cast<const TMarkScan*>(context);
    // The first record starting inside this piece.
    uint64_t r = (offset - scan.first + scan.length - 1) / scan.length;
    for (uint64_t at = scan.first + r * scan.length; at < offset + size; at += scan.length, ++r)
        if (bytes[at - offset] == dbf::kRecordDeleted)
            scan.marks[r / 64] |= uint64_t{1} << (r % 64);
}

} // namespace

void TDbfFile::LoadMarks()
{
    mMarksLoaded = false;
    const uint32_t count = mHeader.recordCount;
    std::vector<uint64_t> marks(size_t(count) / 64 + 1, 0);
    TMarkScan scan{mHeader.headerLength, mHeader.recordLength, marks.data()};
    const auto scanRecords = [&](uint64_t from, uint64_t to) {
        mFile->Scan(scan.first + from * scan.length, scan.first + to * scan.length, CollectMarks,
                    &scan);
    };
    // Mapping the pages costs more than reading the marks, so a large file is shared among a few
    // threads; each takes whole words of marks, so no two write the same word.
    const unsigned threads =
        count < kParallelMarkRecords ? 1 : std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
    if (threads == 1) {
        scanRecords(0, count);
    } else {
        const uint64_t share = (uint64_t(count) / threads + 63) / 64 * 64;
        std::vector<std::future<void>> parts;
        for (unsigned t = 1; t < threads; ++t) {
            const uint64_t from = std::min<uint64_t>(count, t * share);
            const uint64_t to = std::min<uint64_t>(count, from + share);
            parts.push_back(std::async(std::launch::async, scanRecords, from, to));
        }
        std::exception_ptr failure;
        try {
            scanRecords(0, std::min<uint64_t>(count, share));
        } catch (...) {
            failure = std::current_exception();
        }
        for (std::future<void>& part : parts) {
            try {
                part.get();
            } catch (...) {
                if (!failure)
                    failure = std::current_exception();
            }
        }
        if (failure)
            std::rethrow_exception(failure);
    }
    mMarks = std::move(marks);
    mMarksLoaded = true;
}

void TDbfFile::SetMark(uint32_t recNo, bool deleted)
{
    const size_t word = (recNo - 1) / 64;
    if (word >= mMarks.size())
        mMarks.resize(word + 1, 0);
    const uint64_t bit = uint64_t{1} << ((recNo - 1) % 64);
    mMarks[word] = deleted ? (mMarks[word] | bit) : (mMarks[word] & ~bit);
}

void TDbfFile::NoteChange(uint32_t recNo)
{
    if (mJournal.size() == kJournalLength) {
        mJournal.clear();
        mJournalStart = mChangeSerial;
    }
    mJournal.push_back(recNo);
    ++mChangeSerial;
}

void TDbfFile::ForgetChanges()
{
    mJournal.clear();
    mJournalStart = ++mChangeSerial;
}

bool TDbfFile::ChangesSince(uint64_t serial, std::vector<uint32_t>& records) const
{
    if (serial < mJournalStart || serial > mChangeSerial)
        return false;
    records.insert(records.end(), mJournal.begin() + ptrdiff_t(serial - mJournalStart),
                   mJournal.end());
    return true;
}

void TDbfFile::Write(uint32_t recNo, std::string_view record)
{
    EnsureWritable();
    assert(record.size() == mHeader.recordLength);
    if (recNo == 0 || recNo > mHeader.recordCount)
        throw TXbaseError(TErrorKind::Usage, "record " + std::to_string(recNo) + " does not exist",
                          Path());
    const size_t rl = mHeader.recordLength;
    const uint64_t at = mHeader.headerLength + uint64_t(recNo - 1) * rl;
    if (mWindowFirst != 0 && recNo >= mWindowFirst && recNo < mWindowFirst + mWindowCount)
        mWindowFirst =
            0; // dropped first: a failed write must not leave the window ahead of the file
    // Likewise the marks: dropped while the write is under way, taken up again once it is done.
    const bool marks = mMarksLoaded;
    mMarksLoaded = false;
    // Noted before the write: a write that fails may still have reached the file.
    NoteChange(recNo);
    mFile->WriteAt(at, record.data(), rl);
    if (marks) {
        SetMark(recNo, record[0] == char(dbf::kRecordDeleted));
        mMarksLoaded = true;
    }
}

void TDbfFile::Append(std::string_view record)
{
    EnsureWritable();
    assert(record.size() == mHeader.recordLength);
    if (mHeader.recordCount == UINT32_MAX)
        throw TXbaseError(TErrorKind::Usage, "the table holds the most records it can", Path());
    const size_t rl = mHeader.recordLength;
    std::string bytes;
    bytes.reserve(rl + 1);
    bytes.append(record);
    bytes.push_back(char(dbf::kEndOfFile));
    const uint64_t at = mHeader.headerLength + uint64_t(mHeader.recordCount) * rl;
    const bool marks = mMarksLoaded;
    mMarksLoaded = false;
    NoteChange(mHeader.recordCount + 1);
    mFile->WriteAt(at, bytes.data(), bytes.size());
    // From here on the record is in the file: the next open takes it in even if the header
    // count below is never written.
    ++mHeader.recordCount;
    if (marks) {
        SetMark(mHeader.recordCount, record[0] == char(dbf::kRecordDeleted));
        mMarksLoaded = true;
    }
    if (mHeader.recordCount - mCountOnDisk > mCountLag)
        WriteCount();
}

void TDbfFile::Truncate(uint32_t count)
{
    EnsureWritable();
    if (count > mHeader.recordCount)
        return;
    mWindowFirst = 0;
    mMarksLoaded = false;
    mSingleMarkReads = 0;
    ForgetChanges();
    // The count goes down first: a crash after it leaves extra bytes, never missing records.
    mHeader.recordCount = count;
    WriteCount();
    const uint64_t end = mHeader.headerLength + uint64_t(count) * mHeader.recordLength;
    const char eof = char(dbf::kEndOfFile);
    mFile->WriteAt(end, &eof, 1);
    mFile->Truncate(end + 1);
}

void TDbfFile::SetTableFlags(uint8_t flags)
{
    EnsureWritable();
    if (mHeader.tableFlags == flags)
        return;
    const char b = char(flags);
    mFile->WriteAt(dbf::kOffTableFlags, &b, 1);
    mHeader.tableFlags = flags;
}

void TDbfFile::WriteCount()
{
    EnsureWritable();
    mHeader.StampToday();
    char b[7];
    b[0] = char(mHeader.updateYear);
    b[1] = char(mHeader.updateMonth);
    b[2] = char(mHeader.updateDay);
    for (int i = 0; i < 4; ++i)
        b[3 + i] = char((mHeader.recordCount >> (8 * i)) & 0xFF);
    mFile->WriteAt(dbf::kOffUpdateYear, b, sizeof b);
    mCountOnDisk = mHeader.recordCount;
}

void TDbfFile::Sync()
{
    if (mWritable)
        mFile->Sync();
}

void TDbfFile::SetReadAhead(bool on)
{
    mReadAhead = on;
    if (!on && mWindowCount > 1)
        mWindowFirst = 0;
}

void TDbfFile::CheckInvariants()
{
    const uint64_t size = mFile->Size();
    const uint64_t need =
        mHeader.headerLength + uint64_t(mHeader.recordCount) * mHeader.recordLength;
    if (need > size)
        throw TXbaseError(TErrorKind::Damaged,
                          "the header counts " + std::to_string(mHeader.recordCount) +
                              " records but the file holds fewer",
                          Path(), dbf::kOffRecordCount);
    if (mWindowFirst != 0 && mWindowFirst + mWindowCount - 1 > mHeader.recordCount)
        throw TXbaseError(TErrorKind::Damaged, "read-ahead window past the last record", Path());
    if (mMarksLoaded && mMarks.size() * 64 < mHeader.recordCount)
        throw TXbaseError(TErrorKind::Damaged,
                          "deletion marks kept for fewer records than the table has", Path());
}

} // namespace qm::xbase
