#include "TRecordingSink.h"

#include "picture/TEmfPlayer.h"
#include "picture/TPictureError.h"

#include <QtEndian>
#include <cstring>
#include <gtest/gtest.h>

using namespace qm::picture;
using qm::picture::test::TRecordingSink;

namespace {

// Builds an enhanced metafile whose frame is 96 x 48 reference pixels (1 inch x 0.5 inch at 96
// pixels per inch), record by record.
class TEmf {
public:
    TEmf()
    {
        Record(1, {0,
                   0,
                   95,
                   47,
                   0,
                   0,
                   2540,
                   1270,
                   std::int32_t(TEmfPlayer::kSignature),
                   0x10000,
                   0,
                   0,
                   4 /* handles */,
                   0,
                   0,
                   0,
                   960,
                   480,
                   254,
                   127});
    }
    void Record(std::uint32_t type, const std::vector<std::int32_t>& params)
    {
        Put(type);
        Put(std::uint32_t(8 + params.size() * 4));
        for (std::int32_t v : params)
            Put(std::uint32_t(v));
    }
    void Float(std::uint32_t type, const std::vector<float>& params,
               std::vector<std::int32_t> tail = {})
    {
        Put(type);
        Put(std::uint32_t(8 + (params.size() + tail.size()) * 4));
        for (float f : params) {
            std::uint32_t bits;
            std::memcpy(&bits, &f, 4);
            Put(bits);
        }
        for (std::int32_t v : tail)
            Put(std::uint32_t(v));
    }
    QByteArray Finish()
    {
        Record(14, {0, 16, 20});
        QByteArray out = mBytes;
        qToLittleEndian<std::uint32_t>(88, out.data() + 4); // header record size
        qToLittleEndian<std::uint32_t>(std::uint32_t(out.size()), out.data() + 48); // file size
        return out;
    }
    QByteArray mBytes;

private:
    void Put(std::uint32_t v)
    {
        char b[4];
        qToLittleEndian(v, b);
        mBytes.append(b, 4);
    }
};

} // namespace

TEST(TEmfPlayer, FrameGivesTheNaturalSize)
{
    TEmf emf;
    const QByteArray bytes = emf.Finish();
    ASSERT_TRUE(TEmfPlayer::LooksLikeEmf(bytes));
    const QSizeF size = TEmfPlayer::NaturalSize(bytes, 96);
    EXPECT_NEAR(size.width(), 96, 1e-6);
    EXPECT_NEAR(size.height(), 48, 1e-6);
}

TEST(TEmfPlayer, CommonRecordsDrawThroughTheSink)
{
    TEmf emf;
    emf.Record(38, {1, 0, 3, 0, 0x0000FF}); // pen 1: red, 3 wide
    emf.Record(37, {1});
    emf.Record(37, {std::int32_t(0x80000005)}); // stock null brush
    emf.Record(43, {10, 10, 20, 20});           // rectangle
    // polygon16 of three points: bounds, count, points
    emf.Record(86, {0, 0, 0, 0, 3, (5 << 16) | 0, (0 << 16) | 10, (5 << 16) | 10});
    emf.Float(35, {2, 0, 0, 2, 0, 0}); // world transform: double size
    emf.Record(42, {0, 0, 10, 10});    // ellipse
    emf.Record(27, {0, 0});            // move to
    emf.Record(54, {5, 5});            // line to
    struct TPens : TRecordingSink {
        std::vector<TGdiPen> pens;
        std::vector<TGdiBrush> brushes;
        void Rectangle(const QRectF& r) override
        {
            pens.push_back(pen);
            brushes.push_back(brush);
            TRecordingSink::Rectangle(r);
        }
    } sink;
    ASSERT_TRUE(TEmfPlayer::Play(emf.Finish(), sink, QRectF(0, 0, 96, 48)));
    EXPECT_EQ(sink.calls, QStringList({"rectangle 10,10 20,20", "polygons 0,5 10,0 10,5",
                                       "ellipse 0,0 20,20", "polyline 0,0 10,10"}));
    EXPECT_EQ(sink.pens[0].color, QColor(Qt::red));
    EXPECT_DOUBLE_EQ(sink.pens[0].width, 3);
    EXPECT_EQ(sink.brushes[0].style, TGdiBrushStyle::Null);
}

