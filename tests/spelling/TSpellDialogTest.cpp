// The spell dialog driven offscreen: suggestions and the change-to text, each button, the closing
// message, and the editor's selection following the check.

#include "spelling/ui/TSpellDialog.h"
#include "TScreenshot.h"
#include "TScriptedResponder.h"
#include "TSpellTestSupport.h"
#include "TTestHome.h"
#include "spelling/TSpellChecker.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <gtest/gtest.h>

using namespace qm::spelling;
using namespace qm::spelling::test;

namespace {

class TSpellDialogTest : public ::testing::Test {
protected:
    TSpellDialogTest()
    {
        WriteHomeDictionary(mHome.Dir(), {"the", "cat", "sat", "on", "mat", "hello"});
    }
    void Click(TSpellDialog& dialog, const char* name)
    {
        auto* button = dialog.findChild<QPushButton*>(name);
        ASSERT_NE(button, nullptr) << name;
        QTest::mouseClick(button, Qt::LeftButton);
    }
    qm::test::TTestHome mHome;
    qm::test::TScriptedResponder mResponder;
};

} // namespace

TEST_F(TSpellDialogTest, WalksTheWordsWithEachButtonAndEndsWithTheMessage)
{
    TSpellChecker checker(mHome.Dir());
    QTextEdit editor;
    editor.setPlainText("the catt sat on teh mat, helo [Name] xyz teh qqq");
    TSpellDialog dialog(checker, editor);
    ASSERT_TRUE(dialog.Start());
    EXPECT_EQ(dialog.CurrentWord(), "catt");
    EXPECT_EQ(editor.textCursor().selectedText(), "catt");
    dialog.show();
    qm::test::SaveScreenshot(dialog, "spelling-dialog");
    EXPECT_TRUE(dialog.SuggestionList()->count() > 0);
    EXPECT_EQ(dialog.ChangeToEdit()->text(), dialog.SuggestionList()->item(0)->text());
    dialog.ChangeToEdit()->setText("cat");
    Click(dialog, "ChangeButton");
    EXPECT_EQ(dialog.CurrentWord(), "teh");
    dialog.ChangeToEdit()->setText("the");
    Click(dialog, "ChangeAllButton");
    EXPECT_EQ(dialog.CurrentWord(), "helo");
    Click(dialog, "IgnoreButton");
    EXPECT_EQ(dialog.CurrentWord(), "xyz");
    Click(dialog, "AddButton");
    EXPECT_EQ(dialog.CurrentWord(), "qqq");
    EXPECT_TRUE(mResponder.Texts().isEmpty());
    Click(dialog, "IgnoreAllButton");
    EXPECT_EQ(editor.toPlainText(), "the cat sat on the mat, helo [Name] xyz the qqq");
    EXPECT_EQ(mResponder.Texts(), QStringList({"The spelling check is complete."}));
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(checker.IsCorrect("xyz"));
}

TEST_F(TSpellDialogTest, ATextWithoutUnknownWordsOnlyGivesTheMessage)
{
    TSpellChecker checker(mHome.Dir());
    QTextEdit editor;
    editor.setPlainText("the cat sat on the mat [Whatever] 42nd");
    TSpellDialog::Run(checker, editor);
    EXPECT_EQ(mResponder.Texts(), QStringList({"The spelling check is complete."}));
}

TEST_F(TSpellDialogTest, ChoosingASuggestionFillsChangeToAndCloseStopsTheCheck)
{
    TSpellChecker checker(mHome.Dir());
    QTextEdit editor;
    editor.setPlainText("helo cat");
    TSpellDialog dialog(checker, editor);
    ASSERT_TRUE(dialog.Start());
    QListWidget* list = dialog.SuggestionList();
    ASSERT_GT(list->count(), 0);
    list->setCurrentRow(list->count() - 1);
    EXPECT_EQ(dialog.ChangeToEdit()->text(), list->item(list->count() - 1)->text());
    Click(dialog, "CloseButton");
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(mResponder.Texts().isEmpty());
    EXPECT_EQ(editor.toPlainText(), "helo cat");
}
