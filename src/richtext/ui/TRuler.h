#pragma once

// The ruler above the letter editor: inches across the page's text width, and the paragraph's
// indent markers (first line on top, left and right below), which the mouse drags. A drag changes
// the paragraphs of the editor's selection, as one undo step; the ruler follows the caret.

#include "richtext/TParagraphSettings.h"
#include "richtext/TRulerGeometry.h"

#include <QWidget>

namespace qm::richtext {

class TRichEdit;

class TRuler : public QWidget {
public:
    explicit TRuler(TRichEdit& editor, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // The geometry the ruler draws with (for tests and the editor's caret).
    TRulerGeometry Geometry() const;
    const TParagraphSettings& Settings() const { return mSettings; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void FollowCaret();

    TRichEdit& mEditor;
    TParagraphSettings mSettings;
    ERulerMarker mDragging = ERulerMarker::None;
    bool mDragApplied = false; // the drag has changed the text (later moves join its undo step)
};

} // namespace qm::richtext
