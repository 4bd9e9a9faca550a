#include "design/objects/TGKindCatalogue.h"

#include "design/objects/TGCounterLabel.h"
#include "design/objects/TGDMultiLineAddressLabel.h"
#include "design/objects/TGDMultiLineLabel.h"
#include "design/objects/TGDateTimeLabel.h"
#include "design/objects/TGFIMBarCode.h"
#include "design/objects/TGIMBarCode.h"
#include "design/objects/TGImage.h"
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

template <class T> TGKind Kind(TGKind::TDrawnSettings drawn = {})
{
    return TGKind{T::kClassName, [] { return std::unique_ptr<TGGraphicControl>(new T()); },
                  std::move(drawn)};
}

// The kind's own ConfigureDrawn(panelFont); the object is of the entry's kind (looked up by its
// class name).
template <class T> TGKind::TDrawnSettings Configure()
{
    return [](TGGraphicControl& object, const TGFont& font) {
        static_cast<T&>(object).ConfigureDrawn(font);
    };
}

std::vector<TGKind>& Store()
{
    // One line per kind.
    static std::vector<TGKind> kinds{
        Kind<TGPLabel>(Configure<TGPLabel>()),
        Kind<TGPDLabel>(Configure<TGPDLabel>()),
        Kind<TGCounterLabel>(Configure<TGCounterLabel>()),
        Kind<TGSymbolLabel>(), // keeps its own symbol font
        Kind<TGDateTimeLabel>(Configure<TGDateTimeLabel>()),
        Kind<TGPageNumberLabel>(Configure<TGPageNumberLabel>()),
        Kind<TGMultiLineLabel>(Configure<TGMultiLineLabel>()),
        Kind<TGDMultiLineLabel>(Configure<TGDMultiLineLabel>()),
        Kind<TGDMultiLineAddressLabel>(Configure<TGDMultiLineAddressLabel>()),
        Kind<TGImage>(),
        Kind<TGLabelShapes>(),
        Kind<Trpshapes>(),
        Kind<TGLineShape>(),
        Kind<TGPostNetBarCode>([](TGGraphicControl& object, const TGFont&) {
            static_cast<TGPostNetBarCode&>(object).ConfigureDrawn();
        }),
        Kind<TGFIMBarCode>(),
        Kind<TGIMBarCode>([](TGGraphicControl& object, const TGFont&) {
            static_cast<TGIMBarCode&>(object).ConfigureDrawn();
        }),
    };
    return kinds;
}

TGKind* FindIn(std::vector<TGKind>& kinds, const QByteArray& className)
{
    for (TGKind& kind : kinds)
        if (className.compare(kind.className, Qt::CaseInsensitive) == 0)
            return &kind;
    return nullptr;
}

} // namespace

const std::vector<TGKind>& TGKindCatalogue::Kinds()
{
    return Store();
}

const TGKind* TGKindCatalogue::Find(const QByteArray& className)
{
    return FindIn(Store(), className);
}

void TGKindCatalogue::ApplyDrawnSettings(TGGraphicControl& object, const TGFont& panelFont)
{
    const TGKind* kind = Find(object.ClassName());
    if (kind != nullptr && kind->drawnSettings)
        kind->drawnSettings(object, panelFont);
}

void TGKindCatalogue::AttachEditing(const QByteArray& className, TGKindMenu menu,
                                    TGKind::TMenuEntries entries, TGKind::TProperties properties)
{
    if (TGKind* kind = FindIn(Store(), className)) {
        kind->menu = menu;
        kind->menuEntries = std::move(entries);
        kind->properties = std::move(properties);
    }
}

// Defined here rather than beside the registry: only the catalogue knows which kinds this build
// provides, and the registry sits below the kinds.
QList<QByteArray> TGClassRegistry::RegisterHostKinds(TGHostKind host)
{
    QList<QByteArray> missing;
    for (const QByteArray& name : HostKinds(host)) {
        if (const TGKind* kind = TGKindCatalogue::Find(name))
            Register(name, kind->make);
        else
            missing.append(name);
    }
    return missing;
}

} // namespace qm::design
