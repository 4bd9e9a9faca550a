// The painter that every print path draws through, judged by its pixels: filled shapes cover
// exactly the device pixels their rectangle names, postal bars keep their width at any
// resolution, and rotated clipped text turns about its corner, printed live or replayed.

#include "print/TPagePainter.h"

#include "TImageCanvas.h"
#include "TPrintTestSupport.h"
#include "print/TPageRender.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTransform>
#include <gtest/gtest.h>

namespace qm::print {
namespace {

const QColor kPenBlue(0, 0, 255);
const QColor kBrushRed(255, 0, 0);

// Paints on a 400 x 300 white image at 100 DPI (one inch is 100 pixels).
QImage Paint(const std::function<void(TPagePainter&)>& draw, bool antialiased)
{
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, antialiased);
    TPagePainter canvas(painter, TDeviceMapping{100, 100, 0, 0, 100, 100, 100});
    draw(canvas);
    painter.end();
    return image;
}

// Text in a cell either fits and is drawn whole, or is cut at the cell's edges: never ink
// outside the cell, whether the text is drawn with a clip or, fitting, without one.
TEST(TPagePainterTest, CellTextKeepsInsideItsCellAndIsWholeWhenItFits)
{
    struct TCellCase {
        QByteArray text;
        bool italic;
        double right; // the cell's right edge, inches
    };
    const QRectF cellFrom(QPointF(0.5, 0.5), QPointF(0.5, 0.9));
    const std::vector<TCellCase> cases = {
        {"Adams, Ana", false, 3.5}, // fits with room
        {"A text far too long for its cell", false, 1.2},
        {"Staff", true, 0.95}, // italic overhang at a tight edge
        {"jjj", true, 3.5},    // a hanging first letter
    };
    for (bool antialiased : {false, true}) {
        for (const TCellCase& c : cases) {
            const QRectF cell(cellFrom.topLeft(), QPointF(c.right, cellFrom.bottom()));
            const auto draw = [&](const QRectF& clip) {
                return Paint(
                    [&](TPagePainter& p) {
                        TPainterFont font;
                        font.heightInches = 16.0 / 72.0;
                        font.italic = c.italic;
                        p.SetFont(font);
                        p.TextInRect(clip, cell.left(), cell.top(), c.text);
                    },
                    antialiased);
            };
            const QImage image = draw(cell);
            const std::string what = c.text.toStdString() + " aa " + std::to_string(antialiased);
            const QRect ink = test::InkBounds(image);
            const QRect pixels(QPoint(50, 50), QPoint(int(c.right * 100) - 1, 89));
            ASSERT_FALSE(ink.isEmpty()) << what;
            EXPECT_TRUE(pixels.contains(ink))
                << what << " ink " << ink.left() << ".." << ink.right();
            // With the whole page as its cell the text is drawn whole; a cell it fits in must
            // show the same pixels.
            const QImage whole = draw(QRectF(QPointF(0, 0), QPointF(4, 3)));
            if (pixels.contains(test::InkBounds(whole))) {
                EXPECT_EQ(image, whole) << what;
            }
        }
    }
}

struct TPenCase {
    int width;
    TPenStyle style;
    QMargins grow; // pixels the shape reaches past its area: left, top, right, bottom
};

TEST(TPagePainterTest, FilledShapesCoverTheirAreaWithAOnePixelPenAndGrowOnlyByAWideOne)
{
    // The area (0.5, 0.5)-(2, 1.5) in: pixels 50..199 across and 50..149 down.
    const QRect area(QPoint(50, 50), QPoint(199, 149));
    const std::vector<TPenCase> pens = {
        {1, TPenStyle::psSolid, {}},           {1, TPenStyle::psDash, {}},
        {3, TPenStyle::psSolid, {1, 1, 1, 1}}, {4, TPenStyle::psSolid, {2, 2, 1, 1}},
        {5, TPenStyle::psInsideFrame, {}},     {1, TPenStyle::psClear, {}},
    };
    for (bool antialiased : {false, true}) {
        for (TShape shape : {TShape::Rectangle, TShape::RoundRect, TShape::Ellipse}) {
            for (const TPenCase& pen : pens) {
                const QImage image = Paint(
                    [&](TPagePainter& c) {
                        c.SetPenPixels(TColor::FromQColor(kPenBlue), pen.style, TPenMode::pmCopy,
                                       pen.width);
                        c.SetBrush(TColor::FromQColor(kBrushRed), TBrushStyle::bsSolid);
                        c.Shape(shape, QRectF(QPointF(0.5, 0.5), QPointF(2.0, 1.5)), 0.4, 0.4);
                    },
                    antialiased);
                const QRect expected = area.marginsAdded(pen.grow);
                const QRect ink = test::InkBounds(image);
                const std::string what = "shape " + std::to_string(int(shape)) + " pen " +
                                         std::to_string(pen.width) + " style " +
                                         std::to_string(int(pen.style)) + " aa " +
                                         std::to_string(antialiased);
                if (pen.style == TPenStyle::psDash) // dashes need not reach every edge
                    EXPECT_TRUE(expected.contains(ink)) << what;
                else
                    EXPECT_EQ(ink, expected) << what;
            }
        }
    }

    // A one-pixel pen is the outermost ring of the area; the brush fills what it encloses.
    const QImage rect = Paint(
        [&](TPagePainter& c) {
            c.SetPenPixels(TColor::FromQColor(kPenBlue), TPenStyle::psSolid, TPenMode::pmCopy, 1);
            c.SetBrush(TColor::FromQColor(kBrushRed), TBrushStyle::bsSolid);
            c.Shape(TShape::Rectangle, QRectF(QPointF(0.5, 0.5), QPointF(2.0, 1.5)));
        },
        false);
    EXPECT_EQ(rect.pixelColor(50, 100), kPenBlue);
    EXPECT_EQ(rect.pixelColor(199, 100), kPenBlue);
    EXPECT_EQ(rect.pixelColor(100, 149), kPenBlue);
    EXPECT_EQ(rect.pixelColor(51, 100), kBrushRed);
    EXPECT_EQ(rect.pixelColor(198, 148), kBrushRed);
}

// A run of fills covers exactly the pixels the same rectangles cover filled one by one: corners
// given either way round, edges between pixels, a rectangle too thin for a pixel. A clear brush
// fills nothing, and a shape drawn after the run has its own pen and brush again.
TEST(TPagePainterTest, ARunOfFillsCoversWhatSingleFillsCover)
{
    const std::vector<QRectF> rects = {
        QRectF(QPointF(0.5, 0.5), QPointF(0.52, 0.64)),      // a bar: two pixels wide
        QRectF(QPointF(0.5455, 0.55), QPointF(0.5655, 0.6)), // edges between pixels
        QRectF(QPointF(1.2, 1.0), QPointF(0.9, 0.7)),        // corners the other way round
        QRectF(QPointF(2.0, 2.0), QPointF(2.001, 2.5)),      // thinner than a pixel
        QRectF(QPointF(3.0, 0.2), QPointF(3.9, 2.9)),
    };
    for (bool antialiased : {false, true}) {
        const auto brushed = [](TPagePainter& c) {
            c.SetPenPixels(TColor::FromQColor(kPenBlue), TPenStyle::psSolid, TPenMode::pmCopy, 3);
            c.SetBrush(TColor::FromQColor(kBrushRed), TBrushStyle::bsSolid);
        };
        const QImage run = Paint(
            [&](TPagePainter& c) {
                brushed(c);
                c.FillRects(rects);
            },
            antialiased);
        const QImage single = Paint(
            [&](TPagePainter& c) {
                brushed(c);
                for (const QRectF& r : rects)
                    c.Shape(TShape::FillRect, r);
            },
            antialiased);
        EXPECT_EQ(run, single) << "aa " << antialiased;
        EXPECT_EQ(test::InkBounds(run, test::Inked, QRect(40, 40, 40, 40)),
                  QRect(QPoint(50, 50), QPoint(56, 63)))
            << "aa " << antialiased;

        const QImage clear = Paint(
            [&](TPagePainter& c) {
                c.SetBrush(TColor::FromQColor(kBrushRed), TBrushStyle::bsClear);
                c.FillRects(rects);
            },
            antialiased);
        EXPECT_FALSE(test::InkBounds(clear).isValid()) << "aa " << antialiased;

        const auto thenRectangle = [&](bool withRun) {
            return Paint(
                [&](TPagePainter& c) {
                    brushed(c);
                    if (withRun)
                        c.FillRects(rects);
                    c.SetBrush(TColor::FromQColor(kBrushRed), TBrushStyle::bsClear);
                    c.Shape(TShape::Rectangle, QRectF(QPointF(0.3, 2.6), QPointF(2.5, 2.9)));
                },
                antialiased);
        };
        const QImage after = thenRectangle(true);
        const QImage alone = thenRectangle(false);
        const QRect frame(QPoint(25, 255), QPoint(255, 295));
        for (int y = frame.top(); y <= frame.bottom(); ++y)
            for (int x = frame.left(); x <= frame.right(); ++x)
                if (after.pixel(x, y) != alone.pixel(x, y)) {
                    ADD_FAILURE() << "frame pixel " << x << "," << y << " aa " << antialiased;
                    return;
                }
        EXPECT_EQ(after.pixelColor(30, 270), kPenBlue);
        EXPECT_EQ(after.pixelColor(100, 275), QColor(Qt::white)) << "no brush inside";
    }
}

TEST(TPagePainterTest, FramesAndTabBoxesKeepToTheirEdges)
{
    const QRect area(QPoint(50, 50), QPoint(199, 149));
    auto draw = [&](TShape shape) {
        return Paint(
            [&](TPagePainter& c) {
                c.SetPenPixels(TColor::FromQColor(kPenBlue), TPenStyle::psSolid, TPenMode::pmCopy,
                               1);
                c.SetBrush(TColor::FromQColor(kBrushRed), TBrushStyle::bsSolid);
                c.Shape(shape, QRectF(QPointF(0.5, 0.5), QPointF(2.0, 1.5)));
            },
            false);
    };
    const QImage frame = draw(TShape::FrameRect);
    EXPECT_EQ(test::InkBounds(frame), area);
    EXPECT_EQ(frame.pixelColor(100, 100), QColor(Qt::white)); // outline only
    EXPECT_EQ(test::InkBounds(draw(TShape::FocusRect)), area);
    EXPECT_EQ(test::InkBounds(draw(TShape::FillRect)), area);
    EXPECT_EQ(test::InkBounds(draw(TShape::TabRectangle)), area.adjusted(0, 0, 1, 1));
    // Corners given the other way round name the same area.
    const QImage reversed = Paint(
        [&](TPagePainter& c) {
            c.SetBrush(TColor::FromQColor(kBrushRed), TBrushStyle::bsSolid);
            c.Shape(TShape::Rectangle, QRectF(QPointF(2.0, 1.5), QPointF(0.5, 0.5)));
        },
        false);
    EXPECT_EQ(test::InkBounds(reversed), area);
}

// The left edges and widths, in pixels, of the dark runs along one row.
std::vector<std::pair<int, int>> DarkRuns(const QImage& image, int y)
{
    std::vector<std::pair<int, int>> runs;
    for (int x = 0; x < image.width(); ++x) {
        if (!test::Dark(image.pixel(x, y)))
            continue;
        const int start = x;
        while (x < image.width() && test::Dark(image.pixel(x, y)))
            ++x;
        runs.emplace_back(start, x - start);
    }
    return runs;
}

// A postal barcode as the barcode object prints it: 0.015 in bars at a 0.046 in pitch, drawn
// as rectangles with a solid black brush and a one-pixel pen.
void DrawBars(TBaseReport& r, int count)
{
    r.SetBrush(kBlack, TBrushStyle::bsSolid);
    r.SetPen(kBlack, TPenStyle::psSolid, TPenMode::pmCopy, 1);
    double x = 0.5 + 0.1 / 7; // not on a whole pixel
    for (int i = 0; i < count; ++i) {
        const double height = i % 3 == 0 ? 0.125 : 0.05;
        r.DrawRectangle(x, 1.0 - height, x + 0.015, 1.0);
        x += 0.046;
    }
}

void ExpectBarsMeasure(const QImage& page, double dpi, int count, const std::string& what)
{
    const auto runs = DarkRuns(page, int(std::lround((1.0 - 0.025) * dpi)));
    ASSERT_EQ(int(runs.size()), count) << what;
    for (size_t i = 0; i < runs.size(); ++i) {
        EXPECT_LE(std::abs(runs[i].second / dpi - 0.015), 1.0 / dpi + 1e-9)
            << what << " bar " << i << " is " << runs[i].second << " pixels";
        if (i > 0) {
            EXPECT_LE(std::abs((runs[i].first - runs[i - 1].first) / dpi - 0.046), 1.0 / dpi + 1e-9)
                << what << " pitch before bar " << i;
        }
    }
    const double pitch = (runs.back().first - runs.front().first) / dpi / double(count - 1);
    EXPECT_NEAR(pitch, 0.046, 0.5 / dpi) << what;
}

class TPagePainterJobTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::UsePdfPrinter(); // 300 DPI, no waste
        TRPDevice::Instance().SetPaperSize(0, 6.0, 6.0);
    }
    void TearDown() override { TRPDevice::Instance().SetPaperSize(1); }
};

