#include "envelopes/ui/TEnvelopeTools.h"

#include "design/objects/TGDMultiLineAddressLabel.h"
#include "design/objects/TGFIMBarCode.h"
#include "design/objects/TGIMBarCode.h"
#include "design/objects/TGImage.h"
#include "design/objects/TGLineShape.h"
#include "design/objects/TGMultiLineLabel.h"
#include "design/objects/TGPDLabel.h"
#include "design/objects/TGPLabel.h"
#include "design/objects/TGPostNetBarCode.h"

namespace qm::envelopes {

using design::TGShapeType;

const std::vector<TEnvelopeToolInfo>& TEnvelopeTools::Tools()
{
    static const std::vector<TEnvelopeToolInfo> tools = {
        {TEnvelopeTool::Selection,
         QStringLiteral("Selection tool"),
         {},
         {},
         {},
         QStringLiteral(":/envelopes/tool-select.svg")},
        {TEnvelopeTool::Text,
         QStringLiteral("Text tool"),
         {},
         design::TGPLabel::kClassName,
         {},
         QStringLiteral(":/envelopes/tool-text.svg")},
        {TEnvelopeTool::MultiLineText,
         QStringLiteral("Multi-line text tool"),
         {},
         design::TGMultiLineLabel::kClassName,
         {},
         QStringLiteral(":/envelopes/tool-multiline.svg")},
        {TEnvelopeTool::Rectangle,
         QStringLiteral("Rectangle tool"),
         {},
         design::TGLabelShapes::kClassName,
         TGShapeType::stRectangle,
         QStringLiteral(":/envelopes/tool-rectangle.svg")},
        {TEnvelopeTool::Ellipse,
         QStringLiteral("Ellipse tool"),
         {},
         design::TGLabelShapes::kClassName,
         TGShapeType::stEllipse,
         QStringLiteral(":/envelopes/tool-ellipse.svg")},
        {TEnvelopeTool::RoundRectangle,
         QStringLiteral("Round Rectangle tool"),
         {},
         design::TGLabelShapes::kClassName,
         TGShapeType::stRoundRect,
         QStringLiteral(":/envelopes/tool-roundrect.svg")},
        {TEnvelopeTool::Line,
         QStringLiteral("Line Tool"),
         {},
         design::TGLineShape::kClassName,
         {},
         QStringLiteral(":/envelopes/tool-line.svg")},
        {TEnvelopeTool::ClipArt,
         QStringLiteral("Clip Art Tool"),
         {},
         design::TGImage::kClassName,
         {},
         QStringLiteral(":/envelopes/tool-clipart.svg")},
        {TEnvelopeTool::PostnetBarcode,
         QStringLiteral("Postnet Barcode tool"),
         {},
         design::TGPostNetBarCode::kClassName,
         {},
         QStringLiteral(":/envelopes/tool-postnet.svg")},
        {TEnvelopeTool::DatabaseField,
         QStringLiteral("Database Field tool"),
         {},
         design::TGPDLabel::kClassName,
         {},
         QStringLiteral(":/envelopes/tool-field.svg")},
        {TEnvelopeTool::MailingAddress,
         QStringLiteral("Database Mailing Address tool"),
         {},
         design::TGDMultiLineAddressLabel::kClassName,
         {},
         QStringLiteral(":/envelopes/tool-address.svg")},
        {TEnvelopeTool::FimBarcode,
         QStringLiteral("FIM Barcode tool"),
         QStringLiteral("FIM"),
         design::TGFIMBarCode::kClassName,
         {},
         {}},
        {TEnvelopeTool::ImbBarcode,
         QStringLiteral("Intelligent Mail Barcode tool"),
         {},
         design::TGIMBarCode::kClassName,
         {},
         QStringLiteral(":/envelopes/tool-imb.svg")},
    };
    return tools;
}

const TEnvelopeToolInfo& TEnvelopeTools::Info(TEnvelopeTool tool)
{
    for (const TEnvelopeToolInfo& info : Tools())
        if (info.tool == tool)
            return info;
    return Tools().front();
}

TEnvelopeTool TEnvelopeTools::ToolFor(const QByteArray& kind, std::optional<TGShapeType> shape)
{
    for (const TEnvelopeToolInfo& info : Tools())
        if (!kind.isEmpty() && info.kind.compare(kind, Qt::CaseInsensitive) == 0 &&
            (!info.shape || info.shape == shape))
            return info.tool;
    return TEnvelopeTool::Selection;
}

QRect TEnvelopeTools::DroppedRect(const QRect& rect)
{
    QRect result = rect.normalized();
    if (result.width() < kNarrowWidth)
        result.setWidth(kWidenedWidth);
    if (result.height() < kMinHeight)
        result.setHeight(kMinHeight);
    return result;
}

QString TEnvelopeTools::Refusal(TEnvelopeTool tool, double faceWidthInches)
{
    if (tool == TEnvelopeTool::ImbBarcode &&
        faceWidthInches < design::TGIMBarCode::kMinWidth - 1e-6)
        return QStringLiteral("This envelope is not wide enough for an \nIntelligent Mail "
                              "barcode. At least 3.00 inches are needed");
    return {};
}

} // namespace qm::envelopes
