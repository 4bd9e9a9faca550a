#pragma once

// One import into an open address file, as the import windows and the tool run it:
// 1. the checking pass reads the whole source (TImportSource::Check); a refusal there leaves the
//    address file byte for byte as it was;
// 2. the address file's index is closed (so no index is kept up per appended record); its file
//    stays, marked out of date on the disk before the first record is appended, so a crash
//    during the import leaves an index that the next open reports as needing a rebuild;
// 3. one record is appended and posted per source record; afterRecord runs after each one with
//    the count and the percentage and may stop the loop; a read or write failure ends it;
// 4. the caller shows ClosingMessage(), then calls Rebuild(), which builds the 26 tags in a new
//    index file beside the table and renames it over the old one (the index is rebuilt after a
//    stop or a failure too; the records appended so far stay). The address file is never
//    without an index file: until the rename the old one is there, marked out of date.
// Values longer than their character field are cut to its width and counted.

#include "transfer/TImportSource.h"

#include <QString>
#include <functional>

namespace qm::xbase {
class TTable;
}

namespace qm::transfer {

enum class TImportKind { Ascii, Dbf, Older };

struct TImportOutcome {
    enum class TFailure { None, Read, Write };

    QString refusal;      // the source was refused in the checking pass; nothing changed
    bool changed = false; // the index was closed and may fall behind (Rebuild() is due)
    int64_t total = 0;    // records the checking pass found
    int64_t imported = 0;
    bool stopped = false;
    TFailure failure = TFailure::None;
    QString failureText; // the failure's own text (file, what failed)
    int64_t cut = 0;     // values cut to fit their fields
    QString tally;       // the source's ReadTally() after the import pass

    // The information message that ends the import.
    QString ClosingMessage(TImportKind kind) const;
};

class TImportRun {
public:
    struct TCallbacks {
        std::function<void(const QString& text)> status;
        // After each checked record (pass 1) or appended record (pass 3); true stops.
        std::function<bool()> checkTick;
        std::function<bool(int64_t imported, int percent)> afterRecord;
    };

    TImportRun(xbase::TTable& target, TImportSource& source) : mTarget(target), mSource(source) {}

    TImportOutcome Import(const TCallbacks& callbacks);

    // Builds the address file's 26 tags again (reopening the table first when a write failed);
    // gauge gets 0..100. Returns an empty text, or "Unable to create index files" with the
    // engine's reason on a second line; the old index file then stays, marked out of date.
    QString Rebuild(const std::function<void(int percent)>& gauge);

    // "Unable to import from this file", a blank line and the reason.
    static QString RefusalMessage(const QString& reason);

private:
    xbase::TTable& mTarget;
    TImportSource& mSource;
};

} // namespace qm::transfer