TEST_F(TPagePainterJobTest, PostalBarsKeepTheirWidthAndPitchAtEveryResolution)
{
    constexpr int kBars = 52;
    TRPDevice::Instance().SetPaperSize(0, 3.5, 1.5); // room for the bars, quick to render
    const QByteArray stream = test::Record([](TBaseReport& r) { DrawBars(r, kBars); });

    // What "quillmark-tool pages render" writes, at the recorder's resolution and twice it.
    QTemporaryDir dir;
    for (int dpi : {300, 600}) {
        const QStringList files = RenderPng(
            stream, QDir(dir.path()).filePath(QStringLiteral("bars-%1-%d.png").arg(dpi)), dpi);
        ASSERT_EQ(files.size(), 1);
        ExpectBarsMeasure(QImage(files.front()), dpi, kBars, "rendered at " + std::to_string(dpi));
    }
    // The preview's resolution, and the live printer canvas.
    ExpectBarsMeasure(test::PaintReplay(stream, 96, QPainter::Antialiasing), 96, kBars, "preview");
    const QImage live = test::PaintLive([](TBaseReport& r) { DrawBars(r, kBars); });
    ExpectBarsMeasure(live, 300, kBars, "live");
}

// The ink of an inch rectangle of a page as a mask, dark pixels true.
std::vector<std::vector<bool>> InkMask(const QImage& page, const QRectF& inches, double dpi,
                                       const QTransform& turn = {})
{
    const QRect pixels(
        QPoint(int(std::lround(inches.left() * dpi)), int(std::lround(inches.top() * dpi))),
        QPoint(int(std::lround(inches.right() * dpi)) - 1,
               int(std::lround(inches.bottom() * dpi)) - 1));
    const QImage crop = page.copy(pixels).transformed(turn);
    std::vector<std::vector<bool>> mask(size_t(crop.height()),
                                        std::vector<bool>(size_t(crop.width())));
    for (int y = 0; y < crop.height(); ++y)
        for (int x = 0; x < crop.width(); ++x)
            mask[size_t(y)][size_t(x)] = test::Dark(crop.pixel(x, y));
    return mask;
}

