#include "reports/ui/TReportMiniatureView.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace qm::reports {

namespace {

// Room around the largest page for its shadow and the selection mark.
constexpr int kPad = 8;
// The longest side of any of the layouts, in miniature pixels.
int LargestSide()
{
    double inches = 0;
    for (const TReportLayout& layout : TReportSettings::Layouts())
        inches = std::max({inches, layout.widthInches, layout.heightInches});
    return int(std::ceil(inches * TReportMiniature::kPixelsPerInch));
}

const char* BandCaption(TReportBand band)
{
    switch (band) {
    case TReportBand::Header:
        return "Header";
    case TReportBand::Detail:
        return "Detail";
    case TReportBand::Memo:
        return "Memo";
    case TReportBand::Footer:
        return "Footer";
    }
    return "";
}

} // namespace

TReportMiniatureView::TReportMiniatureView(const TReportSettings& settings, int ppi,
                                           QWidget* parent)
    : QWidget(parent), mSettings(settings), mPpi(ppi), mMiniature(settings, ppi)
{
    setObjectName(QStringLiteral("Miniature"));
    setToolTip(QStringLiteral("Click a band or the page to change its settings"));
    setAccessibleName(QStringLiteral("Page miniature"));
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void TReportMiniatureView::SetSettings(const TReportSettings& settings)
{
    mSettings = settings;
    mMiniature = TReportMiniature(settings, mPpi);
    update();
}

void TReportMiniatureView::SetSelected(TMiniatureHit selected)
{
    mSelected = selected;
    update();
}

QSize TReportMiniatureView::sizeHint() const
{
    const int side = LargestSide() + 2 * kPad;
    return {side, side};
}

QPoint TReportMiniatureView::Origin() const
{
    const QRect& page = mMiniature.Page();
    return {(width() - page.width()) / 2, (height() - page.height()) / 2};
}

QPoint TReportMiniatureView::ToWidget(const QPoint& miniature) const
{
    return miniature + Origin();
}

void TReportMiniatureView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.translate(Origin());
    const QRect& page = mMiniature.Page();
    const QColor highlight = palette().color(QPalette::Highlight);

    p.fillRect(page.translated(3, 3), QColor(0, 0, 0, 60));
    p.fillRect(page, Qt::white);

    // Edges are drawn on the last pixel row and column inside each rectangle, so the
    // rectangles stay exactly where the geometry puts them.
    auto outline = [&p](const QRect& r, const QPen& pen) {
        if (r.isEmpty())
            return;
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(0, 0, -1, -1));
    };
    outline(mMiniature.Inner(), QPen(QColor(160, 160, 160), 0, Qt::DotLine));

    QFont font = p.font();
    for (const TMiniatureBand& band : mMiniature.Bands()) {
        const TBandFrame& frame = mSettings.Frame(band.band);
        const QColor fill = TReportSettings::ShadeColor(frame.shadeColor, frame.shadePercent);
        p.fillRect(band.box, fill);
        outline(band.box, QPen(QColor(200, 200, 200), 0));
        for (const QRect& strip : band.strips)
            p.fillRect(strip, Qt::black);
        if (band.box.height() >= 9) {
            font.setPixelSize(std::min(band.box.height() - 3, 11));
            p.setFont(font);
            p.setPen(fill.lightness() < 110 ? Qt::white : QColor(90, 90, 90));
            p.drawText(band.box.adjusted(4, 0, -4, 0), Qt::AlignLeft | Qt::AlignVCenter,
                       QString::fromLatin1(BandCaption(band.band)));
        }
    }

    outline(page, QPen(Qt::black, 0));
    if (mSelected == TMiniatureHit::Page) {
        outline(page.adjusted(-2, -2, 2, 2), QPen(highlight, 0, Qt::DashLine));
    } else {
        for (const TMiniatureBand& band : mMiniature.Bands())
            if (TReportMiniature::HitFor(band.band) == mSelected)
                outline(band.box.adjusted(-1, -1, 1, 1), QPen(highlight, 2));
    }
}

void TReportMiniatureView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    const TMiniatureHit hit = mMiniature.HitTest(event->position().toPoint() - Origin());
    if (hit != TMiniatureHit::None && mClickHandler)
        mClickHandler(hit);
}

} // namespace qm::reports
