#pragma once

// The single-line text base (abstract): caption, font, alignment, 3D shadow and highlight, and the
// four rotations. Stream order after the bounds: Alignment, DepthHighlight, DepthShadow,
// DirectionHighlight, DirectionShadow, colorHighlight, colorShadow, Angle, Caption (when not
// empty), Font.*, Transparent (always), BackColor (always); derived kinds append theirs.
//
// Contract:
// - A new object has Caption "Text", 142 x 33, "Arial" 10 point black, Transparent, white
//   BackColor, depths 0, hdUpLeft, sdDownRight, aqua highlight, grey shadow, Angle 0.
// - Every setter of a property that changes the text's layout (caption, font, angle, alignment,
//   depths, directions) and every bounds or scale change sets LayoutDirty() and asks for a
//   repaint; the kinds lay out again when they paint or print with the flag set, then clear it.
//   Setters raise no change notification; the commands that call them do (NotifyChanged).
// - SetAngle ignores anything but 0, 90, 180, 270, also when read from a stream.

#include "design/core/TGGraphicControl.h"
#include "design/stream/TGColor.h"
#include "design/stream/TGEnumNames.h"
#include "design/text/TGFont.h"

#include <QString>

namespace qm::design {

class TGBaseLabel : public TGGraphicControl {
public:
    static constexpr std::int32_t kDefaultWidth = 142;
    static constexpr std::int32_t kDefaultHeight = 33;
    static constexpr TGColor kDefaultHighlight = TGColor{0xFFFF00}; // aqua, 16776960
    static constexpr TGColor kDefaultShadow = TGColor{0x808080};    // grey, 8421504

    TGBaseLabel();

    TGAlignment Alignment() const { return mAlignment; }
    void SetAlignment(TGAlignment alignment);
    int DepthHighlight() const { return mDepthHighlight; }
    void SetDepthHighlight(int depth);
    int DepthShadow() const { return mDepthShadow; }
    void SetDepthShadow(int depth);
    TGHighlightDirection DirectionHighlight() const { return mDirectionHighlight; }
    void SetDirectionHighlight(TGHighlightDirection direction);
    TGShadowDirection DirectionShadow() const { return mDirectionShadow; }
    void SetDirectionShadow(TGShadowDirection direction);
    TGColor ColorHighlight() const { return mColorHighlight; }
    void SetColorHighlight(TGColor color);
    TGColor ColorShadow() const { return mColorShadow; }
    void SetColorShadow(TGColor color);
    int Angle() const { return mAngle; }
    // Only 0, 90, 180 and 270 are taken; any other value keeps the previous angle.
    void SetAngle(int degrees);
    const QString& Caption() const { return mCaption; }
    void SetCaption(const QString& caption);
    const TGFont& Font() const { return mFont; }
    void SetFont(const TGFont& font);
    bool Transparent() const { return mTransparent; }
    void SetTransparent(bool on);
    TGColor BackColor() const { return mBackColor; }
    void SetBackColor(TGColor color);

    // Point size the text is drawn at on screen: trunc(font points x Scale).
    int ScreenPointSize() const;

    bool LayoutDirty() const { return mLayoutDirty; }
    void SetLayoutDirty(bool dirty) { mLayoutDirty = dirty; }

    void ApplyFont(const TGFont& font) override { SetFont(font); }
    void WriteProperties(TLayoutWriter& out) const override;
    bool ReadProperty(const QByteArray& name, const TLayoutValue& value) override;

protected:
    void BoundsMoved() override { mLayoutDirty = true; }
    void ScaleSet() override { mLayoutDirty = true; }
    // Sets the dirty flag and asks for a repaint.
    void TextChanged();

private:
    TGAlignment mAlignment = TGAlignment::taLeftJustify;
    int mDepthHighlight = 0;
    int mDepthShadow = 0;
    TGHighlightDirection mDirectionHighlight = TGHighlightDirection::hdUpLeft;
    TGShadowDirection mDirectionShadow = TGShadowDirection::sdDownRight;
    TGColor mColorHighlight = kDefaultHighlight;
    TGColor mColorShadow = kDefaultShadow;
    int mAngle = 0;
    QString mCaption = QStringLiteral("Text");
    TGFont mFont;
    bool mTransparent = true;
    TGColor mBackColor = kclWhite;
    bool mLayoutDirty = true;
};

} // namespace qm::design
