#pragma once

// Replays a recorded page stream onto the selected printer: the header's page size, orientation,
// copies and paper source are taken over first (and the printer it names is selected), then
// each page is drawn by PrintPage.
//
// Contract: the stream bytes are shared, not copied; a damaged stream ends the job with
// "Unexpected code found in report file." (thrown after the printer document was discarded).

#include "print/TPageReplay.h"
#include "print/TReportPrinter.h"

#include <memory>

namespace qm::print {

class TFilePrinter : public TReportPrinter {
public:
    TFilePrinter() = default;

    void SetStream(const QByteArray& bytes) { mBytes = bytes; }
    const QString& FileName() const { return mFileName; }
    void SetFileName(const QString& name) { mFileName = name; }
    TStreamMode StreamMode() const { return mStreamMode; }
    void SetStreamMode(TStreamMode mode) { mStreamMode = mode; }
    QStringList& MacroLines() { return mContext.macroLines; }

    // Reads the header and sets the printer up from it (idle only).
    void Start();
    // Prints every recorded page, one printer sheet each.
    void Execute();
    // Moves to the recorded page with this number, updates the status line and draws it on
    // the current printer sheet (inside a running job).
    void PrintPage(int pageNumber);

private:
    QByteArray mBytes;
    QString mFileName;
    TStreamMode mStreamMode = TStreamMode::smUser;
    std::unique_ptr<TPageReplay> mReplay;
    TReplayContext mContext;
};

} // namespace qm::print
