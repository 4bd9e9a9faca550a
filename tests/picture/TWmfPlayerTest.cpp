#include "TRecordingSink.h"

#include "picture/TPictureError.h"
#include "picture/TWmfPlayer.h"
#include "picture/TWmfSample.h"
#include "picture/TWmfWriter.h"

#include <QtEndian>
#include <gtest/gtest.h>

using namespace qm::picture;
using qm::picture::test::TRecordingSink;

namespace {

// A 1000 x 500 placeable frame at 1000 units per inch, window the same.
TWmfWriter Writer()
{
    TWmfWriter w(QRect(0, 0, 1000, 500), 1000);
    w.SetMapMode(8);
    w.SetWindowOrg(0, 0);
    w.SetWindowExt(1000, 500);
    return w;
}

QStringList Play(const QByteArray& wmf, const QRectF& target = QRectF(0, 0, 100, 50))
{
    TRecordingSink sink;
    EXPECT_TRUE(TWmfPlayer::Play(wmf, sink, target));
    return sink.calls;
}

} // namespace

TEST(TWmfPlayer, PlaceableFrameGivesTheNaturalSize)
{
    const QByteArray wmf = Writer().Finish();
    EXPECT_EQ(TWmfPlayer::NaturalSize(wmf, 96), QSizeF(96, 48));
    const TWmfHeader header = TWmfPlayer::ReadHeader(wmf);
    EXPECT_TRUE(header.placeable);
    EXPECT_EQ(header.frame, QRectF(0, 0, 1000, 500));
}

TEST(TWmfPlayer, BareMetafileTakesItsFrameFromItsWindow)
{
    TWmfWriter w = Writer();
    w.Rectangle(QRect(0, 0, 500, 250));
    const QByteArray placeable = w.Finish();
    const QByteArray bare = placeable.mid(22); // without the placeable header
    ASSERT_TRUE(TWmfPlayer::LooksLikeWmf(bare));
    const TWmfHeader header = TWmfPlayer::ReadHeader(bare);
    EXPECT_FALSE(header.placeable);
    EXPECT_EQ(header.frame, QRectF(0, 0, 1000, 500));
    EXPECT_EQ(TWmfPlayer::NaturalSize(bare, 96), QSizeF(1000, 500)); // 96 units per inch
    EXPECT_EQ(Play(bare), QStringList({"rectangle 0,0 50,25"}));

    // Without any window there is no size to draw at.
    TWmfWriter none(QRect(0, 0, 10, 10));
    none.Rectangle(QRect(0, 0, 5, 5));
    EXPECT_THROW(TWmfPlayer::ReadHeader(none.Finish().mid(22)), TPictureError);
}

TEST(TWmfPlayer, ShapesAreMappedFromTheWindowOntoTheTarget)
{
    TWmfWriter w = Writer();
    w.Rectangle(QRect(100, 100, 200, 100));
    w.Ellipse(QRect(0, 0, 1000, 500));
    w.RoundRect(QRect(500, 0, 500, 500), 100, 50);
    w.Polygon(QPolygon({QPoint(0, 0), QPoint(1000, 0), QPoint(500, 500)}));
    w.Polyline(QPolygon({QPoint(0, 500), QPoint(1000, 0)}));
    w.MoveTo(0, 250);
    w.LineTo(1000, 250);
    EXPECT_EQ(Play(w.Finish(), QRectF(10, 20, 100, 50)),
              QStringList({"rectangle 20,30 40,40", "ellipse 10,20 110,70",
                           "roundrect 60,20 110,70 10x5", "polygons 10,20 110,20 60,70",
                           "polyline 10,70 110,20", "polyline 10,45 110,45"}));
}

TEST(TWmfPlayer, ViewportAndWindowOriginsShiftTheDrawing)
{
    TWmfWriter w(QRect(0, 0, 1000, 500), 1000);
    w.SetMapMode(8);
    w.SetWindowOrg(-500, 0);    // logical x -500 is the frame's left edge
    w.SetWindowExt(2000, 1000); // half scale
    w.Rectangle(QRect(-500, 0, 1000, 500));
    EXPECT_EQ(Play(w.Finish()), QStringList({"rectangle 0,0 50,25"}));
}

