#include "design/TGKindCatalogue.h"

namespace qm::design {

namespace {

template <class T>
TGClassRegistry::TFactory Make()
{
    return [] { return std::unique_ptr<TGGraphicControl>(new T()); };
}

struct TKind {
    const char* name;
    TGClassRegistry::TFactory (*factory)();
};

// The kinds this build provides. A kind is listed here once its class exists.
const TKind kKinds[] = {
    {nullptr, nullptr},
};

} // namespace

std::optional<TGClassRegistry::TFactory> TGKindCatalogue::Find(const QByteArray& className)
{
    for (const TKind& kind : kKinds)
        if (kind.name != nullptr && className.compare(kind.name, Qt::CaseInsensitive) == 0)
            return kind.factory();
    return std::nullopt;
}

} // namespace qm::design
