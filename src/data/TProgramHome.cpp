#include "data/TProgramHome.h"

#include "data/TFileFinder.h"
#include "data/TSystemTables.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <filesystem>
#include <system_error>

namespace qm::data {
namespace {

TProgramHome gCurrent;

void MakeFolder(const QString& path)
{
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path.toStdString()), error);
    if (error)
        throw THomeError(path, QString::fromStdString(error.message()));
    if (!QFileInfo(path).isDir())
        throw THomeError(path, QStringLiteral("a file of that name is in the way"));
}

} // namespace

THomeError::THomeError(const QString& path, const QString& reason)
    : std::runtime_error(("Unable to create the folder " + path + ": " + reason).toStdString()),
      mMessage("Unable to create the folder " + path + ": " + reason)
{
}

TProgramHome::TProgramHome(QString dir) : mDir(QDir::cleanPath(std::move(dir))) {}

TProgramHome TProgramHome::Locate()
{
    const QString fromEnvironment = qEnvironmentVariable("QUILLMARK_HOME");
    if (!fromEnvironment.isEmpty())
        return TProgramHome(QDir(fromEnvironment).absolutePath());

    const QString exeDir = QCoreApplication::applicationDirPath();
    if (!exeDir.isEmpty() && QFileInfo(exeDir).isWritable() &&
        (!TFileFinder::FindInDir(exeDir, kSettingsFileName).isEmpty() ||
         !TFileFinder::FindInDir(exeDir, QStringLiteral("sysdata")).isEmpty()))
        return TProgramHome(exeDir);

    return TProgramHome(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                        QStringLiteral("/quillmark"));
}

QString TProgramHome::ShippedDataDir()
{
    const QString fromEnvironment = qEnvironmentVariable("QM_DATA_DIR");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return QDir::cleanPath(QCoreApplication::applicationDirPath() +
                           QStringLiteral("/../share/quillmark"));
}

void TProgramHome::Prepare(const QString& shippedDataDir) const
{
    MakeFolder(mDir);
    const QString sysdata = SysDataDir();
    const QString data = DataDir();
    if (!QFileInfo(sysdata).isDir())
        MakeFolder(sysdata);
    if (!QFileInfo(data).isDir())
        MakeFolder(data);

    const QDir shipped(shippedDataDir + QStringLiteral("/sysdata"));
    const QStringList files = shipped.entryList(QDir::Files);
    // A table travels with its companions (index, memo): a group of files with the same base
    // name is seeded only when none of them is there, so a user's table never gets a shipped
    // index that does not match it.
    const QStringList present = QDir(sysdata).entryList(QDir::Files);
    const auto groupPresent = [&present](const QString& name) {
        const QString base = QFileInfo(name).completeBaseName();
        for (const QString& existing : present)
            if (QFileInfo(existing).completeBaseName().compare(base, Qt::CaseInsensitive) == 0)
                return true;
        return false;
    };
    for (const QString& name : files) {
        if (groupPresent(name))
            continue;
        const QString target = QDir(sysdata).filePath(name);
        // Copy under a temporary name first, so an interrupted copy never looks like a table.
        const QString partial = target + QStringLiteral(".part");
        QFile::remove(partial);
        if (!QFile::copy(shipped.filePath(name), partial))
            continue;
        QFile::setPermissions(partial, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                           QFile::ReadOther);
        if (!QFile::rename(partial, target))
            QFile::remove(partial);
    }
}

QString TProgramHome::ShippedTablesProblem(const QString& shippedDataDir) const
{
    const QString source = QDir::cleanPath(shippedDataDir + QStringLiteral("/sysdata"));
    QStringList missing;
    QStringList notShipped;
    for (TSystemTable table : TSystemTables::RebuildOrder()) {
        if (TSystemTables::Schema(table).createdByProgram)
            continue;
        if (QFileInfo(TSystemTables::FilePath(table, SysDataDir())).isFile())
            continue;
        const QString name = QFileInfo(TSystemTables::FilePath(table, SysDataDir())).fileName();
        missing << name;
        if (!QFileInfo(TSystemTables::FilePath(table, source)).isFile())
            notShipped << name;
    }
    if (missing.isEmpty())
        return {};
    const QString target = QDir::toNativeSeparators(SysDataDir());
    const QString from = QDir::toNativeSeparators(source);
    const QString advice =
        QStringLiteral("Reinstall Quillmark, or set QM_DATA_DIR to the folder that holds its "
                       "sysdata folder.");
    if (!QFileInfo(source).isDir())
        return QStringLiteral("The installed data folder %1 is missing, so %2 could not be "
                              "copied to %3.\n%4")
            .arg(from, missing.join(QStringLiteral(", ")), target, advice);
    if (!notShipped.isEmpty())
        return QStringLiteral("The installed data folder %1 lacks %2, which could not be copied "
                              "to %3.\n%4")
            .arg(from, notShipped.join(QStringLiteral(", ")), target, advice);
    return QStringLiteral("Unable to copy %1 from %2 to %3.")
        .arg(missing.join(QStringLiteral(", ")), from, target);
}

QString TProgramHome::SettingsPath() const
{
    return FilePath(kSettingsFileName);
}

QString TProgramHome::SysDataDir() const
{
    return FilePath(QStringLiteral("sysdata"));
}

QString TProgramHome::DataDir() const
{
    return FilePath(QStringLiteral("DATA"));
}

QString TProgramHome::FilePath(const QString& relativePath) const
{
    const QString found = TFileFinder::Find(mDir, relativePath);
    if (!found.isEmpty())
        return found;
    return QDir(mDir).filePath(relativePath);
}

const TProgramHome& TProgramHome::Current()
{
    return gCurrent;
}

void TProgramHome::SetCurrent(const TProgramHome& home)
{
    gCurrent = home;
}

} // namespace qm::data
