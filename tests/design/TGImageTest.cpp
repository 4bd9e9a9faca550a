#include "design/objects/TGImage.h"

#include "design/core/TGClassRegistry.h"
#include "design/core/TGDataPanel.h"
#include "design/core/TGLabelObjectFiler.h"
#include "design/stream/TLayoutDump.h"
#include "design/text/TDesignUnits.h"
#include "picture/TWmfSample.h"
#include "picture/TWmfWriter.h"
#include "print/TPageRender.h"
#include "print/TPageStreamFormat.h"
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

picture::TPicture Bitmap(int w, int h)
{
    return picture::TPicture::FromBitmap(Bmp(w, h));
}
picture::TPicture ClipArt()
{
    return picture::TPicture::FromMetafile(picture::TWmfSample::ClipArt());
}

// Clip art that draws past its 1 x 1 inch frame (1000 units) on every side: a bar with a thick
// outline through the left and right edges, an ellipse through the top, a thick line through the
// bottom, large text through the right edge and a bitmap over the top-left corner.
QByteArray Overflowing()
{
    picture::TWmfWriter w(QRect(0, 0, 1000, 1000), 1000);
    w.SetMapMode(8);
    w.SetWindowOrg(0, 0);
    w.SetWindowExt(1000, 1000);
    w.SetBkMode(1);
    QImage orange(4, 4, QImage::Format_RGB32);
    orange.fill(QColor(0xFF, 0xA5, 0x00));
    w.StretchDib(QRect(-200, -200, 400, 400), orange);
    const int outline = w.CreatePen(0, 60, Qt::blue);
    const int red = w.CreateBrush(0, Qt::red);
    w.Select(outline);
    w.Select(red);
    w.Rectangle(QRect(-400, 300, 1800, 400));
    const int noPen = w.CreatePen(5, 0, Qt::black);
    const int green = w.CreateBrush(0, Qt::green);
    w.Select(noPen);
    w.Select(green);
    w.Ellipse(QRect(300, -300, 400, 500));
    const int thick = w.CreatePen(0, 80, Qt::black);
    w.Select(thick);
    w.Polyline(QPolygon({QPoint(500, 800), QPoint(500, 1300)}));
    const int font = w.CreateFont(-300, 700, false, QStringLiteral("Arial"));
    w.Select(font);
    w.SetTextColor(Qt::magenta);
    w.TextOut(700, 760, "WW");
    return w.Finish();
}

// The left half of the frame clipped by the metafile itself and filled blue far past the frame;
// after the clip is given up, a red ellipse through the right edge.
QByteArray SelfClipping()
{
    picture::TWmfWriter w(QRect(0, 0, 1000, 1000), 1000);
    w.SetMapMode(8);
    w.SetWindowOrg(0, 0);
    w.SetWindowExt(1000, 1000);
    const int noPen = w.CreatePen(5, 0, Qt::black);
    const int blue = w.CreateBrush(0, Qt::blue);
    w.Select(noPen);
    w.Select(blue);
    w.SaveDC();
    w.Record(0x0416, {1000, 500, 0, 0}); // IntersectClipRect: bottom, right, top, left
    w.Rectangle(QRect(-500, -500, 2000, 2000));
    w.RestoreDC(-1);
    const int red = w.CreateBrush(0, Qt::red);
    w.Select(red);
    w.Ellipse(QRect(800, 300, 600, 400));
    return w.Finish();
}

// Every pixel of the band between the rectangle inner and the one `band` pixels larger.
bool RingIsWhite(const QImage& page, const QRect& inner, int band, QPoint* found = nullptr)
{
    const QRect outer = inner.adjusted(-band, -band, band, band);
    for (int y = outer.top(); y <= outer.bottom(); ++y)
        for (int x = outer.left(); x <= outer.right(); ++x)
            if (!inner.contains(x, y) && page.pixel(x, y) != qRgb(255, 255, 255)) {
                if (found)
                    *found = QPoint(x, y);
                return false;
            }
    return true;
}

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
    return int(
        std::count_if(commands.begin(), commands.end(), [code](const print::TPageCommand& c) {
            return c.code == std::uint8_t(code);
        }));
}

