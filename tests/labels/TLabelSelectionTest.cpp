// The position selection and the position lists of the command line.

#include "labels/TLabelSelection.h"

#include <gtest/gtest.h>

using namespace qm::labels;

TEST(LabelSelection, CoversEveryPositionOfLargeSheets)
{
    TLabelSelection selection(270); // Avery L4730
    EXPECT_EQ(selection.SelectedCount(), 270);
    selection.Toggle(269);
    EXPECT_FALSE(selection.Selected(269));
    selection.Resize(300);
    EXPECT_TRUE(selection.Selected(299)); // new positions start selected
    EXPECT_FALSE(selection.Selected(269));
    EXPECT_FALSE(selection.Selected(300));
}

TEST(LabelSelection, OnlyTheSheetsOwnPositionsCount)
{
    TLabelSelection selection(200);
    selection.SelectNone();
    selection.SetSelected(150, true);
    selection.Resize(30); // a 3 x 10 sheet: position 150 is not on it
    EXPECT_FALSE(selection.AnySelected());
    EXPECT_FALSE(selection.Selected(150));
    EXPECT_EQ(selection.Positions(), 30);
}

TEST(LabelSelection, ParsesNumbersAndRangesFromOne)
{
    QString error;
    const auto selection = TLabelSelection::Parse(" 6-30, 32 ,1", 40, &error);
    ASSERT_TRUE(selection) << error.toStdString();
    EXPECT_EQ(selection->Positions(), 40);
    EXPECT_EQ(selection->SelectedCount(), 25 + 1 + 1);
    EXPECT_TRUE(selection->Selected(0));
    EXPECT_FALSE(selection->Selected(4));
    EXPECT_TRUE(selection->Selected(5));
    EXPECT_TRUE(selection->Selected(29));
    EXPECT_FALSE(selection->Selected(30));
    EXPECT_TRUE(selection->Selected(31));
}

TEST(LabelSelection, BadListsNameTheirFault)
{
    struct Case {
        const char* list;
        const char* message;
    };
    for (const Case& c : {
             Case{"", "the position list is empty"},
             Case{"1,,2", "the position list \"1,,2\" has an empty entry"},
             Case{"0", "position 0 is not on the sheet (it has positions 1 to 30)"},
             Case{"5-31", "position 31 is not on the sheet (it has positions 1 to 30)"},
             Case{"9-3", "the range \"9-3\" runs backwards"},
             Case{"x", "\"x\" is not a position number"},
             Case{"-4", "\"-4\" is not a position number"},
             Case{"3-", "\"3-\" is not a position number"},
             Case{"1-2-3", "\"1-2-3\" is not a position number"},
         }) {
        QString error;
        EXPECT_FALSE(TLabelSelection::Parse(c.list, 30, &error)) << c.list;
        EXPECT_EQ(error.toStdString(), c.message) << c.list;
    }
}
