// Lengths of a label template file: units, exact sums and the one rounding to 3 decimals.

#include "labels/TTemplateLength.h"

#include <gtest/gtest.h>

namespace qm::labels {
namespace {

TTemplateLength L(const char* text)
{
    const std::optional<TTemplateLength> length = TTemplateLength::Parse(QString::fromLatin1(text));
    EXPECT_TRUE(length) << text;
    return length.value_or(TTemplateLength());
}

TEST(TemplateLength, EveryUnitIsExactInInches)
{
    EXPECT_EQ(L("1in"), TTemplateLength::Thousandths(1000));
    EXPECT_EQ(L("25.4mm"), L("1in"));
    EXPECT_EQ(L("2.54cm"), L("1in"));
    EXPECT_EQ(L("72pt"), L("1in"));
    EXPECT_EQ(L("72"), L("1in")); // a bare number is points
    EXPECT_EQ(L("6pc"), L("1in"));
    EXPECT_EQ(L(" 11.in "), L("11in"));
    EXPECT_EQ(L(".5in"), L("0.5in"));
    // Millimetres and points add up without drift: 3 x 70 mm is 210 mm, A4's width.
    EXPECT_EQ(L("70mm") * 3, L("210mm"));
    EXPECT_EQ(L("-2mm") + L("2mm"), TTemplateLength());
}

TEST(TemplateLength, ExponentsAndNineDecimals)
{
    EXPECT_EQ(L("3.93386e-16pt"), TTemplateLength());
    EXPECT_EQ(L("1.5e1mm"), L("15mm"));
    EXPECT_EQ(L("15E+0mm"), L("15mm"));
    // The number is taken to 9 decimals, halves to even, before the unit applies.
    EXPECT_EQ(L("0.0000000005in"), TTemplateLength());
    EXPECT_EQ(L("0.0000000015in"), L("0.000000002in"));
    EXPECT_EQ(L("0.00000000151in"), L("0.000000002in"));
    EXPECT_EQ(L("0.1234567894999in"), L("0.123456789in"));
}

TEST(TemplateLength, ThreeDecimalsRoundHalvesToEvenFromTheExactValue)
{
    EXPECT_EQ(L("0.15625in").ThreeDecimals(), "0.156");
    EXPECT_EQ(L("0.9375in").ThreeDecimals(), "0.938");
    EXPECT_EQ(L("0.0625in").ThreeDecimals(), "0.062"); // an exact half: to the even 2
    EXPECT_EQ(L("0.1875in").ThreeDecimals(), "0.188");
    EXPECT_EQ(L("210mm").ThreeDecimals(), "8.268");
    EXPECT_EQ(L("297mm").ThreeDecimals(), "11.693");
    EXPECT_EQ(L("1.333333333in").ThreeDecimals(), "1.333");
    EXPECT_EQ(L("-0.5mm").ThreeDecimals(), "-0.020");
    EXPECT_EQ(L("63.5mm").RoundedThousandths(), 2500);
}

TEST(TemplateLength, RefusesWhatIsNoLengthOrTooLong)
{
    for (const char* bad : {"", "in", "3 furlongs", "1.2.3in", "e5in", "1e", "--1in", "1in2",
                            "2 in x", "1,5mm", "0x10"}) {
        QString why;
        EXPECT_FALSE(TTemplateLength::Parse(QString::fromLatin1(bad), &why)) << bad;
        EXPECT_FALSE(why.isEmpty()) << bad;
    }
    QString why;
    EXPECT_FALSE(TTemplateLength::Parse(u"1001in", &why));
    EXPECT_EQ(why, "is out of range");
    EXPECT_TRUE(TTemplateLength::Parse(u"1000in"));
    EXPECT_FALSE(TTemplateLength::Parse(u"100001pt"));
    EXPECT_FALSE(TTemplateLength::Parse(u"1e400mm"));
    EXPECT_EQ(*TTemplateLength::Parse(u"1e-400mm"), TTemplateLength());
    EXPECT_FALSE(TTemplateLength::Parse(QString(5000, QLatin1Char('9')) + QStringLiteral("mm")));
}

} // namespace
} // namespace qm::labels
