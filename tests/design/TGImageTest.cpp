#include "design/objects/TGImage.h"

#include "design/text/TDesignUnits.h"
#include "design/core/TGClassRegistry.h"
#include "design/core/TGDataPanel.h"
#include "design/core/TGLabelObjectFiler.h"
#include "design/stream/TLayoutDump.h"
#include "picture/TWmfSample.h"
#include "print/TPageStreamFormat.h"
#include "print/TPageRender.h"
#include "print/TPageStreamReader.h"
#include "print/TRPDevice.h"
#include "print/TReportFiler.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

namespace qm::design {
namespace {

using print::stream::TCode;

QByteArray Bmp(int w, int h, QColor color = Qt::red)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

picture::TPicture Bitmap(int w, int h) { return picture::TPicture::FromBitmap(Bmp(w, h)); }
picture::TPicture ClipArt() { return picture::TPicture::FromMetafile(picture::TWmfSample::ClipArt()); }

// A one-page recorded job.
QByteArray Recorded(const std::function<void(print::TBaseReport&)>& draw)
{
    qputenv("QUILLMARK_NO_PDF_PRINTER", "1");
    print::TRPDevice::Instance().ReloadWith({});
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    print::TReportFiler filer;
    filer.SetStream(&buffer);
    filer.OnPrint = draw;
    filer.RunJob();
    return bytes;
}

// The drawing commands of a one-page recorded job.
std::vector<print::TPageCommand> Printed(const std::function<void(print::TBaseReport&)>& draw)
{
    const QByteArray bytes = Recorded(draw);

    print::TPageStreamReader reader(bytes);
    const print::TPageStreamHeader header = reader.ReadHeader();
    reader.Seek(header.firstPageOffset);
    reader.ReadPageRecord();
    std::vector<print::TPageCommand> commands;
    for (;;) {
        print::TPageCommand c;
        reader.ReadCommand(c);
        if (c.code == std::uint8_t(TCode::EndOfPage))
            break;
        commands.push_back(c);
    }
    return commands;
}

int Count(const std::vector<print::TPageCommand>& commands, TCode code)
{
    return int(std::count_if(commands.begin(), commands.end(),
                             [code](const print::TPageCommand& c) { return c.code == std::uint8_t(code); }));
}

bool IsDrawing(std::uint8_t code)
{
    switch (TCode(code)) {
    case TCode::Arc: case TCode::Chord: case TCode::Ellipse: case TCode::FillRect:
    case TCode::FrameRect: case TCode::LineTo: case TCode::Pie: case TCode::Polygon:
    case TCode::Polyline: case TCode::BitmapScaled: case TCode::BitmapRect: case TCode::Rectangle:
    case TCode::RoundRect: case TCode::GraphicRect: case TCode::TextRect: case TCode::TextCenter:
    case TCode::TextLeft: case TCode::TextRight: case TCode::TextBlock: case TCode::DrawAtPoint:
        return true;
    default:
        return false;
    }
}

class TGImageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TDesignUnits::SetPpiOverride(96);
        TGClassRegistry::Instance().Clear();
        TGClassRegistry::Instance().RegisterHostKinds(TGHostKind::Label);
    }
    void TearDown() override { TDesignUnits::SetPpiOverride(0); }

    TGImage* Add(TGDataPanel& panel, int left, int top, int width, int height)
    {
        auto* image = static_cast<TGImage*>(panel.AddObject(std::make_unique<TGImage>()));
        image->SetBounds(left, top, width, height);
        return image;
    }

    // Writes the panel and reads it into a fresh one; the single object read.
    TGImage* RoundTrip(const TGDataPanel& from, TGDataPanel& to)
    {
        const auto read =
            TGLabelObjectFiler::ReadPanelBytes(TGLabelObjectFiler::PanelBytes(from), to.Owner(), to);
        EXPECT_EQ(read.size(), 1u);
        return read.empty() ? nullptr : dynamic_cast<TGImage*>(read.front());
    }
};

TEST_F(TGImageTest, NewObjectIsEmptyStretchedAndOfDefaultSize)
{
    TGImage image;
    EXPECT_EQ(image.BoundsRect(), QRect(0, 0, 105, 105));
    EXPECT_TRUE(image.Stretch());
    EXPECT_FALSE(image.AutoSize());
    EXPECT_FALSE(image.HasPicture());
    EXPECT_TRUE(TGClassRegistry::Instance().Create("TGImage") != nullptr);
}

