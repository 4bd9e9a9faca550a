#include "design/TGKindCatalogue.h"

#include "design/TGCounterLabel.h"
#include "design/TGDMultiLineAddressLabel.h"
#include "design/TGDMultiLineLabel.h"
#include "design/TGDateTimeLabel.h"
#include "design/TGMultiLineLabel.h"
#include "design/TGPDLabel.h"
#include "design/TGPLabel.h"
#include "design/TGPageNumberLabel.h"
#include "design/TGSymbolLabel.h"

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

// The kinds this build provides. A kind is listed here once its class exists; shapes, lines,
// pictures and barcodes are not built yet, so streams naming them read as "Class %s not found".
const TKind kKinds[] = {
    {TGPLabel::kClassName, &Make<TGPLabel>},
    {TGPDLabel::kClassName, &Make<TGPDLabel>},
    {TGCounterLabel::kClassName, &Make<TGCounterLabel>},
    {TGSymbolLabel::kClassName, &Make<TGSymbolLabel>},
    {TGDateTimeLabel::kClassName, &Make<TGDateTimeLabel>},
    {TGPageNumberLabel::kClassName, &Make<TGPageNumberLabel>},
    {TGMultiLineLabel::kClassName, &Make<TGMultiLineLabel>},
    {TGDMultiLineLabel::kClassName, &Make<TGDMultiLineLabel>},
    {TGDMultiLineAddressLabel::kClassName, &Make<TGDMultiLineAddressLabel>},
};

} // namespace

std::optional<TGClassRegistry::TFactory> TGKindCatalogue::Find(const QByteArray& className)
{
    for (const TKind& kind : kKinds)
        if (className.compare(kind.name, Qt::CaseInsensitive) == 0)
            return kind.factory();
    return std::nullopt;
}

} // namespace qm::design
