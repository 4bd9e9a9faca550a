#pragma once

// A letter's text: a QTextDocument (formats, undo, find; shown by TRichEdit) with the page it is
// printed on, read from and written to RTF, broken into pages and drawn page by page on any
// QPainter (printer, QPdfWriter, screen). Qt Gui only, so the command-line tool can print.
//
// Lengths of the page are twips. The document's formats hold Qt's reference pixels; see
// TTextUnits. Positions are QTextDocument positions (characters from the start, each paragraph
// end counting one).
//
// Pages are computed on first use after a change (TRichPager) and kept until the next change, so
// drawing the pages of an unchanged document in turn lays it out once.
//
// Not copyable or movable: the editor and the page cache hold on to the QTextDocument.

#include "richtext/TPageLayout.h"
#include "richtext/TRtfReader.h"

#include <QByteArray>
#include <QFont>
#include <QList>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <memory>

class QPainter;
class QTextCharFormat;
class QTextCursor;
class QTextDocument;

namespace qm::richtext {

class TRichPager;

class TRichDocument {
public:
    TRichDocument();
    ~TRichDocument();
    TRichDocument(const TRichDocument&) = delete;
    TRichDocument& operator=(const TRichDocument&) = delete;

    QTextDocument& Document() { return *mDocument; }
    const QTextDocument& Document() const { return *mDocument; }

    // The page. SetPageLayout refuses (returns false, nothing changed) a layout that is not
    // usable (TPageLayout::IsUsable).
    const TPageLayout& PageLayout() const { return mLayout; }
    bool SetPageLayout(const TPageLayout& layout);

    // Replaces text and page with the RTF (or plain text) bytes. On failure (result.ok false)
    // the document and page are unchanged. The undo history is cleared.
    TRtfReadResult LoadRtf(const QByteArray& bytes);
    // Inserts the RTF's text at the cursor (replacing its selection); the page stays. On failure
    // nothing is inserted. The insertion is one undo step.
    TRtfReadResult InsertRtf(QTextCursor& cursor, const QByteArray& bytes);
    // The text and page as RTF (TRtfWriter).
    QByteArray SaveRtf() const;

    // Empties the text and puts back the default page; the undo history is cleared.
    void Clear();
    // Makes this document a copy of `other`: text, formats, pictures and page.
    void CopyFrom(const TRichDocument& other);

    // Inserts text at the cursor in the given format; CR LF, LF and CR each end a paragraph.
    static void InsertText(QTextCursor& cursor, const QString& text, const QTextCharFormat& format);
    // Replaces the cursor's selection with text (as InsertText) in the character format of the
    // selection's first character. The cursor ends behind the inserted text.
    static void ReplaceSelection(QTextCursor& cursor, const QString& text);

    // Adds a picture (PNG or JPEG bytes) as a resource and returns its name for a
    // QTextImageFormat; an empty name when the bytes are neither.
    QString AddPicture(const QByteArray& bytes);

    // Page break before the paragraph that holds `position`.
    void SetPageBreakBefore(int position, bool on);
    bool PageBreakBefore(int position) const;

    // Font used where the text names none (new text, plain text read in).
    QFont DefaultFont() const;
    void SetDefaultFont(const QFont& font);

    // Pages; see TRichPager for the rules. DrawPage returns the start of the next page or -1.
    int DrawPage(QPainter& painter, const QRectF& rect, double zoom, int start) const;
    int NextPageStart(int start) const;
    QList<int> PageStarts() const;
    int PageCount() const { return static_cast<int>(PageStarts().size()); }

private:
    const TRichPager& Pager() const;
    void Invalidate();
    // Replaces the content with `source`'s (text, formats, pictures named in `pictures`).
    void TakeContent(const QTextDocument& source, const QStringList& pictures);

    std::unique_ptr<QTextDocument> mDocument;
    TPageLayout mLayout;
    QStringList mPictures;
    mutable std::unique_ptr<TRichPager> mPager;
    mutable bool mPagerValid = false;
};

} // namespace qm::richtext
