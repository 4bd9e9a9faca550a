#pragma once

// Fixed single-line text. Stores the TGBaseLabel properties only.
//
// Contract: ConfigureDrawn() applies the settings of an object drawn with a tool (caption
// "<text>", the panel's font); the designer then opens the "Text" dialog (EditNew) and calls
// FitWidth() after it.

#include "design/objects/TGBaseLabel.h"
#include "design/objects/TSingleLineText.h"

namespace qm::design {

class TGPLabel : public TGBaseLabel {
public:
    static constexpr const char* kClassName = "TGPLabel";

    QByteArray ClassName() const override { return kClassName; }
    void Paint(QPainter& painter) override;
    void PrintObject(print::TBaseReport& canvas, double x, double y) override;

    void ConfigureDrawn(const TGFont& panelFont);
    // Replaces the caption (the "Text" dialog's Ok), fits the width and repaints.
    void ApplyText(const QString& caption);
    void FitWidth() { mText.FitWidth(*this, Caption()); }
    TSingleLineText& Text() { return mText; }

private:
    TSingleLineText mText;
};

} // namespace qm::design
