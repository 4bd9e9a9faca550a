#pragma once

// The context-menu entries of the text kinds (single-line and multi-line), appended after the
// common entries the design surface puts first, and the commands behind them. Every command
// repaints the object and raises the panel's change notification; dialogs change nothing on
// Cancel.
//
// Contract: the object must stay alive while the menu is open; the menu's actions hold plain
// pointers to it. parent is the window the dialogs open over.

#include <QString>

class QMenu;
class QWidget;

namespace qm::design {

class TGBaseLabel;
class TGCounterLabel;
class TGDMultiLineAddressLabel;
class TGDMultiLineLabel;
class TGDateTimeLabel;
class TGGraphicControl;
class TGMultiLineBaseLabel;
class TGMultiLineLabel;
class TGPDLabel;
class TGPLabel;
class TGPageNumberLabel;
class TGSymbolLabel;

class TTextObjectMenu {
public:
    // Appends the kind's entries (nothing for kinds that are not text), as the kind catalogue
    // lists them. Check marks show the current alignment, rotation, transparency, word wrap and
    // date/time formats.
    static void AddEntries(QMenu& menu, TGGraphicControl& object, QWidget* parent);

    // ---- the entries of each text kind (TGKindMenus attaches them to the kind catalogue)
    static void AddSymbolEntries(QMenu& menu, TGSymbolLabel& symbol, QWidget* parent);
    static void AddTextEntries(QMenu& menu, TGPLabel& text, QWidget* parent);
    static void AddFieldEntries(QMenu& menu, TGPDLabel& field, QWidget* parent);
    static void AddCounterEntries(QMenu& menu, TGCounterLabel& counter, QWidget* parent);
    static void AddDateTimeEntries(QMenu& menu, TGDateTimeLabel& date, QWidget* parent);
    static void AddPageNumberEntries(QMenu& menu, TGPageNumberLabel& page, QWidget* parent);
    static void AddLinesEntries(QMenu& menu, TGMultiLineLabel& lines, QWidget* parent);
    static void AddMemoEntries(QMenu& menu, TGDMultiLineLabel& memo, QWidget* parent);
    static void AddAddressEntries(QMenu& menu, TGDMultiLineAddressLabel& address, QWidget* parent);

    // ---- commands (each returns true when the object changed)
    static bool EditFont(TGBaseLabel& label, QWidget* parent);
    // The multi-line kinds take a new font and lay their lines out again.
    static bool EditFont(TGMultiLineLabel& label, QWidget* parent);
    static bool EditFont(TGDMultiLineLabel& label, QWidget* parent);
    static bool EditFont(TGDMultiLineAddressLabel& label, QWidget* parent);
    static bool Edit3DEffects(TGBaseLabel& label, QWidget* parent);
    static bool EditBackColor(TGBaseLabel& label, QWidget* parent);
    static void ToggleTransparent(TGBaseLabel& label);
    static void SetAlignment(TGBaseLabel& label, int alignment);
    static void SetAlignment(TGMultiLineBaseLabel& label, int alignment);
    static void SetRotation(TGBaseLabel& label, int angle);
    // "Text" dialog on a fixed text; EditNew is the same for a newly drawn one.
    static bool EditText(TGPLabel& label, QWidget* parent);
    static bool EditNew(TGPLabel& label, QWidget* parent) { return EditText(label, parent); }
    // "Select Field" on a field object; the panel refreshes whatever the outcome.
    static bool EditField(TGPDLabel& label, QWidget* parent);
    static bool EditMemoField(TGDMultiLineLabel& label, QWidget* parent);
    static bool EditCounter(TGCounterLabel& label, QWidget* parent);
    static bool EditSymbol(TGSymbolLabel& label, QWidget* parent);
    static bool EditLines(TGMultiLineLabel& label, QWidget* parent);
    static bool EditAddressLayout(TGDMultiLineAddressLabel& label, QWidget* parent);
};

} // namespace qm::design
