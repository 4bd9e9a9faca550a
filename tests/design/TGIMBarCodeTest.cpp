// Intelligent Mail barcode objects: the stream entry (an unknown serial source included), the
// starting values from the settings file, the placeholder on screen, and the 65 bars printed
// through the page canvas, measured both as recorded rectangles and as pixels of a rendered page.

#include "design/objects/TGIMBarCode.h"

#include "TShapeFixture.h"
#include "TTestHome.h"
#include "data/TSettingsFile.h"
#include "design/objects/TImbJob.h"
#include "design/objects/TImbSettings.h"
#include "print/TBaseReport.h"
#include "print/TPageRender.h"

#include <QFile>

namespace qm::design {
namespace {

using print::stream::TCode;
using test::Drawings;
using test::Record;

constexpr double kFull = 0.145, kTracker = 0.050, kExtender = 0.0975;

double HeightOf(TImbBar bar)
{
    return bar == TImbBar::Full ? kFull : bar == TImbBar::Tracker ? kTracker : kExtender;
}

class TGIMBarCodeTest : public test::TTextObjectFixture {
protected:
    void SetUp() override
    {
        test::TTextObjectFixture::SetUp();
        TGClassRegistry::Instance().Clear();
        test::RegisterAllHosts();
    }

    // Parts of the published worked example: 01 234 567094 and a nine-digit serial.
    TGIMBarCode* AddCode(TImbSerialSource source = TImbSerialSource::ssRecordNumber)
    {
        auto* code = Add(std::make_unique<TGIMBarCode>());
        TImbSettings parts;
        parts.barcodeId = QStringLiteral("01");
        parts.serviceType = QStringLiteral("234");
        parts.mailerId = QStringLiteral("567094");
        code->ConfigureDrawn(parts);
        code->SetSerialSource(source);
        code->SetBounds(48, 96, 282, 16);
        return code;
    }

    // One piece printed the way the print runs do, with the panel's corner at (1, 1) inch.
    QByteArray PrintPiece(TImbJob* job = nullptr)
    {
        return Record([&](print::TBaseReport& r) {
            if (job)
                job->BeginPiece(mPanel);
            PrintItem(r, 1.0, 1.0);
            if (job)
                job->EndPiece(mPanel);
        });
    }

    static TImbBars Expected(const QString& tracking, const QString& routing)
    {
        TImbBars bars{};
        QString problem;
        EXPECT_TRUE(TImbCode::Encode(tracking, routing, &bars, &problem)) << problem.toStdString();
        return bars;
    }
};

TEST_F(TGIMBarCodeTest, DrawnObjectTakesTheFieldsAndTheSettingsParts)
{
    qm::test::TTestHome home;
    data::TSettingsFile settings(home.Home().SettingsPath());
    settings.WriteString("Intelligent Mail", "BarcodeId", "00");
    settings.WriteString("Intelligent Mail", "ServiceType", "040");
    settings.WriteString("Intelligent Mail", "MailerId", "901234567");
    TGIMBarCode code;
    EXPECT_TRUE(code.ZipCodeField().isEmpty());
    EXPECT_EQ(code.Height(), 13); // trunc(0.145 x 96)
    code.SetSerialSource(TImbSerialSource::ssRecordNumber);
    code.ConfigureDrawn();
    EXPECT_EQ(code.ZipCodeField(), "ZIP");
    EXPECT_EQ(code.AddressField(), "STREET");
    EXPECT_EQ(code.BarcodeId(), "00");
    EXPECT_EQ(code.ServiceType(), "040");
    EXPECT_EQ(code.MailerId(), "901234567");
    EXPECT_EQ(code.SerialSource(), TImbSerialSource::ssCounter);
}

TEST_F(TGIMBarCodeTest, StreamRoundTripKeepsLeadingZerosAndNeverTheRecord)
{
    TGIMBarCode plain;
    const QByteArray plainBytes = test::StreamOf(plain);
    EXPECT_TRUE(plainBytes.contains("SerialSource"));
    EXPECT_TRUE(plainBytes.contains("ssCounter"));
    EXPECT_FALSE(plainBytes.contains("MailerId"));

    TGIMBarCode code;
    TImbSettings parts;
    parts.barcodeId = QStringLiteral("00");
    parts.serviceType = QStringLiteral("040");
    parts.mailerId = QStringLiteral("012345");
    code.ConfigureDrawn(parts);
    code.SetSerialSource(TImbSerialSource::ssRecordNumber);
    code.SetTexts(QStringLiteral("62704"), QStringLiteral("1 ELM"), 7);
    const QByteArray bytes = test::StreamOf(code);
    EXPECT_FALSE(bytes.contains("62704"));
    auto* copy = test::ReadBack<TGIMBarCode>(bytes, mPanel);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->ZipCodeField(), "ZIP");
    EXPECT_EQ(copy->AddressField(), "STREET");
    EXPECT_EQ(copy->BarcodeId(), "00");
    EXPECT_EQ(copy->ServiceType(), "040");
    EXPECT_EQ(copy->MailerId(), "012345");
    EXPECT_EQ(copy->SerialSource(), TImbSerialSource::ssRecordNumber);
    EXPECT_EQ(copy->BoundsRect(), code.BoundsRect());
}

TEST_F(TGIMBarCodeTest, UnknownSerialSourceReadsAsTheCounterAndTheRestReads)
{
    TGIMBarCode code;
    code.ConfigureDrawn(TImbSettings{});
    code.SetSerialSource(TImbSerialSource::ssRecordNumber);
    code.SetMailerId(QStringLiteral("123456"));
    QByteArray bytes = test::StreamOf(code);
    // Same length, so the stream stays well formed: a source a later version might write.
    ASSERT_TRUE(bytes.contains("ssRecordNumber"));
    bytes.replace("ssRecordNumber", "ssTomorrowsOne");
    auto* copy = test::ReadBack<TGIMBarCode>(bytes, mPanel);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->SerialSource(), TImbSerialSource::ssCounter);
    EXPECT_EQ(copy->MailerId(), "123456");
    EXPECT_EQ(copy->ZipCodeField(), "ZIP");
}

