#include "design/ui/TTextObjectMenu.h"

#include "design/core/TFieldPickList.h"
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
#include "design/objects/TSingleLineText.h"
#include "design/text/TSymbolFont.h"
#include "design/ui/TAddressLayoutDialog.h"
#include "design/ui/TCounterDialog.h"
#include "design/ui/TDesignFontDialog.h"
#include "design/ui/TGKindMenus.h"
#include "design/ui/TMultiLineEditorDialog.h"
#include "design/ui/TSelectFieldDialog.h"
#include "design/ui/TSymbolSelectorDialog.h"
#include "design/ui/TText3DEffectsDialog.h"
#include "design/ui/TTextDialog.h"

#include "data/TDataField.h"
#include "data/TDataSet.h"

#include <QColorDialog>
#include <QMenu>

namespace qm::design {

namespace {

void Changed(TGGraphicControl& object)
{
    object.Invalidate();
    object.NotifyChanged();
}

QAction* Entry(QMenu& menu, const char* caption, std::function<void()> run, bool checkable = false,
               bool checked = false)
{
    QAction* action = menu.addAction(QString::fromLatin1(caption));
    if (checkable) {
        action->setCheckable(true);
        action->setChecked(checked);
    }
    QObject::connect(action, &QAction::triggered, action, [run = std::move(run)] { run(); });
    return action;
}

template <class TLabel> void AlignmentEntries(QMenu& menu, TLabel& label)
{
    QMenu* sub = menu.addMenu(QStringLiteral("Alignment"));
    const int current = int(label.Alignment());
    Entry(
        *sub, "Left", [&label] { TTextObjectMenu::SetAlignment(label, 0); }, true, current == 0);
    Entry(
        *sub, "Center", [&label] { TTextObjectMenu::SetAlignment(label, 2); }, true, current == 2);
    Entry(
        *sub, "Right", [&label] { TTextObjectMenu::SetAlignment(label, 1); }, true, current == 1);
}

void RotationEntries(QMenu& menu, TGBaseLabel& label)
{
    QMenu* sub = menu.addMenu(QStringLiteral("Rotation"));
    const char* captions[4] = {"No Rotation", "90 Degrees", "180 Degrees", "270 Degrees"};
    for (int i = 0; i < 4; ++i)
        Entry(
            *sub, captions[i], [&label, i] { TTextObjectMenu::SetRotation(label, 90 * i); }, true,
            label.Angle() == 90 * i);
}

void BaseLabelEntries(QMenu& menu, TGBaseLabel& label, QWidget* parent, bool withFontAndAlignment)
{
    menu.addSeparator();
    if (withFontAndAlignment)
        Entry(menu, "Font", [&label, parent] { TTextObjectMenu::EditFont(label, parent); });
    Entry(menu, "3D Effects", [&label, parent] { TTextObjectMenu::Edit3DEffects(label, parent); });
    if (withFontAndAlignment)
        AlignmentEntries(menu, label);
    menu.addSeparator();
    Entry(menu, "Background Color",
          [&label, parent] { TTextObjectMenu::EditBackColor(label, parent); });
    Entry(
        menu, "Transparent", [&label] { TTextObjectMenu::ToggleTransparent(label); }, true,
        label.Transparent());
}

template <class TLabel> void MultiLineEntries(QMenu& menu, TLabel& label, QWidget* parent)
{
    menu.addSeparator();
    Entry(menu, "Font", [&label, parent] { TTextObjectMenu::EditFont(label, parent); });
    AlignmentEntries(menu, label);
}

template <class TLabel> bool EditMultiLineFont(TLabel& label, QWidget* parent)
{
    const std::optional<TGFont> font = TDesignFontDialog::Choose(label.Font(), parent);
    if (!font)
        return false;
    label.ChangeFont(*font);
    Changed(label);
    return true;
}

} // namespace

void TTextObjectMenu::AddEntries(QMenu& menu, TGGraphicControl& object, QWidget* parent)
{
    TGKindMenus::AddEntries(menu, object, parent, TGKindMenu::Text);
}

void TTextObjectMenu::AddSymbolEntries(QMenu& menu, TGSymbolLabel& symbol, QWidget* parent)
{
    BaseLabelEntries(menu, symbol, parent, false);
    menu.addSeparator();
    Entry(menu, "Symbol Selector", [&symbol, parent] { EditSymbol(symbol, parent); });
}

void TTextObjectMenu::AddTextEntries(QMenu& menu, TGPLabel& text, QWidget* parent)
{
    BaseLabelEntries(menu, text, parent, true);
    menu.addSeparator();
    Entry(menu, "Text", [&text, parent] { EditText(text, parent); });
    menu.addSeparator();
    RotationEntries(menu, text);
}

void TTextObjectMenu::AddFieldEntries(QMenu& menu, TGPDLabel& field, QWidget* parent)
{
    BaseLabelEntries(menu, field, parent, true);
    menu.addSeparator();
    Entry(menu, "Field", [&field, parent] { EditField(field, parent); });
}

void TTextObjectMenu::AddCounterEntries(QMenu& menu, TGCounterLabel& counter, QWidget* parent)
{
    BaseLabelEntries(menu, counter, parent, true);
    menu.addSeparator();
    Entry(menu, "Counter Settings", [&counter, parent] { EditCounter(counter, parent); });
    menu.addSeparator();
    RotationEntries(menu, counter);
}

void TTextObjectMenu::AddDateTimeEntries(QMenu& menu, TGDateTimeLabel& date, QWidget* parent)
{
    BaseLabelEntries(menu, date, parent, true);
    menu.addSeparator();
    QMenu* dateMenu = menu.addMenu(QStringLiteral("Date Format"));
    const char* dates[3] = {"No Date", "Windows Short Date", "Windows Long Date"};
    for (int i = 0; i < 3; ++i)
        Entry(
            *dateMenu, dates[i],
            [&date, i] {
                date.SetDateFormat(TDateFormat(i));
                Changed(date);
            },
            true, int(date.DateFormat()) == i);
    QMenu* timeMenu = menu.addMenu(QStringLiteral("Time Format"));
    const char* times[3] = {"No Time", "Windows Short Time", "Windows Long Time"};
    for (int i = 0; i < 3; ++i)
        Entry(
            *timeMenu, times[i],
            [&date, i] {
                date.SetTimeFormat(TTimeFormat(i));
                Changed(date);
            },
            true, int(date.TimeFormat()) == i);
}

void TTextObjectMenu::AddPageNumberEntries(QMenu& menu, TGPageNumberLabel& page, QWidget* parent)
{
    BaseLabelEntries(menu, page, parent, true);
}

void TTextObjectMenu::AddLinesEntries(QMenu& menu, TGMultiLineLabel& lines, QWidget* parent)
{
    MultiLineEntries(menu, lines, parent);
    menu.addSeparator();
    Entry(menu, "Text", [&lines, parent] { EditLines(lines, parent); });
    Entry(
        menu, "Word Wrap", [&lines] { lines.ToggleWordWrap(); }, true, lines.WordWrap());
}

void TTextObjectMenu::AddMemoEntries(QMenu& menu, TGDMultiLineLabel& memo, QWidget* parent)
{
    MultiLineEntries(menu, memo, parent);
    menu.addSeparator();
    Entry(menu, "Memo Field", [&memo, parent] { EditMemoField(memo, parent); });
    Entry(
        menu, "Word Wrap", [&memo] { memo.ToggleWordWrap(); }, true, memo.WordWrap());
}

void TTextObjectMenu::AddAddressEntries(QMenu& menu, TGDMultiLineAddressLabel& address,
                                        QWidget* parent)
{
    MultiLineEntries(menu, address, parent);
    menu.addSeparator();
    Entry(menu, "Address Layout", [&address, parent] { EditAddressLayout(address, parent); });
}

bool TTextObjectMenu::EditFont(TGBaseLabel& label, QWidget* parent)
{
    const std::optional<TGFont> font = TDesignFontDialog::Choose(label.Font(), parent);
    if (!font)
        return false;
    label.SetFont(*font);
    Changed(label);
    return true;
}

bool TTextObjectMenu::EditFont(TGMultiLineLabel& label, QWidget* parent)
{
    return EditMultiLineFont(label, parent);
}

bool TTextObjectMenu::EditFont(TGDMultiLineLabel& label, QWidget* parent)
{
    return EditMultiLineFont(label, parent);
}

bool TTextObjectMenu::EditFont(TGDMultiLineAddressLabel& label, QWidget* parent)
{
    return EditMultiLineFont(label, parent);
}

bool TTextObjectMenu::Edit3DEffects(TGBaseLabel& label, QWidget* parent)
{
    TText3DEffectsDialog dialog(label, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    dialog.ApplyTo(label);
    return true;
}

bool TTextObjectMenu::EditBackColor(TGBaseLabel& label, QWidget* parent)
{
    const QColor color = QColorDialog::getColor(label.BackColor().ToQColor(), parent);
    if (!color.isValid())
        return false;
    label.SetBackColor(TGColor::FromQColor(color));
    label.SetTransparent(false);
    Changed(label);
    return true;
}

void TTextObjectMenu::ToggleTransparent(TGBaseLabel& label)
{
    label.SetTransparent(!label.Transparent());
    Changed(label);
}

void TTextObjectMenu::SetAlignment(TGBaseLabel& label, int alignment)
{
    label.SetAlignment(TGAlignment(alignment));
    Changed(label);
}

void TTextObjectMenu::SetAlignment(TGMultiLineBaseLabel& label, int alignment)
{
    label.SetAlignment(TGAlignment(alignment));
    Changed(label);
}

void TTextObjectMenu::SetRotation(TGBaseLabel& label, int angle)
{
    TSingleLineText::Rotate(label, angle);
    Changed(label);
}

bool TTextObjectMenu::EditText(TGPLabel& label, QWidget* parent)
{
    TTextDialog dialog(label.Caption(), parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    label.ApplyText(dialog.Text());
    return true;
}

bool TTextObjectMenu::EditField(TGPDLabel& label, QWidget* parent)
{
    TGBasePanel* panel = label.Panel();
    const data::TDataSet* dataSet = panel ? panel->DataSet() : nullptr;
    const QStringList labels =
        dataSet ? TFieldPickList::Labels(*dataSet, TFieldKind::String) : QStringList();
    TSelectFieldDialog dialog(labels, label.DataFieldDescript(), parent);
    bool changed = false;
    if (dialog.exec() == QDialog::Accepted && dataSet) {
        if (const data::TDataField* field =
                TFieldPickList::FindOffered(*dataSet, TFieldKind::String, dialog.SelectedLabel())) {
            label.Bind(field->Name(), field->DisplayLabel());
            changed = true;
        }
    }
    if (panel)
        panel->RefreshData();
    if (changed) {
        label.FitWidth();
        Changed(label);
    }
    return changed;
}

bool TTextObjectMenu::EditMemoField(TGDMultiLineLabel& label, QWidget* parent)
{
    TGBasePanel* panel = label.Panel();
    const data::TDataSet* dataSet = panel ? panel->DataSet() : nullptr;
    const QStringList labels =
        dataSet ? TFieldPickList::Labels(*dataSet, TFieldKind::Memo) : QStringList();
    TSelectFieldDialog dialog(labels, label.DataFieldDescript(), parent);
    bool changed = false;
    if (dialog.exec() == QDialog::Accepted && dataSet) {
        if (const data::TDataField* field =
                TFieldPickList::FindOffered(*dataSet, TFieldKind::Memo, dialog.SelectedLabel())) {
            label.Bind(field->Name(), field->DisplayLabel());
            changed = true;
        }
    }
    if (panel)
        panel->RefreshData();
    if (changed)
        Changed(label);
    return changed;
}

bool TTextObjectMenu::EditCounter(TGCounterLabel& label, QWidget* parent)
{
    TCounterDialog dialog(label.Settings(), parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    label.ApplySettings(dialog.Settings());
    return true;
}

bool TTextObjectMenu::EditSymbol(TGSymbolLabel& label, QWidget* parent)
{
    const QString caption = label.Caption();
    const int code = caption.isEmpty() ? 32 : TSymbolFont::CodeOf(caption.at(0));
    TSymbolSelectorDialog dialog(label.Font(), code, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    label.ApplySymbol(dialog.Font(), dialog.Code());
    return true;
}

bool TTextObjectMenu::EditLines(TGMultiLineLabel& label, QWidget* parent)
{
    TMultiLineEditorDialog dialog(label.Items(), parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    label.ApplyLines(dialog.Lines());
    return true;
}

bool TTextObjectMenu::EditAddressLayout(TGDMultiLineAddressLabel& label, QWidget* parent)
{
    TAddressLayoutDialog dialog(label.Options(), parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    label.ApplyOptions(dialog.Options());
    Changed(label);
    return true;
}

} // namespace qm::design
