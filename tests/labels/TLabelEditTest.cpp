// "User Defined Label Layout" driven through its fields, lists and unit choice; messages through
// the scripted responder.

#include "labels/ui/TLabelEdit.h"
#include "TScreenshot.h"
#include "TScriptedResponder.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace qm::labels;
using L = TLabelEditForm::TLength;

namespace {

class LabelEditTest : public ::testing::Test {
protected:
    // Replaces a field's text as the user types it, then leaves the field.
    static void Type(TLabelEdit& dialog, L field, const QString& text)
    {
        QLineEdit* edit = dialog.LengthEdit(field);
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
        emit edit->editingFinished();
    }

    static QString Shown(TLabelEdit& dialog, L field) { return dialog.LengthEdit(field)->text(); }

    qm::test::TScriptedResponder mResponder;
};

} // namespace

TEST_F(LabelEditTest, ShowsTheGeometryInInchesAndSwitchesUnitsWithoutDrift)
{
    TLabelEdit dialog(TLabelGeometry::NewLayout());
    EXPECT_EQ(dialog.windowTitle(), "User Defined Label Layout");
    EXPECT_TRUE(dialog.InchesRadio()->isChecked());
    EXPECT_EQ(Shown(dialog, L::LabelWidth), "2.625");
    EXPECT_EQ(Shown(dialog, L::VerticalPitch), "1.010");
    EXPECT_EQ(dialog.AcrossSpin()->value(), 3);
    EXPECT_EQ(dialog.DownSpin()->value(), 10);
    EXPECT_EQ(dialog.PaperCombo()->currentIndex(), -1);
    EXPECT_EQ(dialog.ShapeCombo()->currentText(), "Rectangular with Rounded Edges");
    qm::test::SaveScreenshot(dialog, QStringLiteral("label-edit"));

    for (int i = 0; i < 3; ++i) {
        dialog.MillimetresRadio()->click();
        EXPECT_EQ(Shown(dialog, L::VerticalPitch), "26");
        EXPECT_EQ(Shown(dialog, L::PaperWidth), "216");
        dialog.InchesRadio()->click();
        EXPECT_EQ(Shown(dialog, L::VerticalPitch), "1.010");
    }

    // OK in millimetres takes only what was typed; 25 mm is stored as 0.984 in.
    dialog.MillimetresRadio()->click();
    Type(dialog, L::LabelHeight, "25");
    dialog.OKButton()->click();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FLOAT_EQ(dialog.Geometry().labelHeight, 0.984f);
    EXPECT_FLOAT_EQ(dialog.Geometry().verticalPitch, 1.01f);
    EXPECT_FLOAT_EQ(dialog.Geometry().horizontalPitch, 2.765f);
    EXPECT_FLOAT_EQ(dialog.Geometry().leftMargin, 0.188f);
    EXPECT_EQ(dialog.Geometry().paperSize, "LTR");
    EXPECT_TRUE(mResponder.Texts().isEmpty());
}

TEST_F(LabelEditTest, FieldsTakeOnlyNumbersOfTheirUnit)
{
    TLabelEdit dialog(TLabelGeometry::NewLayout());
    QLineEdit* top = dialog.LengthEdit(L::TopMargin);
    top->selectAll();
    QTest::keyClick(top, Qt::Key_Delete);
    QTest::keyClicks(top, "-0.4375x");
    EXPECT_EQ(top->text(), "0.437"); // no sign, no letters, 3 decimals
    dialog.MillimetresRadio()->click();
    EXPECT_EQ(top->text(), "11");
    top->selectAll();
    QTest::keyClick(top, Qt::Key_Delete);
    QTest::keyClicks(top, "12.5");
    EXPECT_EQ(top->text(), "125"); // whole millimetres of up to 3 digits
    dialog.InchesRadio()->click();
    EXPECT_EQ(top->text(), "4.921");
}

TEST_F(LabelEditTest, LeavingTheLabelSizeRaisesThePitch)
{
    TLabelEdit dialog(TLabelGeometry::NewLayout());
    Type(dialog, L::LabelWidth, "3.1");
    EXPECT_EQ(Shown(dialog, L::HorizontalPitch), "3.100");
    Type(dialog, L::LabelWidth, "2");
    EXPECT_EQ(Shown(dialog, L::HorizontalPitch), "3.100");
    Type(dialog, L::LabelHeight, "1.25");
    EXPECT_EQ(Shown(dialog, L::VerticalPitch), "1.250");
}

TEST_F(LabelEditTest, ChecksRefuseInOrderAndKeepTheDialogOpen)
{
    TLabelEdit dialog(TLabelGeometry::NewLayout());
    dialog.show();
    Type(dialog, L::LabelHeight, "0.2");
    Type(dialog, L::LabelWidth, "0.499");
    dialog.OKButton()->click();
    Type(dialog, L::LabelHeight, "0.3");
    dialog.OKButton()->click();
    Type(dialog, L::LabelWidth, "0.5");
    Type(dialog, L::HorizontalPitch, "0.4");
    dialog.OKButton()->click();
    Type(dialog, L::HorizontalPitch, "2.765");
    Type(dialog, L::VerticalPitch, "0.25");
    dialog.OKButton()->click();
    Type(dialog, L::VerticalPitch, "1.01");
    Type(dialog, L::PaperWidth, "0.2");
    Type(dialog, L::PaperHeight, "0.2");
    dialog.OKButton()->click();
    Type(dialog, L::PaperWidth, "8.5");
    dialog.OKButton()->click();
    Type(dialog, L::PaperHeight, "10.5"); // 0.5 + 9 x 1.01 + 0.3 = 9.89: fits
    Type(dialog, L::TopMargin, "1.2");    // 11.39: runs off
    dialog.OKButton()->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(mResponder.Texts(), QStringList({"Label Height must be at least .3 inches (or 7mm)",
                                               "Label Width must be at least .5 inch (or 13mm)",
                                               "Horizontal Pitch must be at least = Label Width",
                                               "Vertical Pitch must be at least = Label Height",
                                               "Page Width must be at least .3 inch",
                                               "Page Height must be at least .3 inches",
                                               "The labels do not fit on the paper"}));
    Type(dialog, L::TopMargin, "0.5");
    dialog.OKButton()->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FLOAT_EQ(dialog.Geometry().labelHeight, 0.3f);
    EXPECT_FLOAT_EQ(dialog.Geometry().labelWidth, 0.5f);
    EXPECT_FLOAT_EQ(dialog.Geometry().sheetDepth, 10.5f);
}

