#pragma once

// Every object kind this build provides, by class name: the constructors the hosts' registration
// tables draw on (TGClassRegistry::RegisterHostKinds).

#include "design/core/TGClassRegistry.h"

#include <QByteArray>
#include <optional>

namespace qm::design {

class TGKindCatalogue {
public:
    static std::optional<TGClassRegistry::TFactory> Find(const QByteArray& className);
};

} // namespace qm::design
