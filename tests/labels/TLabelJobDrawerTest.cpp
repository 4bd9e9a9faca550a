// A label job drawn into a page stream: pages turn only for labels, markers print their text.

#include "labels/TLabelJobDrawer.h"

#include "TLabelPrintFixture.h"
#include "design/objects/TGIMBarCode.h"
#include "design/objects/TImbSettings.h"
#include "labels/TCursorLabelRecords.h"
#include "labels/TMarkerLabel.h"
#include "print/TPageRender.h"
#include "print/TPageStreamDump.h"
#include "print/TReportFiler.h"
#include "xbase/TTable.h"

#include <QBuffer>
#include <QDir>
#include <QRegularExpression>

using namespace qm;
using namespace qm::labels;

namespace {

class LabelJobDrawerTest : public test::LabelPrintFixture {
protected:
    // Runs the job into a page stream; returns its dump.
    QStringList Draw(TLabelPrintLoop& loop, TLabelRunResult* result = nullptr,
                     const std::function<bool()>& keepGoing = {})
    {
        design::TGClassRegistry::Instance().RegisterHostKinds(design::TGHostKind::Label);
        design::TGDataPanel panel;
        panel.SetDataSet(&mDataSet);
        TNewLabelDesign::AddTo(panel, TLabelGeometry::NewLayout());
        TCursorLabelRecords records(mDataSet.Cursor(), mDataSet.Table().FieldIndex("ZIP"));
        TLabelJobDrawer drawer(TLabelSheet(TLabelGeometry::NewLayout()), loop, records, panel,
                               mDataSet);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadWrite);
        print::TReportFiler filer;
        filer.SetStream(&buffer);
        filer.OnBeforePrint = [](print::TBaseReport& r) { TLabelJobDrawer::BeforePrint(r, true); };
        filer.OnPrint = [&](print::TBaseReport& r) {
            const TLabelRunResult got = drawer.Print(r, keepGoing);
            if (result)
                *result = got;
        };
        panel.SetPrinting(true);
        mDataSet.First();
        filer.RunJob();
        EXPECT_EQ(filer.StatusFormat(), QStringLiteral("Preparing Preview Page %p\r%0\r%1"));
        return print::DumpPageStream(bytes).lines;
    }

    static int Count(const QStringList& lines, const QString& start)
    {
        int n = 0;
        for (const QString& line : lines)
            n += line.startsWith(start + QLatin1Char(' ')) ? 1 : 0;
        return n;
    }
    static QStringList Texts(const QStringList& lines)
    {
        QStringList texts;
        for (const QString& line : lines) {
            const qsizetype at = line.indexOf(QLatin1String("text=\""));
            if (at >= 0 && !line.contains(QLatin1String("font-name")))
                texts
                    << line.mid(at + 6, line.indexOf(QLatin1Char('"'), at + 6) - at - 6).trimmed();
        }
        return texts;
    }
};

TEST_F(LabelJobDrawerTest, ThirtyOneLabelsMakeTwoPagesWithTheLastAtTheTopLeftOfTheSecond)
{
    OpenNumbered(31);
    TLabelPrintLoop loop(TLabelSheet(TLabelGeometry::NewLayout()), TLabelSelection(30));
    TLabelRunResult result;
    const QStringList lines = Draw(loop, &result);
    EXPECT_EQ(result.labels, 31);
    EXPECT_EQ(Count(lines, "page"), 2);
    const QStringList texts = Texts(lines);
    ASSERT_FALSE(texts.isEmpty());
    EXPECT_TRUE(texts.contains("R031"));
    EXPECT_EQ(texts.indexOf("R031"), texts.size() - 1); // the last thing drawn
    // ... at the first position of the second page, where R001 stood on the first.
    const auto at = [&](const QString& name) {
        for (const QString& line : lines)
            if (line.contains(QStringLiteral("\"%1 \"").arg(name)))
                return line.section(QLatin1String(" text="), 0, 0);
        return QString();
    };
    EXPECT_EQ(at("R031"), at("R001"));
    EXPECT_NE(at("R002"), at("R001"));
}

