// "Symbol Selector": columns by point size, the pre-selected character, the chosen code and the
// font button's caption.

#include "design/ui/TSymbolSelectorDialog.h"

#include <QPushButton>
#include <QTableWidget>
#include <gtest/gtest.h>

namespace qm::design {
namespace {

TEST(TSymbolSelectorDialogTest, ColumnsFollowThePointSize)
{
    const std::pair<int, int> cases[] = {{5, 1},  {6, 14}, {10, 14}, {11, 10}, {20, 10}, {21, 8},
                                         {30, 8}, {31, 6}, {40, 6},  {41, 4},  {50, 4},  {51, 3},
                                         {60, 3}, {61, 2}, {72, 2},  {73, 1}};
    for (auto [points, columns] : cases)
        EXPECT_EQ(TSymbolSelectorDialog::ColumnsForPointSize(points), columns) << points;
}

TEST(TSymbolSelectorDialogTest, ShowsEveryCodeAndReturnsTheChosenOne)
{
    TGFont font;
    font.SetName("WingDings");
    font.SetPointSize(24);
    TSymbolSelectorDialog dialog(font, '[');
    EXPECT_EQ(dialog.windowTitle(), "Symbol Selector");
    EXPECT_EQ(dialog.SymbolList()->columnCount(), 8);
    EXPECT_EQ(dialog.SymbolList()->rowCount(), 28); // 224 / 8
    EXPECT_EQ(dialog.Code(), '[');
    const int index = '[' - 32;
    EXPECT_EQ(dialog.SymbolList()->currentRow(), index / 8);
    EXPECT_EQ(dialog.SymbolList()->currentColumn(), index % 8);
    dialog.SymbolList()->setCurrentCell(27, 7);
    EXPECT_EQ(dialog.Code(), 255);
    EXPECT_EQ(dialog.FontButton()->text(), "WingDings, 24pt ");

    font.SetPointSize(10);
    font.SetStyle(fsBold | fsItalic);
    dialog.SetFont(font);
    EXPECT_EQ(dialog.SymbolList()->columnCount(), 14);
    EXPECT_EQ(dialog.Code(), 255); // the choice survives the new font
    EXPECT_EQ(dialog.FontButton()->text(), "WingDings, 10pt Bold Italic ");
}

} // namespace
} // namespace qm::design
