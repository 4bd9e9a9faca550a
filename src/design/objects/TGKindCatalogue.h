#pragma once

// The object kinds this build provides, one entry each, looked up by class name (any letter
// case): how to make one, the settings an object drawn with a tool starts with, and, attached by
// the widget layer (design/ui, TGKindMenus), its pop-up menu entries and its properties dialog.
// The hosts' registration tables (TGClassRegistry::RegisterHostKinds), the design surface and the
// object menus all ask the catalogue; nothing else lists the kinds. docs/design/object-kinds.md
// has the steps for adding a kind.

#include "design/core/TGClassRegistry.h"

#include <QByteArray>
#include <functional>
#include <optional>
#include <vector>

class QMenu;
class QWidget;

namespace qm::design {

class TGFont;

// Which of the object menus offers a kind's entries.
enum class TGKindMenu { None, Text, Shape, Image };

struct TGKind {
    // Sets the starting values of an object drawn with a tool, after AfterCreate and before the
    // object is placed: for text kinds the panel's font, and the kind's own ("<text>", "<field>",
    // counter 1000, POSTNET fields "ZIP" and "STREET").
    using TDrawnSettings = std::function<void(TGGraphicControl& object, const TGFont& panelFont)>;
    // Appends the kind's entries to an object's pop-up menu, after the common ones. parent is
    // the window dialogs open over.
    using TMenuEntries =
        std::function<void(QMenu& menu, TGGraphicControl& object, QWidget* parent)>;
    // Opens the kind's properties dialog; true when the object changed.
    using TProperties = std::function<bool(TGGraphicControl& object, QWidget* parent)>;

    QByteArray className;
    TGClassRegistry::TFactory make;
    TDrawnSettings drawnSettings; // empty: a drawn object keeps its construction defaults
    // Widget parts, empty until design/ui attaches them.
    TGKindMenu menu = TGKindMenu::None;
    TMenuEntries menuEntries;
    TProperties properties; // empty: the kind has no properties dialog
};

class TGKindCatalogue {
public:
    static const std::vector<TGKind>& Kinds();
    // The kind's entry, or null when this build does not provide it.
    static const TGKind* Find(const QByteArray& className);
    // The settings an object of this kind starts with when drawn with a tool (nothing for kinds
    // that keep their construction defaults, such as the symbol with its own font).
    static void ApplyDrawnSettings(TGGraphicControl& object, const TGFont& panelFont);
    // Attaches the widget parts of a kind (design/ui does, once for every kind it knows).
    static void AttachEditing(const QByteArray& className, TGKindMenu menu,
                              TGKind::TMenuEntries entries, TGKind::TProperties properties);
};

} // namespace qm::design
