#include "data/TSettingsFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using qm::data::TSettingsFile;
using qm::data::TSettingsWriteError;

namespace {

class SettingsFileTest : public ::testing::Test {
protected:
    QString Write(const QByteArray& bytes)
    {
        QFile f(mPath);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return mPath;
    }
    QByteArray Read() const
    {
        QFile f(mPath);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return f.readAll();
    }

    QTemporaryDir mDir;
    QString mPath = QDir(mDir.path()).filePath("QUILLM.ini");
};

} // namespace

TEST_F(SettingsFileTest, IntegersReadHexAndFallBackOnAnythingElse)
{
    Write("[NewFileFieldLengths]\nFieldZIP=0x1E\nFieldCITY=0X1f\nFieldORG=abc\nFieldLNAME=0x\n"
          "FieldFNAME=-12\nFieldSTATE=12abc\nFieldFAX=99999999999\nFieldEMAIL=0xZZ\n");
    const TSettingsFile settings(mPath);
    const QString s = "NewFileFieldLengths";
    EXPECT_EQ(settings.ReadInteger(s, "FieldZIP", 10), 30);
    EXPECT_EQ(settings.ReadInteger(s, "FieldCITY", 10), 31);
    EXPECT_EQ(settings.ReadInteger(s, "FieldORG", 30), 30);
    EXPECT_EQ(settings.ReadInteger(s, "FieldLNAME", 30), 30); // "0x" is only two characters
    EXPECT_EQ(settings.ReadInteger(s, "FieldFNAME", 30), -12);
    EXPECT_EQ(settings.ReadInteger(s, "FieldSTATE", 20), 20);
    EXPECT_EQ(settings.ReadInteger(s, "FieldFAX", 30), 30);
    EXPECT_EQ(settings.ReadInteger(s, "FieldEMAIL", 40), 40);
    EXPECT_EQ(settings.ReadInteger(s, "Missing", 7), 7);
}

TEST_F(SettingsFileTest, BooleansAreIntegers)
{
    Write("[Adding]\nPlugDate=yes\nPlugCityState=2\nAutoDupCheck=0\nCarryOrg=\n");
    const TSettingsFile settings(mPath);
    EXPECT_FALSE(settings.ReadBool("Adding", "PlugDate", false));
    EXPECT_TRUE(settings.ReadBool("Adding", "PlugDate", true));
    EXPECT_TRUE(settings.ReadBool("Adding", "PlugCityState", false));
    EXPECT_FALSE(settings.ReadBool("Adding", "AutoDupCheck", true));
    EXPECT_TRUE(settings.ReadBool("Adding", "CarryOrg", true)); // empty text keeps the default
}

TEST_F(SettingsFileTest, StringsAreCutAt1023Characters)
{
    Write("[MRU]\nItem1=" + QByteArray(5000, 'x') + "\n");
    const TSettingsFile settings(mPath);
    EXPECT_EQ(settings.ReadString("MRU", "Item1").size(), 1023);
    EXPECT_EQ(settings.ReadString("MRU", "Item2", "dflt"), "dflt");
}

TEST_F(SettingsFileTest, EveryReadSeesTheFileAsItIsNow)
{
    TSettingsFile writer(mPath);
    const TSettingsFile reader(mPath);
    writer.WriteString("Misc", "GlobalTagId", "A1");
    EXPECT_EQ(reader.ReadString("Misc", "GlobalTagId"), "A1");
    Write("[Misc]\nGlobalTagId=B2\n"); // another program changes the file
    EXPECT_EQ(reader.ReadString("Misc", "GlobalTagId"), "B2");
    writer.DeleteKey("Misc", "GlobalTagId");
    EXPECT_FALSE(reader.HasKey("Misc", "GlobalTagId"));
}

