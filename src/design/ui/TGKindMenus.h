#pragma once

// The widget parts of the kind catalogue: each kind's pop-up menu entries and properties dialog,
// attached to its catalogue entry (TGKindCatalogue) on first use. The object menus and the
// design surface ask through here; a kind without entries or dialog simply has none.

#include "design/objects/TGKindCatalogue.h"

class QMenu;
class QWidget;

namespace qm::design {

class TGGraphicControl;

class TGKindMenus {
public:
    // Attaches every kind's entries and dialog to the catalogue (only the first call does).
    static void Install();
    // Appends the kind's own entries after the common ones; with a menu other than None, only
    // when that menu offers the kind's entries.
    static void AddEntries(QMenu& menu, TGGraphicControl& object, QWidget* parent,
                           TGKindMenu only = TGKindMenu::None);
    // Opens the kind's properties dialog (the text, field, counter, symbol, lines, memo field,
    // address layout or picture dialog); false when the kind has none or nothing changed.
    static bool EditProperties(TGGraphicControl& object, QWidget* parent);
    static bool HasProperties(const TGGraphicControl& object);
};

} // namespace qm::design
