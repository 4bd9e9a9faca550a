#include "labels/ui/TLabelDesignSurface.h"

#include "data/TMessageService.h"
#include "design/core/TGBasePanel.h"
#include "design/core/TGClassRegistry.h"
#include "design/objects/TGCounterLabel.h"
#include "design/objects/TGDMultiLineLabel.h"
#include "design/objects/TGKindCatalogue.h"
#include "design/objects/TGLabelShapes.h"
#include "design/objects/TGLineShape.h"
#include "design/objects/TGPDLabel.h"
#include "design/objects/TGPLabel.h"
#include "design/objects/TMultiLineText.h"
#include "design/stream/TLayoutError.h"
#include "design/ui/TGKindMenus.h"
#include "labels/TLabelDesignRules.h"

namespace qm::labels {

using design::TGGraphicControl;

TLabelDesignSurface::TLabelDesignSurface(design::TGBasePanel& panel, QWidget* parent)
    : TGDesignSurface(panel, parent)
{
    setObjectName(QStringLiteral("LabelFace"));
    SetDrawOutline(true);
}

QByteArray TLabelDesignSurface::KindOf(TTool tool)
{
    switch (tool) {
    case TTool::Selection:
        return {};
    case TTool::Text:
        return "TGPLabel";
    case TTool::MultiLine:
        return "TGMultiLineLabel";
    case TTool::Counter:
        return "TGCounterLabel";
    case TTool::Symbol:
        return "TGSymbolLabel";
    case TTool::Rectangle:
    case TTool::Ellipse:
    case TTool::RoundRectangle:
        return "TGLabelShapes";
    case TTool::Line:
        return "TGLineShape";
    case TTool::ClipArt:
        return "TGImage";
    case TTool::PostNet:
        return "TGPostNetBarCode";
    case TTool::Field:
        return "TGPDLabel";
    case TTool::Memo:
        return "TGDMultiLineLabel";
    case TTool::Address:
        return "TGDMultiLineAddressLabel";
    case TTool::Imb:
        return "TGIMBarCode";
    }
    return {};
}

void TLabelDesignSurface::SetLabelTool(TTool tool)
{
    mTool = tool;
    SetTool(KindOf(tool));
}

void TLabelDesignSurface::EditObject(TGGraphicControl& object)
{
    if (OnEditObject)
        OnEditObject(object);
    else
        design::TGKindMenus::EditProperties(object, window());
}

TGGraphicControl* TLabelDesignSurface::CreateObjectInRect(const QRect& dragged)
{
    const QRect rect = TLabelDesignRules::DrawnRect(dragged);
    std::unique_ptr<TGGraphicControl> made;
    try {
        made = design::TGClassRegistry::Instance().Create(KindOf(mTool));
    } catch (const design::TLayoutError& error) {
        data::TMessageService::Inform(this, error.Message());
        return nullptr;
    }
    made->AfterCreate();
    design::TGBasePanel& panel = Panel();
    auto drawnSettings = [&] { design::TGKindCatalogue::ApplyDrawnSettings(*made, PanelFont()); };
    auto fitLines = [](TGGraphicControl* object) {
        design::TMultiLineText::FitLines(static_cast<design::TGMultiLineBaseLabel&>(*object));
    };

    TGGraphicControl* object = nullptr;
    switch (mTool) {
    case TTool::Selection:
        return nullptr;
    case TTool::Text:
        drawnSettings();
        object = PlaceObject(std::move(made), rect);
        EditObject(*object);
        static_cast<design::TGPLabel*>(object)->FitWidth();
        break;
    case TTool::Counter:
        drawnSettings();
        object = PlaceObject(std::move(made), rect);
        static_cast<design::TGCounterLabel*>(object)->FitWidth();
        break;
    case TTool::Symbol:
        object = PlaceObject(std::move(made), rect);
        EditObject(*object);
        break;
    case TTool::Field:
        drawnSettings();
        object = PlaceObject(std::move(made), rect);
        EditObject(*object);
        panel.RefreshData();
        static_cast<design::TGPDLabel*>(object)->FitWidth();
        break;
    case TTool::MultiLine:
        drawnSettings();
        object = PlaceObject(std::move(made), rect);
        EditObject(*object);
        fitLines(object);
        break;
    case TTool::Memo: {
        drawnSettings();
        auto& memo = static_cast<design::TGDMultiLineLabel&>(*made);
        memo.SetDataFieldName(QStringLiteral("Memo"));
        memo.SetDataFieldDescript(QStringLiteral("MEMO"));
        object = PlaceObject(std::move(made), rect);
        panel.RefreshData();
        break;
    }
    case TTool::Address:
        drawnSettings();
        object = PlaceObject(std::move(made), rect);
        panel.RefreshData();
        fitLines(object);
        break;
    case TTool::Rectangle:
    case TTool::Ellipse:
    case TTool::RoundRectangle: {
        using design::TGShapeType;
        static_cast<design::TGLabelShapes&>(*made).SetShape(
            mTool == TTool::Rectangle ? TGShapeType::stRectangle
            : mTool == TTool::Ellipse ? TGShapeType::stEllipse
                                      : TGShapeType::stRoundRect);
        object = PlaceObject(std::move(made), rect);
        break;
    }
    case TTool::Line:
        static_cast<design::TGLineShape&>(*made).SetLineStyle(design::TGLineStyle::stVertical);
        object = PlaceObject(std::move(made), rect);
        break;
    case TTool::ClipArt:
        object = PlaceObject(std::move(made), rect);
        break;
    case TTool::PostNet:
    case TTool::Imb:
        drawnSettings(); // ZipCodeField "ZIP", AddressField "STREET" (and the settings' parts)
        object = PlaceObject(std::move(made), rect);
        panel.RefreshData();
        break;
    }
    // The dialog and the fitting changed what was placed: one more change for the designer.
    panel.NotifyChanged();
    update();
    return object;
}

} // namespace qm::labels