TEST_F(TGIMBarCodeTest, PaintTakesThePlaceholdersSizeAtTheZoom)
{
    ASSERT_EQ(TGIMBarCode::ScreenImage().size(), QSize(282, 16));
    auto* code = Add(std::make_unique<TGIMBarCode>());
    QImage image(600, 40, QImage::Format_RGB32);
    {
        QPainter p(&image);
        code->Paint(p);
    }
    EXPECT_EQ(code->BoundsRect().size(), QSize(282, 16));
    code->SetScale(2.0f);
    {
        QPainter p(&image);
        code->Paint(p);
    }
    EXPECT_EQ(code->BoundsRect().size(), QSize(564, 32));
}

TEST_F(TGIMBarCodeTest, SixtyFiveExactRectanglesAroundOneCentreLine)
{
    AddCode();
    AddRecord({{"ZIP", "62704-1234"}, {"STREET", "123 MAIN ST"}});
    const auto d = Drawings(PrintPiece());
    ASSERT_EQ(d.size(), 65u);
    const QString tracking = QStringLiteral("01234567094") + QStringLiteral("000000001");
    const TImbBars bars = Expected(tracking, TImbCode::Routing("62704-1234", "123 MAIN ST"));
    const double left = 1.0 + 0.5, top = 1.0 + 1.0, centre = top + kFull / 2;
    for (std::size_t i = 0; i < d.size(); ++i) {
        EXPECT_EQ(d[i].code, TCode::FillRect);
        EXPECT_NEAR(d[i].Left(), left + double(i) / 22.0, 1e-5) << i;
        EXPECT_NEAR(d[i].Right() - d[i].Left(), 0.020, 1e-6) << i;
        EXPECT_NEAR(d[i].Bottom() - d[i].Top(), HeightOf(bars[i]), 1e-6) << i;
        const bool up = bars[i] == TImbBar::Full || bars[i] == TImbBar::Ascender;
        const bool down = bars[i] == TImbBar::Full || bars[i] == TImbBar::Descender;
        EXPECT_NEAR(d[i].Top(), up ? top : centre - kTracker / 2, 1e-6) << i;
        EXPECT_NEAR(d[i].Bottom(), down ? top + kFull : centre + kTracker / 2, 1e-6) << i;
        EXPECT_EQ(d[i].brushStyle, int(print::TBrushStyle::bsSolid));
    }
    // 64 pitches and one bar: 2.929 inches.
    EXPECT_NEAR(d.back().Right() - d.front().Left(), 64.0 / 22.0 + 0.020, 1e-6);
}

