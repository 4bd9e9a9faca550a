// Replay: damaged and foreign streams stop with the one message, page moves go through the
// links, macros expand, and the font-shrink rule keeps replayed text within its recorded width.

#include "print/TPageReplay.h"

#include "TPrintTestSupport.h"
#include "print/TPagePainter.h"
#include "print/TPageStreamFormat.h"
#include "print/TPrintError.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

namespace qm::print {
namespace {

using test::TBytes;

const QString kUnexpected = QStringLiteral("Unexpected code found in report file.");

// A header for one page and the page record; the caller adds commands and the end byte.
TBytes OnePage()
{
    TBytes b;
    b.B(89).I16(1).I16(1).I16(9999).F(8.5).F(11).F(0).F(0).F(0).F(0);
    b.B(2).I16(265).B(0).B(0).I16(1).I16(1).I16(0).I16(0).Text("");
    b.B(80).I32(0).I32(0).I16(1).F(8.5).F(11);
    return b;
}

QString ReplayError(const QByteArray& bytes)
{
    try {
        TPageReplay replay(bytes);
        QImage image(100, 100, QImage::Format_RGB32);
        QPainter painter(&image);
        replay.PaintPage(painter, TDeviceMapping{}, TReplayContext{});
        replay.Validate();
    } catch (const TPrintError& e) {
        return e.Message();
    }
    return QString();
}

TEST(TPageReplayTest, DamagedOrForeignStreamsStopWithTheMessage)
{
    TBytes good = OnePage();
    good.B(24).F(1).Text("ok").F(1).B(82);
    EXPECT_EQ(ReplayError(good.Bytes()), QString());

    TBytes unknown = OnePage();
    unknown.B(24).F(1).Text("ok").F(1).B(99).B(82);
    EXPECT_EQ(ReplayError(unknown.Bytes()), kUnexpected);

    QByteArray foreign = good.Bytes();
    foreign[0] = 'P';
    EXPECT_EQ(ReplayError(foreign), kUnexpected);

    QByteArray badPage = good.Bytes();
    badPage[45] = char(81);
    EXPECT_EQ(ReplayError(badPage), kUnexpected);

    // Cut anywhere: never a crash, always the message.
    for (qsizetype n = 1; n < good.Size(); ++n)
        EXPECT_EQ(ReplayError(good.Bytes().left(n)), kUnexpected) << n;

    // A graphic claiming more bytes than the stream holds.
    TBytes graphic = OnePage();
    graphic.B(17).B(1).I32(0x7FFFFFFF).F(0).F(0).F(1).F(1).B(82);
    EXPECT_EQ(ReplayError(graphic.Bytes()), kUnexpected);

    // CopyRect (4) is never part of a stream.
    TBytes copy = OnePage();
    copy.B(4).B(82);
    EXPECT_EQ(ReplayError(copy.Bytes()), kUnexpected);
}

TEST(TPageReplayTest, LoopedLinksDoNotHang)
{
    TBytes b = OnePage();
    b.B(82);
    b.PatchI32(45 + 5, 45); // next page: itself
    QByteArray bytes = b.Bytes();
    bytes[1] = 2; // claims two pages
    TPageReplay replay(bytes);
    EXPECT_THROW(replay.GotoLast(), TPrintError);
    TPageReplay again(bytes);
    EXPECT_THROW(again.GotoPage(5), TPrintError);
}

TEST(TPageReplayTest, PageMovesFollowTheLinks)
{
    test::UseNoPrinter();
    const QByteArray bytes = test::Record([](TBaseReport& r) {
        for (int page = 1; page <= 5; ++page) {
            if (page > 1)
                r.NewPage();
            r.TextLeft(QString(200, QLatin1Char('x')), 1);
        }
    });
    TPageReplay replay(bytes);
    ASSERT_TRUE(replay.GotoPage(4));
    EXPECT_EQ(replay.CurrentPageNumber(), 4);
    ASSERT_TRUE(replay.GotoPage(2));
    EXPECT_EQ(replay.CurrentPageNumber(), 2);
    EXPECT_TRUE(replay.GotoPage(2)); // the current page again
    EXPECT_FALSE(replay.GotoPage(9));
    EXPECT_EQ(replay.CurrentPageNumber(), 5);
    replay.GotoFirst();
    EXPECT_EQ(replay.CurrentPageNumber(), 1);

    // Damage in page 3's commands does not stop a move from page 1 to page 5.
    QByteArray damaged = bytes;
    ASSERT_TRUE(replay.GotoPage(3));
    damaged[qsizetype(replay.Current().commandsOffset)] = char(99);
    TPageReplay jump(damaged);
    EXPECT_TRUE(jump.GotoPage(5));
    QImage image(50, 50, QImage::Format_RGB32);
    QPainter painter(&image);
    EXPECT_NO_THROW(jump.PaintPage(painter, TDeviceMapping{}, TReplayContext{}));
    ASSERT_TRUE(jump.GotoPage(3));
    EXPECT_THROW(jump.PaintPage(painter, TDeviceMapping{}, TReplayContext{}), TPrintError);
}

TEST(TPageReplayTest, MacrosExpand)
{
    TBytes b = OnePage();
    b.B(82);
    QByteArray bytes = b.Bytes();
    TPageReplay replay(bytes);
    TReplayContext context;
    context.start = QDateTime(QDate(2024, 3, 7), QTime(14, 5, 9));
    context.macroLines << QStringLiteral("line zero");
    auto expand = [&](const char* text) {
        return QString::fromLatin1(replay.ExpandMacros(QByteArray(text), context));
    };
    EXPECT_EQ(expand("\xFD$RPCM02"), QStringLiteral("03/07/24"));
    EXPECT_EQ(expand("\xFD$RPCM03"), QStringLiteral("07/03/24"));
    EXPECT_EQ(expand("\xFD$RPCM06"), QStringLiteral("02:05 pm"));
    EXPECT_EQ(expand("\xFD$RPCM07"), QStringLiteral("14:05"));
    EXPECT_EQ(expand("p\xFD$RPCM11 of \xFD$RPCM10 [\xFD$RPCM08-\xFD$RPCM09]"),
              QStringLiteral("p1 of 1 [1-9999]"));
    EXPECT_EQ(expand("\xFD$RPCM12/\xFD$RPCM13/\xFD$RPCM14"),
              QStringLiteral("Preview/Preview/Screen"));
    EXPECT_EQ(expand("<\xFD$RPCM15><\xFD$RPCM16>"), QStringLiteral("<line zero><>"));
    EXPECT_EQ(expand("\xFD$RPCMx1 \xFD$RPCM1"), QStringLiteral("\xFD$RPCMx1 \xFD$RPCM1"));
}

TEST(TPageReplayTest, FontShrinksUntilTheReferenceTextFits)
{
    QImage image(200, 200, QImage::Format_RGB32);
    QPainter qp(&image);
    const TDeviceMapping mapping{96, 96, 0, 0, 100, 100, 100};
    TPagePainter painter(qp, mapping);
    TPainterFont font;
    font.heightInches = 12.0 / 72;
    painter.SetFont(font);
    const QByteArray reference(stream::kReferenceText);
    const double natural = painter.TextWidthPixels(reference) / 96.0;

    // Recorded on a device where the text was as wide as here: no change.
    EXPECT_DOUBLE_EQ(FitFontHeight(painter, font, natural), font.heightInches);
    EXPECT_DOUBLE_EQ(FitFontHeight(painter, font, 0), font.heightInches);

    // Recorded narrower (the screen font is wider): shrunk in 1.1-pixel steps until it fits.
    const double recorded = natural * 0.8;
    const double fitted = FitFontHeight(painter, font, recorded);
    EXPECT_LT(fitted, font.heightInches);
    const double steps = (font.heightInches - fitted) * 96 / 1.1;
    EXPECT_NEAR(steps, std::round(steps), 1e-6);
    TPainterFont shrunk = font;
    shrunk.heightInches = fitted;
    painter.SetFont(shrunk);
    EXPECT_LE(painter.TextWidthPixels(reference) / 96.0, recorded);
    shrunk.heightInches = fitted + 1.1 / 96;
    painter.SetFont(shrunk);
    EXPECT_GT(painter.TextWidthPixels(reference) / 96.0, recorded);
}

} // namespace
} // namespace qm::print
