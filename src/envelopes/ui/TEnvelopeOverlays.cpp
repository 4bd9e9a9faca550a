#include "envelopes/ui/TEnvelopeOverlays.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace qm::envelopes {

int TEnvelopeOverlays::Pixels(double inches, int ppi, float scale)
{
    return int(std::trunc(inches * ppi * double(scale)));
}

QRect TEnvelopeOverlays::PrinterMargins(const print::TPageGeometry& page, int ppi, float scale)
{
    // Whole design pixels first, then the scale: the rectangle lands where the face's own
    // (scaled) pixels are.
    const auto design = [ppi](double inches) { return int(std::trunc(inches * ppi)); };
    const auto scaled = [scale](int pixels) { return int(std::trunc(pixels * double(scale))); };
    const int left = scaled(design(page.leftWaste));
    const int top = scaled(design(page.topWaste));
    const int right = scaled(design(page.pageWidth - page.rightWaste));
    const int bottom = scaled(design(page.pageHeight - page.bottomWaste));
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

std::vector<TTemplateArea> TEnvelopeOverlays::TemplateAreas(int width, int height, int ppi,
                                                            float scale)
{
    const auto px = [ppi, scale](double inches) { return Pixels(inches, ppi, scale); };
    const int w = width;
    const int h = height;
    std::vector<TTemplateArea> areas;

    TTemplateArea ret;
    ret.caption = QStringLiteral("[Return Address Area]");
    ret.left = 1;
    ret.top = 1;
    ret.right = w / 2;
    ret.bottom = std::min(h - px(2.75), h / 3);
    ret.captionAt = QPoint(3, 3);
    areas.push_back(ret);

    TTemplateArea barcode;
    barcode.caption = QStringLiteral("[Barcode Clear Zone]");
    barcode.left = w - px(4);
    barcode.top = h - px(0.625);
    barcode.right = w - px(0.5);
    barcode.bottom = h - 1;
    barcode.captionAt = QPoint(barcode.left + 2, barcode.top + 2);
    areas.push_back(barcode);

    // The width test looks at the face as designed, not as zoomed.
    const bool wide = double(w) / double(scale) >= kWideEnvelopeInches * ppi;
    TTemplateArea address;
    address.caption = QStringLiteral("[Address Area]");
    address.left = wide ? w - px(9.75) : px(0.5);
    address.top = h - px(2.75);
    address.right = w - px(0.5);
    address.bottom = h - px(0.625);
    address.captionAt = QPoint(address.left + 2, address.top + 2);
    areas.push_back(address);

    TTemplateArea fim;
    fim.caption = QStringLiteral("[FIM Area]");
    fim.left = w - px(3);
    fim.top = 1;
    fim.right = w - px(2);
    fim.bottom = px(0.625);
    fim.captionAt = QPoint(w - px(3) + 2, 3);
    areas.push_back(fim);
    return areas;
}

void TEnvelopeOverlays::PaintPrinterMargins(QPainter& painter, const QRect& margins)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(Qt::red, 1, Qt::DotLine);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    // A stroked QRect covers one pixel more than the rectangle on each axis.
    painter.drawRect(margins.adjusted(0, 0, -1, -1));
    painter.restore();
}

void TEnvelopeOverlays::PaintTemplate(QPainter& painter, const std::vector<TTemplateArea>& areas,
                                      float scale)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(kCaptionPoints * double(scale));
    painter.setFont(font);
    const QFontMetrics metrics(font);
    for (const TTemplateArea& area : areas) {
        // The outline covers left .. right - 1 and top .. bottom - 1.
        const QRect rect(area.left, area.top, area.right - area.left - 1,
                         area.bottom - area.top - 1);
        QPen pen(kAreaOutline, 1);
        pen.setCosmetic(true);
        painter.setPen(pen);
        painter.setBrush(kAreaFill);
        painter.drawRect(rect);
        const QRect text = metrics.boundingRect(area.caption);
        const QRect back(area.captionAt, QSize(text.width() + 1, metrics.height()));
        painter.fillRect(back, kCaptionBack);
        painter.setPen(Qt::black);
        painter.drawText(back, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, area.caption);
    }
    painter.restore();
}

} // namespace qm::envelopes
