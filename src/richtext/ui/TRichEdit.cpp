#include "richtext/ui/TRichEdit.h"

#include "richtext/TRtfWriter.h"

#include <QBuffer>
#include <QEvent>
#include <QImage>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocumentFragment>
#include <QTextImageFormat>
#include <QUrl>

namespace qm::richtext {

namespace {

const QString RtfMime = QStringLiteral("text/rtf");
const QString RtfMimeAlternative = QStringLiteral("application/rtf");

} // namespace

TRichEdit::TRichEdit(QWidget* parent) : QTextEdit(parent)
{
    setObjectName(QStringLiteral("TRichEdit"));
    setDocument(&mRich.Document());
    setAcceptRichText(true);
    setTabChangesFocus(false);
    UpdateLineWidth();
}

TRtfReadResult TRichEdit::LoadRtf(const QByteArray& bytes)
{
    const TRtfReadResult result = mRich.LoadRtf(bytes);
    if (result.ok) {
        UpdateLineWidth();
        moveCursor(QTextCursor::Start);
    }
    return result;
}

TRtfReadResult TRichEdit::InsertRtf(const QByteArray& bytes)
{
    QTextCursor cursor = textCursor();
    const TRtfReadResult result = mRich.InsertRtf(cursor, bytes);
    if (result.ok)
        setTextCursor(cursor);
    return result;
}

bool TRichEdit::SetPageLayout(const TPageLayout& layout)
{
    if (!mRich.SetPageLayout(layout))
        return false;
    UpdateLineWidth();
    return true;
}

void TRichEdit::SetWordWrap(bool on)
{
    mWordWrap = on;
    UpdateLineWidth();
}

double TRichEdit::PixelsPerInch() const
{
    return logicalDpiX();
}

void TRichEdit::UpdateLineWidth()
{
    if (mWordWrap) {
        setLineWrapMode(QTextEdit::WidgetWidth);
        return;
    }
    setLineWrapMode(QTextEdit::FixedPixelWidth);
    setLineWrapColumnOrWidth(
        qRound(mRich.PageLayout().TextWidth() * PixelsPerInch() / TPageLayout::TwipsPerInch));
}

void TRichEdit::changeEvent(QEvent* event)
{
    QTextEdit::changeEvent(event);
    if (event->type() == QEvent::ScreenChangeInternal || event->type() == QEvent::FontChange)
        UpdateLineWidth();
}

void TRichEdit::ApplyCharFormat(const QTextCharFormat& format)
{
    QTextCursor cursor = textCursor();
    if (cursor.hasSelection())
        cursor.mergeCharFormat(format);
    mergeCurrentCharFormat(format);
}

void TRichEdit::InsertPageBreak()
{
    mRich.SetPageBreakBefore(textCursor().position(), true);
}

bool TRichEdit::canInsertFromMimeData(const QMimeData* source) const
{
    return source->hasFormat(RtfMime) || source->hasFormat(RtfMimeAlternative) ||
           source->hasImage() || source->hasText() || QTextEdit::canInsertFromMimeData(source);
}

void TRichEdit::insertFromMimeData(const QMimeData* source)
{
    for (const QString& mime : {RtfMime, RtfMimeAlternative}) {
        if (!source->hasFormat(mime))
            continue;
        QTextCursor cursor = textCursor();
        if (mRich.InsertRtf(cursor, source->data(mime)).ok) {
            setTextCursor(cursor);
            return;
        }
    }
    if (source->hasImage()) {
        const QImage image = qvariant_cast<QImage>(source->imageData());
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        if (!image.isNull() && image.save(&buffer, "PNG")) {
            QTextImageFormat picture;
            picture.setName(mRich.AddPicture(png));
            // Shown at the screen's 96 dots per inch of the picture.
            picture.setWidth(image.width());
            picture.setHeight(image.height());
            textCursor().insertImage(picture);
            return;
        }
    }
    if (source->hasText())
        textCursor().insertText(source->text());
}

QMimeData* TRichEdit::createMimeDataFromSelection() const
{
    auto* mime = new QMimeData;
    const QTextDocumentFragment fragment = textCursor().selection();
    mime->setText(fragment.toPlainText());
    TRichDocument selection;
    selection.SetDefaultFont(mRich.DefaultFont());
    QTextCursor cursor(&selection.Document());
    cursor.insertFragment(fragment);
    // Pictures travel with their bytes.
    for (QTextBlock block = selection.Document().begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat()) {
                const QString name = it.fragment().charFormat().toImageFormat().name();
                selection.Document().addResource(
                    QTextDocument::ImageResource, QUrl(name),
                    mRich.Document().resource(QTextDocument::ImageResource, QUrl(name)));
            }
    mime->setData(RtfMime, TRtfWriter::Write(selection.Document(), mRich.PageLayout()));
    return mime;
}

} // namespace qm::richtext
