// "Text", "Counter", "Multi-line Text Editor" and "Text 3D Effects" driven through their controls
// as a user would: typed keys, spin box steps, combo choices, Ok and Cancel. Each dialog is also
// saved as a screenshot (QM_SCREENSHOT_DIR) for looking at, at any QT_SCALE_FACTOR.

#include "design/objects/TGCounterLabel.h"
#include "design/objects/TGPLabel.h"
#include "design/ui/TCounterDialog.h"
#include "design/ui/TDesignDialogButtons.h"
#include "design/ui/TMultiLineEditorDialog.h"
#include "design/ui/TText3DEffectsDialog.h"
#include "design/ui/TTextDialog.h"

#include "TScreenshot.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

namespace qm::design {
namespace {

// Replaces the field's text by typing, the way a user selects all and types over it.
void TypeOver(QWidget* field, const QString& text)
{
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
}

void TypeOverSpin(QSpinBox* spin, const QString& text)
{
    spin->setFocus();
    spin->selectAll();
    QTest::keyClick(spin, Qt::Key_Delete);
    QTest::keyClicks(spin, text);
    // The value is taken when the field loses focus or on Enter; Enter would press Ok.
    spin->interpretText();
}

// ---- "Text"

TEST(TTextDialogTest, TypedCaptionComesBackAfterOkAndTheCaptionIsPreselected)
{
    TTextDialog dialog(QStringLiteral("Old caption"));
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.windowTitle(), "Text");
    EXPECT_EQ(dialog.TextEdit()->text(), "Old caption");
    EXPECT_TRUE(dialog.TextEdit()->hasSelectedText()) << "typing replaces the old caption";
    test::SaveScreenshot(dialog, QStringLiteral("design-text-dialog"));

    dialog.TextEdit()->setFocus();
    QTest::keyClicks(dialog.TextEdit(), QStringLiteral("Dear Friend"));
    EXPECT_EQ(dialog.Text(), "Dear Friend");
    QTest::mouseClick(dialog.Buttons()->OkButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    TGPLabel label;
    label.ApplyText(dialog.Text());
    EXPECT_EQ(label.Caption(), "Dear Friend");
}

TEST(TTextDialogTest, EnterAcceptsAndCancelRejects)
{
    TTextDialog dialog(QStringLiteral("x"));
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.TextEdit()->setFocus();
    QTest::keyClick(dialog.TextEdit(), Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    TTextDialog cancelled(QStringLiteral("keep"));
    cancelled.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&cancelled));
    QTest::keyClicks(cancelled.TextEdit(), QStringLiteral("typed"));
    QTest::mouseClick(cancelled.Buttons()->CancelButton(), Qt::LeftButton);
    EXPECT_EQ(cancelled.result(), QDialog::Rejected);
}

// ---- "Counter"

TEST(TCounterDialogTest, SettingsTypedIntoTheControlsComeBack)
{
    TCounterSettings in;
    in.startingNumber = 1000;
    in.repeatEach = 2;
    in.textBefore = QStringLiteral("No. ");
    in.leadingZeros = 0;
    TCounterDialog dialog(in);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.windowTitle(), "Counter");
    EXPECT_EQ(dialog.Settings(), in) << "the settings go in and come out unchanged";
    test::SaveScreenshot(dialog, QStringLiteral("design-counter-dialog"));

    TypeOverSpin(dialog.StartingNumberEdit(), QStringLiteral("-25"));
    QTest::keyClick(dialog.RepeatEdit(), Qt::Key_Up); // 2 -> 3
    TypeOver(dialog.TextBeforeEdit(), QStringLiteral("#"));
    TypeOver(dialog.TextAfterEdit(), QStringLiteral(" of 500"));
    TypeOverSpin(dialog.LeadingZerosEdit(), QStringLiteral("5"));
    QTest::mouseClick(dialog.Buttons()->OkButton(), Qt::LeftButton);
    ASSERT_EQ(dialog.result(), QDialog::Accepted);

