#include "design/objects/TGKindCatalogue.h"

#include "design/objects/TGCounterLabel.h"
#include "design/objects/TGDMultiLineAddressLabel.h"
#include "design/objects/TGDMultiLineLabel.h"
#include "design/objects/TGDateTimeLabel.h"
#include "design/objects/TGImage.h"
#include "design/objects/TGFIMBarCode.h"
#include "design/objects/TGLabelShapes.h"
#include "design/objects/TGLineShape.h"
#include "design/objects/TGMultiLineLabel.h"
#include "design/objects/TGPDLabel.h"
#include "design/objects/TGPLabel.h"
#include "design/objects/TGPageNumberLabel.h"
#include "design/objects/TGPostNetBarCode.h"
#include "design/objects/TGSymbolLabel.h"
#include "design/objects/Trpshapes.h"

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

// The kinds this build provides. A kind is listed here once its class exists; kinds not built yet
// read as "Class %s not found".
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
    {TGImage::kClassName, &Make<TGImage>},
    {TGLabelShapes::kClassName, &Make<TGLabelShapes>},
    {Trpshapes::kClassName, &Make<Trpshapes>},
    {TGLineShape::kClassName, &Make<TGLineShape>},
    {TGPostNetBarCode::kClassName, &Make<TGPostNetBarCode>},
    {TGFIMBarCode::kClassName, &Make<TGFIMBarCode>},
};

} // namespace

std::optional<TGClassRegistry::TFactory> TGKindCatalogue::Find(const QByteArray& className)
{
    for (const TKind& kind : kKinds)
        if (className.compare(kind.name, Qt::CaseInsensitive) == 0)
            return kind.factory();
    return std::nullopt;
}

// Defined here rather than beside the registry: only the catalogue knows which kinds this build
// provides, and the registry sits below the kinds.
QList<QByteArray> TGClassRegistry::RegisterHostKinds(TGHostKind host)
{
    QList<QByteArray> missing;
    for (const QByteArray& name : HostKinds(host)) {
        if (auto factory = TGKindCatalogue::Find(name))
            Register(name, std::move(*factory));
        else
            missing.append(name);
    }
    return missing;
}

} // namespace qm::design
