#pragma once

// A DBF file on the file access layer: its header and its records as raw bytes. Knows nothing
// of memos or indexes.
//
// Invariants (CheckInvariants):
// - the header parsed cleanly and recordLength covers every field;
// - RecordCount() records lie wholly inside the file: headerLength + count * recordLength <= size;
// - the read-ahead window [mWindowFirst, mWindowFirst + mWindowCount) holds only records below
//   RecordCount() and its bytes equal the file's;
// - while loaded, the kept deletion marks cover RecordCount() records and equal the file's.
// Write order: an appended record (with the end-of-file mark) is written before the header count
// that takes it in; a record count that disagrees with the file length is reconciled on open.
// With a count lag, the header count is written only every so many appends (and by WriteCount):
// records appended since are in the file and taken in by the reconciliation after a crash.

#include "xbase/TDbfHeader.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qm::xbase {

class TFileIo;
class TFileIoSystem;

class TDbfFile {
public:
    // Takes an open file, reads its header and reconciles the record count with the file
    // length (writing the corrected count when writable).
    TDbfFile(std::unique_ptr<TFileIo> file, bool writable);
    ~TDbfFile();

    // Writes a new empty table (header and end-of-file mark) to an already created file.
    static void WriteNew(TFileIo& file, const TDbfHeader& header);

    const TDbfHeader& Header() const { return mHeader; }
    const std::string& Path() const;
    uint32_t RecordCount() const { return mHeader.recordCount; }
    uint16_t RecordLength() const { return mHeader.recordLength; }
    bool Writable() const { return mWritable; }
    // The count the header held when it disagreed with the file length on open; else equal to
    // RecordCount().
    uint32_t CountOnOpen() const { return mCountOnOpen; }
    bool Reconciled() const { return mCountOnOpen != mHeader.recordCount; }

    // Bytes of record recNo (1..RecordCount()), valid until the next call on this object.
    std::string_view Read(uint32_t recNo);
    // Whether record recNo (1..RecordCount()) carries the deletion mark. With the marks kept, a
    // long run of such questions (a walk in index order) reads the marks of the whole file in
    // one pass; from then on they are answered from memory and kept up to date by the writes
    // made here.
    bool IsDeleted(uint32_t recNo);
    // Keeping the marks in memory is only right while nobody else writes the file (an exclusive
    // open). Off drops them.
    void SetKeepMarks(bool on);
    void Write(uint32_t recNo, std::string_view record);
    // Adds a record at the end: its bytes and the end-of-file mark first, then the header count
    // (when the lag is reached).
    void Append(std::string_view record);
    // Header count writes during appends: every lag + 1 appends (0: after each one).
    void SetCountLag(uint32_t lag) { mCountLag = lag; }
    // Takes in records other openers of a shared table appended since (from the header count,
    // as far as the file holds them). Called before appending and when a record past the known
    // count is asked for.
    void Refresh();
    // Keeps the first count records and drops the rest (zap uses 0).
    void Truncate(uint32_t count);
    void SetTableFlags(uint8_t flags);
    // Writes the record count and today's date to the header.
    void WriteCount();
    void Sync();

    // Sequential read-ahead: many records per read while on, one while off.
    void SetReadAhead(bool on);
    bool ReadAhead() const { return mReadAhead; }

    // Record writes made through this object, for callers that keep results derived from the
    // records (a query's matches). ChangeSerial() counts the writes; ChangesSince() appends the
    // numbers of the records written (or appended) since the serial it is given and returns true,
    // or returns false when that is no longer known: too many writes since, or records dropped
    // (zap, pack) or taken in from other openers. Identity() tells this object from any other
    // opened in the process, so a serial is never compared across reopened files.
    uint64_t Identity() const { return mIdentity; }
    uint64_t ChangeSerial() const { return mChangeSerial; }
    bool ChangesSince(uint64_t serial, std::vector<uint32_t>& records) const;

    TFileIo& Io() { return *mFile; }
    void CheckInvariants();

private:
    void Reconcile();
    void EnsureWritable() const;
    void LoadMarks();
    void SetMark(uint32_t recNo, bool deleted);
    void NoteChange(uint32_t recNo);
    void ForgetChanges();

    std::unique_ptr<TFileIo> mFile;
    TDbfHeader mHeader;
    bool mWritable;
    bool mReadAhead = false;
    uint32_t mCountOnOpen = 0;
    uint32_t mCountOnDisk = 0;
    uint32_t mCountLag = 0;
    std::string mWindow;
    uint32_t mWindowFirst = 0; // record number of the window's first record; 0 when empty
    uint32_t mWindowCount = 0;
    bool mKeepMarks = false;
    bool mMarksLoaded = false;
    std::vector<uint64_t> mMarks; // bit (recNo - 1): the record carries the deletion mark
    uint32_t mSingleMarkReads = 0;
    const uint64_t mIdentity;
    uint64_t mChangeSerial = 0;
    uint64_t mJournalStart = 0;     // mJournal[i] was written by change mJournalStart + i + 1
    std::vector<uint32_t> mJournal; // the records of the latest changes
};

} // namespace qm::xbase
