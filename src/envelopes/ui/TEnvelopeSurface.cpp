#include "envelopes/ui/TEnvelopeSurface.h"

#include "data/TMessageService.h"
#include "design/core/TGClassRegistry.h"
#include "design/objects/TGKindCatalogue.h"
#include "design/stream/TLayoutError.h"
#include "design/ui/TGKindMenus.h"

namespace qm::envelopes {

TEnvelopeSurface::TEnvelopeSurface(design::TGBasePanel& panel, QWidget* parent)
    : TGDesignSurface(panel, parent)
{
    OnEditNewText = [this](design::TGGraphicControl& object) {
        design::TGKindMenus::EditProperties(object, window());
    };
}

void TEnvelopeSurface::SetEnvelopeTool(TEnvelopeTool tool)
{
    mTool = tool;
    SetTool(TEnvelopeTools::Info(tool).kind);
}

design::TGGraphicControl* TEnvelopeSurface::CreateObjectInRect(const QRect& rect)
{
    const TEnvelopeToolInfo& info = TEnvelopeTools::Info(mTool);
    if (info.kind.isEmpty())
        return nullptr;
    std::unique_ptr<design::TGGraphicControl> object;
    try {
        object = design::TGClassRegistry::Instance().Create(info.kind);
    } catch (const design::TLayoutError& error) {
        data::TMessageService::Error(this, QStringLiteral("Error"), error.Message());
        return nullptr;
    }
    object->AfterCreate();
    design::TGKindCatalogue::ApplyDrawnSettings(*object, PanelFont());
    if (info.shape)
        if (auto* shape = dynamic_cast<design::TGLabelShapes*>(object.get()))
            shape->SetShape(*info.shape);
    design::TGGraphicControl* placed =
        PlaceObject(std::move(object), TEnvelopeTools::DroppedRect(rect));
    mTool = TEnvelopeTool::Selection;
    if (placed != nullptr && info.tool == TEnvelopeTool::Text && OnEditNewText)
        OnEditNewText(*placed);
    return placed;
}

} // namespace qm::envelopes
