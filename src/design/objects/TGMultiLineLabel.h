#pragma once

// Fixed multi-line text: stores its lines (Items) and the multi-line base properties.
//
// Contract: with WordWrap on, the wrapped lines follow every change of the font, the bounds, the
// text or the flag made through this class or the panel (Rewrap).

#include "design/objects/TGMultiLineBaseLabel.h"

namespace qm::design {

class TGMultiLineLabel : public TGMultiLineBaseLabel {
public:
    static constexpr const char* kClassName = "TGMultiLineLabel";
    // The editor holds at most this many characters.
    static constexpr int kMaxTextLength = 254;

    QByteArray ClassName() const override { return kClassName; }

    // The "Multi-line Text Editor" dialog's Ok: the lines replace Items, re-wrap, repaint.
    void ApplyLines(const QStringList& lines);
    // Settings of an object drawn with a tool: the panel's font (the designer then opens the
    // editor and fits the lines).
    void ConfigureDrawn(const TGFont& panelFont);
    void ToggleWordWrap();
    void ChangeFont(const TGFont& font);

    void Paint(QPainter& painter) override;
    void PrintObject(print::TBaseReport& canvas, double x, double y) override;
    bool ReadProperty(const QByteArray& name, const TLayoutValue& value) override;
};

} // namespace qm::design
