#include "richtext/TRichPager.h"

#include "richtext/TTextUnits.h"

#include <QAbstractTextDocumentLayout>
#include <QImage>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextLayout>
#include <QUrl>
#include <algorithm>

namespace qm::richtext {

namespace {

// Paragraphs longer than this keep their shaped text between drawings (see Build); shorter ones
// are shaped again when drawn, which costs little and keeps the memory of a long letter low.
constexpr int kKeepShapedLength = 4096;

// The device the copy is laid out on: 1440 dots per inch, so a layout unit is a twip. Qt scales
// fonts and format lengths to it; nothing is drawn on it.
QPaintDevice& LayoutDevice()
{
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32_Premultiplied);
        const int dotsPerMeter = qRound(1440 / 0.0254);
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        return image;
    }();
    return device;
}

} // namespace

TRichPager::TRichPager() = default;
TRichPager::~TRichPager() = default;

void TRichPager::Build(const QTextDocument& document, const QStringList& pictures,
                       const TPageLayout& layout)
{
    mLayout = layout.IsUsable() ? layout : TPageLayout::Default();
    mLayoutCopy.reset(document.clone());
    QTextDocument& copy = *mLayoutCopy;
    for (const QString& name : pictures)
        copy.addResource(QTextDocument::ImageResource, QUrl(name),
                         document.resource(QTextDocument::ImageResource, QUrl(name)));
    // Qt's layout scales spacing, line heights and pictures from reference pixels (TTextUnits)
    // to the device, but takes the indents as device pixels; on the copy they become twips.
    const double toTwips = 1440.0 / TTextUnits::ReferenceDpi();
    copy.setUndoRedoEnabled(false);
    QTextCursor editing(&copy);
    editing.beginEditBlock();
    for (QTextBlock block = copy.begin(); block.isValid(); block = block.next()) {
        QTextBlockFormat format = block.blockFormat();
        format.setLeftMargin(format.leftMargin() * toTwips);
        format.setRightMargin(format.rightMargin() * toTwips);
        format.setTextIndent(format.textIndent() * toTwips);
        QTextCursor(block).setBlockFormat(format);
    }
    editing.endEditBlock();
    copy.setDefaultFont(document.defaultFont());
    copy.setDocumentMargin(0);
    // Unhinted widths: the same line breaks whatever device the pages are later drawn on.
    copy.setUseDesignMetrics(true);
    copy.documentLayout()->setPaintDevice(&LayoutDevice());
    // A paragraph's layout normally keeps only its lines and shapes its whole text again each
    // time a part of it is drawn; for a paragraph spanning many pages that made every page cost
    // the whole paragraph. Long paragraphs keep what the layout shaped, so each page draws its
    // own lines only.
    for (QTextBlock block = copy.begin(); block.isValid(); block = block.next())
        if (block.length() > kKeepShapedLength)
            block.layout()->setCacheEnabled(true);
    copy.setTextWidth(mLayout.TextWidth());
    (void)copy.documentLayout()->documentSize(); // lays the whole copy out

    mLines.clear();
    for (QTextBlock block = copy.begin(); block.isValid(); block = block.next()) {
        const QTextLayout* textLayout = block.layout();
        if (!textLayout)
            continue;
        const QPointF origin = textLayout->position();
        const bool breakBefore =
            block.blockFormat().pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore;
        const int count = textLayout->lineCount();
        for (int i = 0; i < count; ++i) {
            const QTextLine line = textLayout->lineAt(i);
            const double top = origin.y() + line.y();
            mLines.push_back({block.position() + line.textStart(), top, top + line.height(),
                              breakBefore && i == 0});
        }
    }
    if (mLines.empty())
        mLines.push_back({0, 0, 0, false});
}

std::size_t TRichPager::LineIndex(int position) const
{
    const auto after =
        std::upper_bound(mLines.begin(), mLines.end(), position,
                         [](int value, const TLine& line) { return value < line.position; });
    return after == mLines.begin() ? 0 : static_cast<std::size_t>(after - mLines.begin() - 1);
}

std::size_t TRichPager::PageEnd(std::size_t first) const
{
    const double top = mLines[first].top;
    const double height = mLayout.TextHeight();
    std::size_t end = first + 1;
    while (end < mLines.size() && !mLines[end].breakBefore && mLines[end].bottom - top <= height)
        ++end;
    return end;
}

int TRichPager::NextPageStart(int start) const
{
    if (mLines.empty())
        return -1;
    const std::size_t end = PageEnd(LineIndex(start));
    return end < mLines.size() ? mLines[end].position : -1;
}

QList<int> TRichPager::PageStarts() const
{
    QList<int> starts;
    if (mLines.empty())
        return {0};
    std::size_t first = 0;
    while (first < mLines.size()) {
        starts.append(first == 0 ? 0 : mLines[first].position);
        first = PageEnd(first);
    }
    return starts;
}

double TRichPager::LineTop(int position) const
{
    return mLines.empty() ? 0 : mLines[LineIndex(position)].top;
}

int TRichPager::DrawPage(QPainter& painter, const QRectF& rect, double zoom, int start) const
{
    if (!mLayoutCopy || mLines.empty())
        return -1;
    const std::size_t first = LineIndex(start);
    const std::size_t end = PageEnd(first);
    const double top = mLines[first].top;
    const double bottom = std::max(mLines[end - 1].bottom, top);

    QPaintDevice* device = painter.device();
    const double dpiX = device ? device->logicalDpiX() : 96;
    const double dpiY = device ? device->logicalDpiY() : 96;
    const double factor = std::max(zoom, 0.0) / 100.0;

    painter.save();
    painter.translate(rect.topLeft());
    painter.scale(dpiX / TPageLayout::TwipsPerInch * factor,
                  dpiY / TPageLayout::TwipsPerInch * factor);
    painter.translate(0, -top);
    // The page's band of lines, across the whole paper so indents into the margins show; the
    // foot is cut at the text height for a line taller than the page.
    const QRectF band(-mLayout.marginLeft, top, mLayout.paperWidth,
                      std::min(bottom - top, double(mLayout.TextHeight())));
    painter.setClipRect(band, Qt::IntersectClip);
    QAbstractTextDocumentLayout::PaintContext context;
    context.clip = band;
    context.palette.setColor(QPalette::Text, Qt::black);
    mLayoutCopy->documentLayout()->draw(&painter, context);
    painter.restore();
    return end < mLines.size() ? mLines[end].position : -1;
}

} // namespace qm::richtext