TEST_F(LabelJobDrawerTest, BarcodeLabelsCountSkippedPiecesAndTheCounterForTheFinalStatus)
{
    // LNAME order: A, B, C, D; B and D have no valid ZIP.
    OpenFile({{"A", "62704"}, {"B", "1234"}, {"C", "97301-1234"}, {"D", ""}});
    design::TGClassRegistry::Instance().RegisterHostKinds(design::TGHostKind::Label);
    design::TGDataPanel panel;
    panel.SetDataSet(&mDataSet);
    auto code = std::make_unique<design::TGIMBarCode>();
    design::TImbSettings parts;
    parts.serviceType = QStringLiteral("300");
    parts.mailerId = QStringLiteral("123456");
    code->ConfigureDrawn(parts);
    panel.AddObject(std::move(code));
    TLabelPrintLoop loop(TLabelSheet(TLabelGeometry::NewLayout()), TLabelSelection(30));
    TCursorLabelRecords records(mDataSet.Cursor(), mDataSet.Table().FieldIndex("ZIP"));
    TLabelJobDrawer drawer(TLabelSheet(TLabelGeometry::NewLayout()), loop, records, panel,
                           mDataSet);
    drawer.SetImbStart(100);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    print::TReportFiler filer;
    filer.SetStream(&buffer);
    filer.OnBeforePrint = [](print::TBaseReport& r) { TLabelJobDrawer::BeforePrint(r, false); };
    filer.OnPrint = [&](print::TBaseReport& r) { drawer.Print(r, {}); };
    panel.SetPrinting(true);
    mDataSet.First();
    filer.RunJob();
    EXPECT_EQ(drawer.Imb().Pieces(), 4);
    EXPECT_EQ(drawer.Imb().SkippedPieces(), 2);
    EXPECT_EQ(drawer.Imb().NextSerial(), 102);
    // Two barcodes of 65 bars went onto the page.
    EXPECT_EQ(Count(print::DumpPageStream(bytes).lines, "8 fill-rect"), 130);
    ASSERT_EQ(filer.StatusText().size(), 3);
    EXPECT_EQ(filer.StatusText()[2],
              "\r2 pieces skipped without a barcode, the first: ZIP \"1234\" gives no valid "
              "routing code");
}

TEST_F(LabelJobDrawerTest, MarkersPrintTheirTextAndTakeOnePositionEach)
{
    OpenFile({{"A", "12345"}, {"B", "12345"}, {"C", "58001"}});
    mApollo->SetOrder(mApollo->TagArea("ZIP"));
    TLabelPrintLoop loop(TLabelSheet(TLabelGeometry::NewLayout()), TLabelSelection(30), 2);
    loop.SetPresortList({"** 5-digit 12345", "12345", "** ADC FARGO ND  580", "58001"});
    TLabelRunResult result;
    const QStringList texts = Texts(Draw(loop, &result));
    EXPECT_EQ(result.markers, 2);
    EXPECT_EQ(result.labels, 2 + 3 * 2); // copies apply to records, never to markers
    EXPECT_EQ(texts.first(), "** 5-digit 12345");
    EXPECT_TRUE(texts.contains("** ADC FARGO ND  580"));
    EXPECT_EQ(texts.count("A"), 2);
}

TEST_F(LabelJobDrawerTest, ASheetWithoutPitchGivesItsMarkerTheLabelsBox)
{
    // One column and one row store no pitch: the marker's clip box is the label, not a box of
    // no width that clips the text away. The window's drawer and the tool both draw through
    // TMarkerLabel.
    TLabelGeometry single = TLabelGeometry::NewLayout();
    single.across = 1;
    single.down = 1;
    single.horizontalPitch = 0;
    single.verticalPitch = 0;
    TLabelGeometry pitched = TLabelGeometry::NewLayout();
    for (const TLabelGeometry& g : {single, pitched}) {
        const TLabelSheet sheet(g);
        TLabelSlot slot;
        slot.corner = QPointF(0.5, 1.0);
        slot.marker = QStringLiteral("** 5-digit 12345");
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadWrite);
        print::TReportFiler filer;
        filer.SetStream(&buffer);
        filer.OnPrint = [&](print::TBaseReport& r) { TMarkerLabel::Print(r, sheet, slot); };
        filer.RunJob();
        const QStringList rects =
            print::DumpPageStream(bytes).lines.filter(QStringLiteral("text-rect"));
        ASSERT_EQ(rects.size(), 1);
        static const QRegularExpression box(
            QStringLiteral("rect=\\(([-\\d.]+),([-\\d.]+)\\)\\(([-\\d.]+),([-\\d.]+)\\)"));
        const QRegularExpressionMatch m = box.match(rects[0]);
        ASSERT_TRUE(m.hasMatch()) << rects[0].toStdString();
        const double width = m.captured(3).toDouble() - m.captured(1).toDouble();
        const double height = m.captured(4).toDouble() - m.captured(2).toDouble();
        const double wantWidth = g.horizontalPitch > 0 ? g.horizontalPitch : g.labelWidth;
        const double wantHeight = g.verticalPitch > 0 ? g.verticalPitch : g.labelHeight;
        EXPECT_NEAR(width, wantWidth, 0.01) << rects[0].toStdString();
        EXPECT_NEAR(height, wantHeight, 0.01) << rects[0].toStdString();
        EXPECT_TRUE(rects[0].contains("** 5-digit 12345"));
    }
}

