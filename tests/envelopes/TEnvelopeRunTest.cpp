// The envelope print loop and its record scope: a page per record at the placed corner, the
// printable area in preview only, Stop and Cancel, "Only current record", the out-of-range start
// and the address table given back as it was, also after an error thrown mid-run.

#include "envelopes/TEnvelopeRun.h"

#include "design/objects/TGIMBarCode.h"
#include "design/objects/TImbSettings.h"
#include "envelopes/TEnvelopeRecordScope.h"

#include "TScriptedResponder.h"
#include "data/TAddressFile.h"
#include "data/TDataSet.h"
#include "design/core/TGDataPanel.h"
#include "design/core/TGGraphicControl.h"
#include "design/text/TDesignUnits.h"
#include "print/TPageStreamDump.h"
#include "print/TRPDevice.h"
#include "print/TReportFiler.h"
#include "xbase/TCursor.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <stdexcept>

using namespace qm::envelopes;
using qm::test::TScriptedResponder;

namespace {

// Records the record it was filled from and where it printed; throws on a chosen name.
class TProbe : public qm::design::TGGraphicControl {
public:
    QByteArray ClassName() const override { return "TProbe"; }
    void ShowData() override
    {
        const qm::data::TDataSet* ds = Panel() ? Panel()->DataSet() : nullptr;
        value = ds ? ds->AsString("LNAME").trimmed() : QString();
        if (value == failOn)
            throw std::runtime_error("probe failure");
    }
    void PrintObject(qm::print::TBaseReport& canvas, double x, double y) override
    {
        log << QStringLiteral("%1@%2,%3").arg(value).arg(x).arg(y);
        canvas.TextLeft(value, x + 0.5);
    }

    QString value;
    QString failOn;
    QStringList log;
};

class EnvelopeRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qm::design::TDesignUnits::SetPpiOverride(96);
        qputenv("QUILLMARK_NO_PDF_PRINTER", "1");
        qm::print::TRPDevice::Instance().ReloadWith({});
        mPanel.SetSize(912, 396);
        mProbe = static_cast<TProbe*>(mPanel.AddObject(std::make_unique<TProbe>()));
        mPanel.SetDataSet(&mDataSet);
    }
    void TearDown() override
    {
        qm::design::TDesignUnits::SetPpiOverride(0);
        qunsetenv("QUILLMARK_NO_PDF_PRINTER");
        qm::print::TRPDevice::Instance().Reload();
    }

    // Records "P001" .. in record order; every seventh carries the deletion mark.
    void Open(int count, bool someDeleted = false)
    {
        const QString path = QDir(mDir.path()).filePath("ADD0001.DBF");
        ASSERT_EQ(qm::data::TAddressFile::Create(path, {}), QString());
        {
            qm::data::TDataSet ds;
            qm::data::TAddressFile::DeclareFieldObjects(ds);
            ASSERT_TRUE(qm::data::TAddressFile::Open(ds, path).opened);
            for (int i = 1; i <= count; ++i) {
                ds.Append();
                // Reverse names, so that the LNAME order differs from record order.
                ds.SetAsString("LNAME",
                               QStringLiteral("P%1").arg(count + 1 - i, 3, 10, QChar('0')));
                ds.SetAsString("ISDEL", someDeleted && i % 7 == 0 ? "T" : "F");
                ds.Post();
            }
        }
        qm::data::TAddressFile::DeclareFieldObjects(mDataSet);
        ASSERT_TRUE(qm::data::TAddressFile::Open(mDataSet, path).opened);
        mDataSet.Cursor().SelectTag("LNAME");
        mDataSet.Cursor().SetQuery("!ISDEL");
        mDataSet.First();
    }

    // Runs a job on an 11 x 8.5 page (Letter, landscape) into a page stream.
    QByteArray RunJob(TEnvelopeRun& run)
    {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadWrite);
        qm::print::TReportFiler filer;
        filer.SetStream(&buffer);
        filer.SetPaperSize(1);
        filer.SetOrientation(qm::print::TOrientation::poLandScape);
        run.Attach(filer);
        filer.RunJob();
        return bytes;
    }

    static int Count(const QStringList& lines, const QString& part)
    {
        int n = 0;
        for (const QString& line : lines)
            n += line.contains(part) ? 1 : 0;
        return n;
    }

    QTemporaryDir mDir;
    qm::data::TDataSet mDataSet;
    qm::design::TGDataPanel mPanel;
    TProbe* mProbe = nullptr;
    TScriptedResponder mResponder;
    TEnvelopeFeedMethod mFeed; // landscape, down, centre
};

} // namespace

