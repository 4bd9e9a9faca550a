#pragma once

// The editing surface of one report band: the shared design surface following its band's tool
// (TReportPanel::PanelState) with a cross-hair while a drawing tool is chosen. A press on a band
// that takes no clicks under the current tool only beeps. A drawn object starts in the placement
// rule's rectangle; a tool used in the wrong band beeps and says where it belongs, and places
// nothing. What each tool makes: a text "<text>" in the band's font, opened for editing; a data
// field "<field>" in the band's font, whose field the user then picks (the band then shows the
// record's values); the memo field on "Memo"; a solid line; a picture; a date/time and a page
// number in the band's font; a symbol the user picks; the three shapes.

#include "design/ui/TGDesignSurface.h"

#include <functional>

namespace qm::reports {

class TReportPanel;

class TReportBandSurface : public design::TGDesignSurface {
public:
    explicit TReportBandSurface(TReportPanel& band, QWidget* parent = nullptr);
    ~TReportBandSurface() override;

    TReportPanel& ReportPanel() const { return mBand; }

    design::TGGraphicControl* CreateObjectInRect(const QRect& rect) override;

    // Opens a new object's dialog (text, field, symbol); tests replace it. The default opens
    // the kind's properties dialog over the window.
    std::function<void(design::TGGraphicControl&)> OnEditObject;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void FollowState();
    void EditObject(design::TGGraphicControl& object);

    TReportPanel& mBand;
};

} // namespace qm::reports