    const TCounterSettings out = dialog.Settings();
    EXPECT_EQ(out.startingNumber, -25);
    EXPECT_EQ(out.repeatEach, 3);
    EXPECT_EQ(out.textBefore, "#");
    EXPECT_EQ(out.textAfter, " of 500");
    EXPECT_EQ(out.leadingZeros, 5);
}

TEST(TCounterDialogTest, RangesHoldAtTheirEnds)
{
    TCounterSettings in;
    in.repeatEach = 5000; // out of range in a damaged layout: shown at the nearest end
    in.leadingZeros = 12;
    TCounterDialog dialog(in);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.RepeatEdit()->value(), 999);
    EXPECT_EQ(dialog.LeadingZerosEdit()->value(), 9);
    QTest::keyClick(dialog.RepeatEdit(), Qt::Key_Up);
    EXPECT_EQ(dialog.Settings().repeatEach, 999);
    QTest::keyClick(dialog.LeadingZerosEdit(), Qt::Key_Up);
    EXPECT_EQ(dialog.Settings().leadingZeros, 9);

    TypeOverSpin(dialog.RepeatEdit(), QStringLiteral("0"));
    EXPECT_GE(dialog.Settings().repeatEach, 1) << "a repeat of 0 is never accepted";
}

// ---- "Multi-line Text Editor"

