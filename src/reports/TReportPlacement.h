#pragma once

// Where and what a report band's drawing tools may place: the rectangle a drawn object starts
// in, the refusals of tools used in the wrong band (checked in a fixed order, each with its
// message), which bands take clicks while a tool is chosen, and the object kind each tool makes.

#include "reports/TReportPanelState.h"

#include <QByteArray>
#include <QRect>
#include <QString>
#include <optional>

namespace qm::reports {

// The shape a shape tool gives its object (the values of the shapes' Shape property).
enum class TReportShape { Rectangle, Ellipse, RoundRectangle };

class TReportPlacement {
public:
    // A drawn rectangle narrower than kNarrowWidth becomes kWidenedWidth wide; one lower than
    // kLowHeight becomes kLowHeight high. The top-left corner stays.
    static constexpr int kNarrowWidth = 25;
    static constexpr int kWidenedWidth = 50;
    static constexpr int kLowHeight = 15;

    // The rectangle an object dragged over `dragged` (normalised first) is made in.
    static QRect DrawnRect(const QRect& dragged);

    // Empty when the tool may place its object in the band; else the message shown (after a
    // beep) instead. The checks run in this order: the memo field outside the memo band, the
    // data field outside the detail band, date/time and page number outside the header and
    // footer, the picture outside the header.
    static QString Refusal(TPanelState tool, TPanelKind band);

    // Whether a band takes clicks while the tool is chosen: the data field only in the detail
    // band, the picture only in the header, date/time and page number in the header and the
    // footer, every other tool (the selection tool included) in all bands.
    static bool AcceptsClicks(TPanelState tool, TPanelKind band);

    // The registered class name of the object a tool makes; empty for the selection tool.
    static QByteArray ClassOf(TPanelState tool);
    // The shape of the shape tools; nothing for the others.
    static std::optional<TReportShape> ShapeOf(TPanelState tool);

    // The placeholder texts and the memo binding a new object starts with.
    static QString NewText() { return QStringLiteral("<text>"); }
    static QString NewField() { return QStringLiteral("<field>"); }
    static QString MemoFieldName() { return QStringLiteral("Memo"); }
    static QString MemoFieldDescript() { return QStringLiteral("MEMO"); }
};

} // namespace qm::reports
