// A check through a document: unknown words in order, markers and digits passed over, and each
// answer's effect on the text and the rest of the check.

#include "spelling/TSpellSession.h"
#include "TSpellTestSupport.h"
#include "TTestHome.h"
#include "spelling/TSpellChecker.h"

#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace qm::spelling;
using namespace qm::spelling::test;

namespace {

class TSpellSessionTest : public ::testing::Test {
protected:
    TSpellSessionTest()
    {
        WriteHomeDictionary(mHome.Dir(), {"the", "cat", "sat", "on", "mat", "dear", "Dear"});
    }
    qm::test::TTestHome mHome;
};

QStringList Unknown(TSpellSession& session)
{
    QStringList words;
    while (session.Next())
        words.append(session.Word());
    return words;
}

} // namespace

TEST_F(TSpellSessionTest, StopsAtEachUnknownWordInOrderPassingOverMarkersAndDigits)
{
    TSpellChecker checker(mHome.Dir());
    QTextDocument document;
    document.setPlainText("Dear [Full Name], the catt sat\non 3rd [Street 2] mat xyz [Lst] done");
    TSpellSession session(checker, document);
    EXPECT_EQ(Unknown(session), QStringList({"catt", "xyz", "done"}));
}

TEST_F(TSpellSessionTest, ContextIsTheParagraphWithTheWordsPlace)
{
    TSpellChecker checker(mHome.Dir());
    QTextDocument document;
    document.setPlainText("the cat\nsat on teh mat");
    TSpellSession session(checker, document);
    ASSERT_TRUE(session.Next());
    EXPECT_EQ(session.Context(), "sat on teh mat");
    EXPECT_EQ(session.ContextOffset(), 7);
    EXPECT_EQ(session.Current().selectionStart(), 15);
    EXPECT_TRUE(session.Suggestions().contains("the"));
}

TEST_F(TSpellSessionTest, IgnoreAllAndAddPassOverLaterOccurrences)
{
    TSpellChecker checker(mHome.Dir());
    QTextDocument document;
    document.setPlainText("foo bar foo bar Foo baz");
    TSpellSession session(checker, document);
    ASSERT_TRUE(session.Next());
    EXPECT_EQ(session.Word(), "foo");
    session.IgnoreAll();
    ASSERT_TRUE(session.Next());
    EXPECT_EQ(session.Word(), "bar");
    session.Add();
    ASSERT_TRUE(session.Next());
    EXPECT_EQ(session.Word(), "Foo"); // another case is another word
    session.Ignore();
    ASSERT_TRUE(session.Next());
    EXPECT_EQ(session.Word(), "baz");
    EXPECT_FALSE(session.Next());
    EXPECT_TRUE(checker.IsCorrect("bar"));
}

TEST_F(TSpellSessionTest, ChangeKeepsTheWordsFormatAndGoesOnBehindIt)
{
    TSpellChecker checker(mHome.Dir());
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.insertText("the ");
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText("catt", bold);
    cursor.insertText(" sat xx");
    TSpellSession session(checker, document);
    ASSERT_TRUE(session.Next());
    session.Change("cattle cat");
    EXPECT_EQ(document.toPlainText(), "the cattle cat sat xx");
    QTextCursor check(&document);
    check.setPosition(8);
    EXPECT_EQ(check.charFormat().fontWeight(), QFont::Bold);
    ASSERT_TRUE(session.Next());
    EXPECT_EQ(session.Word(), "xx"); // "cattle" inserted is not checked again
}

TEST_F(TSpellSessionTest, ChangeAllReplacesWholeWordsOfTheSameCaseEverywhere)
{
    TSpellChecker checker(mHome.Dir());
    QTextDocument document;
    document.setPlainText("teh cat, teh mat; Teh tehx teh");
    TSpellSession session(checker, document);
    ASSERT_TRUE(session.Next());
    EXPECT_EQ(session.ChangeAll("the"), 3);
    EXPECT_EQ(document.toPlainText(), "the cat, the mat; Teh tehx the");
    EXPECT_EQ(Unknown(session), QStringList({"Teh", "tehx"}));
    // One undo step puts them all back.
    document.undo();
    EXPECT_EQ(document.toPlainText(), "teh cat, teh mat; Teh tehx teh");
}
