// The "Print Labels" window's choices: presort availability and when a presort runs again.

#include "labels/TLabelPrintChoices.h"

#include <gtest/gtest.h>

using namespace qm::labels;

TEST(LabelPrintChoices, WithoutAFilterAllRecordsIsChosenAndTheFilterChoiceRefused)
{
    TLabelPrintChoices choices(false);
    EXPECT_EQ(choices.Scope(), TLabelScope::AllRecords);
    EXPECT_FALSE(choices.FilterChoiceEnabled());
    choices.ChooseScope(TLabelScope::MatchingFilter);
    EXPECT_EQ(choices.Scope(), TLabelScope::AllRecords);
    EXPECT_EQ(TLabelPrintChoices(true).Scope(), TLabelScope::MatchingFilter);
}

TEST(LabelPrintChoices, OnlyCurrentRecordTurnsPresortOffAndTheOthersOfferItAgainOff)
{
    TLabelPrintChoices choices(true);
    choices.SetPresort(true);
    EXPECT_TRUE(choices.Presort());
    choices.ChooseScope(TLabelScope::CurrentRecord);
    EXPECT_FALSE(choices.Presort());
    EXPECT_FALSE(choices.PresortEnabled());
    choices.SetPresort(true); // refused while unavailable
    EXPECT_FALSE(choices.Presort());
    choices.ChooseScope(TLabelScope::AllRecords);
    EXPECT_TRUE(choices.PresortEnabled());
    EXPECT_FALSE(choices.Presort());
}

TEST(LabelPrintChoices, ADoneFlagIsClearedByEveryScopeClickAndStartFromCurrent)
{
    TLabelPrintChoices choices(true);
    choices.SetPresort(true);
    EXPECT_TRUE(choices.PresortNeeded());
    choices.SetPresortDone(true, 3);
    EXPECT_FALSE(choices.PresortNeeded());
    EXPECT_EQ(choices.PresortLeftOut(), 3u);
    choices.ChooseScope(TLabelScope::MatchingFilter); // the same choice again still counts
    EXPECT_TRUE(choices.PresortNeeded());
    EXPECT_EQ(choices.PresortLeftOut(), 0u);
    choices.SetPresortDone(true);
    choices.SetStartFromCurrent(true);
    EXPECT_TRUE(choices.PresortNeeded());
    choices.SetPresortDone(false); // a cancelled run
    EXPECT_TRUE(choices.PresortNeeded());
}
