#pragma once

// The class registry: maps the class names that layout streams store to constructors. Shared by
// the whole program for the rest of the run; each host registers its kinds when it is created
// (RegisterHostKinds), so a kind is readable once any host that registers it has been created.
// Looking up any other name fails with "Class %s not found".

#include "design/core/TGGraphicControl.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <functional>
#include <memory>

namespace qm::design {

enum class TGHostKind { Label, Envelope, Report };

class TGClassRegistry {
public:
    using TFactory = std::function<std::unique_ptr<TGGraphicControl>()>;

    // The program's registry.
    static TGClassRegistry& Instance();

    // Adds (or replaces) a kind. Names match in any letter case.
    void Register(const QByteArray& className, TFactory factory);
    bool IsRegistered(const QByteArray& className) const;
    // A new object of the kind; throws TLayoutError(ClassNotFound) "Class %s not found".
    std::unique_ptr<TGGraphicControl> Create(const QByteArray& className) const;
    // Forgets every kind (tests start from an empty registry).
    void Clear() { mFactories.clear(); }

    // The class names each host registers, in its table order.
    static QList<QByteArray> HostKinds(TGHostKind host);
    // Registers those of a host's kinds that this build provides (TGKindCatalogue); returns the
    // names it could not register (kinds not built yet). Defined with the catalogue, above the
    // kinds (design/objects), so a program that calls it links the object kinds.
    QList<QByteArray> RegisterHostKinds(TGHostKind host);

private:
    QHash<QByteArray, TFactory> mFactories; // upper-case name -> constructor
};

} // namespace qm::design
