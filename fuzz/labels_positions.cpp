// Fuzzes the label job's outside input: a position list as typed after --positions, and the lines
// of a presort list, walked by the print loop over a small record set. The first two bytes give
// the sheet (columns, rows); up to the first NUL the input is the position list, after it the
// presort lines. Every placed label must be on a selected position of its sheet, and the loop must
// end.

#include "labels/TLabelPrintLoop.h"
#include "labels/TLabelRecords.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

class TFuzzRecords : public qm::labels::TLabelRecords {
public:
    explicit TFuzzRecords(QStringList zips) : mZips(std::move(zips)) { mZips.sort(); }
    bool AtEnd() const override { return mPos >= mZips.size(); }
    uint32_t RecNo() const override { return uint32_t(mPos + 1); }
    QString Zip() const override { return AtEnd() ? QString() : mZips[mPos]; }
    void First() override { mPos = 0; }
    void Next() override { mPos = std::min(mPos + 1, mZips.size()); }
    void GoPastEnd() override { mPos = mZips.size(); }
    bool SeekZip(const QString& key) override
    {
        for (mPos = 0; mPos < mZips.size(); ++mPos)
            if (mZips[mPos].startsWith(key))
                return true;
        return false;
    }

private:
    QStringList mZips;
    qsizetype mPos = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    using namespace qm::labels;
    TLabelGeometry g = TLabelGeometry::NewLayout();
    g.across = 1 + data[0] % 12;
    g.down = 1 + data[1] % 32;
    const QByteArray input(reinterpret_cast<const char*>(data + 2), qsizetype(size - 2));
    const qsizetype split = input.indexOf('\0');
    const QString list = QString::fromUtf8(split < 0 ? input : input.left(split));
    const QStringList lines =
        split < 0 ? QStringList()
                  : QString::fromUtf8(input.mid(split + 1)).split(QLatin1Char('\n'));

    const TLabelSheet sheet(g);
    QString error;
    const auto selection = TLabelSelection::Parse(list, sheet.PositionsPerSheet(), &error);
    if (!selection) {
        if (error.isEmpty())
            std::abort();
        return 0;
    }
    if (selection->Positions() != sheet.PositionsPerSheet() || !selection->AnySelected())
        std::abort();

    QStringList zips;
    for (const QString& line : lines)
        if (!line.contains(QLatin1String("**")))
            zips << line.left(10);
    TFuzzRecords records(zips.mid(0, 50));
    TLabelPrintLoop loop(sheet, *selection, 1 + int(size % 3));
    if (!lines.isEmpty())
        loop.SetPresortList(lines);
    int placed = 0;
    const TLabelRunResult result = loop.Run(records, [&](const TLabelSlot& slot) {
        if (!selection->Selected(slot.position) || slot.position >= sheet.PositionsPerSheet())
            std::abort();
        return ++placed < 100000;
    });
    if (result.labels != placed)
        std::abort();
    return 0;
}