TEST(TWmfPlayer, ArcsPiesAndChordsBecomePaths)
{
    TWmfWriter w = Writer();
    w.ArcLike(0x081A, QRect(0, 0, 500, 500), QPoint(500, 250), QPoint(250, 0)); // quarter pie
    w.ArcLike(0x0830, QRect(0, 0, 500, 500), QPoint(250, 500), QPoint(0, 250));
    w.ArcLike(0x0817, QRect(0, 0, 500, 500), QPoint(500, 250), QPoint(0, 250));
    const QStringList calls = Play(w.Finish());
    ASSERT_EQ(calls.size(), 3);
    // The pie runs counter-clockwise from 3 o'clock to 12 o'clock: the top-right quarter.
    EXPECT_EQ(calls[0], "path fill stroke 25,0 50,25");
    // Counter-clockwise from 6 o'clock to 9 o'clock is three quarters of the ellipse.
    EXPECT_EQ(calls[1], "path fill stroke 0,0 50,50");
    // The arc from 3 to 9 o'clock counter-clockwise is the upper half, not filled.
    EXPECT_EQ(calls[2], "path stroke 0,0 50,25");
}

TEST(TWmfPlayer, PensBrushesAndFontsFollowSelectionDeletionAndSavedStates)
{
    TWmfWriter w = Writer();
    const int red = w.CreatePen(0, 50, Qt::red); // 0
    const int blue = w.CreateBrush(0, Qt::blue); // 1
    w.Select(red);
    w.Select(blue);
    w.SaveDC();
    const int hatch = w.CreateBrush(2, Qt::green, 3); // 2
    w.Select(hatch);
    w.Rectangle(QRect(0, 0, 10, 10));
    w.RestoreDC(-1);
    w.Rectangle(QRect(0, 0, 10, 10));
    w.Delete(red);
    const int green = w.CreatePen(0, 0, Qt::green); // takes index 0 again
    EXPECT_EQ(green, 0);
    w.Select(0);
    w.Rectangle(QRect(0, 0, 10, 10));
    const QByteArray wmf = w.Finish();

    struct TStates : TRecordingSink {
        std::vector<std::pair<TGdiPen, TGdiBrush>> seen;
        void Rectangle(const QRectF& r) override
        {
            TRecordingSink::Rectangle(r);
            seen.emplace_back(pen, brush);
        }
    } sink;
    ASSERT_TRUE(TWmfPlayer::Play(wmf, sink, QRectF(0, 0, 100, 50)));
    ASSERT_EQ(sink.seen.size(), 3u);
    EXPECT_EQ(sink.seen[0].first.color, QColor(Qt::red));
    EXPECT_DOUBLE_EQ(sink.seen[0].first.width, 5.0); // 50 logical units at a tenth
    EXPECT_EQ(sink.seen[0].second.style, TGdiBrushStyle::Hatched);
    EXPECT_EQ(sink.seen[0].second.hatch, TGdiHatch::BDiagonal);
    EXPECT_EQ(sink.seen[1].second.color, QColor(Qt::blue)); // restored
    EXPECT_EQ(sink.seen[2].first.color, QColor(Qt::green));
    EXPECT_DOUBLE_EQ(sink.seen[2].first.width, 0.0);
}

TEST(TWmfPlayer, TextIsPlacedAtItsReferencePointInItsFont)
{
    TWmfWriter w = Writer();
    w.Select(w.CreateFont(-100, 700, true, QStringLiteral("Times New Roman"), 900));
    w.TextOut(100, 200, "Hello");
    w.ExtTextOut(300, 400, "Odd");
    struct TFonts : TRecordingSink {
        std::vector<TGdiFont> fonts;
        double Text(const TGdiText& t) override
        {
            fonts.push_back(font);
            return TRecordingSink::Text(t);
        }
    } sink;
    ASSERT_TRUE(TWmfPlayer::Play(w.Finish(), sink, QRectF(0, 0, 100, 50)));
    EXPECT_EQ(sink.calls, QStringList({"text 10,20 Hello", "text 30,40 Odd"}));
    EXPECT_EQ(sink.fonts[0].face, "Times New Roman");
    EXPECT_DOUBLE_EQ(sink.fonts[0].height, 10.0);
    EXPECT_FALSE(sink.fonts[0].cellHeight);
    EXPECT_TRUE(sink.fonts[0].italic);
    EXPECT_EQ(sink.fonts[0].weight, 700);
    EXPECT_DOUBLE_EQ(sink.fonts[0].angle, 90.0);
}

