// The editor: lines as wide as the page's text with word wrap off, the window's with it on; a
// refused load changes nothing; copy and paste carry RTF; a page break marks the paragraph.

#include "richtext/ui/TRichEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTextBlock>
#include <gtest/gtest.h>

using namespace qm::richtext;

TEST(TRichEditTest, WordWrapOffBreaksAtThePagesTextWidthAndOnAtTheWindow)
{
    TRichEdit editor;
    EXPECT_FALSE(editor.WordWrap());
    EXPECT_EQ(editor.lineWrapMode(), QTextEdit::FixedPixelWidth);
    EXPECT_EQ(editor.lineWrapColumnOrWidth(), qRound(6.5 * editor.PixelsPerInch()));
    ASSERT_TRUE(editor.LoadRtf("{\\rtf1\\paperw11906\\margl1134\\margr1134 x}").ok);
    EXPECT_EQ(editor.lineWrapColumnOrWidth(),
              qRound((11906 - 2268) / 1440.0 * editor.PixelsPerInch()));
    EXPECT_TRUE(editor.SetPageLayout({12240, 15840, 720, 720, 1440, 1440}));
    EXPECT_EQ(editor.lineWrapColumnOrWidth(), qRound(7.5 * editor.PixelsPerInch()));
    EXPECT_FALSE(editor.SetPageLayout({12240, 15840, 7000, 7000, 1440, 1440}));
    editor.SetWordWrap(true);
    EXPECT_EQ(editor.lineWrapMode(), QTextEdit::WidgetWidth);
}

TEST(TRichEditTest, ARefusedLoadLeavesTheTextAndUndoWorks)
{
    TRichEdit editor;
    ASSERT_TRUE(editor.LoadRtf("{\\rtf1 kept}").ok);
    EXPECT_FALSE(editor.LoadRtf("{\\rtf1 \\bin-3 x}").ok);
    EXPECT_EQ(editor.toPlainText(), "kept");
    editor.moveCursor(QTextCursor::End);
    editor.insertPlainText(" more");
    editor.undo();
    EXPECT_EQ(editor.toPlainText(), "kept");
}

TEST(TRichEditTest, CopyCarriesRtfAndPasteReadsIt)
{
    TRichEdit source;
    ASSERT_TRUE(source.LoadRtf("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0 plain {\\b bold} end}").ok);
    QTextCursor cursor = source.textCursor();
    cursor.setPosition(6);
    cursor.setPosition(10, QTextCursor::KeepAnchor);
    source.setTextCursor(cursor);
    source.copy();
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    EXPECT_EQ(mime->text(), "bold");
    EXPECT_TRUE(mime->data("text/rtf").startsWith("{\\rtf1"));
    TRichEdit target;
    target.paste();
    EXPECT_EQ(target.toPlainText(), "bold");
    QTextCursor check(target.document());
    check.setPosition(1);
    EXPECT_EQ(check.charFormat().fontWeight(), QFont::Bold);
    // HTML comes in as its plain text, so the letter stays within what RTF keeps.
    auto* html = new QMimeData;
    html->setHtml("<table><tr><td>cell</td></tr></table>");
    html->setText("cell");
    QApplication::clipboard()->setMimeData(html);
    target.paste();
    EXPECT_EQ(target.toPlainText(), "boldcell");
    EXPECT_EQ(target.document()->blockCount(), 1);
}

TEST(TRichEditTest, InsertPageBreakMarksTheParagraphAtTheCaret)
{
    TRichEdit editor;
    editor.LoadRtf("one\ntwo");
    editor.moveCursor(QTextCursor::End);
    editor.InsertPageBreak();
    EXPECT_TRUE(editor.Rich().PageBreakBefore(5));
    EXPECT_FALSE(editor.Rich().PageBreakBefore(0));
    EXPECT_EQ(editor.Rich().PageCount(), 2);
}
