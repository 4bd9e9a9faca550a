#pragma once

// The commands of the design surface's object and panel menus, on the panel model alone: stacking,
// aligning, centring, locking, selectability, select all, the clipboard file, paste with its
// repeat rule, clone, delete, and the common step that places a drawn object. The widgets call
// these; every command raises the panel's change notification and repaints the page.
//
// Contract:
// - "Selected" means the panel's selection (TGBasePanel::Selection, in the order of selecting).
// - The clipboard file is Clipbrd.tmp in the program home; it is shared by every panel of the
//   program and removed, with its companion TempFile.tmp, when any design surface goes
//   (RemoveClipboardFiles).
// - Layout stream failures (a pasted kind not registered: "Class %s not found") throw
//   TLayoutError; the objects read before the failure stay.

#include "design/core/TGGraphicControl.h"

#include <QRect>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>

namespace qm::design {

class TGBasePanel;
class TGFont;

// Ignores a paste that follows the previous one by less than 1000 ms (key repeat). The first
// paste always counts.
class TPasteGate {
public:
    static constexpr std::int64_t kRepeatMs = 1000;
    // True when a paste at now may run; it is then recorded as the last paste.
    bool Allow(std::int64_t now);

private:
    std::optional<std::int64_t> mLast;
};

class TGSurfaceCommands {
public:
    static constexpr int kCloneOffset = 25;
    static constexpr int kMinPlacedWidth = 10;
    static constexpr int kMinPlacedHeight = 15;

    // ---- clipboard file
    static QString ClipboardPath();
    static QString TempFilePath();
    static bool ClipboardExists();
    static void RemoveClipboardFiles();

    // ---- stacking
    static void BringToFront(TGBasePanel& panel, TGGraphicControl& object);
    // Also empties the selection.
    static void SendToBack(TGBasePanel& panel, TGGraphicControl& object);
    static void BringSelectionToFront(TGBasePanel& panel);
    static void SendSelectionToBack(TGBasePanel& panel);

    // ---- position
    static void CenterVertically(TGBasePanel& panel, TGGraphicControl& object);
    static void CenterHorizontally(TGBasePanel& panel, TGGraphicControl& object);
    static void CenterSelectionVertically(TGBasePanel& panel);
    static void CenterSelectionHorizontally(TGBasePanel& panel);
    // Locked objects are aligned too.
    static void AlignLefts(TGBasePanel& panel);
    static void AlignRights(TGBasePanel& panel);
    static void AlignTops(TGBasePanel& panel);
    static void AlignBottoms(TGBasePanel& panel);

    // ---- flags
    static void ToggleLocked(TGBasePanel& panel, TGGraphicControl& object);
    static void LockAll(TGBasePanel& panel, bool locked);
    // Sets the flag and takes the object out of the selection.
    static void MakeUnselectable(TGBasePanel& panel, TGGraphicControl& object);
    static void MarkAll(TGBasePanel& panel, bool unselectable);
    // Empties the selection, then selects every selectable object in z-order.
    static void SelectAll(TGBasePanel& panel);
    static void ApplyFontToSelection(TGBasePanel& panel, const TGFont& font);

    // ---- clipboard and copies
    // The selection in selection order; nothing is written when nothing is selected.
    static void CopySelection(TGBasePanel& panel);
    static void CopyOne(TGBasePanel& panel, const TGGraphicControl& object);
    static void CutSelection(TGBasePanel& panel);
    static void CutOne(TGBasePanel& panel, TGGraphicControl& object);
    // Frees the selected objects, last selected first.
    static void DeleteSelection(TGBasePanel& panel);
    static void DeleteOne(TGBasePanel& panel, TGGraphicControl& object);
    // Reads the clipboard file (if any) shifted 15 right and 15 down; the objects are not
    // selected. The gate decides first whether this paste counts at all; false when ignored.
    static bool Paste(TGBasePanel& panel, TPasteGate& gate, std::int64_t now);
    // A copy 25 pixels lower on top of the z-order; a selected original hands its place in the
    // selection to the copy. Returns the copy.
    static TGGraphicControl* Clone(TGBasePanel& panel, TGGraphicControl& object);

    // ---- drawing
    // The common placing step for a drawn object: put on the panel, named "Special" + the
    // smallest free number, given the rectangle widened to at least 10 x 15, Scale set to the
    // panel's; then the change notification and pending updates. Returns the object.
    static TGGraphicControl*
    PlaceObject(TGBasePanel& panel, std::unique_ptr<TGGraphicControl> object, const QRect& rect);

    // The page changed: notification and a repaint of the whole page.
    static void Changed(TGBasePanel& panel);
};

} // namespace qm::design
