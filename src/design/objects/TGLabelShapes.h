#pragma once

// Closed shapes on labels and envelopes: rectangle, square, rounded rectangle, rounded square,
// ellipse and circle (the square and circle kinds are not forced to equal sides). Stream order
// after the bounds: Transparent (always), Brush, Pen (members only when not default), RoundPerc
// (default 25), Shape (default stRectangle).
//
// Contract:
// - Transparent and the brush style go together: setting Transparent true makes the brush bsClear,
//   false makes it bsSolid; Transparent() reports the flag last set (read or toggled).
// - Screen: pen width pw from TGShapeScreen::PenWidth; the figure runs from (c, c) to
//   (Width + c - pw + 1, Height + c - pw + 1), c = pw div 2; rounded kinds use a k x k corner,
//   k = trunc(RoundPerc x 0.01 x the larger side). The pen style is not used on screen.
// - Printing: pen width trunc(pen width / PPI x 100) hundredths of an inch, the figure over the
//   object's rectangle in inches, rounded corners RoundPerc % of the larger side.
// - RoundedMenu(): whether the shape was rounded when its menu was built (AfterCreate); only then
//   does the menu offer "Degree of Rounding".

#include "design/core/TGBrush.h"
#include "design/core/TGGraphicControl.h"
#include "design/core/TGPen.h"

namespace qm::design {

enum class TGShapeType {
    stRectangle = 0,
    stSquare,
    stRoundRect,
    stRoundSquare,
    stEllipse,
    stCircle
};

class TGLabelShapes : public TGGraphicControl {
public:
    static constexpr const char* kClassName = "TGLabelShapes";
    static constexpr int kDefaultSize = 25;
    static constexpr int kDefaultRoundPerc = 25;

    TGLabelShapes();

    QByteArray ClassName() const override { return kClassName; }

    TGShapeType Shape() const { return mShape; }
    void SetShape(TGShapeType shape);
    bool IsRounded() const
    {
        return mShape == TGShapeType::stRoundRect || mShape == TGShapeType::stRoundSquare;
    }
    bool IsEllipse() const
    {
        return mShape == TGShapeType::stEllipse || mShape == TGShapeType::stCircle;
    }
    const TGPen& Pen() const { return mPen; }
    void SetPen(const TGPen& pen);
    const TGBrush& Brush() const { return mBrush; }
    void SetBrush(const TGBrush& brush);
    bool Transparent() const { return mTransparent; }
    void SetTransparent(bool on);
    int RoundPerc() const { return mRoundPerc; }
    void SetRoundPerc(int percent);

    bool RoundedMenu() const { return mRoundedMenu; }

    // The screen figure at the current bounds and Scale (see the contract), and the corner size
    // of rounded kinds.
    int ScreenPenWidth() const;
    QRect ScreenFigure() const;
    int ScreenCorner() const;

    void AfterCreate() override;
    void Paint(QPainter& painter) override;
    void PrintObject(print::TBaseReport& canvas, double x, double y) override;
    void WriteProperties(TLayoutWriter& out) const override;
    bool ReadProperty(const QByteArray& name, const TLayoutValue& value) override;

private:
    TGShapeType mShape = TGShapeType::stRectangle;
    TGPen mPen;
    TGBrush mBrush;
    bool mTransparent = false;
    int mRoundPerc = kDefaultRoundPerc;
    bool mRoundedMenu = false;
};

} // namespace qm::design
