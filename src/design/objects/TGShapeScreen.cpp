#include "design/objects/TGShapeScreen.h"

#include "design/text/TDesignUnits.h"

#include <QPaintEngine>
#include <QPainter>
#include <algorithm>

namespace qm::design {

int TGShapeScreen::PenWidth(int width, float scale)
{
    if (scale == 1.0f)
        return width;
    const int pw = TDesignUnits::Round(double(width) * double(scale));
    return width > 0 ? std::max(1, pw) : std::max(0, pw);
}

QPen TGShapeScreen::ScreenPen(const TGPen& pen, int pw, bool withStyle)
{
    if (pen.mode == print::TPenMode::pmNop || pw <= 0)
        return QPen(Qt::NoPen);
    QColor color = pen.color.ToQColor();
    if (pen.mode == print::TPenMode::pmBlack)
        color = Qt::black;
    else if (pen.mode == print::TPenMode::pmWhite)
        color = Qt::white;
    QPen qpen(color, pw, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
    if (withStyle) {
        switch (pen.style) {
        case print::TPenStyle::psDash:
            qpen.setStyle(Qt::DashLine);
            break;
        case print::TPenStyle::psDot:
            qpen.setStyle(Qt::DotLine);
            break;
        case print::TPenStyle::psDashDot:
            qpen.setStyle(Qt::DashDotLine);
            break;
        case print::TPenStyle::psDashDotDot:
            qpen.setStyle(Qt::DashDotDotLine);
            break;
        case print::TPenStyle::psClear:
            qpen.setStyle(Qt::NoPen);
            break;
        case print::TPenStyle::psSolid:
        case print::TPenStyle::psInsideFrame:
            break;
        }
    }
    return qpen;
}

QBrush TGShapeScreen::ScreenBrush(const TGBrush& brush)
{
    const QColor color = brush.color.ToQColor();
    switch (brush.style) {
    case print::TBrushStyle::bsSolid:
        return QBrush(color, Qt::SolidPattern);
    case print::TBrushStyle::bsClear:
        return QBrush(Qt::NoBrush);
    case print::TBrushStyle::bsHorizontal:
        return QBrush(color, Qt::HorPattern);
    case print::TBrushStyle::bsVertical:
        return QBrush(color, Qt::VerPattern);
    case print::TBrushStyle::bsFDiagonal:
        return QBrush(color, Qt::FDiagPattern);
    case print::TBrushStyle::bsBDiagonal:
        return QBrush(color, Qt::BDiagPattern);
    case print::TBrushStyle::bsCross:
        return QBrush(color, Qt::CrossPattern);
    case print::TBrushStyle::bsDiagCross:
        return QBrush(color, Qt::DiagCrossPattern);
    }
    return QBrush(Qt::NoBrush);
}

void TGShapeScreen::ApplyMode(QPainter& painter, print::TPenMode mode)
{
    QPainter::CompositionMode op = QPainter::CompositionMode_SourceOver;
    switch (mode) {
    case print::TPenMode::pmXor:
        op = QPainter::RasterOp_SourceXorDestination;
        break;
    case print::TPenMode::pmNotXor:
        op = QPainter::RasterOp_NotSourceXorDestination;
        break;
    case print::TPenMode::pmNot:
        op = QPainter::RasterOp_NotDestination;
        break;
    case print::TPenMode::pmNotCopy:
        op = QPainter::RasterOp_NotSource;
        break;
    case print::TPenMode::pmMask:
        op = QPainter::RasterOp_SourceAndDestination;
        break;
    case print::TPenMode::pmMerge:
        op = QPainter::RasterOp_SourceOrDestination;
        break;
    default:
        break;
    }
    if (op != QPainter::CompositionMode_SourceOver &&
        !(painter.paintEngine() && painter.paintEngine()->hasFeature(QPaintEngine::RasterOpModes)))
        op = QPainter::CompositionMode_SourceOver;
    painter.setCompositionMode(op);
}

int TGShapeScreen::Clamped(std::int64_t value)
{
    return int(std::clamp<std::int64_t>(value, INT32_MIN, INT32_MAX));
}

double TGShapeScreen::Inches(std::int64_t pixels)
{
    return double(pixels) / TDesignUnits::Ppi();
}

int TGShapeScreen::PrintablePenWidth(int width)
{
    constexpr int kLimit = 1000 * 100;
    return std::clamp(width, -kLimit, kLimit);
}

QRectF TGShapeScreen::StrokeRect(const QRect& figure, int pw)
{
    // The outline covers pixels x1 - c .. x2 - 1 + (pw - 1 - c); its centre line lies half a pen
    // inside those outer edges, which makes the centre rectangle one pixel smaller than the figure.
    const int c = pw / 2;
    const double half = pw / 2.0;
    return QRectF(double(figure.x()) - c + half, double(figure.y()) - c + half,
                  std::max(0.0, double(figure.width()) - 1),
                  std::max(0.0, double(figure.height()) - 1));
}

} // namespace qm::design
