#pragma once

// A plain widget that shows a design panel: the page in white at the panel's current size and
// every object painted by itself, bottom first, clipped to its bounds. It repaints what the model
// asks for (TGBasePanel::OnInvalidate) and lets pending repaints run when the model says so
// (OnProcessUpdates). No selection or dragging: the editing surface builds on this seam.
//
// Contract: the panel must outlive the view; the view installs the two hooks on construction
// and removes them when destroyed.

#include <QWidget>

namespace qm::design {

class TGBasePanel;

class TGPanelView : public QWidget {
public:
    explicit TGPanelView(TGBasePanel& panel, QWidget* parent = nullptr);
    ~TGPanelView() override;

    TGBasePanel& Panel() const { return mPanel; }
    QSize sizeHint() const override;

    // Paints the page and the objects with the painter's origin at the page's corner.
    static void PaintPanel(TGBasePanel& panel, QPainter& painter);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TGBasePanel& mPanel;
};

} // namespace qm::design
