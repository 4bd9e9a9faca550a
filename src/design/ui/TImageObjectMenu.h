#pragma once

// The context-menu entries of picture objects, appended after the common entries the design
// surface puts first: "-", "Load Image From Disk", "-", "Stretch to Fit" and "AutoSize" (checked
// entries showing the current values). Every command repaints the object and raises the
// panel's change notification.
//
// Contract: the object must stay alive while the menu is open; the actions hold plain pointers.

class QMenu;
class QWidget;

namespace qm::design {

class TGGraphicControl;
class TGImage;

class TImageObjectMenu {
public:
    // Appends the entries for a TGImage; nothing for other kinds.
    static void AddEntries(QMenu& menu, TGGraphicControl& object, QWidget* parent);
    // The entries themselves (TGKindMenus attaches them to the kind catalogue).
    static void AddImageEntries(QMenu& menu, TGImage& image, QWidget* parent);

    // "Load Image From Disk": the dialog preset from the object; on Ok with a file selected,
    // takes Stretch and AutoSize from the boxes and loads the file. A file that does not load
    // shows "Error loading file!" and leaves the picture empty. Returns true when Ok was pressed
    // with a file.
    static bool LoadImage(TGImage& image, QWidget* parent);
    static void ToggleStretch(TGImage& image);
    static void ToggleAutoSize(TGImage& image);
};

} // namespace qm::design