// The share of a's ink that has ink of b within one pixel; 0 when a has none.
double Covered(const std::vector<std::vector<bool>>& a, const std::vector<std::vector<bool>>& b)
{
    int ink = 0, near = 0;
    for (size_t y = 0; y < a.size(); ++y) {
        for (size_t x = 0; x < a[y].size(); ++x) {
            if (!a[y][x])
                continue;
            ++ink;
            bool found = false;
            for (int dy = -1; dy <= 1 && !found; ++dy)
                for (int dx = -1; dx <= 1 && !found; ++dx) {
                    const long yy = long(y) + dy, xx = long(x) + dx;
                    found = yy >= 0 && yy < long(b.size()) && xx >= 0 &&
                            xx < long(b[size_t(yy)].size()) && b[size_t(yy)][size_t(xx)];
                }
            near += found ? 1 : 0;
        }
    }
    return ink == 0 ? 0 : double(near) / ink;
}

// Four captions at 0, 90, 180 and 270 degrees, each with its reference point (the top-left
// corner of the unturned text) and a clip rectangle around where the turned text must land, as
// the text objects print them.
struct TCaption {
    int angle;
    QPointF at;
};
const QString kCaption = QStringLiteral("Rotated Lg");
const double kMargin = 0.05; // inches of clip and comparison around the text's cell

