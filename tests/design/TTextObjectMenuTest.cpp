// Context-menu entries of the text kinds, their order and check marks, and the commands behind
// the entries that need no dialog.

#include "design/ui/TTextObjectMenu.h"

#include "design/core/TGBasePanel.h"
#include "design/objects/TGCounterLabel.h"
#include "design/objects/TGDMultiLineAddressLabel.h"
#include "design/objects/TGDMultiLineLabel.h"
#include "design/objects/TGDateTimeLabel.h"
#include "design/objects/TGMultiLineLabel.h"
#include "design/objects/TGPDLabel.h"
#include "design/objects/TGPLabel.h"
#include "design/objects/TGPageNumberLabel.h"
#include "design/objects/TGSymbolLabel.h"

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

QStringList EntriesOf(TGGraphicControl& object)
{
    QMenu menu;
    TTextObjectMenu::AddEntries(menu, object, nullptr);
    return Entries(menu);
}

QAction* Find(QMenu& menu, const QString& path)
{
    QMenu* current = &menu;
    const QStringList parts = path.split('/');
    for (int i = 0; i < parts.size(); ++i) {
        for (QAction* a : current->actions()) {
            if (a->text() != parts[i])
                continue;
            if (i + 1 == parts.size())
                return a;
            current = a->menu();
            break;
        }
    }
    return nullptr;
}

const QStringList kBase = {"-",          "Font", "3D Effects", "Alignment", "-", "Background Color",
                           "Transparent"};

TEST(TTextObjectMenuTest, SingleLineKindsHaveTheirEntriesInOrder)
{
    TGPLabel text;
    EXPECT_EQ(EntriesOf(text), (kBase + QStringList{"-", "Text", "-", "Rotation"}));
    TGPDLabel field;
    EXPECT_EQ(EntriesOf(field), (kBase + QStringList{"-", "Field"}));
    TGCounterLabel counter;
    EXPECT_EQ(EntriesOf(counter), (kBase + QStringList{"-", "Counter Settings", "-", "Rotation"}));
    TGSymbolLabel symbol;
    EXPECT_EQ(EntriesOf(symbol), (QStringList{"-", "3D Effects", "-", "Background Color",
                                              "Transparent", "-", "Symbol Selector"}));
    TGDateTimeLabel date;
    EXPECT_EQ(EntriesOf(date), (kBase + QStringList{"-", "Date Format", "Time Format"}));
    TGPageNumberLabel page;
    EXPECT_EQ(EntriesOf(page), kBase);
}

TEST(TTextObjectMenuTest, MultiLineKindsHaveTheirEntriesInOrder)
{
    TGMultiLineLabel lines;
    EXPECT_EQ(EntriesOf(lines), (QStringList{"-", "Font", "Alignment", "-", "Text", "Word Wrap"}));
    TGDMultiLineLabel memo;
    EXPECT_EQ(EntriesOf(memo),
              (QStringList{"-", "Font", "Alignment", "-", "Memo Field", "Word Wrap"}));
    TGDMultiLineAddressLabel address;
    EXPECT_EQ(EntriesOf(address), (QStringList{"-", "Font", "Alignment", "-", "Address Layout"}));
}

TEST(TTextObjectMenuTest, ChecksShowTheCurrentValuesAndEntriesChangeThem)
{
    TGBasePanel panel;
    auto owned = std::make_unique<TGPLabel>();
    TGPLabel* text = owned.get();
    panel.AddObject(std::move(owned));
    int notifications = 0;
    panel.OnLabelChanged = [&] { ++notifications; };

    QMenu menu;
    TTextObjectMenu::AddEntries(menu, *text, nullptr);
    EXPECT_TRUE(Find(menu, "Alignment/Left")->isChecked());
    EXPECT_FALSE(Find(menu, "Alignment/Center")->isChecked());
    EXPECT_TRUE(Find(menu, "Rotation/No Rotation")->isChecked());
    EXPECT_TRUE(Find(menu, "Transparent")->isChecked());

    // Every entry that changes the object tells the panel.
    Find(menu, "Alignment/Right")->trigger();
    EXPECT_EQ(text->Alignment(), TGAlignment::taRightJustify);
    EXPECT_EQ(notifications, 1);
    Find(menu, "Transparent")->trigger();
    EXPECT_FALSE(text->Transparent());
    EXPECT_EQ(notifications, 2);
    Find(menu, "Rotation/90 Degrees")->trigger();
    EXPECT_EQ(text->Angle(), 90);
    EXPECT_EQ(text->Alignment(), TGAlignment::taLeftJustify);
    EXPECT_GT(notifications, 2);

    QMenu again;
    TTextObjectMenu::AddEntries(again, *text, nullptr);
    EXPECT_TRUE(Find(again, "Rotation/90 Degrees")->isChecked());
    EXPECT_FALSE(Find(again, "Transparent")->isChecked());
}

TEST(TTextObjectMenuTest, DateAndTimeFormatEntries)
{
    TGDateTimeLabel date;
    QMenu menu;
    TTextObjectMenu::AddEntries(menu, date, nullptr);
    EXPECT_TRUE(Find(menu, "Date Format/Windows Short Date")->isChecked());
    EXPECT_TRUE(Find(menu, "Time Format/No Time")->isChecked());
    Find(menu, "Date Format/No Date")->trigger();
    Find(menu, "Time Format/Windows Long Time")->trigger();
    EXPECT_EQ(date.DateFormat(), TDateFormat::dtfDateNone);
    EXPECT_EQ(date.TimeFormat(), TTimeFormat::dtfTimeLong);
}

TEST(TTextObjectMenuTest, WordWrapEntryToggles)
{
    TGMultiLineLabel lines;
    QMenu menu;
    TTextObjectMenu::AddEntries(menu, lines, nullptr);
    EXPECT_FALSE(Find(menu, "Word Wrap")->isChecked());
    Find(menu, "Word Wrap")->trigger();
    EXPECT_TRUE(lines.WordWrap());
}

} // namespace
} // namespace qm::design
