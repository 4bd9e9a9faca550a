#include "reports/ui/TReportPanel.h"

#include "design/core/TGClassRegistry.h"
#include "reports/TReportBandGeometry.h"

#include <vector>

namespace qm::reports {

TReportPanel::TReportPanel(TPanelKind kind, design::TGOwner* owner)
    : TGDataPanel(owner), mKind(kind)
{
    design::TGClassRegistry::Instance().RegisterHostKinds(design::TGHostKind::Report);
}

void TReportPanel::SetPanelState(TPanelState state)
{
    mState = state;
    if (OnPanelStateChanged)
        OnPanelStateChanged(state);
}

void TReportPanel::PullObjectsInside()
{
    ClearSelection();
    for (const auto& object : Objects()) {
        const QPoint corner =
            TReportBandGeometry::PulledInside(object->BoundsRect(), Width(), Height());
        if (corner != object->BoundsRect().topLeft())
            object->SetBounds(corner.x(), corner.y(), object->Width(), object->Height());
    }
}

void TReportPanel::DropOutsideObjects()
{
    ClearSelection();
    std::vector<design::TGGraphicControl*> outside;
    for (const auto& object : Objects())
        if (TReportBandGeometry::DroppedOnSave(object->BoundsRect(), Width(), Height()))
            outside.push_back(object.get());
    for (design::TGGraphicControl* object : outside)
        DeleteObject(object);
}

} // namespace qm::reports
