// The presort's tally and grouping: the key rule, the 5-digit, 3-digit and ADC passes, what is
// left out, reading a record set with progress and cancel.

#include "labels/TPresort.h"
#include "labels/TLabelRecords.h"

#include <gtest/gtest.h>
#include <vector>

using namespace qm::labels;

namespace {

void AddTimes(TPresort& presort, const QString& zip, int times)
{
    for (int i = 0; i < times; ++i)
        presort.Add(zip);
}

class TZipRecords : public TLabelRecords {
public:
    explicit TZipRecords(QStringList zips) : mZips(std::move(zips)) {}
    bool AtEnd() const override { return mPos >= mZips.size(); }
    uint32_t RecNo() const override { return uint32_t(mPos + 1); }
    QString Zip() const override { return mZips.at(mPos); }
    void First() override { mPos = 0; }
    void Next() override { ++mPos; }
    void GoPastEnd() override { mPos = mZips.size(); }
    bool SeekZip(const QString&) override { return false; }

private:
    QStringList mZips;
    qsizetype mPos = 0;
};

} // namespace

TEST(Presort, ExampleListLineForLine)
{
    TPresort presort;
    AddTimes(presort, "12345", 12);
    AddTimes(presort, "12301", 4);
    AddTimes(presort, "12302", 6);
    presort.Add("12001");
    presort.Add("00100");
    EXPECT_EQ(presort.List(),
              (QStringList{"** 5-digit 12345", "12345", "** 3-digit 123", "12301", "12302",
                           "** ADC ALBANY NY 120", "12001", "** Unknown", "00100"}));
    const TPresortCounts& counts = presort.Counts();
    EXPECT_EQ(counts.recordsRead, 24u);
    EXPECT_EQ(counts.recordsLeftOut, 0u);
    EXPECT_EQ(counts.distinctKeys, 5);
    EXPECT_EQ(counts.fiveDigitGroups, 1);
    EXPECT_EQ(counts.threeDigitGroups, 1);
    EXPECT_EQ(counts.adcGroups, 1);
    EXPECT_EQ(counts.unknownKeys, 1);
}

TEST(Presort, GroupThresholdsAreTenPieces)
{
    TPresort ten;
    AddTimes(ten, "54321", 10);
    EXPECT_EQ(ten.List(), (QStringList{"** 5-digit 54321", "54321"}));

    // Nine pieces of one key fall through to the ADC pass (543 is served by MILWAUKEE).
    TPresort nine;
    AddTimes(nine, "54321", 9);
    EXPECT_EQ(nine.List(), (QStringList{"** ADC MILWAUKEE WI 530", "54321"}));

    TPresort fourAndFive;
    AddTimes(fourAndFive, "12301", 4);
    AddTimes(fourAndFive, "12302", 5);
    EXPECT_EQ(fourAndFive.List(), (QStringList{"** ADC ALBANY NY 120", "12301", "12302"}));
}

TEST(Presort, FiveDigitKeyIsNotCountedAgainInItsThreeDigitRun)
{
    // 12345 forms its own group; the 9 pieces left under 123 are too few for a 3-digit group.
    TPresort presort;
    AddTimes(presort, "12345", 15);
    AddTimes(presort, "12301", 5);
    AddTimes(presort, "12399", 4);
    EXPECT_EQ(presort.List(),
              (QStringList{"** 5-digit 12345", "12345", "** ADC ALBANY NY 120", "12301", "12399"}));
}

TEST(Presort, KeyRule)
{
    EXPECT_EQ(TPresort::KeyOf("12345-6789"), QStringLiteral("12345"));
    EXPECT_EQ(TPresort::KeyOf("1234a"), QStringLiteral("1234A"));
    EXPECT_EQ(TPresort::KeyOf("9"), QStringLiteral("9"));
    EXPECT_EQ(TPresort::KeyOf("1 234"), QStringLiteral("1 234"));
    EXPECT_FALSE(TPresort::KeyOf(""));
    EXPECT_FALSE(TPresort::KeyOf("          "));
    EXPECT_FALSE(TPresort::KeyOf(" 12345"));
    EXPECT_FALSE(TPresort::KeyOf("K1A 0B1"));
    EXPECT_FALSE(TPresort::KeyOf(QString::fromUtf8("É1234")));
    // The bounds compare as text.
    EXPECT_FALSE(TPresort::KeyOf("9999Z"));
    EXPECT_FALSE(TPresort::KeyOf("000 1"));
    EXPECT_FALSE(TPresort::KeyOf("0"));
    EXPECT_EQ(TPresort::KeyOf(QString::fromUtf8("1234é")), QString::fromUtf8("1234É"));
}

