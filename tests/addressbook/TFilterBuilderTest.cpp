// The filter expression builder: the pattern language, the entry order, the tagged-only term,
// quoting that no entry text can break, and filter files.

#include "data/TFilterBuilder.h"

#include <gtest/gtest.h>

using namespace qm::data;

namespace {

QString Term(const QString& text)
{
    return TFilterBuilder::Term("LNAME", text).expression;
}

} // namespace

TEST(TFilterBuilder, TermsOfTheLastNameEntry)
{
    EXPECT_EQ(Term("brown"), R"(UPPER(LNAME)="BROWN")");
    EXPECT_EQ(Term("$row"), R"("ROW"$UPPER(LNAME))");
    EXPECT_EQ(Term(">=m"), R"(UPPER(LNAME)>="M")");
    EXPECT_EQ(Term("a;b"), R"(((UPPER(LNAME)="A").or.(UPPER(LNAME)="B")))");
    // ";" binds loosest, then "+", then "^".
    EXPECT_EQ(Term("a;b+c"),
              R"(((UPPER(LNAME)="A").or.(((UPPER(LNAME)="B").and.(UPPER(LNAME)="C")))))");
    EXPECT_EQ(Term("a+b^c"),
              R"(((UPPER(LNAME)="A").and.(((UPPER(LNAME)="B").and..not.(UPPER(LNAME)="C")))))");
    // The second piece keeps its leading blank.
    EXPECT_EQ(Term("brown; jones"), R"(((UPPER(LNAME)="BROWN").or.(UPPER(LNAME)=" JONES")))");
    EXPECT_EQ(Term(QString::fromUtf8("müller")), QString::fromUtf8(R"(UPPER(LNAME)="MÜLLER")"));
}

TEST(TFilterBuilder, EmptyPiecesAreLeftOut)
{
    EXPECT_EQ(Term(";a;;"), R"(((UPPER(LNAME)="A")))");
    EXPECT_EQ(Term(";;"), QString());
    TFilterEntries filter;
    filter.entries[0] = "+^;";
    EXPECT_EQ(TFilterBuilder::Build(filter, "ID").expression, QString());
}

TEST(TFilterBuilder, CombinedQueryInEntryOrderWithTheTaggedTerm)
{
    TFilterEntries filter;
    filter.entries[0] = "a";
    filter.entries[7] = "$spring";
    EXPECT_EQ(TFilterBuilder::Build(filter, "V3K").expression,
              R"(UPPER(LNAME)="A" and "SPRING"$UPPER(CITY+STATE))");
    TFilterEntries order;
    order.entries[14] = "2026"; // date
    order.entries[16] = "x";    // comment 1 comes before the date
    EXPECT_EQ(TFilterBuilder::Build(order, "V3K").expression,
              R"(UPPER(USER1)="X" and UPPER(DATE)="2026")");
    TFilterEntries tagged;
    tagged.taggedOnly = true;
    EXPECT_EQ(TFilterBuilder::Build(tagged, "V3K").expression, R"((UPPER(TAG)="V3K"))");
    EXPECT_FALSE(tagged.IsEmpty());
}

TEST(TFilterBuilder, NoEntryTextCanAddATermToTheQuery)
{
    // A double quote would have ended the literal and let the rest become part of the query.
    EXPECT_EQ(Term(R"(x" .or. .T. .or. "y)"), R"(UPPER(LNAME)='X" .OR. .T. .OR. "Y')");
    EXPECT_EQ(Term(R"(O'Brien "Bob")"), R"(UPPER(LNAME)=[O'BRIEN "BOB"])");
    const TFilterBuilder::TResult refused = TFilterBuilder::Term("LNAME", R"(a"b'c]d)");
    EXPECT_TRUE(refused.expression.isEmpty());
    EXPECT_FALSE(refused.error.isEmpty());
    TFilterEntries filter;
    filter.entries[0] = "smith";
    filter.entries[1] = R"(a"b'c]d)";
    EXPECT_FALSE(TFilterBuilder::Build(filter, "ID").error.isEmpty());
}

TEST(TFilterBuilder, FilterFilesHoldEighteenLines)
{
    TFilterEntries filter;
    filter.entries[0] = "smith";
    filter.entries[17] = "note";
    const QString text = TFilterBuilder::FileText(filter);
    EXPECT_EQ(text.count("\r\n"), 18);
    EXPECT_EQ(TFilterBuilder::FromFileText(text), filter);
    // Fewer lines leave the rest empty; extra lines are ignored.
    const TFilterEntries shortFile = TFilterBuilder::FromFileText("jones\r\nann");
    EXPECT_EQ(shortFile.entries[0], "jones");
    EXPECT_EQ(shortFile.entries[1], "ann");
    EXPECT_TRUE(shortFile.entries[17].isEmpty());
    QString longText;
    for (int i = 0; i < 25; ++i)
        longText += QString::number(i) + "\n";
    EXPECT_EQ(TFilterBuilder::FromFileText(longText).entries[17], "17");
}