TEST_F(EnvelopeRunTest, OnePagePerRecordAtThePlacedCorner)
{
    Open(3);
    mFeed.facing = TFeedFacing::Up;
    TEnvelopeRun run(mPanel, mDataSet, {9500, 4125}, mFeed);
    const qm::print::TPageStreamDump dump = qm::print::DumpPageStream(RunJob(run));
    ASSERT_TRUE(dump.error.isEmpty()) << dump.error.toStdString();
    EXPECT_EQ(run.Envelopes(), 3);
    EXPECT_FALSE(run.Interrupted());
    EXPECT_EQ(run.Offset(), QPointF(1.5, 2.1875));
    EXPECT_EQ(mProbe->log, (QStringList{"P001@1.5,2.1875", "P002@1.5,2.1875", "P003@1.5,2.1875"}));
    EXPECT_EQ(Count(dump.lines, "page "), 3) << dump.lines.join('\n').toStdString();
    // A print, not a preview: no printable area.
    EXPECT_EQ(Count(dump.lines, "rectangle"), 0);
    EXPECT_FALSE(mPanel.Printing());
}

TEST_F(EnvelopeRunTest, PreviewOutlinesThePrintableAreaOnEveryPage)
{
    Open(2);
    TEnvelopeRun run(mPanel, mDataSet, {9500, 4125}, mFeed);
    run.SetPreview(true);
    const qm::print::TPageStreamDump dump = qm::print::DumpPageStream(RunJob(run));
    QStringList rects;
    for (const QString& line : dump.lines)
        if (line.contains("rectangle"))
            rects << line;
    ASSERT_EQ(rects.size(), 2) << dump.lines.join('\n').toStdString();
    // The PDF-less page has no waste: the whole 11 x 8.5 sheet, red and dotted.
    EXPECT_TRUE(rects[0].endsWith("rectangle points=(0,0)(11,8.5)")) << rects[0].toStdString();
    const QString all = dump.lines.join('\n');
    EXPECT_TRUE(all.contains("pen-color color=#ff0000\n73 pen-style value=2\n18 rectangle"))
        << all.toStdString();
}

TEST_F(EnvelopeRunTest, StopEndsBetweenEnvelopesAndAbortAtOnce)
{
    Open(5);
    TEnvelopeRun run(mPanel, mDataSet, {9500, 4125}, mFeed);
    run.SetPreview(true);
    run.AfterEnvelope = [&](int envelopes, uint32_t) {
        if (envelopes == 2)
            run.Stop();
    };
    RunJob(run);
    EXPECT_EQ(run.Envelopes(), 2);
    EXPECT_TRUE(run.Interrupted());

    mDataSet.First();
    mProbe->log.clear();
    TEnvelopeRun printing(mPanel, mDataSet, {9500, 4125}, mFeed);
    qm::print::TBaseReport* job = nullptr;
    printing.AfterEnvelope = [&](int, uint32_t) { job->AbortJob(); };
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    qm::print::TReportFiler filer;
    job = &filer;
    filer.SetStream(&buffer);
    printing.Attach(filer);
    filer.RunJob();
    EXPECT_EQ(printing.Envelopes(), 1);
    EXPECT_EQ(mProbe->log.size(), 1);
}

TEST_F(EnvelopeRunTest, OnlyCurrentRecordPrintsOneOfFiveHundred)
{
    Open(500);
    mDataSet.Cursor().SetQuery("LNAME>='P100'.and. !ISDEL");
    mDataSet.First();
    mDataSet.MoveBy(150);
    const QString current = mDataSet.AsString("LNAME").trimmed();
    {
        TEnvelopeRecordScope scope(mDataSet);
        scope.Apply(TEnvelopeRecords::CurrentRecord, true);
        TEnvelopeRun run(mPanel, mDataSet, {9500, 4125}, mFeed);
        run.SetOnlyCurrentRecord(true);
        RunJob(run);
        EXPECT_EQ(run.Envelopes(), 1);
    }
    ASSERT_EQ(mProbe->log.size(), 1);
    EXPECT_TRUE(mProbe->log[0].startsWith(current + "@"));
    EXPECT_TRUE(mResponder.Texts().isEmpty());
}