TEST_F(TGImageTest, AutoSizeTakesTheBitmapsSizeAndTurnsStretchOff)
{
    TGDataPanel panel;
    TGImage* image = Add(panel, 10, 20, 105, 105);
    image->SetPicture(Bitmap(64, 32));
    EXPECT_EQ(image->BoundsRect(), QRect(10, 20, 105, 105)); // AutoSize is off
    image->SetAutoSize(true);
    EXPECT_EQ(image->BoundsRect(), QRect(10, 20, 64, 32));
    EXPECT_FALSE(image->Stretch());
    image->SetStretch(true);
    EXPECT_FALSE(image->AutoSize());
}

TEST_F(TGImageTest, AutoSizeWaitsForScaleOneAndUsesTheMetafileFrame)
{
    TGDataPanel panel;
    TGImage* image = Add(panel, 0, 0, 50, 50);
    image->SetScale(2.0f);
    image->SetAutoSize(true);
    image->SetPicture(ClipArt());
    EXPECT_EQ(image->BoundsRect(), QRect(0, 0, 50, 50));
    image->SetScale(1.0f);
    EXPECT_EQ(image->BoundsRect(), QRect(0, 0, 160, 107)); // 2400 x 1600 at 1440 per inch
}

TEST_F(TGImageTest, StreamKeepsBothPictureKindsByteForByte)
{
    for (const picture::TPicture& picture : {Bitmap(64, 32), ClipArt()}) {
        TGDataPanel panel;
        TGImage* image = Add(panel, 5, 6, 70, 80);
        image->SetName("Component0"); // the name reading gives
        image->SetPicture(picture);
        image->SetAutoSize(false);
        image->SetStretch(false);
        TGDataPanel copy;
        TGImage* read = RoundTrip(panel, copy);
        ASSERT_TRUE(read);
        EXPECT_EQ(read->Picture().Kind(), picture.Kind());
        EXPECT_EQ(read->Picture().Bytes(), picture.Bytes());
        EXPECT_FALSE(read->Stretch());
        EXPECT_FALSE(read->AutoSize());
        EXPECT_EQ(read->BoundsRect(), QRect(5, 6, 70, 80));
        // Writing the copy gives the same stream.
        EXPECT_EQ(TGLabelObjectFiler::PanelBytes(copy), TGLabelObjectFiler::PanelBytes(panel));
    }
}

TEST_F(TGImageTest, DefaultsAndEmptyPicturesAreLeftOutOfTheStream)
{
    TGDataPanel panel;
    Add(panel, 1, 2, 3, 4);
    const QByteArray bytes = TGLabelObjectFiler::PanelBytes(panel);
    EXPECT_FALSE(bytes.contains("Stretch"));
    EXPECT_FALSE(bytes.contains("AutoSize"));
    EXPECT_FALSE(bytes.contains("Picture.Data"));

    TGDataPanel withPicture;
    TGImage* image = Add(withPicture, 1, 2, 3, 4);
    image->SetPicture(Bitmap(2, 2));
    const QByteArray stored = TGLabelObjectFiler::PanelBytes(withPicture);
    EXPECT_TRUE(stored.contains(QByteArray("\x0CPicture.Data\x0A", 14)));
    EXPECT_TRUE(stored.contains(QByteArray("\x07TBitmap", 8)));
}

TEST_F(TGImageTest, StoredPictureThatDoesNotDecodeIsKeptAndShownDamaged)
{
    TGDataPanel panel;
    TGImage* image = Add(panel, 0, 0, 30, 30);
    image->SetName("Component0"); // the name reading gives
    image->SetPicture(Bitmap(4, 4));
    QByteArray bytes = TGLabelObjectFiler::PanelBytes(panel);
    // Break the bitmap's bit count inside the stream: the framing still holds.
    const qsizetype bm = bytes.indexOf("BM");
    ASSERT_GT(bm, 0);
    bytes[bm + 28] = 7;
    TGDataPanel copy;
    const auto read = TGLabelObjectFiler::ReadPanelBytes(bytes, copy.Owner(), copy);
    ASSERT_EQ(read.size(), 1u);
    auto* damaged = dynamic_cast<TGImage*>(read.front());
    ASSERT_TRUE(damaged);
    EXPECT_TRUE(damaged->PictureDamaged());
    EXPECT_EQ(TGLabelObjectFiler::PanelBytes(copy), bytes);
    // On screen: the outline crossed out.
    QImage screen(30, 30, QImage::Format_RGB32);
    screen.fill(Qt::white);
    {
        QPainter painter(&screen);
        damaged->Paint(painter);
    }
    EXPECT_EQ(QColor(screen.pixel(0, 15)), QColor(Qt::black));
    EXPECT_EQ(QColor(screen.pixel(15, 15)), QColor(Qt::black));
    EXPECT_EQ(QColor(screen.pixel(15, 5)), QColor(Qt::white));
    // It prints nothing.
    const auto commands = Printed([&](print::TBaseReport& r) { damaged->PrintObject(r, 0, 0); });
    EXPECT_TRUE(std::none_of(commands.begin(), commands.end(),
                             [](const print::TPageCommand& c) { return IsDrawing(c.code); }));
}

