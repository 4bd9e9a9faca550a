#include "design/core/TGOwner.h"

#include "design/core/TGBasePanel.h"

#include <algorithm>

namespace qm::design {

void TGOwner::AddPanel(TGBasePanel* panel)
{
    if (std::find(mPanels.begin(), mPanels.end(), panel) == mPanels.end())
        mPanels.push_back(panel);
}

void TGOwner::RemovePanel(TGBasePanel* panel)
{
    mPanels.erase(std::remove(mPanels.begin(), mPanels.end(), panel), mPanels.end());
}

bool TGOwner::HasComponent(const QString& name) const
{
    if (mOtherNames.contains(name.toUpper()))
        return true;
    for (const TGBasePanel* panel : mPanels)
        if (panel->FindObject(name) != nullptr)
            return true;
    return false;
}

QString TGOwner::FreeComponentName() const
{
    for (int n = 0; n <= 1000; ++n) {
        const QString name = QStringLiteral("Component%1").arg(n);
        if (!HasComponent(name))
            return name;
    }
    return {};
}

QString TGOwner::FreeSpecialName() const
{
    for (int n = 1; n <= 1000; ++n) {
        const QString name = QStringLiteral("Special%1").arg(n);
        if (!HasComponent(name))
            return name;
    }
    return {};
}

} // namespace qm::design
