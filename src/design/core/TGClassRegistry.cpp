#include "design/core/TGClassRegistry.h"

#include "design/stream/TLayoutError.h"

namespace qm::design {

TGClassRegistry& TGClassRegistry::Instance()
{
    static TGClassRegistry registry;
    return registry;
}

void TGClassRegistry::Register(const QByteArray& className, TFactory factory)
{
    mFactories.insert(className.toUpper(), std::move(factory));
}

bool TGClassRegistry::IsRegistered(const QByteArray& className) const
{
    return mFactories.contains(className.toUpper());
}

std::unique_ptr<TGGraphicControl> TGClassRegistry::Create(const QByteArray& className) const
{
    const auto it = mFactories.constFind(className.toUpper());
    if (it == mFactories.constEnd())
        throw TLayoutError(
            TLayoutErrorKind::ClassNotFound,
            QStringLiteral("Class %1 not found").arg(QString::fromLatin1(className)));
    return (*it)();
}

QList<QByteArray> TGClassRegistry::HostKinds(TGHostKind host)
{
    switch (host) {
    case TGHostKind::Label:
        return {"TGLineShape",
                "TGPostNetBarCode",
                "TGImage",
                "TGLabelShapes",
                "TGPLabel",
                "TGPDLabel",
                "TGCounterLabel",
                "TGSymbolLabel",
                "TGMultiLineLabel",
                "TGDMultiLineLabel",
                "TGDMultiLineAddressLabel",
                "TGIMBarCode"};
    case TGHostKind::Envelope:
        return {"TGLineShape", "TGPostNetBarCode", "TGFIMBarCode",
                "TGImage",     "TGLabelShapes",    "TGPLabel",
                "TGPDLabel",   "TGMultiLineLabel", "TGDMultiLineAddressLabel",
                "TGIMBarCode"};
    case TGHostKind::Report:
        return {"TGLineShape",       "TGImage",           "TGPLabel",
                "TGPDLabel",         "TGDMultiLineLabel", "TGDateTimeLabel",
                "TGPageNumberLabel", "Trpshapes",         "TGSymbolLabel"};
    }
    return {};
}

} // namespace qm::design
