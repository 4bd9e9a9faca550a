// The document's operations for letters: load and insert keep the text unchanged on failure,
// copy takes everything, text insertion and replacement with paragraph breaks and formats,
// page breaks and the page's limits.

#include "richtext/TRichDocument.h"
#include "TRtfTestSupport.h"

#include <QBuffer>
#include <QImage>
#include <QTextImageFormat>
#include <QUrl>
#include <gtest/gtest.h>

using namespace qm::richtext;
using namespace qm::richtext::test;

TEST(TRichDocumentTest, AFailedLoadOrInsertLeavesTextAndPageAsTheyWere)
{
    TRichDocument rich;
    ASSERT_TRUE(rich.LoadRtf(Rtf("\\paperw10000 kept\\par second")).ok);
    const QByteArray before = rich.SaveRtf();
    const QByteArray deep = "{\\rtf1 " + QByteArray(2000, '{') + "x";
    const auto result = rich.LoadRtf(deep);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(rich.SaveRtf(), before);
    QTextCursor cursor(&rich.Document());
    cursor.setPosition(2);
    EXPECT_FALSE(rich.InsertRtf(cursor, "{\\rtf1 \\bin-1 }").ok);
    EXPECT_EQ(rich.SaveRtf(), before);
    EXPECT_EQ(rich.PageLayout().paperWidth, 10000);
}

TEST(TRichDocumentTest, InsertRtfPutsFormattedParagraphsAtTheCursorAndKeepsThePage)
{
    TRichDocument rich;
    rich.LoadRtf("plain start end");
    QTextCursor cursor(&rich.Document());
    cursor.setPosition(6);
    const auto result = rich.InsertRtf(cursor, Rtf("\\paperw5000{\\b bold}\\par\\qc next "));
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(Paragraphs(rich.Document()), QStringList({"plain bold", "next start end"}));
    EXPECT_EQ(FormatAt(rich.Document(), 6).fontWeight(), QFont::Bold);
    EXPECT_EQ(rich.PageLayout(), TPageLayout::Default());
    // One step undoes it.
    rich.Document().undo();
    EXPECT_EQ(rich.Document().toPlainText(), "plain start end");
}

TEST(TRichDocumentTest, CopyFromTakesTextFormatsPicturesAndPage)
{
    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(Qt::green);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    TRichDocument source;
    ASSERT_TRUE(
        source
            .LoadRtf(
                Rtf(("\\paperw11000\\pard\\qc\\sb200{\\i first}\\par\\pard\\pagebb\\fs40 second "
                     "{\\pict\\pngblip " +
                     png.toHex() + "}")
                        .constData()))
            .ok);
    TRichDocument copy;
    copy.LoadRtf("old text");
    copy.CopyFrom(source);
    EXPECT_EQ(copy.SaveRtf(), source.SaveRtf());
    EXPECT_EQ(copy.PageLayout().paperWidth, 11000);
    // The copy is independent of its source.
    QTextCursor(&source.Document()).insertText("changed ");
    EXPECT_EQ(Paragraphs(copy.Document()).first(), "first");
}

TEST(TRichDocumentTest, InsertTextMakesEachLineEndOneParagraphBreak)
{
    TRichDocument rich;
    QTextCursor cursor(&rich.Document());
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    TRichDocument::InsertText(cursor, "a\r\nb\nc\rd\r\n", bold);
    EXPECT_EQ(Paragraphs(rich.Document()), QStringList({"a", "b", "c", "d", ""}));
    EXPECT_EQ(FormatAt(rich.Document(), 2).fontWeight(), QFont::Bold);
}

TEST(TRichDocumentTest, ReplaceSelectionTakesTheFormatOfTheSelectionsFirstCharacter)
{
    TRichDocument rich;
    ASSERT_TRUE(rich.LoadRtf(Rtf("Dear {\\b\\i [}{\\fs40 Name]}, hello")).ok);
    QTextCursor found = rich.Document().find("[Name]");
    ASSERT_FALSE(found.isNull());
    TRichDocument::ReplaceSelection(found, "John\r\nSmith");
    EXPECT_EQ(Paragraphs(rich.Document()), QStringList({"Dear John", "Smith, hello"}));
    for (int position : {5, 8, 10, 14}) {
        EXPECT_EQ(FormatAt(rich.Document(), position).fontWeight(), QFont::Bold) << position;
        EXPECT_TRUE(FormatAt(rich.Document(), position).fontItalic()) << position;
        EXPECT_EQ(FormatAt(rich.Document(), position).fontPointSize(), 12) << position;
    }
    EXPECT_EQ(found.position(), 15); // behind the inserted text
    EXPECT_NE(FormatAt(rich.Document(), 15).fontWeight(), QFont::Bold);
    // An empty text removes the marker.
    QTextCursor second = rich.Document().find("hello");
    TRichDocument::ReplaceSelection(second, "");
    EXPECT_EQ(Paragraphs(rich.Document()).last(), "Smith, ");
}

TEST(TRichDocumentTest, PageBreakFlagAndUnusablePagesAreRefused)
{
    TRichDocument rich;
    rich.LoadRtf("one\ntwo");
    EXPECT_FALSE(rich.PageBreakBefore(5));
    rich.SetPageBreakBefore(5, true);
    EXPECT_TRUE(rich.PageBreakBefore(4));
    EXPECT_FALSE(rich.PageBreakBefore(0));
    EXPECT_TRUE(rich.SaveRtf().contains("\\pard\\pagebb"));
    rich.SetPageBreakBefore(5, false);
    EXPECT_FALSE(rich.PageBreakBefore(5));

    EXPECT_FALSE(rich.SetPageLayout({12240, 15840, 6120, 6120, 1440, 1440}));
    EXPECT_FALSE(rich.SetPageLayout({0, 15840, 0, 0, 0, 0}));
    EXPECT_EQ(rich.PageLayout(), TPageLayout::Default());
    EXPECT_TRUE(rich.SetPageLayout({12240, 15840, 6119, 6120, 1440, 1440}));
    rich.Clear();
    EXPECT_TRUE(rich.Document().isEmpty());
    EXPECT_EQ(rich.PageLayout(), TPageLayout::Default());
}