TEST(Presort, LeftOutRecordsAreCountedAndUpperCaseKeysTallyTogether)
{
    TPresort presort;
    EXPECT_TRUE(presort.Add("12345-6789"));
    EXPECT_FALSE(presort.Add(""));
    EXPECT_FALSE(presort.Add(" 2345"));
    EXPECT_FALSE(presort.Add("ABCDE"));
    AddTimes(presort, "1234a", 5);
    AddTimes(presort, "1234A", 5);
    EXPECT_EQ(presort.List(),
              (QStringList{"** 5-digit 1234A", "1234A", "** ADC ALBANY NY 120", "12345"}));
    EXPECT_EQ(presort.Counts().recordsRead, 14u);
    EXPECT_EQ(presort.Counts().recordsLeftOut, 3u);
    EXPECT_EQ(presort.Counts().distinctKeys, 2);
}

TEST(Presort, UnknownAndWholePrefixAdcMembership)
{
    // 001 is in no row; "1 234" must not match "211 212" of BALTIMORE across the blank; "21"
    // is too short to be a prefix; 580 keeps FARGO's two blanks.
    TPresort presort;
    presort.Add("00123");
    presort.Add("1 234");
    presort.Add("21");
    presort.Add("58001");
    EXPECT_EQ(presort.List(),
              (QStringList{"** ADC FARGO ND  580", "58001", "** Unknown", "00123", "1 234", "21"}));
}

TEST(Presort, AdcGroupsFollowTableOrderAndKeysSortByBytes)
{
    // Rows listing their prefixes out of order still take them; groups come in table order
    // (ALBANY before GRAND RAPIDS before PORTLAND ME), keys ascending by byte within a group.
    TPresort presort;
    presort.Add("04901");
    presort.Add("49501");
    presort.Add("12A01");
    presort.Add("12101");
    presort.Add("12-01");
    EXPECT_EQ(presort.List(),
              (QStringList{"** ADC ALBANY NY 120", "12101", "** ADC GRAND RAPIDS MI 493", "49501",
                           "** ADC PORTLAND ME 040", "04901", "** Unknown", "12-01", "12A01"}));
}

TEST(Presort, PrefixListedByTwoRowsBelongsToTheFirst)
{
    // The shipped table names no prefix twice; an edited one may. The earlier row takes the key,
    // and a row left with no key prints no marker.
    const TAdcTable adc =
        TAdcTable::Parse(QStringLiteral("FIRST\t121 120\nSECOND\t120 130\nTHIRD\t140\n"));
    TPresort presort(adc);
    presort.Add("12001");
    presort.Add("13001");
    presort.Add("12101");
    EXPECT_EQ(presort.List(),
              (QStringList{"** ADC FIRST", "12001", "12101", "** ADC SECOND", "13001"}));
    EXPECT_EQ(presort.Counts().adcGroups, 2);
}

TEST(Presort, EmptyScopeGivesAnEmptyList)
{
    TPresort presort;
    TZipRecords none({});
    EXPECT_TRUE(presort.Read(none));
    EXPECT_TRUE(presort.List().isEmpty());
    EXPECT_EQ(presort.Counts().recordsRead, 0u);
}

TEST(Presort, ReadReportsProgressEveryHundredAndStopsOnCancel)
{
    QStringList zips;
    for (int i = 0; i < 250; ++i)
        zips << QStringLiteral("12345");
    TZipRecords records(zips);

    TPresort whole;
    std::vector<uint32_t> reported;
    EXPECT_TRUE(whole.Read(records, [&](uint32_t recNo) { reported.push_back(recNo); }));
    EXPECT_EQ(reported, (std::vector<uint32_t>{100, 200}));
    EXPECT_EQ(whole.Counts().recordsRead, 250u);

    // The flag is looked at after each record: set while record 100 is reported, reading
    // stops there.
    TPresort stopped;
    std::atomic<bool> cancel = false;
    EXPECT_FALSE(stopped.Read(
        records, [&](uint32_t) { cancel = true; }, &cancel));
    EXPECT_EQ(stopped.Counts().recordsRead, 100u);
}