TEST_F(EnvelopeRunTest, StartRecordOutsideTheScopeStartsAtTheFirst)
{
    Open(20, true);
    // The current record is one marked deleted (shown while the filter did not hide it).
    mDataSet.Cursor().ClearQuery();
    mDataSet.GoTo(7); // record 7 carries the deletion mark
    {
        TEnvelopeRecordScope scope(mDataSet);
        scope.Apply(TEnvelopeRecords::AllRecords, true);
        EXPECT_EQ(mResponder.Texts(),
                  QStringList{"Current record is out of range. Starting with first record"});
        EXPECT_EQ(mDataSet.AsString("LNAME").trimmed(), "P001");
        TEnvelopeRun run(mPanel, mDataSet, {9500, 4125}, mFeed);
        RunJob(run);
        EXPECT_EQ(run.Envelopes(), 20 - 2); // records 7 and 14 are marked
    }
    // A start record inside the scope: the run begins there, without a message.
    mProbe->log.clear();
    mDataSet.GoTo(5); // P016
    {
        TEnvelopeRecordScope scope(mDataSet);
        scope.Apply(TEnvelopeRecords::MatchingFilter, true);
        TEnvelopeRun run(mPanel, mDataSet, {9500, 4125}, mFeed);
        RunJob(run);
        EXPECT_EQ(mProbe->log.first().left(4), "P016");
        EXPECT_EQ(mProbe->log.last().left(4), "P020");
    }
    EXPECT_EQ(mResponder.Texts().size(), 1);
}

TEST_F(EnvelopeRunTest, FilterOrderAndRecordComeBackAfterAnErrorMidRun)
{
    Open(10);
    mDataSet.Cursor().SelectTag("CITY");
    mDataSet.Cursor().SetQuery("LNAME<='P008'.and. !ISDEL");
    mDataSet.GoTo(4);
    const int order = mDataSet.Cursor().Order();
    mProbe->failOn = "P003";
    {
        TEnvelopeRecordScope scope(mDataSet);
        EXPECT_TRUE(mDataSet.ControlsDisabled());
        scope.Apply(TEnvelopeRecords::AllRecords, false);
        EXPECT_EQ(mDataSet.Cursor().Query(), "!ISDEL");
        mDataSet.Cursor().SelectTag("LNAME");
        mDataSet.First();
        TEnvelopeRun run(mPanel, mDataSet, {9500, 4125}, mFeed);
        EXPECT_THROW(RunJob(run), std::runtime_error);
        EXPECT_EQ(run.Envelopes(), 2);
        EXPECT_FALSE(mPanel.Printing());
    }
    EXPECT_EQ(mDataSet.Cursor().Query(), "LNAME<='P008'.and. !ISDEL");
    EXPECT_EQ(mDataSet.Cursor().Order(), order);
    EXPECT_EQ(mDataSet.RecNo(), 4u);
    EXPECT_FALSE(mDataSet.ControlsDisabled());
}

TEST_F(EnvelopeRunTest, BeforePrintSetsTheStatusLines)
{
    Open(1);
    TEnvelopeRun run(mPanel, mDataSet, {9500, 4125}, mFeed);
    qm::print::TReportFiler filer;
    run.BeforePrint(filer);
    EXPECT_EQ(filer.StatusFormat(), "Printing Page %p\r%0\r%1");
    EXPECT_EQ(filer.StatusText(), (QStringList{"", ""}));
}

TEST_F(EnvelopeRunTest, EachEnvelopeIsOnePieceForTheBarcodeCounter)
{
    Open(3);
    // Record 2 (P002 comes second in name order) gets a ZIP that gives no routing code.
    for (int recNo : {1, 2, 3}) {
        mDataSet.GoTo(recNo);
        mDataSet.Edit();
        mDataSet.SetAsString("ZIP", recNo == 2 ? "ABCDE" : "62704");
        mDataSet.Post();
    }
    mDataSet.First();
    auto code = std::make_unique<qm::design::TGIMBarCode>();
    qm::design::TImbSettings parts;
    parts.serviceType = QStringLiteral("300");
    parts.mailerId = QStringLiteral("123456");
    code->ConfigureDrawn(parts);
    mPanel.AddObject(std::move(code));
    TEnvelopeRun run(mPanel, mDataSet, {9500, 4125}, mFeed);
    run.SetImbStart(20);
    const qm::print::TPageStreamDump dump = qm::print::DumpPageStream(RunJob(run));
    EXPECT_EQ(run.Envelopes(), 3);
    EXPECT_EQ(run.Imb().Pieces(), 3);
    EXPECT_EQ(run.Imb().SkippedPieces(), 1);
    EXPECT_EQ(run.Imb().NextSerial(), 22);
    EXPECT_EQ(Count(dump.lines, " fill-rect "), 2 * 65);
    ASSERT_EQ(run.Imb().Notes().size(), 1);
    EXPECT_TRUE(
        run.Imb().Notes()[0].startsWith("1 piece skipped without a barcode: ZIP \"ABCDE\""));
    // Running the job again starts from the same number.
    mDataSet.First();
    RunJob(run);
    EXPECT_EQ(run.Imb().NextSerial(), 22);
}
