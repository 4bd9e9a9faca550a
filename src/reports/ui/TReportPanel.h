#pragma once

// One band of a user-designed report (header, detail, memo or footer): a design panel bound to
// the address data set, with the band's kind, the tool its clicks draw with and whether it takes
// clicks at all under that tool. The editing surface (TReportBandSurface) follows PanelState with
// its tool and cursor, beeps at clicks the band does not take and places the tool's objects.
//
// Contract:
// - Creating a band registers the report bands' object kinds in the class registry (a report
//   layout is readable from then on).
// - PanelState starts at psPointing, the accepts-clicks flag at true.
// - Its own limits replace the panel's when objects are pulled in (the band shrank) and dropped
//   (the report is saved): see TReportBandGeometry.

#include "design/core/TGDataPanel.h"
#include "reports/TReportPanelState.h"

#include <functional>

namespace qm::reports {

class TReportPanel : public design::TGDataPanel {
public:
    explicit TReportPanel(TPanelKind kind, design::TGOwner* owner = nullptr);

    TPanelKind PAnelKind() const { return mKind; }
    void SetPAnelKind(TPanelKind kind) { mKind = kind; }

    TPanelState PanelState() const { return mState; }
    // Stores the tool and tells the surface (OnPanelStateChanged), which leaves the pointing
    // mode and shows the cross-hair for every tool but psPointing.
    void SetPanelState(TPanelState state);
    bool Pointing() const { return mState == TPanelState::psPointing; }

    // While false, a click on the band only beeps.
    bool AcceptsClicks() const { return mAcceptsClicks; }
    void SetAcceptsClicks(bool on) { mAcceptsClicks = on; }

    // Called when an object in the band is pressed in the pointing mode, before the surface
    // selects it.
    std::function<void(design::TGGraphicControl&)> ControlMouseDownEvent;
    // The surface's hook on PanelState.
    std::function<void(TPanelState)> OnPanelStateChanged;

    // Clears the selection; objects whose top lies below the band's height go up to its bottom
    // edge, objects whose left lies beyond its width go to its right edge.
    void PullObjectsInside() override;
    // Clears the selection; frees objects more than 10 pixels below or beyond the band and
    // objects without width or height.
    void DropOutsideObjects() override;

private:
    TPanelKind mKind;
    TPanelState mState = TPanelState::psPointing;
    bool mAcceptsClicks = true;
};

} // namespace qm::reports
