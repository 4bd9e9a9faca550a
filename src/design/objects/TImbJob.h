#pragma once

// The Intelligent Mail side of one print job (labels or envelopes, window or command line): gives
// each piece its serial number, counts the pieces that printed without their barcode, and keeps
// the counter that the settings file's NextSerial carries from job to job.
//
// Call order, for every piece (one label or one envelope) of the job:
//
//     TImbJob imb(TImbSettings::Read(settings).nextSerial);
//     imb.BeginPiece(panel);          // counted objects get the piece's serial
//     panel.RefreshData(); panel.PrintObjects(job, x, y);
//     imb.EndPiece(panel);            // what the objects did
//     ...
//     if (finished) imb.WriteBack(settings);   // never after Cancel or a failure
//
// Counter: all counted objects of a piece share one serial; the counter moves on by one for each
// piece that printed a counted barcode (a skipped piece uses no number). A serial too wide for an
// object's mailer identifier starts the counter again at 0, and Notes() says so.
//
// A piece counts as skipped when any barcode on it printed nothing. A panel without Intelligent
// Mail barcodes costs two passes over its objects per piece and changes nothing.

#include <QString>
#include <QStringList>
#include <cstdint>

namespace qm::data {
class TSettingsFile;
}

namespace qm::design {

class TGBasePanel;

class TImbJob {
public:
    explicit TImbJob(std::int64_t nextSerial = 0);

    void BeginPiece(TGBasePanel& panel);
    void EndPiece(TGBasePanel& panel);

    int Pieces() const { return mPieces; } // pieces that carried at least one barcode object
    int SkippedPieces() const { return mSkipped; }
    const QString& FirstProblem() const { return mFirstProblem; }
    bool Wrapped() const { return mWrapped; }
    std::int64_t NextSerial() const { return mNext; }
    // True when the counter gave out at least one number (or started again at 0).
    bool CounterMoved() const { return mNext != mStart || mWrapped; }

    // The lines the job's final status adds: the skipped pieces with the first reason, and the
    // counter's new start. Empty when there is nothing to say.
    QStringList Notes() const;
    // The notes as the status line's extra text: each line after a carriage return.
    QString StatusText() const;

    // Writes NextSerial back when the counter moved; throws data::TSettingsWriteError.
    void WriteBack(data::TSettingsFile& settings) const;

private:
    std::int64_t mStart;
    std::int64_t mNext;
    int mPieces = 0;
    int mSkipped = 0;
    bool mWrapped = false;
    std::int64_t mWrappedAt = 0;
    int mWrappedWidth = 0;
    QString mFirstProblem;
};

} // namespace qm::design