// The cell of the caption turned about its reference point: w along the text, h across it.
QRectF TurnedCell(const TCaption& c, double w, double h)
{
    switch (c.angle) {
    case 90:
        return QRectF(c.at.x(), c.at.y() - w, h, w);
    case 180:
        return QRectF(c.at.x() - w, c.at.y() - h, w, h);
    case 270:
        return QRectF(c.at.x() - h, c.at.y(), h, w);
    default:
        return QRectF(c.at.x(), c.at.y(), w, h);
    }
}

const std::vector<TCaption> kCaptions = {
    {0, {0.5, 0.5}}, {90, {0.5, 3.5}}, {180, {4.5, 4.5}}, {270, {5.5, 1.0}}};

void DrawCaptions(TBaseReport& r, double& w, double& h)
{
    r.SetFont(QStringLiteral("Arial"), 24);
    w = r.TextWidth(kCaption);
    h = 24.0 / 72.0 * 1.2;
    for (const TCaption& c : kCaptions) {
        r.SetFontRotation(c.angle);
        const QRectF clip = TurnedCell(c, w, h).adjusted(-kMargin, -kMargin, kMargin, kMargin);
        r.TextInRect(r.MakeRect(clip.left(), clip.top(), clip.right(), clip.bottom()), c.at.x(),
                     c.at.y(), kCaption);
    }
}

