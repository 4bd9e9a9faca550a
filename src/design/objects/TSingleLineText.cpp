#include "design/objects/TSingleLineText.h"

#include "design/objects/TGBaseLabel.h"
#include "design/text/TDesignTextMeasure.h"
#include "design/text/TDesignUnits.h"
#include "design/text/TSymbolFont.h"
#include "print/TBaseReport.h"

#include <QPainter>

#include <algorithm>

namespace qm::design {

namespace {

print::TColor PrintColor(TGColor color)
{
    return print::TColor::FromQColor(color.ToQColor());
}

QRect ToRect(const TEdges& e)
{
    return QRect(QPoint(e.left, e.top), QPoint(e.right - 1, e.bottom - 1));
}

} // namespace

QFont TSingleLineText::ScreenFont(const TGBaseLabel& label)
{
    return TDesignTextMeasure::ScreenFont(label.Font(), label.ScreenPointSize());
}

QString TSingleLineText::ShownText(const TGBaseLabel& label, const QString& caption)
{
    return TSymbolFont::DisplayText(label.Font().Name(), caption);
}

const TSingleLineLayout& TSingleLineText::LayOut(TGBaseLabel& label, const QString& caption,
                                                 bool force)
{
    if (!force && !label.LayoutDirty())
        return mLayout;
    // The line height depends on the font alone; measuring it again for every record a report
    // or label job prints would cost more than all the drawing.
    const int pointSize = label.ScreenPointSize();
    const int ppi = TDesignUnits::Ppi();
    if (!mMetricsValid || !(mMetricsFont == label.Font()) || mMetricsPointSize != pointSize ||
        mMetricsPpi != ppi) {
        const QFont font = ScreenFont(label);
        mLineHeight =
            TDesignTextMeasure::CellHeight(font) + TDesignTextMeasure::ExternalLeading(font);
        mMetricsFont = label.Font();
        mMetricsPointSize = pointSize;
        mMetricsPpi = ppi;
        mMetricsValid = true;
    }
    // The caption's width places only rotated, right-aligned or centred text and sizes a label
    // too narrow to show any; a left-aligned caption at angle 0 needs no measuring.
    const bool widthNeeded =
        label.Angle() != 0 || label.Alignment() != TGAlignment::taLeftJustify || label.Width() <= 5;
    mTextWidth = widthNeeded ? TDesignTextMeasure::TextWidth(
                                   ScreenFont(label), ShownText(label, caption) + QLatin1Char(' '))
                             : 0;

    TSingleLineInput in;
    in.textWidth = mTextWidth;
    in.lineHeight = mLineHeight;
    in.angle = label.Angle();
    in.alignment = label.Alignment();
    in.depthShadow = label.DepthShadow();
    in.directionShadow = label.DirectionShadow();
    in.depthHighlight = label.DepthHighlight();
    in.directionHighlight = label.DirectionHighlight();
    in.width = label.Width();
    in.height = label.Height();
    mLayout = TSingleLineLayout::Compute(in);
    if (mLayout.width != label.Width() || mLayout.height != label.Height())
        label.FitShownSize(mLayout.width, mLayout.height);
    label.SetLayoutDirty(false);
    return mLayout;
}

void TSingleLineText::Paint(TGBaseLabel& label, QPainter& painter, const QString& caption)
{
    LayOut(label, caption, label.Width() < 5 || label.Height() < 5);
    const QString shownText = ShownText(label, caption);
    painter.save();
    if (!label.Transparent())
        painter.fillRect(QRect(0, 0, label.Width(), label.Height()), label.BackColor().ToQColor());

    const QFont font = ScreenFont(label);
    const int ascent = TDesignTextMeasure::Ascent(font);
    painter.setFont(font);
    painter.setBackgroundMode(Qt::TransparentMode);
    auto draw = [&](const TEdges& rect, QPoint origin, TGColor color) {
        painter.save();
        painter.setClipRect(ToRect(rect));
        painter.setPen(color.ToQColor());
        painter.translate(origin);
        painter.rotate(-label.Angle());
        painter.drawText(QPoint(0, ascent), shownText);
        painter.restore();
    };
    draw(mLayout.shadow, mLayout.shadowOrigin, label.ColorShadow());
    draw(mLayout.highlight, mLayout.highlightOrigin, label.ColorHighlight());
    draw(mLayout.main, mLayout.mainOrigin, label.Font().Color());
    painter.restore();
}

void TSingleLineText::Print(TGBaseLabel& label, print::TBaseReport& canvas, double x, double y,
                            const QString& caption)
{
    LayOut(label, caption, true);
    const double ppi = TDesignUnits::Ppi();
    const double left = double(label.Left());
    const double top = double(label.Top());
    auto px = [&](double v) { return x + (left + v) / ppi; };
    auto py = [&](double v) { return y + (top + v) / ppi; };

    if (!label.Transparent()) {
        const print::TColor back = PrintColor(label.BackColor());
        canvas.SetPen(back, print::TPenStyle::psClear, print::TPenMode::pmCopy, 0);
        canvas.SetBrush(back, print::TBrushStyle::bsSolid);
        canvas.DrawRectangle(px(0), py(0), px(label.Width() - 1), py(label.Height() - 1));
    }
    if (caption.isEmpty())
        return; // an empty field prints nothing, not even an empty text command
    const TGFont& font = label.Font();
    canvas.SetFont(font.Name(), font.PointSize());
    canvas.SetBold(font.Bold());
    canvas.SetItalic(font.Italic());
    canvas.SetFontRotation(label.Angle());
    canvas.SetBrush(print::kWhite, print::TBrushStyle::bsClear);

    constexpr double kBleed = 0.03; // inches the clip reaches past the left and top edges
    auto text = [&](const TEdges& r, QPoint origin, TGColor color) {
        canvas.SetFontColor(PrintColor(color));
        const QRect clip =
            canvas.MakeRect(px(r.left) - kBleed, py(r.top) - kBleed, px(r.right), py(r.bottom));
        canvas.TextInRect(clip, px(origin.x()), py(origin.y()), caption);
    };
    if (label.DepthShadow() > 0 && label.DirectionShadow() != TGShadowDirection::sdNone)
        text(mLayout.shadow, mLayout.shadowOrigin, label.ColorShadow());
    if (label.DepthHighlight() > 0 && label.DirectionHighlight() != TGHighlightDirection::hdNone)
        text(mLayout.highlight, mLayout.highlightOrigin, label.ColorHighlight());
    text(mLayout.main, mLayout.mainOrigin, font.Color());
    canvas.SetFontRotation(0);
}

void TSingleLineText::FitWidth(TGBaseLabel& label, const QString& caption)
{
    if (label.Angle() != 0)
        return;
    LayOut(label, caption, true);
    const QString shownText = ShownText(label, caption);
    const QFont font = ScreenFont(label);
    const std::int32_t leftEdge =
        std::max({mLayout.main.left, mLayout.shadow.left, mLayout.highlight.left});
    const std::int32_t topEdge =
        std::max({mLayout.main.top, mLayout.shadow.top, mLayout.highlight.top});
    const std::int32_t width = std::max(
        label.Width(),
        leftEdge + TDesignTextMeasure::TextWidth(font, shownText + QStringLiteral("     ")));
    const std::int32_t height =
        std::max(label.Height(), topEdge + TDesignTextMeasure::CellHeight(font));
    if (width != label.Width() || height != label.Height())
        label.SetBounds(label.Left(), label.Top(), width, height);
}

void TSingleLineText::Rotate(TGBaseLabel& label, int angle)
{
    if (angle != 0 && angle != 90 && angle != 180 && angle != 270)
        return;
    if (!label.Reading() && TSingleLineLayout::SwapsOnAngle(angle, label.Width(), label.Height()))
        label.SetBounds(label.Left(), label.Top(), label.Height(), label.Width());
    if (angle != 0)
        label.SetAlignment(TGAlignment::taLeftJustify);
    label.SetAngle(angle);
}

} // namespace qm::design