TEST_F(TGImageTest, LoadingADamagedFileEmptiesThePicture)
{
    QTemporaryDir dir;
    const QString good = dir.filePath("ok.bmp"), bad = dir.filePath("bad.wmf");
    {
        QFile f(good);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(Bmp(8, 8));
    }
    {
        QFile f(bad);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(picture::TWmfSample::ClipArt().left(300));
    }
    TGImage image;
    EXPECT_TRUE(image.LoadFromFile(good));
    EXPECT_TRUE(image.Picture().IsBitmap());
    EXPECT_FALSE(image.LoadFromFile(bad));
    EXPECT_FALSE(image.HasPicture());
    EXPECT_EQ(image.BoundsRect(), QRect(0, 0, 105, 105));
}

TEST_F(TGImageTest, PrintedBitmapFillsTheObjectWhateverStretchSays)
{
    TGDataPanel panel;
    TGImage* image = Add(panel, 48, 96, 200, 200);
    image->SetPicture(Bitmap(20, 10));
    image->SetStretch(false);
    const auto commands = Printed([&](print::TBaseReport& r) { image->PrintObject(r, 1.0, 2.0); });
    ASSERT_EQ(Count(commands, TCode::BitmapRect), 1);
    const auto it = std::find_if(commands.begin(), commands.end(), [](const print::TPageCommand& c) {
        return c.code == std::uint8_t(TCode::BitmapRect);
    });
    ASSERT_EQ(it->points.size(), 2u);
    EXPECT_NEAR(it->points[0].x(), 1.5, 1e-6);
    EXPECT_NEAR(it->points[0].y(), 3.0, 1e-6);
    EXPECT_NEAR(it->points[1].x(), 1.5 + 200.0 / 96, 1e-5);
    EXPECT_NEAR(it->points[1].y(), 3.0 + 200.0 / 96, 1e-5);
}

TEST_F(TGImageTest, PrintedMetafileIsRecordedAsVectorDrawing)
{
    TGDataPanel panel;
    TGImage* image = Add(panel, 0, 0, 240, 160); // 2.5 x 1.667 inches
    image->SetPicture(ClipArt());
    const auto commands = Printed([&](print::TBaseReport& r) { image->PrintObject(r, 0, 0); });
    EXPECT_EQ(Count(commands, TCode::GraphicRect), 0); // no raster copy of the picture
    EXPECT_EQ(Count(commands, TCode::Rectangle), 3);
    EXPECT_EQ(Count(commands, TCode::Ellipse), 1);
    EXPECT_EQ(Count(commands, TCode::RoundRect), 1);
    EXPECT_GE(Count(commands, TCode::Polygon), 4); // roof, windows, pie, chord
    EXPECT_GE(Count(commands, TCode::Polyline), 5);
    EXPECT_EQ(Count(commands, TCode::TextLeft), 2);
    EXPECT_EQ(Count(commands, TCode::BitmapRect), 1); // the bitmap inside the metafile
    // The sun: (1900, 100)-(2200, 400) of 2400 x 1600 over 2.5 x 1.667 inches.
    const auto sun = std::find_if(commands.begin(), commands.end(), [](const print::TPageCommand& c) {
        return c.code == std::uint8_t(TCode::Ellipse);
    });
    ASSERT_EQ(sun->points.size(), 2u);
    EXPECT_NEAR(sun->points[0].x(), 1900.0 / 2400 * 2.5, 1e-4);
    EXPECT_NEAR(sun->points[1].y(), 400.0 / 1600 * 160 / 96, 1e-4);
}

