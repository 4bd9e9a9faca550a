// "Address Label Layout": the options go in and come out unchanged, and the ZIP choices follow
// the ZIP box.

#include "design/ui/TAddressLayoutDialog.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace qm::design {
namespace {

TEST(TAddressLayoutDialogTest, OptionsRoundTripThroughTheControls)
{
    TAddressBlockOptions o;
    o.useTitle = false;
    o.usePhone = true;
    o.upperCase = true;
    o.zipOptions = TZipOptions::zoBeforeCountry;
    TAddressLayoutDialog dialog(o);
    EXPECT_EQ(dialog.windowTitle(), "Address Label Layout");
    EXPECT_EQ(dialog.Options(), o);
    EXPECT_EQ(dialog.NameBox()->text(), "&Name");
    EXPECT_EQ(dialog.ZipButton(TZipOptions::zoAfterCountry)->text(), "A&fter country");
}

TEST(TAddressLayoutDialogTest, ZipChoicesOnlyWithTheZipBox)
{
    TAddressLayoutDialog dialog({});
    dialog.show();
    EXPECT_TRUE(dialog.ZipButton(TZipOptions::zoBeforeCity)->isEnabled());
    QTest::mouseClick(dialog.ZipBox(), Qt::LeftButton);
    EXPECT_FALSE(dialog.ZipBox()->isChecked());
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(dialog.ZipButton(TZipOptions(i))->isEnabled());
    dialog.ZipBox()->setChecked(true);
    dialog.ZipButton(TZipOptions::zoBeforeCity)->setChecked(true);
    EXPECT_EQ(dialog.Options().zipOptions, TZipOptions::zoBeforeCity);
    EXPECT_TRUE(dialog.Options().useZip);
}

} // namespace
} // namespace qm::design
