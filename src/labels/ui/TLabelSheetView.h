#pragma once

// The sheet picture of the "Labels Print" dialog: the page outline and every label position,
// red when selected and white when not (TLabelSheetPicture gives the pixels). A click on a label
// toggles its position. The selection is not owned and must outlive the view.

#include "labels/TLabelSelection.h"
#include "labels/TLabelSheetPicture.h"

#include <QWidget>

namespace qm::labels {

class TLabelSheetView : public QWidget {
public:
    TLabelSheetView(const TLabelSheet& sheet, TLabelSelection& selection,
                    QWidget* parent = nullptr);

    const TLabelSheetPicture& Picture() const { return mPicture; }
    // Toggles the position under a point of the picture; returns it, or -1 when there is none.
    int ToggleAt(const QPoint& point);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    TLabelSheetPicture mPicture;
    TLabelSelection& mSelection;
};

} // namespace qm::labels
