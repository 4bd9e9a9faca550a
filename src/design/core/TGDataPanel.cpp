#include "design/core/TGDataPanel.h"

namespace qm::design {

TGDataPanel::TGDataPanel(TGOwner* owner) : TGBasePanel(owner) {}

void TGDataPanel::SetDisplayDataValues(bool on)
{
    mDisplayDataValues = on;
    RefreshData();
}

} // namespace qm::design
