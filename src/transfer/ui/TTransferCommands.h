#pragma once

// The main window's import and export commands: each checks what it needs, hands the main
// window's records to its window as the main window's table of hand-overs says, runs the window
// and takes the records back.
// - "Import from &ASCII File", "Import from &DBF File": the main table is closed and the window
//   opens the file exclusively in its own data set with the main window's labels; afterwards the
//   file is opened again, its order restored, the filter applied, the first record shown.
// - "Import from Quillmark 1.x DBF" / "2.x DBF": the window works on the main table directly,
//   with the filter cleared and the controls disabled; order and filter come back afterwards.
// - "&Export ": on the records the main window shows; back to the same record afterwards.

#include <QString>
#include <functional>

class QDialog;
class QWidget;

namespace qm::addressbook {
class TAddressBook;
}

namespace qm::transfer {

class TTransferCommands {
public:
    // Runs a modal window (the main window's own runner, which tests can drive).
    using TRunDialog = std::function<int(QDialog&)>;

    // The action object names of the five commands.
    static bool Handles(const QString& actionName);
    // Runs the command of the action; false when it is not one of the five.
    static bool Run(const QString& actionName, addressbook::TAddressBook& book, QWidget* parent,
                    const TRunDialog& run);

    static void ImportAscii(addressbook::TAddressBook& book, QWidget* parent,
                            const TRunDialog& run);
    static void ImportDbf(addressbook::TAddressBook& book, QWidget* parent, const TRunDialog& run);
    static void ImportOlder(bool version1, addressbook::TAddressBook& book, QWidget* parent,
                            const TRunDialog& run);
    static void Export(addressbook::TAddressBook& book, QWidget* parent, const TRunDialog& run);
};

} // namespace qm::transfer
