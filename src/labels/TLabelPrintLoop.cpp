#include "labels/TLabelPrintLoop.h"

#include "data/TWin1252.h"
#include "labels/TLabelRecords.h"
#include "labels/TPresortFile.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace qm::labels {

namespace {

// The record's ZIP as the list's keys are taken: the first five characters, upper-cased as the ZIP
// tag holds them, so a record the seek lands on by its tag key also compares equal here.
QString ZipKey(const TLabelRecords& records)
{
    return data::TWin1252::Upper(records.Zip().left(5));
}

} // namespace

TLabelPrintLoop::TLabelPrintLoop(const TLabelSheet& sheet, const TLabelSelection& selection,
                                 int labelsPerRecord)
    : mSheet(sheet), mSelection(selection),
      mLabelsPerRecord(std::clamp(labelsPerRecord, 1, kMaxLabelsPerRecord))
{
    mSelection.Resize(std::max(mSheet.PositionsPerSheet(), 0));
}

void TLabelPrintLoop::SetPresortList(const QStringList& lines)
{
    mPresort = lines;
}

std::optional<QStringList> TLabelPrintLoop::ReadPresortList(const QString& path, QString* error)
{
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    if (!file.isOpen() || file.error() != QFileDevice::NoError) {
        if (error)
            *error = QStringLiteral("Unable to read the presort list %1: %2")
                         .arg(QDir::toNativeSeparators(path), file.errorString());
        return std::nullopt;
    }
    return TPresortFile::Decode(bytes);
}

TLabelRunResult TLabelPrintLoop::Run(TLabelRecords& records, const TPlace& place)
{
    TLabelRunResult result;
    if (mSheet.PositionsPerSheet() < 1 || !mSelection.AnySelected()) {
        // Without a selected position the loop below would turn pages for ever.
        result.error = TLabelSelection::NothingSelectedMessage();
        return result;
    }

    const bool presorted = mPresort.has_value();
    int copies = 0; // labels placed for the current record
    mMarkerPending = false;
    if (presorted) {
        mList = *mPresort;
        TakeNextEntry(records);
    }

    const int across = mSheet.Across();
    const int down = mSheet.Down();
    int column = -1;
    int row = 0;
    int sheet = 0;
    int lastSheetUsed = -1;
    while (!records.AtEnd()) {
        if (++column + 1 > across) {
            column = 0;
            if (++row + 1 > down) {
                row = 0;
                ++sheet;
            }
        }
        const int position = mSheet.PositionNumber(column, row);
        if (!mSelection.Selected(position))
            continue; // the same record waits for the next selected position

        TLabelSlot slot;
        slot.sheet = sheet;
        slot.position = position;
        slot.column = column;
        slot.row = row;
        slot.corner = mSheet.Corner(column, row);
        const bool marker = mMarkerPending;
        if (marker)
            slot.marker = mEntry;
        else
            slot.recNo = records.RecNo();
        if (sheet != lastSheetUsed) {
            lastSheetUsed = sheet;
            ++result.sheets;
        }
        ++result.labels;
        if (marker)
            ++result.markers;
        else
            ++copies;
        if (!place(slot)) {
            result.stopped = true;
            break;
        }
        if (!marker && copies < mLabelsPerRecord)
            continue;

        if (!marker)
            ++result.records;
        copies = 0;
        records.Next();
        if (!presorted)
            continue;
        if (marker) {
            mMarkerPending = false;
            TakeNextEntry(records);
        } else if (records.AtEnd() || ZipKey(records) != mEntry) {
            TakeNextEntry(records);
        }
    }
    mList.clear();
    return result;
}

QString TLabelPrintLoop::ListLine(const TLabelSlot& slot)
{
    return QStringLiteral("%1 %2 %3 %4 %5")
        .arg(slot.sheet + 1)
        .arg(slot.position + 1)
        .arg(slot.corner.x(), 0, 'f', 3)
        .arg(slot.corner.y(), 0, 'f', 3)
        .arg(slot.IsMarker() ? slot.marker : QString::number(slot.recNo));
}

void TLabelPrintLoop::TakeNextEntry(TLabelRecords& records)
{
    while (!mList.isEmpty()) {
        mEntry = mList.takeFirst();
        if (mEntry.contains(QLatin1String("**"))) {
            // The marker takes a position of its own; the set must not be at its end meanwhile.
            records.First();
            mMarkerPending = true;
            return;
        }
        if (records.SeekZip(mEntry) && ZipKey(records) == mEntry)
            return;
    }
    records.GoPastEnd();
}

} // namespace qm::labels
