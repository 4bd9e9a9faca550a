#include "reports/ui/TReportBandSurface.h"

#include "data/TMessageService.h"
#include "design/core/TGClassRegistry.h"
#include "design/objects/TGDMultiLineLabel.h"
#include "design/objects/TGDateTimeLabel.h"
#include "design/objects/TGKindCatalogue.h"
#include "design/objects/TGLabelShapes.h"
#include "design/objects/TGPDLabel.h"
#include "design/objects/TGPLabel.h"
#include "design/stream/TLayoutError.h"
#include "design/ui/TGKindMenus.h"
#include "reports/TReportPlacement.h"
#include "reports/ui/TReportPanel.h"

#include <QMouseEvent>

namespace qm::reports {

using design::TGGraphicControl;

TReportBandSurface::TReportBandSurface(TReportPanel& band, QWidget* parent)
    : TGDesignSurface(band, parent), mBand(band)
{
    setObjectName(QStringLiteral("BandSurface"));
    SetShape(TPageShape::lsRectangle);
    mBand.OnPanelStateChanged = [this](TPanelState) { FollowState(); };
    FollowState();
}

TReportBandSurface::~TReportBandSurface()
{
    mBand.OnPanelStateChanged = nullptr;
}

void TReportBandSurface::FollowState()
{
    SetTool(TReportPlacement::ClassOf(mBand.PanelState()));
    if (!Pointing())
        setCursor(Qt::CrossCursor);
}

void TReportBandSurface::mousePressEvent(QMouseEvent* event)
{
    if (!mBand.AcceptsClicks()) {
        data::TMessageService::Beep();
        return;
    }
    if (Pointing() && mBand.ControlMouseDownEvent && event->button() == Qt::LeftButton) {
        if (TGGraphicControl* object = SelectableObjectAt(event->position().toPoint()))
            mBand.ControlMouseDownEvent(*object);
    }
    TGDesignSurface::mousePressEvent(event);
}

void TReportBandSurface::mouseMoveEvent(QMouseEvent* event)
{
    TGDesignSurface::mouseMoveEvent(event);
    if (!Pointing() && TGDesignSurface::Band() == TBand::None)
        setCursor(Qt::CrossCursor);
}

void TReportBandSurface::EditObject(TGGraphicControl& object)
{
    if (OnEditObject)
        OnEditObject(object);
    else
        design::TGKindMenus::EditProperties(object, window());
}

TGGraphicControl* TReportBandSurface::CreateObjectInRect(const QRect& dragged)
{
    const TPanelState tool = mBand.PanelState();
    if (tool == TPanelState::psPointing)
        return nullptr;
    const QRect rect = TReportPlacement::DrawnRect(dragged);
    const QString refusal = TReportPlacement::Refusal(tool, mBand.PAnelKind());
    if (!refusal.isEmpty()) {
        data::TMessageService::Beep();
        data::TMessageService::Inform(this, refusal);
        return nullptr;
    }
    std::unique_ptr<TGGraphicControl> made;
    try {
        made = design::TGClassRegistry::Instance().Create(TReportPlacement::ClassOf(tool));
    } catch (const design::TLayoutError& error) {
        data::TMessageService::Inform(this, error.Message());
        return nullptr;
    }
    made->AfterCreate();
    // The text kinds take the band's font and their placeholders ("<text>", "<field>").
    design::TGKindCatalogue::ApplyDrawnSettings(*made, PanelFont());

    TGGraphicControl* object = nullptr;
    switch (tool) {
    case TPanelState::psPointing:
        return nullptr;
    case TPanelState::psLabel:
        object = PlaceObject(std::move(made), rect);
        EditObject(*object);
        static_cast<design::TGPLabel*>(object)->FitWidth();
        break;
    case TPanelState::psDataLabel:
        object = PlaceObject(std::move(made), rect);
        EditObject(*object);
        mBand.RefreshData();
        static_cast<design::TGPDLabel*>(object)->FitWidth();
        break;
    case TPanelState::psMultiLineDataLabel: {
        auto& memo = static_cast<design::TGDMultiLineLabel&>(*made);
        memo.SetDataFieldName(TReportPlacement::MemoFieldName());
        memo.SetDataFieldDescript(TReportPlacement::MemoFieldDescript());
        object = PlaceObject(std::move(made), rect);
        mBand.RefreshData();
        break;
    }
    case TPanelState::psSymbolLabel:
        object = PlaceObject(std::move(made), rect);
        EditObject(*object);
        break;
    case TPanelState::psRectangle:
    case TPanelState::psEllipse:
    case TPanelState::psRoundRectangle: {
        using design::TGShapeType;
        const TReportShape shape = *TReportPlacement::ShapeOf(tool);
        static_cast<design::TGLabelShapes&>(*made).SetShape(
            shape == TReportShape::Rectangle ? TGShapeType::stRectangle
            : shape == TReportShape::Ellipse ? TGShapeType::stEllipse
                                             : TGShapeType::stRoundRect);
        object = PlaceObject(std::move(made), rect);
        break;
    }
    case TPanelState::psDateTime:
        object = PlaceObject(std::move(made), rect);
        static_cast<design::TGDateTimeLabel*>(object)->FitWidth();
        break;
    case TPanelState::psLine:
    case TPanelState::psImage:
    case TPanelState::psPageNumber:
        object = PlaceObject(std::move(made), rect);
        break;
    }
    // The dialog and the fitting changed what was placed: one more change for the designer.
    mBand.NotifyChanged();
    update();
    return object;
}

} // namespace qm::reports
