#include "tools/TToolEnvironment.h"

#include "data/TProgramHome.h"
#include "data/TSettingsFile.h"
#include "data/TTagIdentifier.h"

#include <QDateTime>
#include <QGuiApplication>
#include <memory>

namespace qm::tools {

void TToolEnvironment::EnsureGuiApplication()
{
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "quillmark-tool";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QGuiApplication> app = std::make_unique<QGuiApplication>(argc, argv);
}

QString TToolEnvironment::StoredTagIdentifier()
{
    // The tool never sets a current home, so the identifier is read from the home the commands
    // use: reading it from the current one alone found none, and nothing counted as tagged.
    const data::TProgramHome home = ProgramHome();
    if (!home.Dir().isEmpty()) {
        const data::TSettingsFile settings(home.SettingsPath());
        const QString stored =
            settings.ReadString(QStringLiteral("Misc"), QStringLiteral("GlobalTagId"));
        if (!stored.isEmpty())
            return stored;
    }
    return data::TTagIdentifier::MakeNew(QDateTime::currentDateTime());
}

data::TProgramHome TToolEnvironment::ProgramHome()
{
    data::TProgramHome home = data::TProgramHome::Current();
    if (home.Dir().isEmpty())
        home = data::TProgramHome::Locate();
    return home;
}

} // namespace qm::tools
