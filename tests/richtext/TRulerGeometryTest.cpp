// The ruler's arithmetic and the paragraph settings it and the paragraph dialog change.

#include "richtext/TRulerGeometry.h"
#include "richtext/TParagraphSettings.h"
#include "richtext/TTextUnits.h"

#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace qm::richtext;

TEST(TRulerGeometryTest, TicksMarkEighthsAndNumberWholeInches)
{
    const TRulerGeometry geometry(10, 96, 1440 * 6 + 720);
    const auto ticks = geometry.Ticks();
    ASSERT_EQ(ticks.size(), 6 * 8 + 4 + 1);
    EXPECT_EQ(ticks[0].x, 10);
    EXPECT_EQ(ticks[8].level, 0);
    EXPECT_EQ(ticks[8].inch, 1);
    EXPECT_EQ(ticks[8].x, 106);
    EXPECT_EQ(ticks[4].level, 1);
    EXPECT_EQ(ticks[2].level, 2);
    EXPECT_EQ(ticks[1].level, 3);
    EXPECT_EQ(geometry.TwipsAt(106), 1440);
}

TEST(TRulerGeometryTest, MarkersAreFoundByPositionAndHalf)
{
    const TRulerGeometry geometry(0, 96, 9360);
    const TParagraphSettings settings{.leftIndent = 720, .rightIndent = 1440, .firstIndent = 360};
    EXPECT_EQ(geometry.MarkerAt(settings, 72, true, 4), ERulerMarker::FirstIndent);
    EXPECT_EQ(geometry.MarkerAt(settings, 48, true, 4), ERulerMarker::None);
    EXPECT_EQ(geometry.MarkerAt(settings, 50, false, 4), ERulerMarker::LeftIndent);
    EXPECT_EQ(geometry.MarkerAt(settings, 528, false, 4), ERulerMarker::RightIndent);
    EXPECT_EQ(geometry.MarkerAt(settings, 300, false, 4), ERulerMarker::None);
}

TEST(TRulerGeometryTest, DragsSnapToSixteenthsAndStayInsideTheText)
{
    const TRulerGeometry geometry(0, 96, 9360);
    const TParagraphSettings start{.leftIndent = 720, .rightIndent = 0, .firstIndent = -360};
    // The left marker takes the first line along; 100 px = 1500 twips, snapped to 1530 (17/16").
    TParagraphSettings moved = geometry.Dragged(start, ERulerMarker::LeftIndent, 102);
    EXPECT_EQ(moved.leftIndent, 1530);
    EXPECT_EQ(moved.firstIndent, -360);
    // Not so far left that the hanging first line leaves the page.
    EXPECT_EQ(geometry.Dragged(start, ERulerMarker::LeftIndent, -50).leftIndent, 360);
    // The first-line marker moves alone and not left of the margin.
    moved = geometry.Dragged(start, ERulerMarker::FirstIndent, 96);
    EXPECT_EQ(moved.leftIndent, 720);
    EXPECT_EQ(moved.firstIndent, 720);
    EXPECT_EQ(geometry.Dragged(start, ERulerMarker::FirstIndent, -30).firstIndent, -720);
    // The right marker keeps a quarter inch of text.
    moved = geometry.Dragged(start, ERulerMarker::RightIndent, 0);
    EXPECT_EQ(moved.rightIndent, 9360 - 360 - 720);
    EXPECT_EQ(geometry.Dragged(start, ERulerMarker::RightIndent, 9999).rightIndent, 0);
}

TEST(TParagraphSettingsTest, ReadAndAppliedThroughBlockFormatsInTwips)
{
    QTextDocument document;
    document.setPlainText("a\nb\nc");
    const TParagraphSettings settings{720, 360, -360, 120, 240, 280};
    QTextCursor cursor(&document);
    cursor.setPosition(0);
    cursor.setPosition(3, QTextCursor::KeepAnchor); // a and b
    settings.ApplyTo(cursor);
    EXPECT_EQ(TParagraphSettings::From(document.findBlockByNumber(0).blockFormat()), settings);
    EXPECT_EQ(TParagraphSettings::From(document.findBlockByNumber(1).blockFormat()), settings);
    EXPECT_EQ(TParagraphSettings::From(document.findBlockByNumber(2).blockFormat()),
              TParagraphSettings{});
    document.undo();
    EXPECT_EQ(TParagraphSettings::From(document.findBlockByNumber(0).blockFormat()),
              TParagraphSettings{});
    // A line height of 0 puts single spacing back.
    QTextBlockFormat format;
    format.setLineHeight(50, QTextBlockFormat::MinimumHeight);
    TParagraphSettings{}.ApplyTo(format);
    EXPECT_EQ(format.lineHeightType(), QTextBlockFormat::SingleHeight);
}

TEST(TParagraphSettingsTest, ProblemsNameWhatIsWrong)
{
    auto problem = [](int left, int right, int first, int after = 0, int height = 0) {
        return TParagraphSettings{left, right, first, 0, after, height}.Problem(9360);
    };
    EXPECT_TRUE(problem(0, 0, 0).isEmpty());
    EXPECT_TRUE(problem(720, 0, -720).isEmpty());
    EXPECT_TRUE(problem(720, 0, -721).contains("first line"));
    EXPECT_TRUE(problem(5000, 4360, 0).contains("no room"));
    EXPECT_TRUE(problem(5000, 4000, 360).contains("no room"));
    EXPECT_TRUE(problem(0, 0, 0, -1).contains("negative"));
    EXPECT_TRUE(problem(0, -1, 0).contains("negative"));
    EXPECT_TRUE(problem(0, 0, 0, 0, 40000).contains("22 inches"));
}
