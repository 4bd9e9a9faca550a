#pragma once

// Copies the records the address file shows (its order and query, as the cursor has them) into a
// new address-file-shaped DBF table or into a comma-delimited text file.
//
// Text file: one line per record ended by CR LF; 20 fields, each in double quotes (a quote inside
// a value doubled, so every line reads back), separated by commas; no header. Values without
// trailing blanks. UTF-8 with a byte-order mark, or Windows-1252 for older software.
// DBF copy: the address file's structure without an index; 20 fields by name and the memo with
// the stored-memo rule; ISDEL and TAG stay empty.
//
// Nothing is destroyed before the new file is complete: the copy is built beside the target as
// ".qm-copy-" + the target's name (its memo beside it), flushed to the disk and then put in the
// target's place when the copy ends, also when it was stopped (the records copied so far are
// kept). A text file replaces the target as one file (xbase::TFileReplace: the earlier file aside,
// the new one in, the aside removed); a DBF and its memo replace the target's
// table and memo as a pair (xbase::TPairSwap, which also removes an old index of the target's
// name), so a reader finds the old pair or the new one, never a mix, and a copy killed half way
// is settled when the target is next opened or copied to. On a failure the built files are
// removed and an earlier file stays as it was; a name left by a killed copy is used again by the
// next copy to that target. A symbolic link as target is followed. Everything is written through
// the engine's file layer (xbase::TFileIoSystem::Default()).

#include "transfer/TCopyOutTarget.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qm::xbase {
class TCursor;
class TTable;
} // namespace qm::xbase

namespace qm::transfer {

struct TCopyOutOutcome {
    int64_t copied = 0;
    bool stopped = false;
    QString error; // "There was an error copying", a blank line and the reason; empty on success
};

class TCopyOutRun {
public:
    // afterRecord(copied, percent) runs after each record and returns true to stop.
    using TAfterRecord = std::function<bool(int64_t copied, int percent)>;

    // The 20 fields of a copy, in the text file's order.
    static const std::vector<const char*>& TextFields();

    // total: the number of records shown (for the percentage; 0 when unknown).
    static TCopyOutOutcome CopyText(xbase::TCursor& cursor, const QString& path, bool utf8,
                                    uint32_t total, const TAfterRecord& afterRecord);
    static TCopyOutOutcome CopyDbf(xbase::TCursor& cursor, const QString& path, uint32_t total,
                                   const TAfterRecord& afterRecord);

    // The text line of one record of the table (without CR LF), in Windows-1252.
    static void TextLine(const xbase::TTable& table, const std::vector<int>& fields,
                         std::string& line);
};

} // namespace qm::transfer
