// Date and time objects print the clock's date and time in the chosen formats.

#include "design/objects/TGDateTimeLabel.h"

#include "TTextObjectFixture.h"

namespace qm::design {
namespace {

class TGDateTimeLabelTest : public test::TTextObjectFixture {
protected:
    void SetUp() override
    {
        TTextObjectFixture::SetUp();
        TGDateTimeLabel::SetClock([] { return QDateTime(QDate(2026, 12, 9), QTime(8, 30, 5)); });
        TGDateTimeLabel::SetLocale(QLocale(QLocale::German, QLocale::Germany));
    }
    void TearDown() override
    {
        TGDateTimeLabel::SetClock({});
        TGDateTimeLabel::SetLocale(QLocale::system());
        TTextObjectFixture::TearDown();
    }
};

TEST_F(TGDateTimeLabelTest, PrintsTheDateAndTimeOfThePrint)
{
    const QLocale us(QLocale::German, QLocale::Germany);
    auto* stamp = Add(std::make_unique<TGDateTimeLabel>());
    EXPECT_EQ(stamp->DateFormat(), TDateFormat::dtfDateShort);
    stamp->SetTimeFormat(TTimeFormat::dtfTimeShort);
    const auto texts =
        test::PrintedTexts(test::Record([this](print::TBaseReport& r) { PrintItem(r); }));
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, us.toString(QDate(2026, 12, 9), QLocale::ShortFormat) + " " +
                                 us.toString(QTime(8, 30, 5), QLocale::ShortFormat));
}

} // namespace
} // namespace qm::design
