#pragma once

// The design surface of the envelope face: draws the envelope designer's tools. A dragged
// rectangle is widened and heightened by the tool rule (TEnvelopeTools::DroppedRect); shape
// tools set their shape; text kinds start in the panel's default font; the text tool opens the
// new object's text dialog at once.

#include "design/ui/TGDesignSurface.h"
#include "envelopes/ui/TEnvelopeTools.h"

#include <functional>

namespace qm::envelopes {

class TEnvelopeSurface : public design::TGDesignSurface {
public:
    explicit TEnvelopeSurface(design::TGBasePanel& panel, QWidget* parent = nullptr);

    TEnvelopeTool Tool() const { return mTool; }
    void SetEnvelopeTool(TEnvelopeTool tool);

    design::TGGraphicControl* CreateObjectInRect(const QRect& rect) override;

    // Opens the text dialog of a new fixed text (tests replace it); the default is the kind's
    // properties dialog.
    std::function<void(design::TGGraphicControl&)> OnEditNewText;

private:
    TEnvelopeTool mTool = TEnvelopeTool::Selection;
};

} // namespace qm::envelopes
