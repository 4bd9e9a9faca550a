// Where the print loop puts each label: selected positions across sheets, labels per record,
// presort lists with their markers, stopping.

#include "labels/TLabelPrintLoop.h"
#include "labels/TLabelRecords.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

using namespace qm::labels;

namespace {

// A record set in memory, in the order given (ZIP order for presorted jobs).
class TMemoryRecords : public TLabelRecords {
public:
    explicit TMemoryRecords(std::vector<std::pair<uint32_t, QString>> records)
        : mRecords(std::move(records))
    {
    }
    static TMemoryRecords Numbered(int count)
    {
        std::vector<std::pair<uint32_t, QString>> records;
        for (int i = 1; i <= count; ++i)
            records.emplace_back(uint32_t(i), QString());
        return TMemoryRecords(records);
    }

    bool AtEnd() const override { return mPos >= mRecords.size(); }
    uint32_t RecNo() const override { return mRecords.at(mPos).first; }
    QString Zip() const override { return AtEnd() ? QString() : mRecords[mPos].second; }
    void First() override { mPos = 0; }
    void Next() override { mPos = std::min(mPos + 1, mRecords.size()); }
    void GoPastEnd() override { mPos = mRecords.size(); }
    bool SeekZip(const QString& key) override
    {
        for (mPos = 0; mPos < mRecords.size(); ++mPos)
            if (mRecords[mPos].second.startsWith(key))
                return true;
        return false;
    }

private:
    std::vector<std::pair<uint32_t, QString>> mRecords;
    size_t mPos = 0;
};

struct TRun {
    std::vector<TLabelSlot> placed;
    TLabelRunResult result;
};

TRun RunJob(TLabelPrintLoop& loop, TLabelRecords& records, int stopAfter = -1)
{
    TRun run;
    run.result = loop.Run(records, [&](const TLabelSlot& slot) {
        run.placed.push_back(slot);
        return stopAfter < 0 || int(run.placed.size()) < stopAfter;
    });
    return run;
}

const TLabelSheet k3x10(TLabelGeometry::NewLayout());

} // namespace

TEST(LabelPrintLoop, DeselectedPositionsStayEmptyOnEverySheet)
{
    TLabelSelection selection(30);
    for (int p = 0; p < 5; ++p)
        selection.SetSelected(p, false);

    TLabelPrintLoop loop(k3x10, selection);
    TMemoryRecords seven = TMemoryRecords::Numbered(7);
    TRun run = RunJob(loop, seven);
    ASSERT_EQ(run.placed.size(), 7u);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(run.placed[i].sheet, 0);
        EXPECT_EQ(run.placed[i].position, 5 + i);
        EXPECT_EQ(run.placed[i].recNo, uint32_t(i + 1));
    }
    EXPECT_EQ(run.placed[0].column, 2);
    EXPECT_EQ(run.placed[0].row, 1);
    EXPECT_NEAR(run.placed[0].corner.x(), 0.188 + 2 * 2.765, 1e-6);
    EXPECT_NEAR(run.placed[0].corner.y(), 0.5 + 1.01, 1e-6);
    EXPECT_EQ(TLabelPrintLoop::ListLine(run.placed[0]), "1 6 5.718 1.510 1");

    // 32 records: 25 fill sheet 1, the rest start at position 5 of sheet 2.
    TMemoryRecords more = TMemoryRecords::Numbered(32);
    run = RunJob(loop, more);
    ASSERT_EQ(run.placed.size(), 32u);
    EXPECT_EQ(run.placed[24].sheet, 0);
    EXPECT_EQ(run.placed[24].position, 29);
    EXPECT_EQ(run.placed[25].sheet, 1);
    EXPECT_EQ(run.placed[25].position, 5);
    EXPECT_EQ(run.placed[31].position, 11);
    EXPECT_EQ(run.result.sheets, 2);
}

TEST(LabelPrintLoop, LabelsPerRecordFillConsecutiveSelectedPositions)
{
    TLabelSelection selection(30);
    selection.SetSelected(3, false);
    TLabelPrintLoop loop(k3x10, selection, 2);
    TMemoryRecords five = TMemoryRecords::Numbered(5);
    const TRun run = RunJob(loop, five);
    ASSERT_EQ(run.placed.size(), 10u);
    const int expected[] = {0, 1, 2, 4, 5, 6, 7, 8, 9, 10}; // position 3 skipped
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(run.placed[i].position, expected[i]);
        EXPECT_EQ(run.placed[i].recNo, uint32_t(i / 2 + 1));
    }
    EXPECT_EQ(run.result.records, 5);
    EXPECT_EQ(run.result.labels, 10);
}