bool IsDrawing(std::uint8_t code)
{
    switch (TCode(code)) {
    case TCode::Arc:
    case TCode::Chord:
    case TCode::Ellipse:
    case TCode::FillRect:
    case TCode::FrameRect:
    case TCode::LineTo:
    case TCode::Pie:
    case TCode::Polygon:
    case TCode::Polyline:
    case TCode::BitmapScaled:
    case TCode::BitmapRect:
    case TCode::Rectangle:
    case TCode::RoundRect:
    case TCode::GraphicRect:
    case TCode::TextRect:
    case TCode::TextCenter:
    case TCode::TextLeft:
    case TCode::TextRight:
    case TCode::TextBlock:
    case TCode::DrawAtPoint:
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
        const auto read = TGLabelObjectFiler::ReadPanelBytes(TGLabelObjectFiler::PanelBytes(from),
                                                             to.Owner(), to);
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
    EXPECT_EQ(image->BoundsRect(), QRect(0, 0, 100, 100)); // its 50 x 50 at 200 %, not sized yet
    EXPECT_EQ(image->DesignWidth(), 50);
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
    QString reason;
    EXPECT_FALSE(image.LoadFromFile(bad, &reason));
    EXPECT_FALSE(reason.isEmpty());
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
    const auto it =
        std::find_if(commands.begin(), commands.end(), [](const print::TPageCommand& c) {
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
    EXPECT_EQ(Count(commands, TCode::TextLeft), 1);
    EXPECT_EQ(Count(commands, TCode::TextRect), 1);   // "clip art" reaches below the frame: clipped
    EXPECT_EQ(Count(commands, TCode::BitmapRect), 1); // the bitmap inside the metafile
    // The sun: (1900, 100)-(2200, 400) of 2400 x 1600 over 2.5 x 1.667 inches.
    const auto sun =
        std::find_if(commands.begin(), commands.end(), [](const print::TPageCommand& c) {
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
        return QColor(
            page.pixel(int((1 + ux / 2400 * 2.5) * 300), int((1 + uy / 1600 * 160 / 96) * 300)));
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

// Clip art drawing past its frame prints only inside the object, cut at its edges, as the
// screen shows it. The page is saved to QM_SCREENSHOT_DIR when set.
TEST_F(TGImageTest, PrintedMetafileIsClippedToTheObject)
{
    TGDataPanel panel;
    TGImage* image = Add(panel, 96, 96, 96, 96); // 1 inch square at 1 inch
    image->SetPicture(picture::TPicture::FromMetafile(Overflowing()));
    const QByteArray stream = Recorded([&](print::TBaseReport& r) { image->PrintObject(r, 0, 0); });
    QTemporaryDir dir;
    const QStringList files = print::RenderPng(stream, dir.filePath("page%d.png"), 300);
    ASSERT_EQ(files.size(), 1);
    const QImage page = QImage(files.first()).convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(page.isNull());
    const QString shots = qEnvironmentVariable("QM_SCREENSHOT_DIR");
    if (!shots.isEmpty())
        page.copy(200, 200, 500, 500).save(QDir(shots).filePath("picture-printed-clipped.png"));

    // Device pixels 300 to 599 are the object; two pixels of slack for smoothed edges.
    QPoint stray;
    EXPECT_TRUE(RingIsWhite(page, QRect(298, 298, 304, 304), 40, &stray))
        << "ink outside the object at " << stray.x() << ", " << stray.y();
    // What lies inside still prints, up to the edges.
    EXPECT_EQ(QColor(page.pixel(450, 450)), QColor(Qt::red));          // the bar
    EXPECT_EQ(QColor(page.pixel(303, 450)), QColor(Qt::red));          // ... to the left edge
    EXPECT_EQ(QColor(page.pixel(596, 450)), QColor(Qt::red));          // ... and the right one
    EXPECT_EQ(QColor(page.pixel(450, 393)), QColor(Qt::blue));         // its outline
    EXPECT_EQ(QColor(page.pixel(450, 303)), QColor(Qt::green));        // the ellipse
    EXPECT_EQ(QColor(page.pixel(450, 596)), QColor(Qt::black));        // the thick line
    EXPECT_EQ(QColor(page.pixel(310, 310)), QColor(0xFF, 0xA5, 0x00)); // the bitmap's corner
    int magenta = 0;
    for (int y = 520; y < 600; ++y)
        for (int x = 500; x < 600; ++x)
            magenta += page.pixel(x, y) == qRgb(255, 0, 255);
    EXPECT_GT(magenta, 100); // the text, cut at the right edge
}

// A dotted line that the metafile's mapping makes thousands of inches long is cut to the object
// before it is dotted: the dots across the object print (dashing the whole line would make
// millions of dots, which the dasher refuses by drawing the line solid), and nothing beyond.
TEST_F(TGImageTest, HugeDashedLineIsCutBeforeItIsDashed)
{
    picture::TWmfWriter w(QRect(0, 0, 10, 10), 10);
    w.SetMapMode(8);
    w.SetWindowOrg(0, 0);
    w.SetWindowExt(10, 10);
    w.Select(w.CreatePen(2, 0, Qt::black)); // dotted hairline
    w.MoveTo(-30000, 5);
    w.LineTo(30000, 5); // 6000 inches
    TGDataPanel panel;
    TGImage* image = Add(panel, 0, 0, 96, 96);
    image->SetPicture(picture::TPicture::FromMetafile(w.Finish()));
    const auto commands = Printed([&](print::TBaseReport& r) { image->PrintObject(r, 1, 1); });
    const int polygons = Count(commands, TCode::Polygon);
    EXPECT_GT(polygons, 10); // the dots across the object
    EXPECT_LT(polygons, 2000);
    for (const print::TPageCommand& c : commands)
        for (const QPointF& p : c.points) {
            EXPECT_GE(p.x(), 1.0 - 1e-6);
            EXPECT_LE(p.x(), 2.0 + 1e-6);
        }
}

// A metafile's own clip narrows the object's clip and giving it up goes back to the object's,
// on screen and on paper alike.
TEST_F(TGImageTest, MetafileClipNarrowsTheObjectsClipOnScreenAndPaper)
{
    TGDataPanel panel;
    TGImage* image = Add(panel, 96, 96, 96, 96);
    image->SetPicture(picture::TPicture::FromMetafile(SelfClipping()));

    QImage screen(300, 300, QImage::Format_RGB32);
    screen.fill(Qt::white);
    {
        QPainter painter(&screen);
        painter.translate(96, 96);
        image->Paint(painter);
    }
    QPoint stray;
    EXPECT_TRUE(RingIsWhite(screen, QRect(95, 95, 98, 98), 40, &stray))
        << "screen: ink outside the object at " << stray.x() << ", " << stray.y();
    EXPECT_EQ(QColor(screen.pixel(120, 144)), QColor(Qt::blue));
    EXPECT_EQ(QColor(screen.pixel(160, 110)), QColor(Qt::white)); // right of the metafile's clip
    EXPECT_EQ(QColor(screen.pixel(188, 144)), QColor(Qt::red));

    const QByteArray stream = Recorded([&](print::TBaseReport& r) { image->PrintObject(r, 0, 0); });
    QTemporaryDir dir;
    const QStringList files = print::RenderPng(stream, dir.filePath("page%d.png"), 300);
    ASSERT_EQ(files.size(), 1);
    const QImage page = QImage(files.first()).convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(RingIsWhite(page, QRect(298, 298, 304, 304), 40, &stray))
        << "paper: ink outside the object at " << stray.x() << ", " << stray.y();
    EXPECT_EQ(QColor(page.pixel(375, 450)), QColor(Qt::blue));
    EXPECT_EQ(QColor(page.pixel(500, 330)), QColor(Qt::white));
    EXPECT_EQ(QColor(page.pixel(590, 450)), QColor(Qt::red));
}

TEST_F(TGImageTest, PrintingAMetafileLeavesTheCanvasStateForTheNextObject)
{
    TGDataPanel panel;
    TGImage* image = Add(panel, 0, 0, 240, 160);
    image->SetPicture(ClipArt());
    Recorded([&](print::TBaseReport& r) {
        r.SetFont(QStringLiteral("Courier New"), 12);
        r.SetBold(true);
        r.SetPen(print::TColor::Rgb(255, 0, 0), print::TPenStyle::psDash, print::TPenMode::pmCopy,
                 3);
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