TEST_F(TGIMBarCodeTest, RenderedPageMeasuresBarsPitchAndTheFourHeights)
{
    AddCode();
    AddRecord({{"ZIP", "62704-1234"}, {"STREET", "123 MAIN ST"}});
    const QByteArray stream = PrintPiece();
    QTemporaryDir out;
    const int dpi = 400; // a letter page stays under the image reader's allocation limit
    const QStringList files = print::RenderPng(stream, out.filePath("page-%d.png"), dpi);
    ASSERT_EQ(files.size(), 1);
    const QString shots = qEnvironmentVariable("QM_SCREENSHOT_DIR");
    if (!shots.isEmpty())
        QFile::copy(files[0], QDir(shots).filePath("imb-printed-page.png"));
    const QImage page(files[0]);
    ASSERT_FALSE(page.isNull());
    auto dark = [&](int x, int y) { return qGray(page.pixel(x, y)) < 128; };

    // Every bar crosses the centre line: the runs of dark pixels along it are the bars.
    const int centreRow = int((2.0 + kFull / 2) * dpi);
    std::vector<std::pair<int, int>> runs; // first and last column
    for (int x = int(1.4 * dpi); x < int(4.6 * dpi); ++x) {
        if (!dark(x, centreRow))
            continue;
        if (!runs.empty() && runs.back().second == x - 1)
            runs.back().second = x;
        else
            runs.push_back({x, x});
    }
    ASSERT_EQ(runs.size(), 65u);
    const double pitch = double(runs.back().first - runs.front().first) / 64.0 / dpi;
    EXPECT_NEAR(pitch, 1.0 / 22.0, 0.0005);
    EXPECT_NEAR(runs.front().first / double(dpi), 1.5, 2.0 / dpi);

    const TImbBars bars = Expected(QStringLiteral("01234567094000000001"),
                                   TImbCode::Routing("62704-1234", "123 MAIN ST"));
    int fullTop = -1, fullBottom = -1;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const auto [first, last] = runs[i];
        EXPECT_NEAR((last - first + 1) / double(dpi), 0.020, 1.5 / dpi) << i;
        const int x = (first + last) / 2;
        int y0 = centreRow, y1 = centreRow;
        while (dark(x, y0 - 1))
            --y0;
        while (dark(x, y1 + 1))
            ++y1;
        EXPECT_NEAR((y1 - y0 + 1) / double(dpi), HeightOf(bars[i]), 2.0 / dpi) << i;
        if (bars[i] == TImbBar::Full) {
            fullTop = y0;
            fullBottom = y1;
        }
        // Trackers sit on the centre line: as much of them above it as below.
        if (bars[i] == TImbBar::Tracker) {
            EXPECT_LE(std::abs((centreRow - y0) - (y1 - centreRow)), 2) << i;
        }
    }
    ASSERT_GE(fullTop, 0);
    // Ascenders share the full bars' top, descenders their bottom.
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const int x = (runs[i].first + runs[i].second) / 2;
        if (bars[i] == TImbBar::Ascender) {
            EXPECT_TRUE(dark(x, fullTop + 1)) << i;
            EXPECT_FALSE(dark(x, fullBottom - 1)) << i;
        } else if (bars[i] == TImbBar::Descender) {
            EXPECT_FALSE(dark(x, fullTop + 1)) << i;
            EXPECT_TRUE(dark(x, fullBottom - 1)) << i;
        }
    }
}

TEST_F(TGIMBarCodeTest, ThePublishedWorkedExamplePrintsItsLetters)
{
    // Tracking 01 234 567094 987654321, routing 01234-5678 with delivery point 91.
    AddCode(TImbSerialSource::ssCounter);
    AddRecord({{"ZIP", "01234-5678"}, {"STREET", "91 ELM ST"}});
    TImbJob job(987654321);
    const auto d = Drawings(PrintPiece(&job));
    ASSERT_EQ(d.size(), 65u);
    const QString expected =
        QStringLiteral("AADTFFDFTDADTAADAATFDTDDAAADDTDTTDAFADADDDTFFFDDTTTADFAAADFTDAADA");
    const double top = 2.0;
    QString letters;
    for (const auto& bar : d) {
        const bool up = bar.Top() < top + 0.01;
        const bool down = bar.Bottom() > top + kFull - 0.01;
        letters += up && down ? 'F' : up ? 'A' : down ? 'D' : 'T';
    }
    EXPECT_EQ(letters, expected);
    EXPECT_EQ(job.NextSerial(), 987654322);
}

TEST_F(TGIMBarCodeTest, NoValidRoutingOrTrackingCodePrintsNothingAndSaysWhy)
{
    auto* code = AddCode();
    for (const char* zip : {"1234", "ABCDE", "", " 6270"}) {
        AddRecord({{"ZIP", QString::fromLatin1(zip)}, {"STREET", "1 ELM"}});
        EXPECT_TRUE(Drawings(PrintPiece()).empty()) << zip;
        EXPECT_EQ(code->LastOutcome(), TGIMBarCode::TOutcome::Skipped) << zip;
        EXPECT_TRUE(code->LastProblem().contains("ZIP")) << code->LastProblem().toStdString();
    }
    AddRecord({{"ZIP", "62704"}, {"STREET", "1 ELM"}});
    EXPECT_EQ(Drawings(PrintPiece()).size(), 65u);
    EXPECT_EQ(code->LastOutcome(), TGIMBarCode::TOutcome::Printed);

    code->SetBarcodeId(QStringLiteral("05")); // second digit above 4
    EXPECT_TRUE(Drawings(PrintPiece()).empty());
    EXPECT_EQ(code->LastOutcome(), TGIMBarCode::TOutcome::Skipped);
    EXPECT_TRUE(code->LastProblem().contains("05")) << code->LastProblem().toStdString();

    // A counted barcode outside a print job has no serial number to print.
    code->SetBarcodeId(QStringLiteral("00"));
    code->SetSerialSource(TImbSerialSource::ssCounter);
    EXPECT_TRUE(Drawings(PrintPiece()).empty());
    EXPECT_EQ(code->LastOutcome(), TGIMBarCode::TOutcome::Skipped);
}

} // namespace
} // namespace qm::design
