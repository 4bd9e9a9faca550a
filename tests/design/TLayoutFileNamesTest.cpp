#include "design/core/TLayoutFileNames.h"

#include "design/stream/TLayoutError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace qm::design {
namespace {

void Touch(const QString& path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

TEST(TLayoutFileNames, NewNameTakesTheFirstFreeNumberOfItsKind)
{
    QTemporaryDir dir;
    EXPECT_EQ(TLayoutFileNames::NewName(dir.path(), TLayoutKind::Label),
              QStringLiteral("BIN00001.L"));
    Touch(dir.filePath("BIN00001.L"));
    Touch(dir.filePath("bin00003.l")); // found in any letter case
    Touch(dir.filePath("BIN00002.E"));
    EXPECT_EQ(TLayoutFileNames::NewName(dir.path(), TLayoutKind::Label),
              QStringLiteral("BIN00002.L"));
    EXPECT_EQ(TLayoutFileNames::NewName(dir.path(), TLayoutKind::Envelope),
              QStringLiteral("BIN00001.E"));
    EXPECT_EQ(TLayoutFileNames::NewName(dir.path(), TLayoutKind::Report),
              QStringLiteral("BIN00001.R"));
    EXPECT_EQ(TLayoutFileNames::Name(0, TLayoutKind::Report), QStringLiteral("BIN00000.R"));
    // Names rows still hold are avoided too, whether their files exist or not.
    EXPECT_EQ(
        TLayoutFileNames::NewName(dir.path(), TLayoutKind::Envelope,
                                  {QStringLiteral("bin00001.e  "), QStringLiteral("BIN00003.E")}),
        QStringLiteral("BIN00004.E"));
}

TEST(TLayoutFileNames, OnlyBinFiveDigitsAndAKindExtensionIsALayoutName)
{
    for (const char* good : {"BIN00001.L", "BIN99999.E", "bin00000.r"})
        EXPECT_TRUE(TLayoutFileNames::IsLayoutName(QString::fromLatin1(good))) << good;
    for (const char* bad :
         {"", "BIN0001.L", "BIN000001.L", "BIN0000A.L", "BIN00001.X", "BIN00001.LL",
          "../BIN00001.L", "sysdata/BIN00001.L", "BIN00001_L", "/etc/passwd", "..", "XBIN0001.L"})
        EXPECT_FALSE(TLayoutFileNames::IsLayoutName(QString::fromLatin1(bad))) << bad;
    EXPECT_TRUE(TLayoutFileNames::IsLayoutName("BIN00001.E", TLayoutKind::Envelope));
    EXPECT_FALSE(TLayoutFileNames::IsLayoutName("BIN00001.E", TLayoutKind::Label));
}

TEST(TLayoutFileNames, StoredNamesResolveInsideSysdataOnly)
{
    QTemporaryDir dir;
    Touch(dir.filePath("bin00004.l"));
    EXPECT_EQ(TLayoutFileNames::PathFor(dir.path(), QStringLiteral("BIN00004.L  ")),
              dir.filePath("bin00004.l"))
        << "the column's blanks are dropped and the file found in any case";
    EXPECT_EQ(TLayoutFileNames::PathFor(dir.path(), QStringLiteral("BIN00005.E")),
              dir.filePath("BIN00005.E"));
    for (const char* bad : {"../BIN00001.L", "..", "C:\\sysdata\\BIN00001.L", "/tmp/BIN00001.L",
                            "ADD0001.DBF", " BIN00001.L"}) {
        try {
            TLayoutFileNames::PathFor(dir.path(), QString::fromLatin1(bad));
            ADD_FAILURE() << bad;
        } catch (const TLayoutError& e) {
            EXPECT_EQ(e.Kind(), TLayoutErrorKind::FileName);
            EXPECT_TRUE(e.Message().contains(QString::fromLatin1(bad)))
                << e.Message().toStdString();
        }
    }
}

} // namespace
} // namespace qm::design
