#include "envelopes/ui/TEnvelopeSurface.h"

#include "data/TMessageService.h"
#include "design/core/TGBasePanel.h"
#include "design/core/TGClassRegistry.h"
#include "design/objects/TGKindCatalogue.h"
#include "design/objects/TGMultiLineBaseLabel.h"
#include "design/objects/TMultiLineText.h"
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
    if (placed == nullptr)
        return nullptr;
    if (info.tool == TEnvelopeTool::Text && OnEditNewText)
        OnEditNewText(*placed);
    if (info.tool == TEnvelopeTool::MailingAddress || info.tool == TEnvelopeTool::DatabaseField ||
        info.tool == TEnvelopeTool::PostnetBarcode || info.tool == TEnvelopeTool::ImbBarcode) {
        // Data objects show the current record at once, not a placeholder until the next record
        // button; an address block then fits its lines as a drawn one does in every designer.
        Panel().RefreshData();
        if (info.tool == TEnvelopeTool::MailingAddress)
            design::TMultiLineText::FitLines(static_cast<design::TGMultiLineBaseLabel&>(*placed));
        Panel().NotifyChanged();
        update();
    }
    return placed;
}

} // namespace qm::envelopes
