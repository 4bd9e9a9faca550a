#pragma once

// The owning window of design objects, as far as names go: object names are unique among the
// components of one window, which may host several panels (a report's three bands) and has
// components of its own (its controls). The panels register themselves; the window adds the
// names of its other components.

#include <QSet>
#include <QString>
#include <vector>

namespace qm::design {

class TGBasePanel;

class TGOwner {
public:
    TGOwner() = default;
    TGOwner(const TGOwner&) = delete;
    TGOwner& operator=(const TGOwner&) = delete;

    void AddPanel(TGBasePanel* panel);
    void RemovePanel(TGBasePanel* panel);
    const std::vector<TGBasePanel*>& Panels() const { return mPanels; }

    // Names of the window's components that are not design objects.
    void AddComponentName(const QString& name) { mOtherNames.insert(name.toUpper()); }

    // True when an object on any of the panels, or another component, has this name (component
    // names ignore letter case).
    bool HasComponent(const QString& name) const;

    // "Component" + the smallest N in 0..1000 not in use, or an empty text when all are taken.
    QString FreeComponentName() const;
    // "Special" + the smallest N in 1..1000 not in use, or an empty text when all are taken.
    QString FreeSpecialName() const;

private:
    static constexpr int kMaxNameNumber = 1000;
    // prefix + the smallest N in first..1000 that no component's name is, or an empty text.
    QString FreeName(const QString& prefix, int first) const;

    std::vector<TGBasePanel*> mPanels;
    QSet<QString> mOtherNames; // upper case
};

} // namespace qm::design
