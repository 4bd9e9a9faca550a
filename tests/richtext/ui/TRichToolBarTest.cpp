// The tool bar follows the caret's format and applies its choices to the selection.

#include "richtext/ui/TRichToolBar.h"
#include "richtext/ui/TRichEdit.h"

#include <QAction>
#include <QComboBox>
#include <QFontComboBox>
#include <QTextBlock>
#include <gtest/gtest.h>

using namespace qm::richtext;

namespace {

QTextCharFormat At(TRichEdit& editor, int position)
{
    QTextCursor cursor(editor.document());
    cursor.setPosition(position + 1);
    return cursor.charFormat();
}

void Select(TRichEdit& editor, int from, int to)
{
    QTextCursor cursor = editor.textCursor();
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    editor.setTextCursor(cursor);
}

} // namespace

TEST(TRichToolBarTest, OffersSizesFromSixAndScalableFontsWithTheirCaptions)
{
    TRichEdit editor;
    TRichToolBar bar(editor);
    EXPECT_EQ(bar.SizeBox()->itemText(0), "6");
    EXPECT_EQ(bar.FontBox()->fontFilters(), QFontComboBox::ScalableFonts);
    EXPECT_EQ(bar.FontBox()->toolTip(), "Font");
    EXPECT_EQ(bar.SizeBox()->toolTip(), "Font Size");
}

TEST(TRichToolBarTest, ShowsTheFormatAtTheCaret)
{
    TRichEdit editor;
    TRichToolBar bar(editor);
    ASSERT_TRUE(
        editor
            .LoadRtf(
                "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red255\\green0\\blue0;}\\f0\\fs20 "
                "a{\\b\\i\\fs36\\cf1 b}c\\par\\qc d}")
            .ok);
    Select(editor, 2, 2);
    EXPECT_TRUE(bar.BoldAction()->isChecked());
    EXPECT_TRUE(bar.ItalicAction()->isChecked());
    EXPECT_EQ(bar.SizeBox()->currentText(), "18");
    EXPECT_EQ(bar.TextColourBox()->currentText(), "Red");
    Select(editor, 1, 1);
    EXPECT_FALSE(bar.BoldAction()->isChecked());
    EXPECT_EQ(bar.TextColourBox()->currentText(), "Automatic");
    Select(editor, 5, 5);
    EXPECT_TRUE(bar.AlignAction(Qt::AlignHCenter)->isChecked());
}

TEST(TRichToolBarTest, AppliesStylesSizeColourAndAlignmentToTheSelection)
{
    TRichEdit editor;
    TRichToolBar bar(editor);
    editor.LoadRtf("{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 abc}");
    Select(editor, 0, 2);
    bar.BoldAction()->trigger();
    bar.UnderlineAction()->trigger();
    EXPECT_EQ(At(editor, 0).fontWeight(), QFont::Bold);
    EXPECT_TRUE(At(editor, 1).fontUnderline());
    EXPECT_NE(At(editor, 2).fontWeight(), QFont::Bold);
    bar.SizeBox()->setCurrentText("24");
    emit bar.SizeBox()->textActivated("24");
    EXPECT_EQ(At(editor, 1).fontPointSize(), 24);
    EXPECT_EQ(At(editor, 2).fontPointSize(), 10);
    Select(editor, 0, 2);
    bar.TextColourBox()->setCurrentIndex(bar.TextColourBox()->findText("Blue"));
    emit bar.TextColourBox()->activated(bar.TextColourBox()->currentIndex());
    EXPECT_EQ(At(editor, 0).foreground().color(), QColor(0, 0, 255));
    Select(editor, 0, 2);
    bar.TextColourBox()->setCurrentIndex(0);
    emit bar.TextColourBox()->activated(0);
    EXPECT_FALSE(At(editor, 0).hasProperty(QTextFormat::ForegroundBrush));
    Select(editor, 0, 2);
    bar.NormalAction()->trigger();
    EXPECT_EQ(At(editor, 0).fontWeight(), QFont::Normal);
    EXPECT_FALSE(At(editor, 1).fontUnderline());
    bar.AlignAction(Qt::AlignRight)->trigger();
    EXPECT_TRUE(editor.document()->begin().blockFormat().alignment() & Qt::AlignRight);
    EXPECT_TRUE(editor.SaveRtf().contains("\\qr"));
}
