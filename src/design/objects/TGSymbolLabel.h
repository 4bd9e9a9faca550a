#pragma once

// One character of a symbol font ("WingDings" 24 point, caption "[" at construction). Stores the
// TGBaseLabel properties only. Where the symbol face is not installed the character is shown as
// its pictogram (TSymbolFont); printing sends the stored code in the stored face.
//
// Contract: after every bounds change outside stream reading the object sizes itself to
// trunc(1.1 x the caption's width) by trunc(1.1 x its height) in its font at the current scale;
// so it does after a change of Scale, since the zoom sets the bounds before the Scale.

#include "design/objects/TGBaseLabel.h"
#include "design/objects/TSingleLineText.h"

namespace qm::design {

class TGSymbolLabel : public TGBaseLabel {
public:
    static constexpr const char* kClassName = "TGSymbolLabel";
    static constexpr int kDefaultPointSize = 24;

    TGSymbolLabel();

    QByteArray ClassName() const override { return kClassName; }

    // What the screen shows for the caption (the pictogram where the face is missing).
    QString ShownText() const;
    // The symbol size for the current caption, font and scale.
    QSize SymbolSize() const;
    void SizeToSymbol();
    // The "Symbol Selector" dialog's Ok: the font and the character with this code (32..255).
    void ApplySymbol(const TGFont& font, int code);

    void BoundsChanged() override;
    void Paint(QPainter& painter) override;
    void PrintObject(print::TBaseReport& canvas, double x, double y) override;

protected:
    void ScaleSet() override;

private:
    TSingleLineText mText;
    bool mSizing = false;
};

} // namespace qm::design