TEST_F(SettingsFileTest, WritesKeepOtherLinesAndUseDecimal)
{
    Write("; hand-written\r\n[Unknown Section]\r\nkeep=me\r\n[Dialing]\r\nPort=0x2\r\n");
    TSettingsFile settings(mPath);
    settings.WriteInteger("dialing", "port", 3);
    settings.WriteBool("Adding", "PlugDate", true);
    EXPECT_EQ(Read(), "; hand-written\r\n[Unknown Section]\r\nkeep=me\r\n[Dialing]\r\nPort=3\r\n"
                      "\r\n[Adding]\r\nPlugDate=1\r\n");
}

TEST_F(SettingsFileTest, NewFileIsUtf8WithByteOrderMarkAndOldFilesKeepWindows1252)
{
    TSettingsFile settings(mPath);
    settings.WriteString("Adding", "DefaultCountry", QString::fromUtf8("Österreich"));
    EXPECT_TRUE(Read().startsWith("\xEF\xBB\xBF[Adding]"));
    EXPECT_EQ(settings.ReadString("Adding", "DefaultCountry"), QString::fromUtf8("Österreich"));

    Write("[Adding]\nDefaultCountry=Espa\xF1"
          "a\n"); // written by an older Windows program
    EXPECT_EQ(settings.ReadString("Adding", "DefaultCountry"), QString::fromUtf8("España"));
    settings.WriteString("Letter", "DefaultFontName", QString::fromUtf8("Zapf Chancery Ä"));
    EXPECT_EQ(Read(), QByteArray("[Adding]\nDefaultCountry=Espa\xF1"
                                 "a\n\n[Letter]\n"
                                 "DefaultFontName=Zapf Chancery \xC4\n"));
}

TEST_F(SettingsFileTest, ValuesWithOuterBlanksOrQuotesReadBackAsTyped)
{
    TSettingsFile settings(mPath);
    for (const QString& value : {QString("Canada "), QString("  two"), QString("\"quoted\""),
                                 QString("'single'"), QString("plain"), QString("")}) {
        settings.WriteString("Adding", "DefaultCountry", value);
        EXPECT_EQ(settings.ReadString("Adding", "DefaultCountry"), value);
    }
}

TEST_F(SettingsFileTest, MissingUnreadableAndHugeFilesGiveDefaults)
{
    const TSettingsFile missing(QDir(mDir.path()).filePath("none.ini"));
    EXPECT_EQ(missing.ReadInteger("Envelope Feed", "Position", 2), 2);

    Write("[Adding]\nPlugDate=1\n" + QByteArray(10 * 1024 * 1024, 'z') +
          "\n[Misc]\nGettingStarted=1\n");
    const TSettingsFile huge(mPath);
    EXPECT_TRUE(huge.ReadBool("Adding", "PlugDate", false));
    EXPECT_TRUE(huge.ReadBool("Misc", "GettingStarted", false));

    if (getuid() != 0) { // root reads everything
        QFile::setPermissions(mPath, QFileDevice::Permissions());
        EXPECT_FALSE(huge.ReadBool("Adding", "PlugDate", false));
    }
}

TEST_F(SettingsFileTest, FailedWritesRaiseTheMessageAndLeaveTheFile)
{
    Write("[Adding]\nPlugDate=0\n");
    QFile::setPermissions(mPath, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    TSettingsFile settings(mPath);
    try {
        settings.WriteBool("Adding", "PlugDate", true);
        FAIL() << "a read-only settings file was written";
    } catch (const TSettingsWriteError& error) {
        EXPECT_EQ(error.Message(), "Unable to write to " + mPath);
    }
    EXPECT_EQ(Read(), "[Adding]\nPlugDate=0\n");

    const QString inMissingFolder = QDir(mDir.path()).filePath("no/such/QUILLM.ini");
    TSettingsFile nowhere(inMissingFolder);
    EXPECT_THROW(nowhere.WriteString("MRU", "Item1", "x"), TSettingsWriteError);
    const QString folder = QDir(mDir.path()).filePath("folder.ini");
    QDir().mkpath(folder);
    TSettingsFile aFolder(folder);
    EXPECT_THROW(aFolder.WriteString("MRU", "Item1", "x"), TSettingsWriteError);
}
