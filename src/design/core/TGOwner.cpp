#include "design/core/TGOwner.h"

#include "design/core/TGBasePanel.h"

#include <algorithm>
#include <bitset>

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
    return FreeName(QStringLiteral("Component"), 0);
}

QString TGOwner::FreeSpecialName() const
{
    return FreeName(QStringLiteral("Special"), 1);
}

QString TGOwner::FreeName(const QString& prefix, int first) const
{
    // One pass over every name marks the numbers in use; asking HasComponent for each candidate
    // instead made reading a layout quadratic in its objects per object (seconds for 500).
    std::bitset<kMaxNameNumber + 1> taken;
    const auto mark = [&](const QString& name) {
        if (name.size() <= prefix.size() || !name.startsWith(prefix, Qt::CaseInsensitive))
            return;
        const QStringView digits = QStringView(name).mid(prefix.size());
        bool ok = false;
        const int n = digits.toInt(&ok);
        // Only the name this number makes counts ("Special07" does not hold 7).
        if (ok && n >= 0 && n <= kMaxNameNumber && digits == QString::number(n))
            taken.set(std::size_t(n));
    };
    for (const QString& name : mOtherNames)
        mark(name);
    for (const TGBasePanel* panel : mPanels)
        for (const auto& object : panel->Objects())
            mark(object->Name());
    for (int n = first; n <= kMaxNameNumber; ++n)
        if (!taken.test(std::size_t(n)))
            return prefix + QString::number(n);
    return {};
}

} // namespace qm::design
