// The one entry point of the GUI program.

#include "addressbook/TSingleInstance.h"
#include "addressbook/ui/TAddressMain.h"
#include "addressbook/ui/TApplicationIdentity.h"
#include "data/TProgramHome.h"
#include "data/ui/TMessageService.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    qm::addressbook::TApplicationIdentity::Apply();
    QApplication::setApplicationVersion(QStringLiteral(QM_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/quillmark.svg")));
    qm::data::TMessageBoxes::Install();

    const qm::data::TProgramHome home = qm::data::TProgramHome::Locate();
    try {
        home.Prepare(qm::data::TProgramHome::ShippedDataDir());
    } catch (const qm::data::THomeError& error) {
        qm::data::TMessageService::Error(nullptr, QStringLiteral("Quillmark"), error.Message());
        return 1;
    }
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