TEST(TWmfPlayer, ClippedTextIsClippedToItsBoxOnly)
{
    TWmfWriter w = Writer();
    // ExtTextOut with ETO_CLIPPED and its box, then a rectangle that is not clipped.
    w.Record(0x0A32, {200, 100, 2, 4, 100, 150, 300, 250, 0x6948});
    w.Rectangle(QRect(0, 0, 10, 10));
    struct TClips : TRecordingSink {
        void SetClip(const std::optional<QRectF>& clip) override
        {
            calls << (clip ? "clip " + R(*clip) : QString("no clip"));
        }
    } sink;
    ASSERT_TRUE(TWmfPlayer::Play(w.Finish(), sink, QRectF(0, 0, 100, 50)));
    EXPECT_EQ(sink.calls,
              QStringList({"clip 10,15 30,25", "text 10,20 Hi", "no clip", "rectangle 0,0 1,1"}));
}

TEST(TWmfPlayer, StretchedBitmapsKeepTheirPixels)
{
    TWmfWriter w = Writer();
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(Qt::red);
    image.setPixel(0, 0, qRgb(0, 0, 255));
    w.StretchDib(QRect(0, 0, 300, 200), image);
    TRecordingSink sink;
    ASSERT_TRUE(TWmfPlayer::Play(w.Finish(), sink, QRectF(0, 0, 100, 50)));
    EXPECT_EQ(sink.calls, QStringList({"image 0,0 30,20 3x2 from 0,0 3,2"}));
    EXPECT_EQ(QColor(sink.lastImage.pixel(0, 0)), QColor(0, 0, 255)); // top-left stays top-left
}

TEST(TWmfPlayer, UnknownRecordsAreSkipped)
{
    TWmfWriter w = Writer();
    w.Record(0x0626, {1, 2, 3, 4}); // escape
    w.Record(0x7777, {});
    w.Rectangle(QRect(0, 0, 1000, 500));
    EXPECT_EQ(Play(w.Finish()), QStringList({"rectangle 0,0 100,50"}));
}

TEST(TWmfPlayer, DamagedRecordsAreRefusedWithTheirOffset)
{
    // A polygon that claims more points than its record holds.
    TWmfWriter w = Writer();
    w.Record(0x0324, {100, 0, 0, 10, 10});
    QByteArray wmf = w.Finish();
    EXPECT_THROW(TWmfPlayer::Check(wmf), TPictureError);

    // A record size running past the end of the file.
    TWmfWriter w2 = Writer();
    w2.Rectangle(QRect(0, 0, 1, 1));
    QByteArray bytes = w2.Finish();
    const int lastRecord = int(bytes.size()) - 6 - 14; // the rectangle, before the end record
    qToLittleEndian<std::uint32_t>(100000, bytes.data() + lastRecord);
    try {
        TWmfPlayer::Check(bytes);
        FAIL() << "no error";
    } catch (const TPictureError& error) {
        EXPECT_EQ(error.Offset(), lastRecord);
    }
    // Records drawn before the damage stay drawn.
    TRecordingSink sink;
    EXPECT_FALSE(TWmfPlayer::Play(bytes, sink, QRectF(0, 0, 10, 10)));

    // A negative text length and a zero-size record.
    TWmfWriter w3 = Writer();
    w3.Record(0x0521, {-4, 0, 0});
    EXPECT_THROW(TWmfPlayer::Check(w3.Finish()), TPictureError);
    TWmfWriter w4 = Writer();
    w4.Record(0x041B, {});
    QByteArray zero = w4.Finish();
    qToLittleEndian<std::uint32_t>(0, zero.data() + zero.size() - 6 - 6);
    EXPECT_THROW(TWmfPlayer::Check(zero), TPictureError);
}

TEST(TWmfPlayer, EveryTruncationOfTheSampleIsRefused)
{
    // Also a cut between two records: the header's length gives it away.
    const QByteArray wmf = TWmfSample::ClipArt();
    for (qsizetype n = 0; n < wmf.size(); ++n)
        EXPECT_THROW(TWmfPlayer::Check(wmf.left(n)), TPictureError) << "length " << n;
}

TEST(TWmfPlayer, ObjectTableIsBoundedByTheHeader)
{
    // Zero objects declared: creations fail, selections of them are ignored, nothing crashes.
    TWmfWriter w = Writer();
    w.CreatePen(0, 10, Qt::red);
    w.Select(0);
    w.Rectangle(QRect(0, 0, 10, 10));
    QByteArray wmf = w.Finish();
    qToLittleEndian<std::uint16_t>(0, wmf.data() + 22 + 10);
    struct TPens : TRecordingSink {
        QColor color;
        void Rectangle(const QRectF& r) override
        {
            color = pen.color;
            TRecordingSink::Rectangle(r);
        }
    } sink;
    ASSERT_TRUE(TWmfPlayer::Play(wmf, sink, QRectF(0, 0, 10, 10)));
    EXPECT_EQ(sink.color, QColor(Qt::black)); // the default pen
}

