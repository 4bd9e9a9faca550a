#pragma once

// The context-menu entries of shapes, lines and FIM marks, appended after the common entries the
// design surface puts first, and the commands behind them. Every command repaints the object and
// raises the panel's change notification; colour dialogs change nothing on Cancel.
//
// Contract: the object must stay alive while the menu is open; the menu's actions hold plain
// pointers to it. parent is the window the dialogs open over.

#include <QColor>

class QMenu;
class QWidget;

namespace qm::design {

class TGFIMBarCode;
class TGGraphicControl;
class TGLabelShapes;
class TGLineShape;

class TShapeObjectMenu {
public:
    // Appends the kind's entries (nothing for other kinds), as the kind catalogue lists them. Check
    // marks show the current pen width, transparency, line style and FIM type. "Degree of Rounding"
    // appears only for shapes that were rounded when they were created or read.
    static void AddEntries(QMenu& menu, TGGraphicControl& object, QWidget* parent);

    // ---- the entries of each kind (TGKindMenus attaches them to the kind catalogue)
    static void AddShapeEntries(QMenu& menu, TGLabelShapes& shape, QWidget* parent);
    static void AddLineEntries(QMenu& menu, TGLineShape& line, QWidget* parent);
    static void AddFIMEntries(QMenu& menu, TGFIMBarCode& mark, QWidget* parent);

    // ---- commands
    // "Background Color": the brush colour, and the shape becomes opaque.
    static void SetBackgroundColor(TGLabelShapes& shape, const QColor& color);
    static void SetLineColor(TGLabelShapes& shape, const QColor& color);
    static void SetLineColor(TGLineShape& line, const QColor& color);
    // "Line Thickness": 1 to 10 design pixels.
    static void SetLineThickness(TGLabelShapes& shape, int width);
    static void SetLineThickness(TGLineShape& line, int width);
    static void ToggleTransparent(TGLabelShapes& shape);
    static void SetRounding(TGLabelShapes& shape, int percent);
    static void SetLineStyle(TGLineShape& line, int style);
    static void StretchToEdges(TGLineShape& line);
    static void SetFIMType(TGFIMBarCode& mark, int type);
};

} // namespace qm::design