// The recorded metafile replayed to a 300 DPI page: colours land where the metafile puts them.
// The page is saved to QM_SCREENSHOT_DIR when set, for people to look at.
TEST_F(TGImageTest, PrintedMetafileReplaysSharpAtPrinterResolution)
{
    TGDataPanel panel;
    TGImage* image = Add(panel, 96, 96, 240, 160); // at 1 inch, 2.5 x 1.667 inches
    image->SetPicture(ClipArt());
    const QByteArray stream = Recorded([&](print::TBaseReport& r) { image->PrintObject(r, 0, 0); });
    QTemporaryDir dir;
    const QStringList files = print::RenderPng(stream, dir.filePath("page%d.png"), 300);
    ASSERT_EQ(files.size(), 1);
    const QImage page(files.first());
    ASSERT_FALSE(page.isNull());
    const QString shots = qEnvironmentVariable("QM_SCREENSHOT_DIR");
    if (!shots.isEmpty())
        page.copy(250, 250, 800, 550).save(QDir(shots).filePath("picture-printed-clip-art.png"));
    auto at = [&](double ux, double uy) {
        return QColor(page.pixel(int((1 + ux / 2400 * 2.5) * 300), int((1 + uy / 1600 * 160 / 96) * 300)));
    };
    EXPECT_EQ(at(2050, 250), QColor(0xFF, 0xD7, 0x00)); // sun
    EXPECT_EQ(at(100, 600), QColor(0x87, 0xCE, 0xEB));  // sky
    EXPECT_EQ(at(750, 600), QColor(0xB2, 0x22, 0x22));  // roof
    EXPECT_EQ(at(1750, 800), QColor(0x41, 0x69, 0xE1)); // pie slice
    // Curves are flattened finely: a point just inside the chord's round edge is filled (a
    // coarse polygon would cut the corner off).
    EXPECT_EQ(at(1735, 1047), QColor(0xFF, 0x63, 0x47));
    EXPECT_EQ(QColor(page.pixel(200, 200)), QColor(Qt::white)); // outside the object
}

TEST_F(TGImageTest, PrintingAMetafileLeavesTheCanvasStateForTheNextObject)
{
    TGDataPanel panel;
    TGImage* image = Add(panel, 0, 0, 240, 160);
    image->SetPicture(ClipArt());
    Recorded([&](print::TBaseReport& r) {
        r.SetFont(QStringLiteral("Courier New"), 12);
        r.SetBold(true);
        r.SetPen(print::TColor::Rgb(255, 0, 0), print::TPenStyle::psDash, print::TPenMode::pmCopy, 3);
        r.SetBrush(print::TColor::Rgb(0, 255, 0), print::TBrushStyle::bsCross);
        r.SetYPos(4.5);
        image->PrintObject(r, 0, 0);
        EXPECT_EQ(r.Font().name, "Courier New");
        EXPECT_DOUBLE_EQ(r.Font().sizePoints, 12);
        EXPECT_TRUE(r.Font().bold);
        EXPECT_FALSE(r.Font().italic);
        EXPECT_EQ(r.Font().rotation, 0);
        EXPECT_EQ(r.Pen().color, print::TColor::Rgb(255, 0, 0));
        EXPECT_EQ(r.Pen().style, print::TPenStyle::psDash);
        EXPECT_EQ(r.Brush().style, print::TBrushStyle::bsCross);
        EXPECT_DOUBLE_EQ(r.YPos(), 4.5);
    });
}

TEST_F(TGImageTest, EmptyObjectPrintsNothingAndShowsItsOutline)
{
    TGDataPanel panel;
    TGImage* image = Add(panel, 0, 0, 20, 10);
    const auto commands = Printed([&](print::TBaseReport& r) { image->PrintObject(r, 0, 0); });
    EXPECT_TRUE(std::none_of(commands.begin(), commands.end(),
                             [](const print::TPageCommand& c) { return IsDrawing(c.code); }));
    QImage screen(20, 10, QImage::Format_RGB32);
    screen.fill(Qt::white);
    {
        QPainter painter(&screen);
        image->Paint(painter);
    }
    EXPECT_EQ(QColor(screen.pixel(0, 5)), QColor(Qt::black));
    EXPECT_EQ(QColor(screen.pixel(19, 5)), QColor(Qt::black));
    EXPECT_EQ(QColor(screen.pixel(10, 5)), QColor(Qt::white));
}

TEST_F(TGImageTest, ScreenShowsNaturalSizeUnlessStretchedOrZoomed)
{
    TGDataPanel panel;
    TGImage* image = Add(panel, 0, 0, 40, 40);
    image->SetPicture(Bitmap(10, 10));
    auto paint = [&] {
        QImage screen(40, 40, QImage::Format_RGB32);
        screen.fill(Qt::white);
        QPainter painter(&screen);
        image->Paint(painter);
        return screen;
    };
    image->SetStretch(false);
    QImage shown = paint();
    EXPECT_EQ(QColor(shown.pixel(5, 5)), QColor(Qt::red));
    EXPECT_EQ(QColor(shown.pixel(30, 30)), QColor(Qt::white));
    image->SetStretch(true);
    shown = paint();
    EXPECT_EQ(QColor(shown.pixel(30, 30)), QColor(Qt::red));
    image->SetStretch(false);
    image->SetScale(1.5f);
    shown = paint();
    EXPECT_EQ(QColor(shown.pixel(30, 30)), QColor(Qt::red));
}

} // namespace
} // namespace qm::design
