#include "design/objects/TMultiLineText.h"

#include "design/objects/TGMultiLineBaseLabel.h"
#include "design/text/TDesignTextMeasure.h"
#include "design/text/TDesignUnits.h"
#include "design/text/TSymbolFont.h"
#include "design/text/TWordWrap.h"
#include "print/TBaseReport.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace qm::design {

QFont TMultiLineText::ScreenFont(const TGMultiLineBaseLabel& label)
{
    return TDesignTextMeasure::ScreenFont(label.Font(), label.ScreenPointSize());
}

std::int32_t TMultiLineText::LinePitch(const TGMultiLineBaseLabel& label)
{
    return TDesignTextMeasure::CellHeight(ScreenFont(label));
}

QString TMultiLineText::ShownText(const TGMultiLineBaseLabel& label, const QString& line)
{
    return TSymbolFont::DisplayText(label.Font().Name(), line);
}

QStringList TMultiLineText::WrapLines(const TGMultiLineBaseLabel& label, const QStringList& lines)
{
    const QFont font = ScreenFont(label);
    return TWordWrap::Wrap(lines, label.Width(), [&font, &label](const QString& text) {
        return double(TDesignTextMeasure::TextWidth(font, ShownText(label, text)));
    });
}

void TMultiLineText::Rewrap(TGMultiLineBaseLabel& label)
{
    if (label.WordWrap())
        label.SetWrappedLines(WrapLines(label, label.Items()));
}

void TMultiLineText::FitLines(TGMultiLineBaseLabel& label)
{
    const QFont font = ScreenFont(label);
    const QStringList lines = label.ShownLines();
    std::int32_t widest = label.Width();
    for (const QString& line : lines)
        widest = std::max(widest, TDesignTextMeasure::TextWidth(font, ShownText(label, line)));
    const std::int32_t height = LinePitch(label) * std::int32_t(lines.size());
    label.SetBounds(label.Left(), label.Top(), widest, height);
}

QStringList TMultiLineText::PaintedLines(const TGMultiLineBaseLabel& label)
{
    const QStringList& lines = label.ShownLines();
    if (lines.isEmpty() || (lines.size() == 1 && lines.first().trimmed().isEmpty()))
        return {label.BlankPlaceholder()};
    return lines;
}

void TMultiLineText::Paint(const TGMultiLineBaseLabel& label, QPainter& painter)
{
    const QFont font = ScreenFont(label);
    const std::int32_t pitch = TDesignTextMeasure::CellHeight(font);
    const std::int32_t ascent = TDesignTextMeasure::Ascent(font);
    painter.save();
    painter.setClipRect(QRect(0, 0, label.Width(), label.Height()));
    painter.setFont(font);
    painter.setPen(label.Font().Color().ToQColor());
    painter.setBackgroundMode(Qt::TransparentMode);
    std::int32_t top = 0;
    for (const QString& painted : PaintedLines(label)) {
        if (top >= label.Height())
            break;
        const QString line = ShownText(label, painted);
        const std::int32_t w = TDesignTextMeasure::TextWidth(font, line);
        std::int32_t x = 0;
        if (label.Alignment() == TGAlignment::taRightJustify)
            x = label.Width() - w - 1;
        else if (label.Alignment() == TGAlignment::taCenter)
            x = label.Width() / 2 - w / 2 + 1;
        painter.drawText(QPoint(x, top + ascent), line);
        top += pitch;
    }
    painter.restore();
}

void TMultiLineText::Print(const TGMultiLineBaseLabel& label, print::TBaseReport& canvas, double x,
                           double y, std::int32_t growTo)
{
    if (label.ShowsPlaceholder())
        return; // "[label]" or "<undefined memo>" left from the screen: nothing on paper
    const TGFont& font = label.Font();
    canvas.SetLineHeightMethod(print::TLineHeightMethod::lhmFont);
    canvas.SetFont(font.Name(), font.PointSize());
    canvas.SetBold(font.Bold());
    canvas.SetFontColor(print::TColor::FromQColor(font.Color().ToQColor()));
    canvas.SetItalic(font.Italic());
    canvas.SetFontRotation(0);
    canvas.SetBrush(print::kWhite, print::TBrushStyle::bsClear);

    const double ppi = TDesignUnits::Ppi();
    const double dpiX = canvas.XDpi();
    const double dpiY = canvas.YDpi();
    const int pitch = TDesignUnits::Round(canvas.LineHeight() * dpiY);
    const int q = TDesignUnits::Trunc(dpiX / ppi);
    const double left = x + label.Left() / ppi;
    const double top = y + label.Top() / ppi;
    const std::int64_t ownBottom = std::int64_t(label.Top()) + label.Height();
    const double bottom = double(std::max<std::int64_t>(ownBottom, growTo));
    const QRect r =
        canvas.MakeRect(left, top, x + (label.Left() + label.Width()) / ppi, y + bottom / ppi);
    // Edges as drawing rectangles count them: right and bottom exclusive.
    const int rl = r.left(), rt = r.top(), rr = r.right() + 1, rb = r.bottom() + 1;
    const int rw = rr - rl;

    int lineTop = rt;
    for (const QString& line : label.ShownLines()) {
        if (lineTop >= rb || pitch <= 0)
            break;
        const int lineBottom = std::min(lineTop + pitch, rb);
        const int w = TDesignUnits::Round(canvas.TextWidth(line) * dpiX);
        int offset = 0;
        if (label.Alignment() == TGAlignment::taRightJustify)
            offset = rw - w - q;
        else if (label.Alignment() == TGAlignment::taCenter)
            offset = rw / 2 + q - w / 2;
        const QRect clip(QPoint(rl, lineTop), QPoint(rr - 1, lineBottom - 1));
        canvas.TextInRect(clip, left + offset / dpiX, top + (lineTop - rt) / dpiY, line);
        lineTop = lineBottom;
    }
}

} // namespace qm::design
