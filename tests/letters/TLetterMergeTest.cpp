#include "letters/TLetterMerge.h"

#include <QHash>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace qm::letters {
namespace {

TMergeTexts Texts(const QHash<QString, QString>& fields)
{
    return TMergeTexts::FromRecord([fields](const QString& name) { return fields.value(name); },
                                   QDate(2026, 1, 2), QLocale::c());
}

QString Merged(const QString& plain, const QHash<QString, QString>& fields)
{
    QTextDocument document;
    document.setPlainText(plain);
    TLetterMerge::ReplaceTokens(document, Texts(fields));
    return document.toPlainText();
}

TEST(TLetterMergeTest, NamesExactAndOtherBracketsStay)
{
    const QHash<QString, QString> r{{"FNAME", "John"}, {"LNAME", "Smith"}};
    EXPECT_EQ(Merged("Dear [First] [Last],", r), "Dear John Smith,");
    // A doubled marker and one between letters are both replaced.
    EXPECT_EQ(Merged("[First][First] x[Last]y", r), "JohnJohn xSmithy");
    // Letter case counts; text that names no marker stays.
    EXPECT_EQ(Merged("[first] [sic] [LAST] [] [[Last]]", r), "[first] [sic] [LAST] [] [Smith]");
    EXPECT_EQ(Merged("[Last", r), "[Last");
}

TEST(TLetterMergeTest, StreetTwoIsNotTouchedByStreet)
{
    const QHash<QString, QString> r{{"STREET", "1 Main"}, {"STREET2", "Apt 2"}};
    EXPECT_EQ(Merged("[Street] / [Street 2]", r), "1 Main / Apt 2");
}

TEST(TLetterMergeTest, EmptyTextRemovesTheMarker)
{
    EXPECT_EQ(Merged("a[Fax]b", {}), "ab");
}

TEST(TLetterMergeTest, OnePassNeverMergesInsertedText)
{
    // A first name that reads like a marker stays as typed, whichever row comes later.
    const QHash<QString, QString> r{{"FNAME", "[Last]"}, {"LNAME", "[First]"}};
    EXPECT_EQ(Merged("[First] and [Last]", r), "[Last] and [First]");
    QTextDocument document;
    document.setPlainText("[Last] [Last]");
    EXPECT_EQ(TLetterMerge::DoMerge(document, "Last", "[Last]"), 2);
    EXPECT_EQ(document.toPlainText(), "[Last] [Last]");
}

TEST(TLetterMergeTest, CrLfBecomesOneParagraphBreak)
{
    QTextDocument document;
    document.setPlainText("To:\n[Name and Address]end");
    TLetterMerge::ReplaceTokens(document, Texts({{"LNAME", "Smith"}, {"CITY", "Town"}}));
    EXPECT_EQ(document.toPlainText(), "To:\nSmith \nTown\nend");
    EXPECT_EQ(document.blockCount(), 4);
}

TEST(TLetterMergeTest, ReplacementTakesTheFormatOfTheMarkersFirstCharacter)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextCharFormat plain;
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    bold.setFontPointSize(15);
    cursor.insertText("x", plain);
    cursor.insertText("[", bold);
    cursor.insertText("Last]", plain);
    cursor.insertText("y", plain);
    TLetterMerge::ReplaceTokens(document, Texts({{"LNAME", "Smith"}}));
    ASSERT_EQ(document.toPlainText(), "xSmithy");
    QTextCursor at(&document);
    for (int position = 2; position <= 6; ++position) {
        at.setPosition(position);
        EXPECT_EQ(at.charFormat().fontWeight(), QFont::Bold) << position;
        EXPECT_EQ(at.charFormat().fontPointSize(), 15) << position;
    }
    at.setPosition(7);
    EXPECT_NE(at.charFormat().fontWeight(), QFont::Bold);
}

TEST(TLetterMergeTest, PageBreakStaysWithTheFirstParagraph)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.insertText("one");
    QTextBlockFormat breakBefore;
    breakBefore.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    cursor.insertBlock(breakBefore);
    cursor.insertText("[Name and Address]");
    TLetterMerge::ReplaceTokens(document, Texts({{"LNAME", "Smith"}, {"STREET", "1 Main"}}));
    ASSERT_EQ(document.blockCount(), 4);
    EXPECT_EQ(document.findBlockByNumber(1).blockFormat().pageBreakPolicy(),
              QTextFormat::PageBreak_AlwaysBefore);
    EXPECT_EQ(document.findBlockByNumber(2).blockFormat().pageBreakPolicy(),
              QTextFormat::PageBreak_Auto);
}

} // namespace
} // namespace qm::letters
