#include "data/TProgramHome.h"
#include "data/TFileFinder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using qm::data::TFileFinder;
using qm::data::THomeError;
using qm::data::TProgramHome;

namespace {

void Touch(const QString& path, const QByteArray& bytes = "x")
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray Contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(TProgramHome, EnvironmentVariableWins)
{
    QTemporaryDir dir;
    qputenv("QUILLMARK_HOME", dir.path().toUtf8());
    EXPECT_EQ(TProgramHome::Locate().Dir(), QDir(dir.path()).absolutePath());
    qunsetenv("QUILLMARK_HOME");
    EXPECT_NE(TProgramHome::Locate().Dir(), QDir(dir.path()).absolutePath());
}

TEST(TProgramHome, PrepareCreatesFoldersAndSeedsMissingTablesOnly)
{
    QTemporaryDir shipped;
    Touch(shipped.path() + "/sysdata/LBLTPL.DBF", "shipped templates");
    Touch(shipped.path() + "/sysdata/CSZ.DBF", "shipped states");
    Touch(shipped.path() + "/sysdata/CSZ.CDX", "shipped state index");
    Touch(shipped.path() + "/sysdata/LBLTPL.CDX", "shipped template index");
    QTemporaryDir root;
    const TProgramHome home(root.path() + "/deep/home");
    Touch(root.path() + "/deep/home/sysdata/csz.dbf", "the user's own states");

    home.Prepare(shipped.path());
    EXPECT_TRUE(QFileInfo(home.DataDir()).isDir());
    EXPECT_EQ(Contents(home.SysDataDir() + "/LBLTPL.DBF"), "shipped templates");
    EXPECT_EQ(Contents(home.SysDataDir() + "/csz.dbf"), "the user's own states");
    EXPECT_FALSE(QFile::exists(home.SysDataDir() + "/CSZ.DBF"));
    // The user's table keeps its own (missing) index rather than the shipped one.
    EXPECT_FALSE(QFile::exists(home.SysDataDir() + "/CSZ.CDX"));
    EXPECT_EQ(Contents(home.SysDataDir() + "/LBLTPL.CDX"), "shipped template index");
    EXPECT_TRUE(QFileInfo(home.SysDataDir() + "/LBLTPL.DBF").isWritable());
    // A second start changes nothing.
    home.Prepare(shipped.path());
    EXPECT_EQ(QDir(home.SysDataDir()).entryList(QDir::Files).size(), 3);
}

TEST(TProgramHome, FolderThatCannotBeMadeNamesPathAndReason)
{
    QTemporaryDir root;
    Touch(root.path() + "/blocker");
    const TProgramHome home(root.path() + "/blocker/home");
    try {
        home.Prepare(root.path());
        FAIL() << "a home below a file was created";
    } catch (const THomeError& error) {
        EXPECT_TRUE(error.Message().startsWith("Unable to create the folder " + root.path()))
            << error.Message().toStdString();
        EXPECT_GT(error.Message().size(),
                  QString("Unable to create the folder " + root.path() + "/blocker/home: ").size());
    }
}

TEST(TProgramHome, MissingShippedTablesAreNamedWithTheFoldersUntilTheHomeHasThem)
{
    QTemporaryDir root;
    const TProgramHome home(root.path() + "/home");
    const QString target = QDir::toNativeSeparators(root.path() + "/home/sysdata");

    // No data folder at all: the home is still made, and the message names both folders.
    const QString gone = root.path() + "/share/quillmark";
    home.Prepare(gone);
    const QString noFolder = home.ShippedTablesProblem(gone);
    EXPECT_TRUE(noFolder.startsWith("The installed data folder " +
                                    QDir::toNativeSeparators(gone + "/sysdata") + " is missing"))
        << noFolder.toStdString();
    EXPECT_TRUE(noFolder.contains("LBLTPL.DBF") && noFolder.contains("CSZ.DBF"));
    EXPECT_TRUE(noFolder.contains(target));
    EXPECT_TRUE(noFolder.contains("QM_DATA_DIR"));

    // A data folder that lacks one table names that one.
    QTemporaryDir partial;
    Touch(partial.path() + "/sysdata/LBLTPL.DBF", "templates");
    home.Prepare(partial.path());
    const QString lacking = home.ShippedTablesProblem(partial.path());
    EXPECT_TRUE(lacking.contains("lacks CSZ.DBF")) << lacking.toStdString();
    EXPECT_FALSE(lacking.contains("LBLTPL"));

    // Once the home holds both (in any letter case), the data folder no longer matters: a
    // portable install carries its own tables.
    Touch(root.path() + "/home/sysdata/csz.dbf", "the user's own states");
    EXPECT_EQ(home.ShippedTablesProblem(partial.path()), QString());
    EXPECT_EQ(home.ShippedTablesProblem(gone), QString());
}

TEST(TProgramHome, ShippedTableThatCouldNotBeCopiedIsReported)
{
    QTemporaryDir shipped;
    Touch(shipped.path() + "/sysdata/LBLTPL.DBF", "templates");
    Touch(shipped.path() + "/sysdata/CSZ.DBF", "states");
    QTemporaryDir root;
    const TProgramHome home(root.path());
    // A folder where the copy is written first stands in for a write that fails.
    ASSERT_TRUE(QDir().mkpath(root.path() + "/sysdata/CSZ.DBF.part/inside"));

    home.Prepare(shipped.path());
    EXPECT_EQ(Contents(home.SysDataDir() + "/LBLTPL.DBF"), "templates");
    EXPECT_FALSE(QFile::exists(home.SysDataDir() + "/CSZ.DBF"));
    EXPECT_EQ(home.ShippedTablesProblem(shipped.path()),
              "Unable to copy CSZ.DBF from " +
                  QDir::toNativeSeparators(shipped.path() + "/sysdata") + " to " +
                  QDir::toNativeSeparators(root.path() + "/sysdata") + ".");
}

TEST(TProgramHome, PathsInsideTheHomeAreFoundInAnyCase)
{
    QTemporaryDir root;
    Touch(root.path() + "/quillm.INI");
    Touch(root.path() + "/data/add0001.dbf");
    const TProgramHome home(root.path());
    EXPECT_EQ(home.SettingsPath(), root.path() + "/quillm.INI");
    EXPECT_EQ(home.FilePath("DATA/ADD0001.DBF"), root.path() + "/data/add0001.dbf");
    EXPECT_EQ(home.FilePath("DATA/ADD0002.DBF"), root.path() + "/DATA/ADD0002.DBF");
}

TEST(TFileFinder, ExactMatchWinsThenAnyCaseThenCompanions)
{
    QTemporaryDir root;
    Touch(root.path() + "/Add0001.DBF");
    Touch(root.path() + "/add0001.cdx");
    Touch(root.path() + "/ADD0001.dbf");
    EXPECT_EQ(TFileFinder::FindInDir(root.path(), "ADD0001.dbf"), root.path() + "/ADD0001.dbf");
    EXPECT_FALSE(TFileFinder::FindInDir(root.path(), "add0001.DBF").isEmpty());
    EXPECT_EQ(TFileFinder::FindCompanion(root.path() + "/Add0001.DBF", "CDX"),
              root.path() + "/add0001.cdx");
    EXPECT_EQ(TFileFinder::FindCompanion(root.path() + "/Add0001.DBF", ".fpt"), QString());
    EXPECT_EQ(TFileFinder::Find(root.path(), "nothere/x"), QString());
}
