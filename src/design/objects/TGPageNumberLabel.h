#pragma once

// The page number (reports): "##" on screen, the canvas's current page number when printing.
// Stores the TGBaseLabel properties only.

#include "design/objects/TGBaseLabel.h"
#include "design/objects/TSingleLineText.h"

namespace qm::design {

class TGPageNumberLabel : public TGBaseLabel {
public:
    static constexpr const char* kClassName = "TGPageNumberLabel";

    QByteArray ClassName() const override { return kClassName; }
    void ConfigureDrawn(const TGFont& panelFont) { SetFont(panelFont); }

    void Paint(QPainter& painter) override;
    void PrintObject(print::TBaseReport& canvas, double x, double y) override;

private:
    TSingleLineText mText;
};

} // namespace qm::design
