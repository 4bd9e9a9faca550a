// Context-menu entries of shapes, lines and FIM marks: their order, check marks, the rounding
// entries that depend on how the shape was made, and the commands behind the entries.

#include "design/ui/TShapeObjectMenu.h"

#include "design/core/TGBasePanel.h"
#include "design/objects/TGFIMBarCode.h"
#include "design/objects/TGLabelShapes.h"
#include "design/objects/TGLineShape.h"
#include "design/objects/TGPLabel.h"

#include <QMenu>
#include <gtest/gtest.h>

namespace qm::design {
namespace {

QStringList Entries(const QMenu& menu)
{
    QStringList out;
    for (const QAction* a : menu.actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

QAction* Find(QMenu& menu, const QString& path)
{
    QMenu* current = &menu;
    const QStringList parts = path.split('/');
    for (int i = 0; i < parts.size(); ++i) {
        QAction* found = nullptr;
        for (QAction* a : current->actions())
            if (a->text() == parts[i])
                found = a;
        if (!found)
            return nullptr;
        if (i + 1 == parts.size())
            return found;
        current = found->menu();
        if (!current)
            return nullptr;
    }
    return nullptr;
}

QStringList Checked(QMenu& menu, const QString& sub)
{
    QStringList out;
    QAction* a = Find(menu, sub);
    if (a && a->menu())
        for (const QAction* entry : a->menu()->actions())
            if (entry->isChecked())
                out << entry->text();
    return out;
}

const QStringList kShapeEntries = {"-", "Background Color", "Line Color", "Line Thickness",
                                   "-", "Transparent"};

TEST(TShapeObjectMenuTest, ShapeEntriesAndTheRoundingOnlyForShapesMadeRounded)
{
    TGLabelShapes square;
    square.AfterCreate();
    QMenu menu;
    TShapeObjectMenu::AddEntries(menu, square, nullptr);
    EXPECT_EQ(Entries(menu), kShapeEntries);
    EXPECT_EQ(Checked(menu, "Line Thickness"), QStringList{"1 Point"});
    ASSERT_NE(Find(menu, "Line Thickness/10 Point"), nullptr);
    EXPECT_FALSE(Find(menu, "Transparent")->isChecked());

    // Made rounded: the rounding entries follow; turned rounded later: they do not.
    TGLabelShapes rounded;
    rounded.SetShape(TGShapeType::stRoundSquare);
    rounded.AfterCreate();
    QMenu roundedMenu;
    TShapeObjectMenu::AddEntries(roundedMenu, rounded, nullptr);
    EXPECT_EQ(Entries(roundedMenu), (kShapeEntries + QStringList{"-", "Degree of Rounding"}));
    QStringList degrees;
    for (const QAction* a : Find(roundedMenu, "Degree of Rounding")->menu()->actions())
        degrees << a->text();
    EXPECT_EQ(degrees, (QStringList{"20 %", "30 %", "40 %", "50 %", "60 %", "70 %", "80 %"}));
    Find(roundedMenu, "Degree of Rounding/70 %")->trigger();
    EXPECT_EQ(rounded.RoundPerc(), 70);

    square.SetShape(TGShapeType::stRoundRect);
    QMenu later;
    TShapeObjectMenu::AddEntries(later, square, nullptr);
    EXPECT_EQ(Entries(later), kShapeEntries);
}

TEST(TShapeObjectMenuTest, ShapeCommandsChangeTheObjectAndNotifyThePanel)
{
    TGBasePanel panel;
    int changes = 0;
    panel.OnLabelChanged = [&changes] { ++changes; };
    auto* shape = static_cast<TGLabelShapes*>(panel.AddObject(std::make_unique<TGLabelShapes>()));
    shape->AfterCreate();
    changes = 0;

    QMenu menu;
    TShapeObjectMenu::AddEntries(menu, *shape, nullptr);
    Find(menu, "Line Thickness/6 Point")->trigger();
    EXPECT_EQ(shape->Pen().width, 6);
    Find(menu, "Transparent")->trigger();
    EXPECT_TRUE(shape->Transparent());
    EXPECT_EQ(shape->Brush().style, print::TBrushStyle::bsClear);
    EXPECT_EQ(changes, 2);

    QMenu again;
    TShapeObjectMenu::AddEntries(again, *shape, nullptr);
    EXPECT_EQ(Checked(again, "Line Thickness"), QStringList{"6 Point"});
    EXPECT_TRUE(Find(again, "Transparent")->isChecked());

    // A background colour makes the shape opaque again in that colour.
    TShapeObjectMenu::SetBackgroundColor(*shape, QColor(0, 0, 255));
    EXPECT_FALSE(shape->Transparent());
    EXPECT_EQ(shape->Brush().style, print::TBrushStyle::bsSolid);
    EXPECT_EQ(shape->Brush().color, TGColor::Rgb(0, 0, 255));
    TShapeObjectMenu::SetLineColor(*shape, QColor(255, 0, 0));
    EXPECT_EQ(shape->Pen().color, TGColor::Rgb(255, 0, 0));
    EXPECT_EQ(changes, 4);
}

TEST(TShapeObjectMenuTest, LineEntriesAndCommands)
{
    TGBasePanel panel;
    panel.SetSize(300, 120);
    auto* line = static_cast<TGLineShape*>(panel.AddObject(std::make_unique<TGLineShape>()));
    line->SetBounds(20, 30, 40, 4);
    QMenu menu;
    TShapeObjectMenu::AddEntries(menu, *line, nullptr);
    EXPECT_EQ(Entries(menu),
              (QStringList{"-", "Style", "Color", "Line Thickness", "-", "Stretch To Edges"}));
    QStringList styles;
    for (const QAction* a : Find(menu, "Style")->menu()->actions())
        styles << a->text();
    EXPECT_EQ(styles,
              (QStringList{"Horizontal", "Vertical", "Angled Sloping Up", "Angled Sloping Down"}));
    EXPECT_EQ(Checked(menu, "Style"), QStringList{"Horizontal"});

    Find(menu, "Stretch To Edges")->trigger();
    EXPECT_EQ(line->BoundsRect(), QRect(0, 30, 300, 4));
    Find(menu, "Line Thickness/3 Point")->trigger();
    EXPECT_EQ(line->Pen().width, 3);
    Find(menu, "Style/Angled Sloping Down")->trigger();
    EXPECT_EQ(line->LineStyle(), TGLineStyle::stAngleSlopingDown);
    TShapeObjectMenu::SetLineColor(*line, QColor(0, 128, 0));
    EXPECT_EQ(line->Pen().color, TGColor::Rgb(0, 128, 0));

    QMenu again;
    TShapeObjectMenu::AddEntries(again, *line, nullptr);
    EXPECT_EQ(Checked(again, "Style"), QStringList{"Angled Sloping Down"});
    EXPECT_EQ(Checked(again, "Line Thickness"), QStringList{"3 Point"});
}

TEST(TShapeObjectMenuTest, FIMEntriesCheckTheCurrentType)
{
    TGFIMBarCode mark;
    QMenu menu;
    TShapeObjectMenu::AddEntries(menu, mark, nullptr);
    EXPECT_EQ(Entries(menu),
              (QStringList{"-", "Set FIM to Type A", "Set FIM to Type B", "Set FIM to Type C"}));
    EXPECT_TRUE(Find(menu, "Set FIM to Type A")->isChecked());
    EXPECT_FALSE(Find(menu, "Set FIM to Type B")->isChecked());
    Find(menu, "Set FIM to Type B")->trigger();
    EXPECT_EQ(mark.FIMType(), int(TGFIMType::fimTypeB));
}

TEST(TShapeObjectMenuTest, OtherKindsGetNoEntries)
{
    TGPLabel text;
    QMenu menu;
    TShapeObjectMenu::AddEntries(menu, text, nullptr);
    EXPECT_TRUE(menu.actions().isEmpty());
}

} // namespace
} // namespace qm::design
