#include "design/ui/TShapeObjectMenu.h"

#include "design/objects/TGFIMBarCode.h"
#include "design/objects/TGLabelShapes.h"
#include "design/objects/TGLineShape.h"
#include "design/ui/TGKindMenus.h"

#include <QColorDialog>
#include <QMenu>
#include <functional>

namespace qm::design {

namespace {

void Changed(TGGraphicControl& object)
{
    object.Invalidate();
    object.NotifyChanged();
}

QAction* Entry(QMenu& menu, const QString& caption, std::function<void()> run,
               bool checkable = false, bool checked = false)
{
    QAction* action = menu.addAction(caption);
    if (checkable) {
        action->setCheckable(true);
        action->setChecked(checked);
    }
    QObject::connect(action, &QAction::triggered, action, [run = std::move(run)] { run(); });
    return action;
}

template <class TObject> void ThicknessEntries(QMenu& menu, TObject& object)
{
    QMenu* sub = menu.addMenu(QStringLiteral("Line Thickness"));
    for (int w = 1; w <= 10; ++w)
        Entry(
            *sub, QStringLiteral("%1 Point").arg(w),
            [&object, w] { TShapeObjectMenu::SetLineThickness(object, w); }, true,
            object.Pen().width == w);
}

// The colour dialog on a colour; nothing on Cancel.
template <class TApply> void ChooseColor(const QColor& current, QWidget* parent, TApply apply)
{
    const QColor color = QColorDialog::getColor(current, parent);
    if (color.isValid())
        apply(color);
}

} // namespace

void TShapeObjectMenu::AddShapeEntries(QMenu& menu, TGLabelShapes& shape, QWidget* parent)
{
    menu.addSeparator();
    Entry(menu, QStringLiteral("Background Color"), [&shape, parent] {
        ChooseColor(shape.Brush().color.ToQColor(), parent,
                    [&shape](const QColor& c) { TShapeObjectMenu::SetBackgroundColor(shape, c); });
    });
    Entry(menu, QStringLiteral("Line Color"), [&shape, parent] {
        ChooseColor(shape.Pen().color.ToQColor(), parent,
                    [&shape](const QColor& c) { TShapeObjectMenu::SetLineColor(shape, c); });
    });
    ThicknessEntries(menu, shape);
    menu.addSeparator();
    Entry(
        menu, QStringLiteral("Transparent"),
        [&shape] { TShapeObjectMenu::ToggleTransparent(shape); }, true, shape.Transparent());
    if (shape.RoundedMenu()) {
        menu.addSeparator();
        QMenu* sub = menu.addMenu(QStringLiteral("Degree of Rounding"));
        for (int p = 20; p <= 80; p += 10)
            Entry(*sub, QStringLiteral("%1 %").arg(p),
                  [&shape, p] { TShapeObjectMenu::SetRounding(shape, p); });
    }
}

void TShapeObjectMenu::AddLineEntries(QMenu& menu, TGLineShape& line, QWidget* parent)
{
    menu.addSeparator();
    QMenu* style = menu.addMenu(QStringLiteral("Style"));
    const char* captions[4] = {"Horizontal", "Vertical", "Angled Sloping Up",
                               "Angled Sloping Down"};
    for (int i = 0; i < 4; ++i)
        Entry(
            *style, QString::fromLatin1(captions[i]),
            [&line, i] { TShapeObjectMenu::SetLineStyle(line, i); }, true,
            int(line.LineStyle()) == i);
    Entry(menu, QStringLiteral("Color"), [&line, parent] {
        ChooseColor(line.Pen().color.ToQColor(), parent,
                    [&line](const QColor& c) { TShapeObjectMenu::SetLineColor(line, c); });
    });
    ThicknessEntries(menu, line);
    menu.addSeparator();
    Entry(menu, QStringLiteral("Stretch To Edges"),
          [&line] { TShapeObjectMenu::StretchToEdges(line); });
}

void TShapeObjectMenu::AddFIMEntries(QMenu& menu, TGFIMBarCode& mark, QWidget*)
{
    menu.addSeparator();
    const char* captions[3] = {"Set FIM to Type A", "Set FIM to Type B", "Set FIM to Type C"};
    for (int i = 0; i < 3; ++i)
        Entry(
            menu, QString::fromLatin1(captions[i]),
            [&mark, i] { TShapeObjectMenu::SetFIMType(mark, i); }, true, mark.FIMType() == i);
}

void TShapeObjectMenu::AddEntries(QMenu& menu, TGGraphicControl& object, QWidget* parent)
{
    TGKindMenus::AddEntries(menu, object, parent, TGKindMenu::Shape);
}

void TShapeObjectMenu::SetBackgroundColor(TGLabelShapes& shape, const QColor& color)
{
    TGBrush brush = shape.Brush();
    brush.color = TGColor::FromQColor(color);
    shape.SetBrush(brush);
    shape.SetTransparent(false);
    Changed(shape);
}

void TShapeObjectMenu::SetLineColor(TGLabelShapes& shape, const QColor& color)
{
    TGPen pen = shape.Pen();
    pen.color = TGColor::FromQColor(color);
    shape.SetPen(pen);
    Changed(shape);
}

void TShapeObjectMenu::SetLineColor(TGLineShape& line, const QColor& color)
{
    TGPen pen = line.Pen();
    pen.color = TGColor::FromQColor(color);
    line.SetPen(pen);
    Changed(line);
}

void TShapeObjectMenu::SetLineThickness(TGLabelShapes& shape, int width)
{
    TGPen pen = shape.Pen();
    pen.width = width;
    shape.SetPen(pen);
    Changed(shape);
}

void TShapeObjectMenu::SetLineThickness(TGLineShape& line, int width)
{
    TGPen pen = line.Pen();
    pen.width = width;
    line.SetPen(pen);
    Changed(line);
}

void TShapeObjectMenu::ToggleTransparent(TGLabelShapes& shape)
{
    shape.SetTransparent(!shape.Transparent());
    Changed(shape);
}

void TShapeObjectMenu::SetRounding(TGLabelShapes& shape, int percent)
{
    shape.SetRoundPerc(percent);
    Changed(shape);
}

void TShapeObjectMenu::SetLineStyle(TGLineShape& line, int style)
{
    line.SetLineStyle(TGLineStyle(style));
    Changed(line);
}

void TShapeObjectMenu::StretchToEdges(TGLineShape& line)
{
    line.StretchToEdges();
    Changed(line);
}

void TShapeObjectMenu::SetFIMType(TGFIMBarCode& mark, int type)
{
    mark.SetFIMType(type);
    Changed(mark);
}

} // namespace qm::design