// A layout whose address block was sized to a 4-line record, loaded as the "Print Labels"
// window loads it, prints every line of a 6-line record: the block grows down to the label's
// bottom edge. The page is rendered to a picture for people to look at (QM_SCREENSHOT_DIR).
TEST_F(LabelJobDrawerTest, ABlockSizedForFourLinesPrintsAllSixLinesOfARecord)
{
    OpenFile({{"Quill", "62704-1234"}});
    mDataSet.First();
    mDataSet.Edit();
    for (const auto& [field, value] : std::initializer_list<std::pair<const char*, const char*>>{
             {"PREFIX", "Dr."},
             {"FNAME", "Ada"},
             {"TITLE", "Director of Research"},
             {"ORG", "Northwind Traders"},
             {"STREET", "1200 Harbor Blvd"},
             {"STREET2", "Suite 400"},
             {"CITY", "Springfield"},
             {"STATE", "IL"}})
        mDataSet.SetAsString(field, value);
    mDataSet.Post();

    design::TGClassRegistry::Instance().RegisterHostKinds(design::TGHostKind::Label);
    const QString layout = mHome.Path("sysdata/BIN00001.L");
    {
        design::TGDataPanel designed;
        TNewLabelDesign::AddTo(designed, TLabelGeometry::NewLayout());
        designed.ObjectAt(0)->SetHeight(4 * 15); // four lines of 10 point on screen
        design::TGLabelObjectFiler::SaveToFile(designed, layout);
    }
    design::TGDataPanel panel; // the window's panel: no size until the job gives it one
    panel.SetDataSet(&mDataSet);
    design::TGLabelObjectFiler::LoadFromFile(panel, layout);
    const TLabelSheet sheet(TLabelGeometry::NewLayout());
    TLabelPrintLoop loop(sheet, TLabelSelection(30));
    TCursorLabelRecords records(mDataSet.Cursor(), mDataSet.Table().FieldIndex("ZIP"));
    TLabelJobDrawer drawer(sheet, loop, records, panel, mDataSet);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    print::TReportFiler filer;
    filer.SetStream(&buffer);
    filer.OnPrint = [&](print::TBaseReport& r) { drawer.Print(r, {}); };
    panel.SetPrinting(true);
    mDataSet.First();
    filer.RunJob();

    // Each line is drawn clipped to its rectangle: (left,top)(right,bottom) in inches.
    const QRegularExpression textRect(QStringLiteral(
        R"re(rect=\(([-\d.e]+),([-\d.e]+)\)\(([-\d.e]+),([-\d.e]+)\).* text="([^"]*)")re"));
    QStringList texts;
    std::vector<QRectF> clips;
    for (const QString& line : print::DumpPageStream(bytes).lines) {
        const QRegularExpressionMatch m = textRect.match(line);
        if (!m.hasMatch())
            continue;
        texts << m.captured(5).trimmed();
        clips.emplace_back(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                           QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()));
    }
    EXPECT_EQ(texts, (QStringList{"Dr. Ada Quill", "Director of Research", "Northwind Traders",
                                  "1200 Harbor Blvd", "Suite 400", "Springfield  IL 62704-1234"}));
    ASSERT_EQ(clips.size(), 6u);
    const double labelTop = sheet.Corner(0).y();
    const double labelBottom = labelTop + 1.0;
    for (std::size_t i = 0; i + 1 < clips.size(); ++i)
        EXPECT_NEAR(clips[i].height(), 10.0 / 60, 0.01) << "line " << i << " whole";
    // The last line may reach the label's bottom edge, never past it; most of it shows.
    EXPECT_LE(clips.back().bottom(), labelBottom + 1e-6);
    EXPECT_GT(clips.back().height(), 0.1);
    EXPECT_GE(clips.front().top(), labelTop);

    if (const QByteArray dir = qgetenv("QM_SCREENSHOT_DIR"); !dir.isEmpty())
        print::RenderPng(bytes, QDir(QString::fromLocal8Bit(dir)).filePath("label-six-lines.png"),
                         150);
}

TEST_F(LabelJobDrawerTest, StopEndsTheJobAfterTheLabelItWasSeenAt)
{
    OpenNumbered(10);
    TLabelPrintLoop loop(TLabelSheet(TLabelGeometry::NewLayout()), TLabelSelection(30));
    int asked = 0;
    TLabelRunResult result;
    Draw(loop, &result, [&] { return ++asked < 4; });
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(result.labels, 4);
}

} // namespace
