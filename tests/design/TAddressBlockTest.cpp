// Address-block composition: every option, the ZIP placements and the documented examples.

#include "design/text/TAddressBlock.h"

#include <gtest/gtest.h>

#include <QHash>

namespace qm::design {
namespace {

using TRecord = QHash<QString, QString>;

TRecord Jones()
{
    return {{"PREFIX", "Mr."},       {"FNAME", "John"},      {"MIDDLE", "Q"},
            {"LNAME", "Jones"},      {"TITLE", "Manager"},   {"ORG", "Acme"},
            {"STREET", "1 Main St"}, {"STREET2", "Suite 4"}, {"CITY", "Springfield"},
            {"STATE", "IL"},         {"ZIP", "62704"},       {"COUNTRY", ""},
            {"PHONE", "555-1234"}};
}

QStringList Compose(const TAddressBlockOptions& o, const TRecord& r)
{
    return TAddressBlock::Compose(o, [&r](const QString& name) -> std::optional<QString> {
        if (!r.contains(name))
            return std::nullopt;
        return r.value(name);
    });
}

TAddressBlockOptions Only(bool TAddressBlockOptions::*member)
{
    TAddressBlockOptions o;
    o.useName = o.useTitle = o.useCompany = o.useStreet = o.useStreet2 = false;
    o.useCityState = o.useZip = o.usePhone = o.useCountry = false;
    if (member)
        o.*member = true;
    return o;
}

TEST(TAddressBlockTest, DefaultOptionsComposeTheUsualBlock)
{
    EXPECT_EQ(Compose({}, Jones()), (QStringList{"Mr. John Q. Jones ", "Manager", "Acme",
                                                 "1 Main St", "Suite 4", "Springfield  IL 62704"}));
}

TEST(TAddressBlockTest, NameLineHasNoStrayPeriodOrBlanks)
{
    TRecord r = Jones();
    const auto o = Only(&TAddressBlockOptions::useName);
    r["MIDDLE"] = "";
    EXPECT_EQ(Compose(o, r), QStringList{"Mr. John Jones "});
    r["MIDDLE"] = "   ";
    EXPECT_EQ(Compose(o, r), QStringList{"Mr. John Jones "});
    r = Jones();
    r["PREFIX"] = "";
    EXPECT_EQ(Compose(o, r), QStringList{"John Q. Jones "});
    r["FNAME"] = r["MIDDLE"] = r["LNAME"] = "";
    EXPECT_TRUE(Compose(o, r).isEmpty());
}

TEST(TAddressBlockTest, CityLineAfterState)
{
    TAddressBlockOptions o = Only(&TAddressBlockOptions::useCityState);
    o.useZip = true;
    TRecord r = Jones();
    EXPECT_EQ(Compose(o, r), QStringList{"Springfield  IL 62704"});
    r["CITY"] = "";
    EXPECT_EQ(Compose(o, r), QStringList{" IL 62704"}); // the leading blank stays
    r["STATE"] = r["ZIP"] = "";
    EXPECT_TRUE(Compose(o, r).isEmpty());
}

TEST(TAddressBlockTest, ZipBeforeCityAndWithoutZip)
{
    TAddressBlockOptions o = Only(&TAddressBlockOptions::useCityState);
    o.useZip = true;
    o.zipOptions = TZipOptions::zoBeforeCity;
    EXPECT_EQ(Compose(o, Jones()), QStringList{"62704 Springfield IL "});
    o.useZip = false;
    EXPECT_EQ(Compose(o, Jones()), QStringList{"Springfield IL"});
}

TEST(TAddressBlockTest, ZipStandsAloneWhenCityLineIsOff)
{
    TAddressBlockOptions o = Only(&TAddressBlockOptions::useZip);
    EXPECT_EQ(Compose(o, Jones()), QStringList{"62704"});
    o.zipOptions = TZipOptions::zoAfterCountry; // the ZIP goes with the country, which is off
    EXPECT_EQ(Compose(o, Jones()), QStringList{"62704"});
}

TEST(TAddressBlockTest, ZipPlacedByCountryFollowsTheCityLine)
{
    TAddressBlockOptions o = Only(&TAddressBlockOptions::useCityState);
    o.useZip = true;
    o.zipOptions = TZipOptions::zoAfterCountry;
    EXPECT_EQ(Compose(o, Jones()), (QStringList{"Springfield IL", "62704"}));
}

TEST(TAddressBlockTest, CountryLine)
{
    TAddressBlockOptions o = Only(&TAddressBlockOptions::useCountry);
    TRecord r = Jones();
    EXPECT_TRUE(Compose(o, r).isEmpty()); // no country: domestic, no line
    r["COUNTRY"] = "Canada";
    r["ZIP"] = "K1A 0B1";
    EXPECT_EQ(Compose(o, r), QStringList{"Canada"});
    o.useZip = true;
    o.zipOptions = TZipOptions::zoAfterCountry;
    EXPECT_EQ(Compose(o, r), QStringList{"Canada K1A 0B1"});
    o.zipOptions = TZipOptions::zoBeforeCountry;
    EXPECT_EQ(Compose(o, r), QStringList{"K1A 0B1 Canada"});

    o = TAddressBlockOptions{};
    o.zipOptions = TZipOptions::zoAfterCountry;
    EXPECT_EQ(Compose(o, r).mid(5), (QStringList{"Springfield IL", "Canada K1A 0B1"}));
}

TEST(TAddressBlockTest, EmptyFieldsLeaveNoLinesAndPhoneComesLast)
{
    TRecord r = Jones();
    r["TITLE"] = r["ORG"] = r["STREET2"] = "";
    TAddressBlockOptions o;
    o.usePhone = true;
    EXPECT_EQ(Compose(o, r), (QStringList{"Mr. John Q. Jones ", "1 Main St",
                                          "Springfield  IL 62704", "555-1234"}));
}

TEST(TAddressBlockTest, UpperCase)
{
    TAddressBlockOptions o = Only(&TAddressBlockOptions::useName);
    o.upperCase = true;
    EXPECT_EQ(Compose(o, Jones()), QStringList{"MR. JOHN Q. JONES "});
}

TEST(TAddressBlockTest, EverythingOffComposesNothing)
{
    EXPECT_TRUE(Compose(Only(nullptr), Jones()).isEmpty());
}

TEST(TAddressBlockTest, MissingFieldEndsTheCompositionKeepingEarlierLines)
{
    TRecord r = Jones();
    r.remove("STREET");
    EXPECT_EQ(Compose({}, r), (QStringList{"Mr. John Q. Jones ", "Manager", "Acme"}));
    r = Jones();
    r.remove("MIDDLE");
    EXPECT_TRUE(Compose({}, r).isEmpty());
}

} // namespace
} // namespace qm::design
