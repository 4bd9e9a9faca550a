// The memo object: line breaks, word wrap at the width, the field name view, a missing field,
// and printing only the lines that start inside the object.

#include "design/objects/TGDMultiLineLabel.h"

#include "TTextObjectFixture.h"
#include "design/objects/TMultiLineText.h"
#include "design/surface/TGSurfaceCommands.h"

namespace qm::design {
namespace {

using test::PrintedTexts;
using test::Record;

class TGDMultiLineLabelTest : public test::TTextObjectFixture {
protected:
    TGDMultiLineLabel* Memo()
    {
        auto* memo = Add(std::make_unique<TGDMultiLineLabel>());
        memo->SetBounds(0, 0, 300, 200);
        return memo;
    }
};

TEST_F(TGDMultiLineLabelTest, BoundToTheMemoByDefault)
{
    TGDMultiLineLabel memo;
    EXPECT_EQ(memo.DataFieldName(), "Memo");
    EXPECT_EQ(memo.DataFieldDescript(), "MEMO");
    EXPECT_EQ(memo.Width(), 190);
    EXPECT_EQ(memo.Height(), 33);
}

TEST_F(TGDMultiLineLabelTest, SplitsAtLineBreaks)
{
    AddRecord({{"MEMO", "first\r\nsecond\r\nthird"}});
    TGDMultiLineLabel* memo = Memo();
    mPanel.RefreshData();
    EXPECT_EQ(memo->Items(), (QStringList{"first", "second", "third"}));
    mPanel.SetDisplayDataValues(false);
    EXPECT_EQ(memo->Items(), QStringList{"[MEMO]"});
}

TEST_F(TGDMultiLineLabelTest, WrapsAtTheWidthWhenAsked)
{
    AddRecord({{"MEMO", "one two three four five six seven eight nine ten"}});
    TGDMultiLineLabel* memo = Memo();
    memo->SetWidth(80);
    memo->SetWordWrap(true);
    mPanel.RefreshData();
    ASSERT_GT(memo->Items().size(), 1);
    const QFont font = TMultiLineText::ScreenFont(*memo);
    for (const QString& line : memo->ShownLines())
        EXPECT_LE(QFontMetrics(font).horizontalAdvance(line), 80) << line.toStdString();
}

// The wrapped memo follows the object's width and the panel's Font command, without the record
// being read again.
TEST_F(TGDMultiLineLabelTest, RewrapsWhenResizedOrGivenAnotherFont)
{
    const QString memoText = "one two three four five six seven eight nine ten";
    AddRecord({{"MEMO", memoText}});
    TGDMultiLineLabel* memo = Memo();
    memo->SetWidth(80);
    memo->SetWordWrap(true);
    mPanel.RefreshData();
    ASSERT_GT(memo->Items().size(), 2);
    memo->SetWidth(400);
    EXPECT_EQ(memo->Items(), QStringList{memoText});
    EXPECT_EQ(memo->ShownLines(), QStringList{memoText});

    mPanel.Select(memo);
    TGFont big = memo->Font();
    big.SetPointSize(36);
    TGSurfaceCommands::ApplyFontToSelection(mPanel, big);
    EXPECT_GT(memo->ShownLines().size(), 1);
    const QFontMetrics metrics(TMultiLineText::ScreenFont(*memo));
    for (const QString& line : memo->ShownLines())
        EXPECT_LE(metrics.horizontalAdvance(line), 400) << line.toStdString();
}

TEST_F(TGDMultiLineLabelTest, EmptyAndMissingMemos)
{
    AddRecord({{"LNAME", "Jones"}});
    TGDMultiLineLabel* memo = Memo();
    mPanel.RefreshData();
    EXPECT_TRUE(memo->Items().isEmpty());
    EXPECT_EQ(TMultiLineText::PaintedLines(*memo), QStringList{"<blank memo>"});
    memo->SetDataFieldDescript("Notes");
    mPanel.RefreshData();
    EXPECT_EQ(memo->Items(), QStringList{"<undefined memo>"});
    EXPECT_TRUE(PrintedTexts(Record([this](print::TBaseReport& r) { PrintItem(r); })).empty());
}

TEST_F(TGDMultiLineLabelTest, PlaceholdersLeftFromTheScreenNeverReachPaper)
{
    AddRecord({{"MEMO", "kept"}});
    TGDMultiLineLabel* missing = Memo();
    missing->SetDataFieldDescript("Notes");
    TGDMultiLineLabel* names = Memo();
    mPanel.RefreshData();
    mPanel.SetDisplayDataValues(false);
    ASSERT_EQ(missing->Items(), QStringList{"<undefined memo>"});
    ASSERT_EQ(names->Items(), QStringList{"[MEMO]"});
    mDataSet.Close(); // nothing refreshes them while printing
    EXPECT_TRUE(PrintedTexts(Record([this](print::TBaseReport& r) { PrintItem(r); })).empty());
    EXPECT_EQ(names->Items(), QStringList{"[MEMO]"}); // the screen keeps them
}

TEST_F(TGDMultiLineLabelTest, LongMemoPrintsOnlyTheLinesStartingInside)
{
    QStringList lines;
    for (int i = 1; i <= 20; ++i)
        lines << QStringLiteral("line %1").arg(i);
    AddRecord({{"MEMO", lines.join("\r\n")}});
    TGDMultiLineLabel* memo = Memo();
    memo->SetHeight(50);
    const auto texts = PrintedTexts(Record([this](print::TBaseReport& r) { PrintItem(r); }));
    const int pitch = int(std::round(10.0 / 60 * 96)); // 16 device pixels at 96 DPI
    ASSERT_EQ(int(texts.size()), (50 + pitch - 1) / pitch);
    EXPECT_EQ(texts.front().text, "line 1");
    EXPECT_EQ(texts.back().text, QStringLiteral("line %1").arg(texts.size()));
    EXPECT_TRUE(memo->Items().size() == 20);
}

} // namespace
} // namespace qm::design
