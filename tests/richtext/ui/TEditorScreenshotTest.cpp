// The editor with its tool bar and ruler, and its dialogs, laid out as the letter designer shows
// them; saved as pictures when QM_SCREENSHOT_DIR is set (see TScreenshot), and checked for the
// ruler following the caret's paragraph.

#include "TScreenshot.h"
#include "richtext/ui/TFindDialog.h"
#include "richtext/ui/TParagraphDialog.h"
#include "richtext/ui/TRichEdit.h"
#include "richtext/ui/TRichToolBar.h"
#include "richtext/ui/TRuler.h"

#include <QApplication>
#include <QMainWindow>
#include <QTextBlock>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using namespace qm::richtext;

TEST(TEditorScreenshotTest, EditorToolBarRulerAndDialogs)
{
    QMainWindow window;
    auto* central = new QWidget(&window);
    auto* editor = new TRichEdit(central);
    auto* ruler = new TRuler(*editor, central);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ruler);
    layout->addWidget(editor);
    window.setCentralWidget(central);
    auto* bar = new TRichToolBar(*editor, &window);
    window.addToolBar(bar);
    ASSERT_TRUE(editor
                    ->LoadRtf("{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Times New "
                              "Roman;}}{\\colortbl;\\red0\\green0\\blue160;}"
                              "\\pard\\qr\\f0\\fs20 March 3, 2026\\par\\pard\\sb240\\f1\\fs24 "
                              "[Name and Address]\\par"
                              "\\pard\\sb240\\b Dear [Full Name],\\b0\\par"
                              "\\pard\\li720\\fi-360\\sb120 Thank you for your order. We are "
                              "pleased to tell you that "
                              "{\\cf1\\i your books} are on their way and should reach [City] "
                              "within the week.\\par"
                              "\\pard\\sb240 Sincerely,}")
                    .ok);
    QTextCursor cursor = editor->textCursor();
    cursor.setPosition(editor->document()->findBlockByNumber(3).position() + 5);
    editor->setTextCursor(cursor);
    window.resize(900, 520);
    window.show();
    QApplication::processEvents();
    EXPECT_EQ(ruler->Settings().leftIndent, 720);
    EXPECT_EQ(ruler->Settings().firstIndent, -360);
    qm::test::SaveScreenshot(window, "richtext-editor");

    TParagraphDialog paragraph(ruler->Settings(), editor->Rich().PageLayout().TextWidth(), &window);
    paragraph.show();
    QApplication::processEvents();
    qm::test::SaveScreenshot(paragraph, "richtext-paragraph-dialog");
    TFindDialog replace(*editor, TFindDialog::EMode::Replace, &window);
    replace.show();
    QApplication::processEvents();
    qm::test::SaveScreenshot(replace, "richtext-replace-dialog");
}
