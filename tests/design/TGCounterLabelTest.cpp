// Counters through the printing protocol: repeats, resets, leading zeros, and the settings
// command.

#include "design/objects/TGCounterLabel.h"

#include "TTextObjectFixture.h"

namespace qm::design {
namespace {

using test::Record;

class TGCounterLabelTest : public test::TTextObjectFixture {};

TEST_F(TGCounterLabelTest, SixLabelsInARowRepeatEachValueTwice)
{
    auto* counter = Add(std::make_unique<TGCounterLabel>());
    counter->ConfigureDrawn(TGFont());
    counter->SetRepeatEach(2);
    const auto pages = test::ReadPages(Record([this](print::TBaseReport& r) {
        for (int i = 0; i < 6; ++i)
            PrintItem(r, 0, i);
    }));
    ASSERT_EQ(pages.size(), 1u);
    QStringList printed;
    for (const auto& t : pages[0].texts)
        printed << t.text;
    EXPECT_EQ(printed, (QStringList{"1000", "1000", "1001", "1001", "1002", "1002"}));

    mPanel.ResetCounters();
    EXPECT_EQ(counter->Value(), 1000);
    EXPECT_EQ(counter->Caption(), "1000");
}

TEST_F(TGCounterLabelTest, CaptionWithTextsAndLeadingZeros)
{
    auto* counter = Add(std::make_unique<TGCounterLabel>());
    counter->SetTextBefore("No. ");
    counter->SetLeadingZeros(3);
    counter->SetStartingnumber(7);
    const auto texts = test::PrintedTexts(Record([this](print::TBaseReport& r) { PrintItem(r); }));
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "No. 007");
}

TEST_F(TGCounterLabelTest, SettingsResetOnlyForANewStartingNumber)
{
    auto* counter = Add(std::make_unique<TGCounterLabel>());
    counter->SetStartingnumber(10);
    counter->CounterStep();
    counter->CounterStep();
    TCounterSettings s = counter->Settings();
    s.textAfter = " pcs";
    counter->ApplySettings(s);
    EXPECT_EQ(counter->Value(), 12);
    EXPECT_EQ(counter->Caption(), "12 pcs");
    s.startingNumber = 50;
    counter->ApplySettings(s);
    EXPECT_EQ(counter->Value(), 50);
    // Unrotated, the width is set to 10 and fitted to the caption.
    const QFont font = TSingleLineText::ScreenFont(*counter);
    EXPECT_GE(counter->Width(), QFontMetrics(font).horizontalAdvance("50 pcs     "));
    EXPECT_LT(counter->Width(), 142);
}

TEST_F(TGCounterLabelTest, HostileStoredValuesStayHarmless)
{
    TGCounterLabel counter;
    counter.SetLeadingZeros(2000000000);
    counter.SetRepeatEach(0);
    counter.UpdateCaption();
    EXPECT_LE(counter.Caption().size(), 40);
    counter.CounterStep();
    EXPECT_EQ(counter.Value(), 2);
}

} // namespace
} // namespace qm::design
