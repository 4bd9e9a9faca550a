#pragma once

// Where every label of a job goes: walks the record set, fills the selected positions of each
// sheet row by row, repeats each record the chosen number of times and, for a presorted job,
// follows the presort list, giving each marker line one position of its own.
//
// The loop decides and the caller draws: for each label Run calls place() with the label's slot,
// the record set standing on the label's record. A caller that prints starts a new page when a
// slot's sheet differs from the previous one, so a job never ends with an empty page. place()
// returning false stops the job at once (the stop flag and Cancel of the status window).
//
// Presort list: lines as the presort writes them, in order. A line containing "**" is a marker;
// any other line is a ZIP key whose records (those whose ZIP's first five characters equal it) are
// printed in ZIP order. Records no line names are not printed in a presorted job.

#include "labels/TLabelSelection.h"
#include "labels/TLabelSheet.h"

#include <QPointF>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <optional>

namespace qm::labels {

class TLabelRecords;

struct TLabelSlot {
    int sheet = 0;    // from 0; each new sheet is a new page
    int position = 0; // from 0, row by row
    int column = 0;
    int row = 0;
    QPointF corner;     // inches from the sheet's top-left corner
    uint32_t recNo = 0; // the record printed; 0 for a marker
    QString marker;     // the marker line's text; empty for a record's label

    bool IsMarker() const { return recNo == 0; }
};

struct TLabelRunResult {
    int labels = 0; // every label placed, markers included
    int markers = 0;
    int records = 0; // records that got their labels (all copies placed)
    int sheets = 0;  // sheets with at least one label
    bool stopped = false;
    QString error; // set when nothing could be placed at all (no position selected)
};

class TLabelPrintLoop {
public:
    static constexpr int kMaxLabelsPerRecord = 99;

    // The selection is fitted to the sheet (positions the sheet lacks are dropped, missing ones
    // selected); labelsPerRecord is taken into 1..99.
    TLabelPrintLoop(const TLabelSheet& sheet, const TLabelSelection& selection,
                    int labelsPerRecord = 1);

    // Makes the job a presorted one that follows these lines.
    void SetPresortList(const QStringList& lines);
    // Reads the presort file (TPresortFile::Decode): its lines, each ended by CR LF (a lone LF is
    // taken too, and the end of the file ends the last line). Nothing, with the reason in *error
    // naming the file, when it cannot be read.
    static std::optional<QStringList> ReadPresortList(const QString& path, QString* error);

    using TPlace = std::function<bool(const TLabelSlot& slot)>;
    // Runs the job from where the record set stands (a presorted job moves it itself). With no
    // position of the sheet selected nothing is placed and the result carries the message.
    TLabelRunResult Run(TLabelRecords& records, const TPlace& place);

    // One label as the command line lists it: sheet and position numbered from 1, the corner in
    // inches with 3 decimals, then the record number or the marker's text, separated by blanks
    // ("2 6 0.188 1.510 37").
    static QString ListLine(const TLabelSlot& slot);

private:
    void TakeNextEntry(TLabelRecords& records);

    TLabelSheet mSheet;
    TLabelSelection mSelection;
    int mLabelsPerRecord;
    std::optional<QStringList> mPresort;
    // While running a presorted job.
    QStringList mList;
    QString mEntry;
    bool mMarkerPending = false;
};

} // namespace qm::labels