TEST(TEmfPlayer, PathsAreFilledAndStrokedAsOneFigure)
{
    TEmf emf;
    emf.Record(59, {}); // begin path
    emf.Record(27, {0, 0});
    emf.Record(54, {10, 0});
    emf.Record(54, {10, 10});
    emf.Record(61, {});           // close figure
    emf.Record(60, {});           // end path
    emf.Record(63, {0, 0, 0, 0}); // stroke and fill
    TRecordingSink sink;
    ASSERT_TRUE(TEmfPlayer::Play(emf.Finish(), sink, QRectF(0, 0, 96, 48)));
    EXPECT_EQ(sink.calls, QStringList({"path fill stroke 0,0 10,10"}));
}

TEST(TEmfPlayer, StretchDiBitsDrawsTheBitmapIntoTheDestination)
{
    // A 2 x 2 bottom-up 32-bit bitmap: bottom row blue, top row red.
    std::vector<std::int32_t> params = {0,  0,  0,   0,        // bounds
                                        10, 20, 0,   0,  2, 2, // destination corner, source rect
                                        80, 40, 120, 16, 0, 0x00CC0020, 30, 40};
    const std::vector<std::int32_t> header = {40, 2, 2, (32 << 16) | 1, 0, 16, 0, 0, 0, 0};
    params.insert(params.end(), header.begin(), header.end());
    const std::vector<std::int32_t> pixels = {0x0000FF, 0x0000FF, 0xFF0000, 0xFF0000};
    params.insert(params.end(), pixels.begin(), pixels.end());
    TEmf emf;
    emf.Record(81, params);
    TRecordingSink sink;
    ASSERT_TRUE(TEmfPlayer::Play(emf.Finish(), sink, QRectF(0, 0, 96, 48)));
    EXPECT_EQ(sink.calls, QStringList({"image 10,20 40,60 2x2 from 0,0 2,2"}));
    EXPECT_EQ(QColor(sink.lastImage.pixel(0, 0)), QColor(Qt::red));
    EXPECT_EQ(QColor(sink.lastImage.pixel(0, 1)), QColor(Qt::blue));

    // Bits that run past the record are refused.
    TEmf cut;
    params[13] = 4000;
    cut.Record(81, params);
    EXPECT_THROW(TEmfPlayer::Check(cut.Finish()), TPictureError);
}

TEST(TEmfPlayer, DamagedInputIsRefused)
{
    TEmf emf;
    emf.Record(4, {0, 0, 0, 0, 1000000, 0, 0}); // polyline claiming a million points
    EXPECT_THROW(TEmfPlayer::Check(emf.Finish()), TPictureError);

    TEmf odd;
    odd.Record(43, {1, 2, 3, 4});
    QByteArray bytes = odd.Finish();
    qToLittleEndian<std::uint32_t>(22, bytes.data() + 88 + 4); // size not a multiple of 4
    EXPECT_THROW(TEmfPlayer::Check(bytes), TPictureError);

    TEmf text;
    text.Record(84, {0, 0, 0, 0, 1, 0, 0, 0, 0, 0x7FFFFFFF, 76, 0, 0, 0, 0, 0, 0});
    EXPECT_THROW(TEmfPlayer::Check(text.Finish()), TPictureError);

    const QByteArray good = TEmf().Finish();
    for (qsizetype n = 0; n < good.size(); ++n)
        EXPECT_THROW(TEmfPlayer::Check(good.left(n)), TPictureError) << "length " << n;
}
