// The plain text functions of the bulk edits: case mappings, the replace test and the text
// replacement, on Windows-1252 bytes.

#include "data/TWin1252.h"
#include "maintenance/TCaseMapping.h"
#include "maintenance/TReplaceTest.h"
#include "maintenance/TTextReplace.h"

#include <gtest/gtest.h>

using namespace qm::maintenance;

namespace {

std::string B(const QString& text)
{
    return qm::data::TWin1252::Encode(text)->toStdString();
}
QString T(const std::string& bytes)
{
    return qm::data::TWin1252::Decode(bytes.data(), qsizetype(bytes.size()));
}

} // namespace

TEST(CaseMappingTest, ProperCaseCapitalisesAfterBlanksOnly)
{
    EXPECT_EQ(TCaseMapping::Convert(TCaseKind::Proper, std::string("o'NEILL mcDONALD")),
              "O'neill Mcdonald");
    EXPECT_EQ(TCaseMapping::Convert(TCaseKind::Proper, std::string("  two  blanks")),
              "  Two  Blanks");
    // Accented letters start words too.
    EXPECT_EQ(T(TCaseMapping::Convert(TCaseKind::Proper, B("élodie ÉMILE"))), "Élodie Émile");
}

TEST(CaseMappingTest, NoValueChangesLength)
{
    // Unicode would give SS for ß and a Greek capital for µ; the code page keeps both.
    const std::string value = B("Straße µm œuvre ÿ");
    const std::string upper = TCaseMapping::Convert(TCaseKind::Upper, value);
    EXPECT_EQ(upper.size(), value.size());
    EXPECT_EQ(T(upper), "STRAßE µM ŒUVRE Ÿ");
    EXPECT_EQ(T(TCaseMapping::Convert(TCaseKind::Lower, upper)), "straße µm œuvre ÿ");
    EXPECT_EQ(T(TCaseMapping::Convert(TCaseKind::Proper, value)), "Straße µm Œuvre Ÿ");
    // The text form agrees and leaves characters outside the code page alone.
    EXPECT_EQ(TCaseMapping::Convert(TCaseKind::Upper, QStringLiteral("groß ✓ é")), "GROß ✓ É");
    EXPECT_EQ(TCaseMapping::Convert(TCaseKind::Proper, QStringLiteral("o'NEILL élodie")),
              "O'neill Élodie");
}

TEST(ReplaceTestTest, ExactlyMeansTheWholeValue)
{
    const TReplaceTest exact("Brown", true, true);
    EXPECT_TRUE(exact.Matches("Brown     "));
    EXPECT_FALSE(exact.Matches("Browning  "));
    EXPECT_FALSE(exact.Matches("BROWN     "));
    const TReplaceTest anyCase("brown", true, false);
    EXPECT_TRUE(anyCase.Matches("BROWN"));
    EXPECT_FALSE(anyCase.Matches("Browning"));
    EXPECT_TRUE(TReplaceTest(B("émile"), true, false).Matches(B("ÉMILE")));
}

TEST(ReplaceTestTest, ContainsAndTheEmptyValue)
{
    EXPECT_TRUE(TReplaceTest("own", false, true).Matches("Browning"));
    EXPECT_FALSE(TReplaceTest("OWN", false, true).Matches("Browning"));
    EXPECT_TRUE(TReplaceTest("OWN", false, false).Matches("Browning"));
    for (const bool exactly : {true, false}) {
        const TReplaceTest empty("", exactly, true);
        EXPECT_TRUE(empty.Matches("      "));
        EXPECT_TRUE(empty.Matches(""));
        EXPECT_FALSE(empty.Matches("x"));
    }
    // Quotes and operators are plain text to the test.
    EXPECT_TRUE(TReplaceTest("O\"Hara\") .or. (.T.", true, true).Matches("O\"Hara\") .or. (.T."));
    EXPECT_FALSE(TReplaceTest("\" .or. .T. .or. \"", false, true).Matches("Brown"));
}

TEST(TextReplaceTest, ReplacesEachOccurrenceOnce)
{
    EXPECT_EQ(TTextReplace::Replace("1 Main st", "St", "Street", false).value, "1 Main Street");
    EXPECT_EQ(TTextReplace::Replace("1 Main st", "St", "Street", true).value, "1 Main st");
    // The scan goes on after each replacement: the replacement is not scanned again.
    const TReplaced r = TTextReplace::Replace("aXa", "a", "aa", true);
    EXPECT_EQ(r.value, "aaXaa");
    EXPECT_EQ(r.occurrences, 2);
    // Unmatched parts keep their case.
    EXPECT_EQ(TTextReplace::Replace("StreetST st", "st", "Rd", false).value, "RdreetRd Rd");
    EXPECT_EQ(TTextReplace::Replace("abc", "", "x", true).value, "abc");
    EXPECT_EQ(TTextReplace::Replace("a St b", "St", "", true).value, "a  b");
}

TEST(TextReplaceTest, StopsAfterFiftyOccurrencesKeepingTheRest)
{
    const std::string value(60, 'a');
    const TReplaced r = TTextReplace::Replace(value, "a", "b", true);
    EXPECT_EQ(r.occurrences, 50);
    EXPECT_TRUE(r.limitReached);
    EXPECT_EQ(r.value, std::string(50, 'b') + std::string(10, 'a'));
}
