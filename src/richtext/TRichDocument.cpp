#include "richtext/TRichDocument.h"

#include "richtext/TRichPager.h"
#include "richtext/TRtfWriter.h"

#include <QAtomicInteger>
#include <QObject>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QUrl>

namespace qm::richtext {

namespace {

QAtomicInteger<quint64> gAddedPictures{0};

void CopyResources(const QTextDocument& from, QTextDocument& to, const QStringList& names)
{
    for (const QString& name : names)
        to.addResource(QTextDocument::ImageResource, QUrl(name),
                       from.resource(QTextDocument::ImageResource, QUrl(name)));
}

} // namespace

TRichDocument::TRichDocument()
    : mDocument(std::make_unique<QTextDocument>()), mPager(std::make_unique<TRichPager>())
{
    mDocument->setDocumentMargin(0);
    mDocument->setDefaultFont(QFont(QStringLiteral("Arial"), 10));
    QObject::connect(mDocument.get(), &QTextDocument::contentsChanged, mDocument.get(),
                     [this] { Invalidate(); });
}

TRichDocument::~TRichDocument() = default;

void TRichDocument::Invalidate()
{
    mPagerValid = false;
}

bool TRichDocument::SetPageLayout(const TPageLayout& layout)
{
    if (!layout.IsUsable())
        return false;
    mLayout = layout;
    Invalidate();
    return true;
}

TRtfReadResult TRichDocument::LoadRtf(const QByteArray& bytes)
{
    // Read into a scratch document so a refused text leaves this one as it was.
    QTextDocument scratch;
    scratch.setDefaultFont(mDocument->defaultFont());
    TRtfReadResult result = TRtfReader::Read(bytes, scratch);
    if (!result.ok)
        return result;
    TakeContent(scratch, result.pictures);
    mLayout = result.layout;
    mDocument->clearUndoRedoStacks();
    Invalidate();
    return result;
}

TRtfReadResult TRichDocument::InsertRtf(QTextCursor& cursor, const QByteArray& bytes)
{
    QTextDocument scratch;
    scratch.setDefaultFont(mDocument->defaultFont());
    TRtfReadResult result = TRtfReader::Read(bytes, scratch);
    if (!result.ok)
        return result;
    CopyResources(scratch, *mDocument, result.pictures);
    mPictures += result.pictures;
    cursor.insertFragment(QTextDocumentFragment(&scratch));
    return result;
}

QByteArray TRichDocument::SaveRtf() const
{
    return TRtfWriter::Write(*mDocument, mLayout);
}

void TRichDocument::Clear()
{
    mDocument->clear();
    mDocument->clearUndoRedoStacks();
    mPictures.clear();
    mLayout = TPageLayout::Default();
    Invalidate();
}

void TRichDocument::CopyFrom(const TRichDocument& other)
{
    if (&other == this)
        return;
    mDocument->setDefaultFont(other.mDocument->defaultFont());
    TakeContent(*other.mDocument, other.mPictures);
    mLayout = other.mLayout;
    Invalidate();
}

void TRichDocument::TakeContent(const QTextDocument& source, const QStringList& pictures)
{
    // Replacing the whole text is not an undo step (callers clear or keep the history).
    const bool undo = mDocument->isUndoRedoEnabled();
    mDocument->setUndoRedoEnabled(false);
    mDocument->clear();
    mPictures.clear();
    CopyResources(source, *mDocument, pictures);
    mPictures = pictures;
    QTextCursor cursor(mDocument.get());
    cursor.beginEditBlock();
    cursor.insertFragment(QTextDocumentFragment(&source));
    // A fragment inserted into an empty paragraph does not bring the formats of its first (and
    // its paragraph marks); the copy takes every paragraph's formats from the source.
    QTextBlock to = mDocument->begin();
    for (QTextBlock from = source.begin(); from.isValid() && to.isValid();
         from = from.next(), to = to.next()) {
        QTextCursor paragraph(to);
        paragraph.setBlockFormat(from.blockFormat());
        paragraph.setBlockCharFormat(from.charFormat());
    }
    cursor.endEditBlock();
    mDocument->setUndoRedoEnabled(undo);
}

void TRichDocument::InsertText(QTextCursor& cursor, const QString& text,
                               const QTextCharFormat& format)
{
    qsizetype from = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool end = i == text.size();
        const QChar c = end ? QChar() : text[i];
        if (!end && c != QChar(u'\r') && c != QChar(u'\n'))
            continue;
        if (i > from)
            cursor.insertText(text.mid(from, i - from), format);
        if (end)
            break;
        if (c == QChar(u'\r') && i + 1 < text.size() && text[i + 1] == QChar(u'\n'))
            ++i;
        cursor.insertBlock(cursor.blockFormat(), format);
        from = i + 1;
    }
}

void TRichDocument::ReplaceSelection(QTextCursor& cursor, const QString& text)
{
    const int start = cursor.selectionStart();
    QTextCursor first(cursor.document());
    first.setPosition(start);
    first.setPosition(start + 1, QTextCursor::KeepAnchor);
    const QTextCharFormat format = first.charFormat(); // the format of the character before the
                                                       // cursor's position, the selection's first
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    InsertText(cursor, text, format);
    cursor.endEditBlock();
}

QString TRichDocument::AddPicture(const QByteArray& bytes)
{
    if (!bytes.startsWith("\x89PNG") && !bytes.startsWith("\xFF\xD8"))
        return {};
    const QString name =
        QStringLiteral("rtfimage:%1").arg(gAddedPictures.fetchAndAddRelaxed(1) + 1);
    mDocument->addResource(QTextDocument::ImageResource, QUrl(name), bytes);
    mPictures.append(name);
    return name;
}

void TRichDocument::SetPageBreakBefore(int position, bool on)
{
    const QTextBlock block = mDocument->findBlock(position);
    if (!block.isValid())
        return;
    QTextCursor cursor(block);
    QTextBlockFormat format = block.blockFormat();
    format.setPageBreakPolicy(on ? QTextFormat::PageBreak_AlwaysBefore
                                 : QTextFormat::PageBreak_Auto);
    cursor.setBlockFormat(format);
}

bool TRichDocument::PageBreakBefore(int position) const
{
    const QTextBlock block = mDocument->findBlock(position);
    return block.isValid() &&
           (block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore);
}

QFont TRichDocument::DefaultFont() const
{
    return mDocument->defaultFont();
}

void TRichDocument::SetDefaultFont(const QFont& font)
{
    mDocument->setDefaultFont(font);
    Invalidate();
}

const TRichPager& TRichDocument::Pager() const
{
    if (!mPagerValid) {
        mPager->Build(*mDocument, mPictures, mLayout);
        mPagerValid = true;
    }
    return *mPager;
}

int TRichDocument::DrawPage(QPainter& painter, const QRectF& rect, double zoom, int start) const
{
    return Pager().DrawPage(painter, rect, zoom, start);
}

int TRichDocument::NextPageStart(int start) const
{
    return Pager().NextPageStart(start);
}

QList<int> TRichDocument::PageStarts() const
{
    return Pager().PageStarts();
}

} // namespace qm::richtext
