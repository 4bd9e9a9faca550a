#pragma once

// The envelope designer's thirteen tools: for each the hint its button shows, the object kind it
// draws (a registered class name; empty for the selection tool), the shape for the shape
// tools, and the rule for a dragged rectangle: narrower than 25 design pixels becomes 50 wide,
// lower than 15 becomes 15 high.

#include "design/objects/TGLabelShapes.h"

#include <QByteArray>
#include <QRect>
#include <QString>
#include <optional>
#include <vector>

namespace qm::envelopes {

enum class TEnvelopeTool {
    Selection,
    Text,
    MultiLineText,
    Rectangle,
    Ellipse,
    RoundRectangle,
    Line,
    ClipArt,
    PostnetBarcode,
    DatabaseField,
    MailingAddress,
    FimBarcode,
    ImbBarcode,
};

struct TEnvelopeToolInfo {
    TEnvelopeTool tool;
    QString hint;
    QString caption; // the button's own text where it has one ("FIM"); else it shows a picture
    QByteArray kind;
    std::optional<design::TGShapeType> shape;
    QString icon; // resource path of the button's picture
};

class TEnvelopeTools {
public:
    static constexpr int kNarrowWidth = 25;
    static constexpr int kWidenedWidth = 50;
    static constexpr int kMinHeight = 15;

    // In tool bar order.
    static const std::vector<TEnvelopeToolInfo>& Tools();
    static const TEnvelopeToolInfo& Info(TEnvelopeTool tool);
    // The tool that draws an object of the kind and shape (Selection for none).
    static TEnvelopeTool ToolFor(const QByteArray& kind, std::optional<design::TGShapeType> shape);
    // The rectangle an object dragged out as rect is created in.
    static QRect DroppedRect(const QRect& rect);
    // Why the tool cannot draw on a face this many inches wide (the Intelligent Mail barcode needs
    // 3.00); empty when it can.
    static QString Refusal(TEnvelopeTool tool, double faceWidthInches);
};

} // namespace qm::envelopes
