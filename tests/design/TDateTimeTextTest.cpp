// Date and time captions in the regional formats.

#include "design/text/TDateTimeText.h"

#include <gtest/gtest.h>

namespace qm::design {
namespace {

const QDateTime kWhen(QDate(2026, 3, 5), QTime(14, 7, 9));
const QLocale kUs(QLocale::English, QLocale::UnitedStates);

TEST(TDateTimeTextTest, DateAloneAndWithTime)
{
    using D = TDateFormat;
    using T = TTimeFormat;
    EXPECT_EQ(TDateTimeText::Caption(D::dtfDateShort, T::dtfTimeNone, kWhen, kUs),
              kUs.toString(kWhen.date(), QLocale::ShortFormat));
    EXPECT_EQ(TDateTimeText::Caption(D::dtfDateLong, T::dtfTimeShort, kWhen, kUs),
              kUs.toString(kWhen.date(), QLocale::LongFormat) + " " +
                  kUs.toString(kWhen.time(), QLocale::ShortFormat));
    EXPECT_TRUE(
        TDateTimeText::Caption(D::dtfDateLong, T::dtfTimeNone, kWhen, kUs).contains("2026"));
}

TEST(TDateTimeTextTest, TimeAloneBeginsWithTheBlank)
{
    const QString caption =
        TDateTimeText::Caption(TDateFormat::dtfDateNone, TTimeFormat::dtfTimeLong, kWhen, kUs);
    EXPECT_EQ(caption, " " + kUs.toString(kWhen.time(), QLocale::LongFormat));
    EXPECT_TRUE(
        TDateTimeText::Caption(TDateFormat::dtfDateNone, TTimeFormat::dtfTimeNone, kWhen, kUs)
            .isEmpty());
}

} // namespace
} // namespace qm::design