TEST(TWmfPlayer, SampleClipArtPlaysAsVectors)
{
    const QByteArray wmf = TWmfSample::ClipArt();
    ASSERT_NO_THROW(TWmfPlayer::Check(wmf));
    TRecordingSink sink;
    ASSERT_TRUE(TWmfPlayer::Play(wmf, sink, QRectF(0, 0, 240, 160)));
    EXPECT_EQ(sink.Count("rectangle"), 3); // sky, lawn, walls
    EXPECT_EQ(sink.Count("ellipse"), 1);   // sun
    EXPECT_EQ(sink.Count("roundrect"), 1); // door
    EXPECT_EQ(sink.Count("polygons"), 2);  // roof, the two windows
    EXPECT_EQ(sink.Count("path"), 3);      // pie, chord, arc
    EXPECT_EQ(sink.Count("text"), 2);
    EXPECT_EQ(sink.Count("image"), 1);
    EXPECT_GE(sink.Count("polyline"), 5);
    EXPECT_TRUE(sink.calls.contains("ellipse 190,10 220,40"));
}

TEST(TWmfPlayer, PenAndHatchNumbersAndBlitsWithoutABitmap)
{
    // The pen style is the low four bits (the end-cap and join bits above do not change it); a
    // style number GDI does not have draws solid, as an unknown hatch is horizontal.
    const auto penOf = [](int style) {
        TWmfWriter w = Writer();
        w.Select(w.CreatePen(style, 1, Qt::black));
        w.Rectangle(QRect(0, 0, 100, 100));
        TRecordingSink sink;
        EXPECT_TRUE(TWmfPlayer::Play(w.Finish(), sink, QRectF(0, 0, 100, 50)));
        return sink.pen.style;
    };
    EXPECT_EQ(penOf(0x0201), TGdiPenStyle::Dash);
    EXPECT_EQ(penOf(4), TGdiPenStyle::DashDotDot);
    EXPECT_EQ(penOf(6), TGdiPenStyle::InsideFrame);
    EXPECT_EQ(penOf(9), TGdiPenStyle::Solid);
    const auto hatchOf = [](int hatch) {
        TWmfWriter w = Writer();
        w.Select(w.CreateBrush(2, Qt::red, hatch));
        w.Rectangle(QRect(0, 0, 100, 100));
        TRecordingSink sink;
        EXPECT_TRUE(TWmfPlayer::Play(w.Finish(), sink, QRectF(0, 0, 100, 50)));
        EXPECT_EQ(sink.brush.style, TGdiBrushStyle::Hatched);
        return sink.brush.hatch;
    };
    EXPECT_EQ(hatchOf(4), TGdiHatch::Cross);
    EXPECT_EQ(hatchOf(5), TGdiHatch::DiagCross);
    EXPECT_EQ(hatchOf(6), TGdiHatch::Horizontal);

    // PatBlt: black and white fill whatever the brush, the pattern copy uses the brush, and other
    // raster operations (here DSTINVERT) are not reproduced.
    const auto patBlt = [](std::uint32_t rop, QColor* filled) {
        TWmfWriter w = Writer();
        w.Select(w.CreateBrush(0, Qt::green));
        w.Record(0x061D, {std::int16_t(rop & 0xFFFF), std::int16_t(rop >> 16), 200, 400, 100, 300});
        TRecordingSink sink;
        EXPECT_TRUE(TWmfPlayer::Play(w.Finish(), sink, QRectF(0, 0, 100, 50)));
        *filled = sink.brush.color;
        return sink.calls;
    };
    QColor filled;
    const QStringList area = {"polygons 30,10 70,10 70,30 30,30 30,10"};
    EXPECT_EQ(patBlt(0x00000042u, &filled), area);
    EXPECT_EQ(filled, QColor(Qt::black));
    EXPECT_EQ(patBlt(0x00FF0062u, &filled), area);
    EXPECT_EQ(filled, QColor(Qt::white));
    EXPECT_EQ(patBlt(0x00F00021u, &filled), QStringList{"rectangle 30,10 70,30"});
    EXPECT_EQ(filled, QColor(Qt::green));
    EXPECT_TRUE(patBlt(0x00550009u, &filled).isEmpty());
}