TEST(TMultiLineEditorDialogTest, TypedLinesComeBackLineByLine)
{
    TMultiLineEditorDialog dialog({QStringLiteral("First"), QStringLiteral("Second")});
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.windowTitle(), "Multi-line Text Editor");
    EXPECT_EQ(dialog.Lines(), (QStringList{"First", "Second"}));
    test::SaveScreenshot(dialog, QStringLiteral("design-multi-line-editor-dialog"));

    dialog.Memo()->setFocus();
    dialog.Memo()->moveCursor(QTextCursor::End);
    QTest::keyClick(dialog.Memo(), Qt::Key_Return);
    QTest::keyClicks(dialog.Memo(), QStringLiteral("Third line"));
    EXPECT_EQ(dialog.Lines(), (QStringList{"First", "Second", "Third line"}));
    QTest::mouseClick(dialog.Buttons()->OkButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(TMultiLineEditorDialogTest, TypingStopsAt254CharactersWithLineBreaksCountingTwo)
{
    // 250 characters and one line break: 252, room for two more.
    const QString first(200, QLatin1Char('a'));
    const QString second(50, QLatin1Char('b'));
    TMultiLineEditorDialog dialog({first, second});
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.Memo()->setFocus();
    dialog.Memo()->moveCursor(QTextCursor::End);
    QTest::keyClicks(dialog.Memo(), QStringLiteral("cdef"));
    EXPECT_EQ(dialog.Lines(), (QStringList{first, second + "cd"}));
    EXPECT_EQ(TMultiLineEditorDialog::TextLength(dialog.Lines()), 254);

    // A line break would count two: refused at 254.
    QTest::keyClick(dialog.Memo(), Qt::Key_Return);
    EXPECT_EQ(dialog.Lines().size(), 2);

    // Deleting makes room again.
    QTest::keyClick(dialog.Memo(), Qt::Key_Backspace);
    QTest::keyClick(dialog.Memo(), Qt::Key_Backspace);
    QTest::keyClick(dialog.Memo(), Qt::Key_Return);
    EXPECT_EQ(dialog.Lines(), (QStringList{first, second, QString()}));
}

TEST(TMultiLineEditorDialogTest, StoredTextLongerThanTheLimitIsCutAndCancelRejects)
{
    TMultiLineEditorDialog dialog({QString(300, QLatin1Char('x'))});
    EXPECT_EQ(dialog.Lines(), QStringList{QString(254, QLatin1Char('x'))});
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(dialog.Buttons()->CancelButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);

    TMultiLineEditorDialog empty({});
    EXPECT_TRUE(empty.Lines().isEmpty());
}

// ---- "Text 3D Effects"

TEST(TText3DEffectsDialogTest, ChoicesShowOnTheSampleAndApplyAfterOk)
{
    TGPLabel object;
    object.SetCaption(QStringLiteral("Hello"));
    object.SetDepthShadow(2);
    object.SetDirectionShadow(TGShadowDirection::sdDownRight);
    TText3DEffectsDialog dialog(object);
    std::vector<QColor> offered;
    dialog.ChooseColor = [&offered](const QColor& current) -> std::optional<QColor> {
        offered.push_back(current);
        return offered.size() == 1 ? std::optional<QColor>(QColor(Qt::red))
                                   : std::optional<QColor>(QColor(Qt::blue));
    };
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.windowTitle(), "Text 3D Effects");
    EXPECT_EQ(dialog.ShadowDirectionBox()->currentText(), "Lower Right");
    EXPECT_EQ(dialog.ShadowDepthEdit()->value(), 2);
    EXPECT_EQ(dialog.HighlightDirectionBox()->currentText(), "Upper Left");
    EXPECT_EQ(dialog.Sample().Caption(), "Sample");
    test::SaveScreenshot(dialog, QStringLiteral("design-text-3d-effects-dialog"));

    // Shadow: down by keyboard in the combo, depth up three steps.
    dialog.ShadowDirectionBox()->setFocus();
    QTest::keyClick(dialog.ShadowDirectionBox(), Qt::Key_Down); // Lower Right -> Lower Left
    EXPECT_EQ(dialog.Sample().DirectionShadow(), TGShadowDirection::sdDownLeft);
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(dialog.ShadowDepthEdit(), Qt::Key_Up);
    EXPECT_EQ(dialog.Sample().DepthShadow(), 5) << "the sample follows at once";
    // Highlight: the first entry turns it off; depth typed.
    dialog.HighlightDirectionBox()->setFocus();
    QTest::keyClick(dialog.HighlightDirectionBox(), Qt::Key_Home);
    EXPECT_EQ(dialog.Sample().DirectionHighlight(), TGHighlightDirection::hdNone);
    TypeOverSpin(dialog.HighlightDepthEdit(), QStringLiteral("10"));
    EXPECT_EQ(dialog.Sample().DepthHighlight(), 10);
    // Colours through the buttons.
    QTest::mouseClick(dialog.ShadowColorButton(), Qt::LeftButton);
    QTest::mouseClick(dialog.FontColorButton(), Qt::LeftButton);
    ASSERT_EQ(offered.size(), 2u);
    EXPECT_EQ(offered[0], TGBaseLabel::kDefaultShadow.ToQColor())
        << "the current colour is offered";
    EXPECT_EQ(dialog.Sample().ColorShadow(), TGColor::FromQColor(Qt::red));
    EXPECT_EQ(dialog.Sample().Font().Color(), TGColor::FromQColor(Qt::blue));
    test::SaveScreenshot(dialog, QStringLiteral("design-text-3d-effects-dialog-changed"));

    // Nothing reaches the object before Ok.
    EXPECT_EQ(object.DepthShadow(), 2);
    QTest::mouseClick(dialog.Buttons()->OkButton(), Qt::LeftButton);
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    dialog.ApplyTo(object);
    EXPECT_EQ(object.Caption(), "Hello") << "the sample's caption stays in the dialog";
    EXPECT_EQ(object.DirectionShadow(), TGShadowDirection::sdDownLeft);
    EXPECT_EQ(object.DepthShadow(), 5);
    EXPECT_EQ(object.DirectionHighlight(), TGHighlightDirection::hdNone);
    EXPECT_EQ(object.DepthHighlight(), 10);
    EXPECT_EQ(object.ColorShadow(), TGColor::FromQColor(Qt::red));
    EXPECT_EQ(object.Font().Color(), TGColor::FromQColor(Qt::blue));
}

TEST(TText3DEffectsDialogTest, AColourDialogClosedWithoutChoiceChangesNothing)
{
    TGPLabel object;
    TText3DEffectsDialog dialog(object);
    int asked = 0;
    dialog.ChooseColor = [&asked](const QColor&) -> std::optional<QColor> {
        ++asked;
        return std::nullopt;
    };
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(dialog.HighlightColorButton(), Qt::LeftButton);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(dialog.Sample().ColorHighlight(), TGBaseLabel::kDefaultHighlight);
    QTest::mouseClick(dialog.Buttons()->CancelButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

} // namespace
} // namespace qm::design
