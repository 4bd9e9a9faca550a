#include "letters/TMergeTexts.h"

#include <QHash>
#include <gtest/gtest.h>

namespace qm::letters {
namespace {

TMergeTexts::TValue Record(const QHash<QString, QString>& fields)
{
    return [fields](const QString& name) { return fields.value(name); };
}

const QDate kToday(2026, 3, 7);

TEST(TMergeTextsTest, TwentyTwoTextsInTheTableOrder)
{
    const TMergeTexts texts = TMergeTexts::FromRecord(Record({}), kToday, QLocale::c());
    ASSERT_EQ(texts.Texts().size(), 22u);
    EXPECT_EQ(texts.Texts().front().name, "Full Name");
    EXPECT_EQ(texts.Texts()[8].name, "Street 2");
    EXPECT_EQ(texts.Texts().back().name, "Name and Address");
    EXPECT_EQ(TMergeTexts::InsertFieldNames().size(), 22u);
    EXPECT_EQ(TMergeTexts::InsertFieldNames()[1], "Name and Address");
}

TEST(TMergeTextsTest, NameLineTakesEachPartWithOneBlank)
{
    EXPECT_EQ(
        TMergeTexts::NameLine(Record(
            {{"PREFIX", "Mr."}, {"FNAME", "John"}, {"MIDDLE", "Q"}, {"LNAME", "Smith     "}})),
        "Mr. John Q. Smith ");
    EXPECT_EQ(TMergeTexts::NameLine(Record({{"LNAME", "Smith"}})), "Smith ");
    EXPECT_EQ(TMergeTexts::NameLine(Record({})), "");
    // Leading blanks of a part go; the middle text is "Middle" without its period.
    EXPECT_EQ(TMergeTexts::NameLine(Record({{"FNAME", "  Ann"}, {"LNAME", "Lee"}})), "Ann Lee ");
    const TMergeTexts texts =
        TMergeTexts::FromRecord(Record({{"MIDDLE", "Q"}}), kToday, QLocale::c());
    EXPECT_EQ(texts.Text("Middle"), "Q");
    EXPECT_EQ(texts.Text("Full Name"), "Q. ");
}

TEST(TMergeTextsTest, AddressBlockLines)
{
    // Only a last name: the name line and its CR LF.
    EXPECT_EQ(TMergeTexts::NameAndAddress(Record({{"LNAME", "Smith"}})), "Smith \r\n");
    EXPECT_EQ(TMergeTexts::NameAndAddress(Record({})), "");
    EXPECT_EQ(TMergeTexts::NameAndAddress(Record({{"TITLE", "Director"}})), "Director\r\n");
    EXPECT_EQ(TMergeTexts::NameAndAddress(Record({{"ORG", "Acme"}})), "Acme\r\n");
    EXPECT_EQ(TMergeTexts::NameAndAddress(Record({{"TITLE", "Director"}, {"ORG", "Acme"}})),
              "Director,  Acme\r\n");
    EXPECT_EQ(TMergeTexts::NameAndAddress(Record({{"FNAME", "Jo"},
                                                  {"LNAME", "Ray"},
                                                  {"STREET", "1 Main St"},
                                                  {"STREET2", "Suite 4"},
                                                  {"CITY", "Springfield"},
                                                  {"STATE", "IL"},
                                                  {"ZIP", "62701"},
                                                  {"COUNTRY", "USA"}})),
              "Jo Ray \r\n1 Main St\r\nSuite 4\r\nSpringfield IL  62701\r\nUSA\r\n");
}

TEST(TMergeTextsTest, CityStateZipBlanks)
{
    const auto withState = Record({{"CITY", "Springfield"}, {"STATE", "IL"}, {"ZIP", "62701"}});
    EXPECT_EQ(TMergeTexts::FromRecord(withState, kToday, QLocale::c()).Text("City+State+Zip"),
              "Springfield IL 62701");
    // Without a state both the block's city line and the marker have two blanks.
    const auto noState = Record({{"CITY", "Springfield"}, {"ZIP", "62701"}});
    EXPECT_EQ(TMergeTexts::FromRecord(noState, kToday, QLocale::c()).Text("City+State+Zip"),
              "Springfield  62701");
    EXPECT_EQ(TMergeTexts::NameAndAddress(noState), "Springfield  62701\r\n");
    const auto zipOnly = Record({{"ZIP", "62701"}});
    EXPECT_EQ(TMergeTexts::NameAndAddress(zipOnly), "62701\r\n");
    const auto texts = TMergeTexts::FromRecord(withState, kToday, QLocale::c());
    EXPECT_EQ(texts.Text("Province"), "IL");
    EXPECT_EQ(texts.Text("Postal Code"), "62701");
}

TEST(TMergeTextsTest, DatesComeFromTheGivenDay)
{
    const auto texts = TMergeTexts::FromRecord(Record({}), kToday, QLocale::c());
    EXPECT_EQ(texts.Text("Today's Date"), "03/07/2026");
    EXPECT_EQ(texts.Text("Long Date"), "Mar 7, 2026");
    const auto german = TMergeTexts::FromRecord(Record({}), QDate(2026, 12, 24),
                                                QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(german.Text("Long Date"),
              QLocale(QLocale::German).monthName(12, QLocale::ShortFormat) + " 24, 2026");
    EXPECT_EQ(texts.Text("No Such Marker"), "");
}

} // namespace
} // namespace qm::letters
