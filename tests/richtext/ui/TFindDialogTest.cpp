// The find and replace dialogs driven offscreen.

#include "richtext/ui/TFindDialog.h"
#include "TScriptedResponder.h"
#include "richtext/ui/TRichEdit.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace qm::richtext;

TEST(TFindDialogTest, FindNextSelectsEachMatchAndSaysWhenThereIsNone)
{
    qm::test::TScriptedResponder responder;
    TRichEdit editor;
    editor.LoadRtf("Dear Sir, dear friend");
    TFindDialog dialog(editor, TFindDialog::EMode::Find);
    EXPECT_EQ(dialog.windowTitle(), "Find");
    EXPECT_EQ(dialog.findChild<QPushButton*>("ReplaceButton"), nullptr);
    QTest::keyClicks(dialog.FindEdit(), "dear");
    QTest::mouseClick(dialog.findChild<QPushButton*>("FindNextButton"), Qt::LeftButton);
    EXPECT_EQ(editor.textCursor().selectionStart(), 0);
    QTest::mouseClick(dialog.findChild<QPushButton*>("FindNextButton"), Qt::LeftButton);
    EXPECT_EQ(editor.textCursor().selectionStart(), 10);
    dialog.MatchCaseBox()->setChecked(true);
    QTest::mouseClick(dialog.findChild<QPushButton*>("FindNextButton"), Qt::LeftButton);
    EXPECT_EQ(editor.textCursor().selectionStart(), 10); // wrapped round to the only match
    dialog.FindEdit()->setText("nowhere");
    EXPECT_FALSE(dialog.FindNextClick());
    EXPECT_EQ(responder.Texts(), QStringList({"The text \"nowhere\" was not found."}));
    dialog.FindEdit()->clear();
    EXPECT_FALSE(dialog.findChild<QPushButton*>("FindNextButton")->isEnabled());
}

TEST(TFindDialogTest, ReplaceAndReplaceAllWithWholeWords)
{
    qm::test::TScriptedResponder responder;
    TRichEdit editor;
    editor.LoadRtf("cat catalog cat cat");
    TFindDialog dialog(editor, TFindDialog::EMode::Replace);
    EXPECT_EQ(dialog.windowTitle(), "Replace");
    dialog.FindEdit()->setText("cat");
    dialog.ReplaceEdit()->setText("dog");
    dialog.WholeWordBox()->setChecked(true);
    // The first Replace finds; the next replaces the selected match and finds the next one.
    dialog.ReplaceClick();
    EXPECT_EQ(editor.toPlainText(), "cat catalog cat cat");
    EXPECT_EQ(editor.textCursor().selectedText(), "cat");
    dialog.ReplaceClick();
    EXPECT_EQ(editor.toPlainText(), "dog catalog cat cat");
    EXPECT_EQ(editor.textCursor().selectionStart(), 12);
    dialog.ReplaceAllClick();
    EXPECT_EQ(editor.toPlainText(), "dog catalog dog dog");
    EXPECT_EQ(responder.Texts(), QStringList({"2 replacements made."}));
    editor.undo();
    EXPECT_EQ(editor.toPlainText(), "dog catalog cat cat");
}
