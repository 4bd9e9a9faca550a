// Find and replace over a document: options, wrapping, formats kept, one undo step.

#include "richtext/TTextSearch.h"
#include "richtext/TRichDocument.h"

#include <QTextCursor>
#include <gtest/gtest.h>

using namespace qm::richtext;

TEST(TTextSearchTest, FindNextHonoursCaseAndWholeWordAndWrapsOnce)
{
    QTextDocument document;
    document.setPlainText("Cat catalog cat. CAT");
    bool wrapped = true;
    QTextCursor found = TTextSearch::FindNext(document, "cat", 0, {}, &wrapped);
    EXPECT_EQ(found.selectionStart(), 0);
    EXPECT_FALSE(wrapped);
    found =
        TTextSearch::FindNext(document, "cat", 1, {.matchCase = true, .wholeWord = true}, &wrapped);
    EXPECT_EQ(found.selectionStart(), 12);
    found = TTextSearch::FindNext(document, "cat", 13, {.matchCase = true, .wholeWord = true},
                                  &wrapped);
    EXPECT_EQ(found.selectionStart(), 12);
    EXPECT_TRUE(wrapped);
    EXPECT_TRUE(TTextSearch::FindNext(document, "dog", 0, {}).isNull());
    EXPECT_TRUE(TTextSearch::FindNext(document, "", 0, {}).isNull());
    found = TTextSearch::FindNext(document, "cat", 3, {.backwards = true});
    EXPECT_EQ(found.selectionStart(), 0);
}

TEST(TTextSearchTest, ReplaceAllKeepsEachMatchsFormatNeverSearchesTheReplacementAndUndoesInOneStep)
{
    TRichDocument rich;
    ASSERT_TRUE(rich.LoadRtf("{\\rtf1 a {\\b x} b x x}").ok);
    QTextDocument& document = rich.Document();
    EXPECT_EQ(TTextSearch::ReplaceAll(document, "x", "xx", {}), 3);
    EXPECT_EQ(document.toPlainText(), "a xx b xx xx");
    QTextCursor bold(&document);
    bold.setPosition(3);
    EXPECT_EQ(bold.charFormat().fontWeight(), QFont::Bold);
    bold.setPosition(4);
    EXPECT_EQ(bold.charFormat().fontWeight(), QFont::Bold);
    document.undo();
    EXPECT_EQ(document.toPlainText(), "a x b x x");
}

TEST(TTextSearchTest, ReplaceSelectionOnlyReplacesAMatch)
{
    QTextDocument document;
    document.setPlainText("one two one");
    QTextCursor cursor(&document);
    cursor.setPosition(4);
    cursor.setPosition(7, QTextCursor::KeepAnchor);
    EXPECT_FALSE(TTextSearch::ReplaceSelection(cursor, "one", "1", {}));
    cursor.setPosition(8);
    cursor.setPosition(11, QTextCursor::KeepAnchor);
    EXPECT_TRUE(TTextSearch::ReplaceSelection(cursor, "ONE", "1", {}));
    EXPECT_EQ(document.toPlainText(), "one two 1");
    cursor.setPosition(0);
    cursor.setPosition(3, QTextCursor::KeepAnchor);
    EXPECT_FALSE(TTextSearch::ReplaceSelection(cursor, "ONE", "1", {.matchCase = true}));
}
