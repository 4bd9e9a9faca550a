// The paragraph dialog: shown values, units, refusal of text that is not a number and of indents
// that leave no room, with the values kept.

#include "richtext/ui/TParagraphDialog.h"
#include "TScriptedResponder.h"

#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <gtest/gtest.h>

using namespace qm::richtext;

namespace {

struct TCLocale {
    TCLocale() : previous(QLocale()) { QLocale::setDefault(QLocale::c()); }
    ~TCLocale() { QLocale::setDefault(previous); }
    QLocale previous;
};

} // namespace

TEST(TParagraphDialogTest, ShowsTheSettingsInInchesAndPointsAndReadsThemBack)
{
    TCLocale locale;
    TParagraphDialog dialog({720, 360, -360, 120, 240, 280}, 9360);
    EXPECT_EQ(dialog.windowTitle(), "Paragraph Settings");
    EXPECT_EQ(dialog.LeftEdit()->text(), "0.50");
    EXPECT_EQ(dialog.RightEdit()->text(), "0.25");
    EXPECT_EQ(dialog.FirstLineBox()->currentText(), "Indented by");
    EXPECT_EQ(dialog.FirstEdit()->text(), "-0.25");
    EXPECT_EQ(dialog.BeforeEdit()->text(), "6.00");
    EXPECT_EQ(dialog.LineHeightEdit()->text(), "14.00");
    EXPECT_EQ(dialog.AfterEdit()->text(), "12.00");
    dialog.SetUnit(TParagraphDialog::EUnit::Centimetres);
    EXPECT_EQ(dialog.LeftEdit()->text(), "1.27");
    dialog.LeftEdit()->setText("2.54");
    ASSERT_TRUE(dialog.OKButtonClick());
    EXPECT_EQ(dialog.Settings(), (TParagraphSettings{1440, 360, -360, 120, 240, 280}));
    dialog.FirstLineBox()->setCurrentIndex(0);
    EXPECT_FALSE(dialog.FirstEdit()->isEnabled());
    ASSERT_TRUE(dialog.OKButtonClick());
    EXPECT_EQ(dialog.Settings().firstIndent, 0);
}

TEST(TParagraphDialogTest, RefusesNonNumbersAndIndentsWithoutRoomKeepingTheValues)
{
    TCLocale locale;
    qm::test::TScriptedResponder responder;
    TParagraphDialog dialog({}, 9360);
    dialog.BeforeEdit()->setText("six");
    EXPECT_FALSE(dialog.OKButtonClick());
    EXPECT_EQ(dialog.BeforeEdit()->text(), "six");
    dialog.BeforeEdit()->setText("6");
    dialog.LeftEdit()->setText("4");
    dialog.RightEdit()->setText("2.5");
    EXPECT_FALSE(dialog.OKButtonClick());
    EXPECT_EQ(dialog.Settings(), TParagraphSettings{});
    EXPECT_EQ(responder.Texts(),
              QStringList({"\"six\" is not a valid number for the space before.",
                           "The indents leave no room for text between the margins."}));
    EXPECT_EQ(dialog.LeftEdit()->text(), "4");
}