TEST(LabelPrintLoop, FullSheetPlusOneMakesTwoSheetsAndNoEmptyThird)
{
    TLabelPrintLoop loop(k3x10, TLabelSelection(30));
    TMemoryRecords thirty = TMemoryRecords::Numbered(30);
    TRun run = RunJob(loop, thirty);
    EXPECT_EQ(run.result.sheets, 1);
    EXPECT_EQ(run.placed.back().sheet, 0);

    TMemoryRecords thirtyOne = TMemoryRecords::Numbered(31);
    run = RunJob(loop, thirtyOne);
    ASSERT_EQ(run.placed.size(), 31u);
    EXPECT_EQ(run.placed[30].sheet, 1);
    EXPECT_EQ(run.placed[30].position, 0);
    EXPECT_EQ(run.result.sheets, 2);

    TMemoryRecords none = TMemoryRecords::Numbered(0);
    run = RunJob(loop, none);
    EXPECT_TRUE(run.placed.empty());
    EXPECT_EQ(run.result.sheets, 0);
}

TEST(LabelPrintLoop, NoSelectedPositionOnTheSheetPlacesNothing)
{
    // A selection made for a bigger sheet: its only flag lies beyond this sheet's 30 positions.
    TLabelSelection selection(200);
    selection.SelectNone();
    selection.SetSelected(150, true);
    TLabelPrintLoop loop(k3x10, selection);
    TMemoryRecords records = TMemoryRecords::Numbered(3);
    const TRun run = RunJob(loop, records);
    EXPECT_TRUE(run.placed.empty());
    EXPECT_EQ(run.result.error, "You must select at least one card to print");
}

TEST(LabelPrintLoop, StopEndsTheJobAtOnce)
{
    TLabelPrintLoop loop(k3x10, TLabelSelection(30), 3);
    TMemoryRecords records = TMemoryRecords::Numbered(10);
    const TRun run = RunJob(loop, records, 4);
    EXPECT_EQ(run.placed.size(), 4u);
    EXPECT_TRUE(run.result.stopped);
    EXPECT_EQ(run.result.records, 1);
}

TEST(LabelPrintLoop, PresortMarkersTakeOnePositionEachAndKeysTheirRecords)
{
    // In ZIP order, as the ZIP tag shows them. 99999 is in no list line, so it is not printed.
    TMemoryRecords records(
        {{4, "12301"}, {1, "12345"}, {7, "12345-6789"}, {2, "12345"}, {5, "20001"}, {9, "99999"}});
    const QStringList list = {"** 5-digit 12345", "12345", "** 3-digit 123", "12301", "12302",
                              "** Unknown",       "20001"};
    TLabelPrintLoop loop(k3x10, TLabelSelection(30), 2); // labels per record: not for markers
    loop.SetPresortList(list);
    const TRun run = RunJob(loop, records);

    std::vector<QString> got;
    for (const TLabelSlot& slot : run.placed)
        got.push_back(slot.IsMarker() ? slot.marker : QString::number(slot.recNo));
    const std::vector<QString> expected = {
        "** 5-digit 12345", "1", "1", "7",          "7", "2", "2",
        "** 3-digit 123",   "4", "4", "** Unknown", "5", "5"};
    EXPECT_EQ(got, expected);
    for (size_t i = 0; i < run.placed.size(); ++i)
        EXPECT_EQ(run.placed[i].position, int(i));
    EXPECT_EQ(run.result.markers, 3);
    EXPECT_EQ(TLabelPrintLoop::ListLine(run.placed[0]), "1 1 0.188 0.500 ** 5-digit 12345");
    EXPECT_EQ(run.result.records, 5);
}

TEST(LabelPrintLoop, PresortListEndingInAMarkerOrNamingNothing)
{
    TMemoryRecords records({{1, "10001"}});
    TLabelPrintLoop loop(k3x10, TLabelSelection(30));
    loop.SetPresortList({"10001", "** Unknown"});
    TRun run = RunJob(loop, records);
    ASSERT_EQ(run.placed.size(), 2u);
    EXPECT_EQ(run.placed[0].recNo, 1u);
    EXPECT_EQ(run.placed[1].marker, "** Unknown");

    loop.SetPresortList({"55555", "66666"});
    run = RunJob(loop, records);
    EXPECT_TRUE(run.placed.empty());
    EXPECT_EQ(run.result.labels, 0);

    loop.SetPresortList({});
    run = RunJob(loop, records);
    EXPECT_TRUE(run.placed.empty());
}

TEST(LabelPrintLoop, PresortFileLinesAndUnreadableFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("PRESORT.PSL");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("** 5-digit 12345\r\n12345\r\n** Unknown\n00100");
    }
    QString error;
    const auto lines = TLabelPrintLoop::ReadPresortList(path, &error);
    ASSERT_TRUE(lines);
    EXPECT_EQ(*lines, (QStringList{"** 5-digit 12345", "12345", "** Unknown", "00100"}));

    EXPECT_FALSE(TLabelPrintLoop::ReadPresortList(dir.filePath("NONE.PSL"), &error));
    EXPECT_TRUE(error.startsWith("Unable to read the presort list ")) << error.toStdString();
    EXPECT_TRUE(error.contains("NONE.PSL"));
}
