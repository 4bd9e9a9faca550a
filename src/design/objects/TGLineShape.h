#pragma once

// A straight line: horizontal, vertical, or a diagonal of the object's rectangle sloping up or
// down. Stream order after the bounds: LineStyle (default stHorizontal), Pen (members only when
// not default).
//
// Contract:
// - Screen (pw from TGShapeScreen::PenWidth, c = pw div 2; end points excluded as on the
//   display): horizontal (c, c)-(Width + c - pw + 1, c); vertical (c, c)-(c, c + Height - pw + 1);
//   sloping up (Width, 0)-(0, Height); sloping down (0, 0)-(Width, Height).
// - Printing: pen width = the design width in hundredths of an inch, always pmCopy; one MoveTo
//   and one LineTo, the line lowered by (pen width div 2) design pixels.
// - StretchToEdges(): horizontal lines get Left 0 and the panel's width, vertical ones Top 0 and
//   the panel's height; sloped lines and lines without a panel are left alone.

#include "design/core/TGGraphicControl.h"
#include "design/core/TGPen.h"

#include <QLine>

namespace qm::design {

enum class TGLineStyle { stHorizontal = 0, stVertical, stAngleSlopingUp, stAngleSlopingDown };

class TGLineShape : public TGGraphicControl {
public:
    static constexpr const char* kClassName = "TGLineShape";
    static constexpr int kDefaultSize = 10;

    TGLineShape();

    QByteArray ClassName() const override { return kClassName; }

    TGLineStyle LineStyle() const { return mLineStyle; }
    void SetLineStyle(TGLineStyle style);
    const TGPen& Pen() const { return mPen; }
    void SetPen(const TGPen& pen);

    void StretchToEdges();

    int ScreenPenWidth() const;
    // The screen line from its first point to its (excluded) end point.
    QLine ScreenLine() const;

    void Paint(QPainter& painter) override;
    void PrintObject(print::TBaseReport& canvas, double x, double y) override;
    void WriteProperties(TLayoutWriter& out) const override;
    bool ReadProperty(const QByteArray& name, const TLayoutValue& value) override;

private:
    TGLineStyle mLineStyle = TGLineStyle::stHorizontal;
    TGPen mPen;
};

} // namespace qm::design