// Every turned caption looks like the unturned one turned by its angle, in its own place.
void ExpectCaptionsTurned(const QImage& page, double dpi, double w, double h,
                          const std::string& what)
{
    const QRectF upright =
        TurnedCell(kCaptions[0], w, h).adjusted(-kMargin, -kMargin, kMargin, kMargin);
    for (const TCaption& c : kCaptions) {
        const QRectF place = TurnedCell(c, w, h).adjusted(-kMargin, -kMargin, kMargin, kMargin);
        // The page's y axis points down, so a counter-clockwise turn is a negative angle.
        const auto expected = InkMask(page, upright, dpi, QTransform().rotate(-c.angle));
        const auto actual = InkMask(page, place, dpi);
        EXPECT_GT(Covered(actual, expected), 0.9) << what << " at " << c.angle << " degrees";
        EXPECT_GT(Covered(expected, actual), 0.9) << what << " at " << c.angle << " degrees";
    }
}

TEST_F(TPagePainterJobTest, RotatedClippedTextTurnsAboutItsCornerLiveAndReplayed)
{
    double w = 0, h = 0;
    const QImage live = test::PaintLive([&](TBaseReport& r) { DrawCaptions(r, w, h); });
    ASSERT_GT(w, 1.0);
    ExpectCaptionsTurned(live, 300, w, h, "live");

    const QByteArray stream = test::Record([&](TBaseReport& r) { DrawCaptions(r, w, h); });
    ExpectCaptionsTurned(test::PaintReplay(stream, 300), 300, w, h, "replayed");
    ExpectCaptionsTurned(test::PaintReplay(stream, 150, QPainter::Antialiasing), 150, w, h,
                         "replayed at 150 DPI");
}

} // namespace
} // namespace qm::print
