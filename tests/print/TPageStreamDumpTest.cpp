// The text form of a page stream: colours read as #RRGGBB although the stream keeps them as
// 0x00BBGGRR, and values that are no plain colour show as stored.

#include "print/TPageStreamDump.h"

#include "TPrintTestSupport.h"

#include <gtest/gtest.h>

namespace qm::print {
namespace {

TEST(TPageStreamDumpTest, ColoursReadRedGreenBlueWhileTheStreamKeepsItsOrder)
{
    test::UseNoPrinter();
    const QByteArray bytes = test::Record([](TBaseReport& r) {
        r.SetBrush(TColor::Rgb(255, 255, 0), TBrushStyle::bsSolid); // yellow
        r.SetPen(TColor::Rgb(0x12, 0x34, 0x56), TPenStyle::psSolid, TPenMode::pmCopy, 1);
        r.SetFontColor(TColor::Rgb(0xFF, 0, 0)); // red
        r.DrawRectangle(1, 1, 2, 2);
        r.TextLeft(QStringLiteral("x"), 1);
    });
    const QStringList lines = DumpPageStream(bytes).lines;
    EXPECT_TRUE(lines.contains(QStringLiteral("41 brush-color color=#ffff00")))
        << lines.join('\n').toStdString();
    EXPECT_TRUE(lines.contains(QStringLiteral("71 pen-color color=#123456")));
    EXPECT_TRUE(lines.contains(QStringLiteral("52 font-color color=#ff0000")));
    EXPECT_TRUE(lines.contains(QStringLiteral("27 bk-color color=#ffffff")));

    // The stream itself keeps red in the low byte: brush (41) ff ff 00 00, pen (71) 12 34 56 00.
    EXPECT_TRUE(bytes.contains(QByteArray::fromHex("29ffff0000")));
    EXPECT_TRUE(bytes.contains(QByteArray::fromHex("4712345600")));
    EXPECT_TRUE(bytes.contains(QByteArray::fromHex("34ff000000")));
}

TEST(TPageStreamDumpTest, ColourOperandsOfEveryCommandAndForeignValues)
{
    TPageCommand c;
    c.code = 27; // background colour
    c.i32 = 0x00336699;
    EXPECT_EQ(DumpCommandLine(c), QStringLiteral("27 bk-color color=#996633"));
    c.code = 9; // flood fill
    c.points = {QPointF(1, 2)};
    c.i32 = 0x000000FF;
    c.i32b = 1;
    EXPECT_EQ(DumpCommandLine(c), QStringLiteral("9 flood-fill at=(1,2) color=#ff0000 style=1"));
    c.code = 70; // whole pen
    c.points.clear();
    c.i32 = 0x0000FF00;
    EXPECT_TRUE(DumpCommandLine(c).contains(QStringLiteral(" color=#00ff00 ")));
    // A top byte marks no plain colour (a system or palette colour from elsewhere): shown raw.
    c.code = 71;
    c.i32 = std::int32_t(0x80000005u);
    EXPECT_EQ(DumpCommandLine(c), QStringLiteral("71 pen-color color=0x80000005"));
}

} // namespace
} // namespace qm::print
