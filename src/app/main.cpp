// The one entry point of the GUI program.

#include "addressbook/TSingleInstance.h"
#include "addressbook/ui/TAddressMain.h"
#include "addressbook/ui/TApplicationIdentity.h"
#include "data/TProgramHome.h"
#include "data/ui/TMessageService.h"

#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kUsage =
    "Usage: quillmark [--help | --version]\n"
    "\n"
    "Starts Quillmark, the mailing-list manager, on the address file it had open last (a new\n"
    "one in DATA/ on the first start). A second copy brings the running one to the front.\n"
    "\n"
    "  --help     this text\n"
    "  --version  the program version\n"
    "\n"
    "Qt's own options (-platform NAME, -display DISPLAY, -style NAME, ...) are understood too.\n"
    "The home folder is QUILLMARK_HOME when set, else ~/.local/share/quillmark; its sysdata/\n"
    "folder is seeded on the first start from the installed data folder (QM_DATA_DIR when set,\n"
    "else share/quillmark beside the program's bin/ folder).\n";

// Writes a text to standard output; false when it could not be written whole (a closed pipe, a
// full disk), so the caller does not report success for it.
bool Print(const char* text)
{
    return std::fputs(text, stdout) >= 0 && std::fflush(stdout) == 0;
}

} // namespace

int main(int argc, char* argv[])
{
    // Answered before any window-system connection, so they work without a display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            return Print("quillmark " QM_VERSION "\n") ? 0 : 1;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            return Print(kUsage) ? 0 : 1;
        }
    }

    QApplication app(argc, argv);
    qm::addressbook::TApplicationIdentity::Apply();
    QApplication::setApplicationVersion(QStringLiteral(QM_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/quillmark.svg")));
    qm::data::TMessageBoxes::Install();

    const qm::data::TProgramHome home = qm::data::TProgramHome::Locate();
    const QString shippedDataDir = qm::data::TProgramHome::ShippedDataDir();
    try {
        home.Prepare(shippedDataDir);
    } catch (const qm::data::THomeError& error) {
        qm::data::TMessageService::Error(nullptr, QStringLiteral("Quillmark"), error.Message());
        return 1;
    }
    // Without the shipped tables the address book still works; the label and state/ZIP windows
    // say what they miss when opened.
    const QString missingTables = home.ShippedTablesProblem(shippedDataDir);
    if (!missingTables.isEmpty())
        qm::data::TMessageService::Warn(nullptr, QStringLiteral("Quillmark"), missingTables);
    qm::data::TProgramHome::SetCurrent(home);

    qm::addressbook::TSingleInstance instance(home.Dir());
    if (!instance.Acquire()) {
        instance.AskRunningCopyToRaise();
        return 0;
    }

    QApplication::setOverrideCursor(Qt::WaitCursor);
    qm::addressbook::TAddressMain mainWindow;
    QObject::connect(&instance, &qm::addressbook::TSingleInstance::RaiseRequested, &mainWindow,
                     &qm::addressbook::TAddressMain::RaiseFromOtherCopy);
    mainWindow.show();
    QApplication::restoreOverrideCursor();
    return app.exec();
}