TEST_F(LabelEditTest, MillimetreLimitsAreCheckedInInches)
{
    TLabelEdit dialog(TLabelGeometry::NewLayout());
    dialog.MillimetresRadio()->click();
    Type(dialog, L::LabelHeight, "7"); // 0.276 in
    dialog.OKButton()->click();
    EXPECT_EQ(mResponder.Texts(), QStringList{"Label Height must be at least .3 inches (or 7mm)"});
    Type(dialog, L::LabelHeight, "8"); // 0.315 in
    dialog.OKButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FLOAT_EQ(dialog.Geometry().labelHeight, 0.315f);
}

TEST_F(LabelEditTest, StoredCountsBeyondTheRangesAreShownKeptAndRefused)
{
    TLabelGeometry spine = TLabelGeometry::NewLayout(); // 16 binder spines across
    spine.labelHeight = 11;
    spine.labelWidth = 0.5f;
    spine.across = 16;
    spine.down = 1;
    spine.topMargin = 0;
    spine.leftMargin = 0.25f;
    spine.horizontalPitch = 0.5f;
    spine.verticalPitch = 11;
    spine.shape = "SR";
    TLabelEdit dialog(spine);
    EXPECT_EQ(dialog.AcrossSpin()->value(), 16);
    EXPECT_EQ(dialog.ShapeCombo()->currentText(), "Rectangular");
    dialog.OKButton()->click();
    EXPECT_EQ(mResponder.Texts(), QStringList{"# across must be from 1 to 10"});
    EXPECT_NE(dialog.result(), QDialog::Accepted);

    // Once the user brings the count into the range, the range is the dialog's own again.
    dialog.AcrossSpin()->setValue(10);
    EXPECT_EQ(dialog.AcrossSpin()->maximum(), 10);
    dialog.AcrossSpin()->setValue(12);
    EXPECT_EQ(dialog.AcrossSpin()->value(), 10);
    dialog.OKButton()->click();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Geometry().across, 10);
    EXPECT_EQ(dialog.Geometry().down, 1);
    EXPECT_EQ(dialog.Geometry().shape, "SR");

    TLabelGeometry tall = TLabelGeometry::NewLayout();
    tall.down = 40;
    TLabelEdit downDialog(tall);
    EXPECT_EQ(downDialog.DownSpin()->value(), 40);
    downDialog.OKButton()->click();
    EXPECT_EQ(mResponder.Texts().back(), "# down must be from 1 to 30");
}

TEST_F(LabelEditTest, PaperAndShapeListsSetTheirCodesOnlyWhenPicked)
{
    TLabelGeometry g = TLabelGeometry::NewLayout();
    g.shape = "XX";
    TLabelEdit dialog(g);
    EXPECT_EQ(dialog.ShapeCombo()->currentText(), "Round");
    dialog.MillimetresRadio()->click();
    dialog.PaperCombo()->setCurrentIndex(2); // "A4 (210 x 297mm)"
    EXPECT_EQ(Shown(dialog, L::PaperWidth), "210");
    EXPECT_EQ(Shown(dialog, L::PaperHeight), "297");
    dialog.InchesRadio()->click();
    EXPECT_EQ(Shown(dialog, L::PaperWidth), "8.270");
    EXPECT_EQ(Shown(dialog, L::PaperHeight), "11.690");
    Type(dialog, L::PaperWidth, "9");
    dialog.PaperCombo()->setCurrentIndex(5); // "Other Portrait (User Defined)": sizes kept
    EXPECT_EQ(Shown(dialog, L::PaperWidth), "9.000");
    dialog.OKButton()->click();
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Geometry().paperSize, "USERP");
    EXPECT_EQ(dialog.Geometry().shape, "XX"); // untouched
    EXPECT_FLOAT_EQ(dialog.Geometry().sheetWidth, 9.0f);

    TLabelEdit second(g);
    second.ShapeCombo()->setCurrentIndex(1);
    second.OKButton()->click();
    EXPECT_EQ(second.Geometry().shape, "SR");
    EXPECT_EQ(second.Geometry().paperSize, "LTR");
}

TEST_F(LabelEditTest, EditReturnsTheValuesOnOkAndNothingOnCancel)
{
    QTimer::singleShot(0, [] {
        auto* dialog = dynamic_cast<TLabelEdit*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->AcrossSpin()->setValue(2);
        dialog->OKButton()->click();
    });
    const auto edited = TLabelEdit::Edit(TLabelGeometry::NewLayout(), nullptr);
    ASSERT_TRUE(edited);
    EXPECT_EQ(edited->across, 2);
    EXPECT_EQ(edited->templateDescription, "Avery 5160  Address"); // the caller clears it

    QTimer::singleShot(0, [] {
        auto* dialog = dynamic_cast<TLabelEdit*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    EXPECT_FALSE(TLabelEdit::Edit(TLabelGeometry::NewLayout(), nullptr));
}
