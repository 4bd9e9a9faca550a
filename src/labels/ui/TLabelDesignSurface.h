#pragma once

// The label face of the label designer: the shared design surface with the label designer's
// fifteen tools. A drawn object starts in a rectangle at least 50 x 15 when the drag was
// narrower than 25 or lower than 15 (a plain click thus starts a 50 x 15 object), then each tool
// runs its own steps in order: starting settings, place, its dialog, the record's value, fitting.
// The three shape tools draw TGLabelShapes in their shape, the line tool a vertical line.

#include "design/ui/TGDesignSurface.h"

#include <QByteArray>
#include <functional>

namespace qm::labels {

class TLabelDesignSurface : public design::TGDesignSurface {
public:
    // In tool bar order.
    enum class TTool {
        Selection,
        Text,
        MultiLine,
        Counter,
        Symbol,
        Rectangle,
        Ellipse,
        RoundRectangle,
        Line,
        ClipArt,
        PostNet,
        Field,
        Memo,
        Address,
        Imb,
    };
    static constexpr int kToolCount = 15;

    explicit TLabelDesignSurface(design::TGBasePanel& panel, QWidget* parent = nullptr);

    // The class name a tool draws; empty for the selection tool.
    static QByteArray KindOf(TTool tool);

    TTool LabelTool() const { return mTool; }
    void SetLabelTool(TTool tool);

    design::TGGraphicControl* CreateObjectInRect(const QRect& rect) override;

    // Opens an object's dialog while it is drawn (the text, symbol, field and lines dialogs);
    // tests replace it. The default opens the kind's properties dialog over the window.
    std::function<void(design::TGGraphicControl&)> OnEditObject;

private:
    void EditObject(design::TGGraphicControl& object);

    TTool mTool = TTool::Selection;
};

} // namespace qm::labels
