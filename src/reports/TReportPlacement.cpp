#include "reports/TReportPlacement.h"

namespace qm::reports {

QRect TReportPlacement::DrawnRect(const QRect& dragged)
{
    QRect rect = dragged.normalized();
    if (rect.width() < kNarrowWidth)
        rect.setWidth(kWidenedWidth);
    if (rect.height() < kLowHeight)
        rect.setHeight(kLowHeight);
    return rect;
}

QString TReportPlacement::Refusal(TPanelState tool, TPanelKind band)
{
    using S = TPanelState;
    using K = TPanelKind;
    if (tool == S::psMultiLineDataLabel && band != K::rpkMemo)
        return QStringLiteral("This object may only be used in the memo band");
    if (tool == S::psDataLabel && band != K::rpkDetail)
        return QStringLiteral("This object may only be used in the detail band");
    if ((tool == S::psDateTime || tool == S::psPageNumber) && band != K::rpkHeader &&
        band != K::rpkFooter)
        return QStringLiteral("This object may only be used in the header or footer bands");
    if (tool == S::psImage && band != K::rpkHeader)
        return QStringLiteral("This object may only be used in the header band");
    return {};
}

bool TReportPlacement::AcceptsClicks(TPanelState tool, TPanelKind band)
{
    switch (tool) {
    case TPanelState::psDataLabel:
        return band == TPanelKind::rpkDetail;
    case TPanelState::psImage:
        return band == TPanelKind::rpkHeader;
    case TPanelState::psDateTime:
    case TPanelState::psPageNumber:
        return band == TPanelKind::rpkHeader || band == TPanelKind::rpkFooter;
    default:
        return true;
    }
}

QByteArray TReportPlacement::ClassOf(TPanelState tool)
{
    switch (tool) {
    case TPanelState::psPointing:
        return {};
    case TPanelState::psLabel:
        return QByteArrayLiteral("TGPLabel");
    case TPanelState::psDataLabel:
        return QByteArrayLiteral("TGPDLabel");
    case TPanelState::psMultiLineDataLabel:
        return QByteArrayLiteral("TGDMultiLineLabel");
    case TPanelState::psLine:
        return QByteArrayLiteral("TGLineShape");
    case TPanelState::psImage:
        return QByteArrayLiteral("TGImage");
    case TPanelState::psDateTime:
        return QByteArrayLiteral("TGDateTimeLabel");
    case TPanelState::psPageNumber:
        return QByteArrayLiteral("TGPageNumberLabel");
    case TPanelState::psSymbolLabel:
        return QByteArrayLiteral("TGSymbolLabel");
    case TPanelState::psRectangle:
    case TPanelState::psEllipse:
    case TPanelState::psRoundRectangle:
        return QByteArrayLiteral("Trpshapes");
    }
    return {};
}

std::optional<TReportShape> TReportPlacement::ShapeOf(TPanelState tool)
{
    switch (tool) {
    case TPanelState::psRectangle:
        return TReportShape::Rectangle;
    case TPanelState::psEllipse:
        return TReportShape::Ellipse;
    case TPanelState::psRoundRectangle:
        return TReportShape::RoundRectangle;
    default:
        return std::nullopt;
    }
}

} // namespace qm::reports
