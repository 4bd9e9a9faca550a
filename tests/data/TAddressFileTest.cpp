// Creating, opening, checking and rebuilding address files on real tables.

#include "data/TAddressFile.h"
#include "TFileSizeLimit.h"
#include "data/TAddressFileLayout.h"
#include "data/TAddressFileRebuild.h"
#include "data/TApollo.h"
#include "data/TDataSet.h"
#include "data/TSettingsFile.h"
#include "xbase/TCompoundIndex.h"
#include "xbase/TTable.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qm::data;

namespace {

// Enough for the table and its memo file, far too little for the index of 26 tags.
constexpr std::uint64_t kRoomForTableNotTags = 4096;

class AddressFileTest : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return QDir(mDir.path()).filePath(name); }

    QString CreateFile(const QString& name, const TNewFileFieldLengths& lengths = {})
    {
        const QString path = Path(name);
        EXPECT_EQ(TAddressFile::Create(path, lengths), QString());
        return path;
    }

    QTemporaryDir mDir;
};

} // namespace

TEST_F(AddressFileTest, CreatedFileHasTheLayoutTheWidthsAndAllTags)
{
    TSettingsFile settings(Path("QUILLM.ini"));
    settings.WriteInteger("NewFileFieldLengths", "FieldSTATE", 5);
    settings.WriteInteger("NewFileFieldLengths", "FieldZIP", 3);
    std::vector<std::pair<int, int>> progress;
    const QString path = Path("ADD0001.DBF");
    EXPECT_EQ(
        TAddressFile::Create(path, TNewFileFieldLengths::Load(settings),
                             [&](int tag, int percent) { progress.emplace_back(tag, percent); }),
        QString());
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), std::make_pair(25, 100));

    TDataSet dataSet;
    TAddressFile::DeclareFieldObjects(dataSet);
    const TAddressOpenResult result = TAddressFile::Open(dataSet, path);
    ASSERT_TRUE(result.opened) << result.message.toStdString();
    EXPECT_EQ(dataSet.FieldByName("STATE").Size(), 5);
    EXPECT_EQ(dataSet.FieldByName("ZIP").Size(), 10);
    EXPECT_EQ(dataSet.FieldByName("LNAME").Size(), 30);
    EXPECT_EQ(dataSet.Table().Fields().size(), 23u);
    EXPECT_EQ(dataSet.Table().Version(), 0xF5);
    EXPECT_TRUE(TAddressFile::TagsValid(dataSet));
    EXPECT_EQ(dataSet.Table().TagCount(), 26);
    EXPECT_EQ(dataSet.Table().TagOrder("NAME"), 1);
    EXPECT_EQ(dataSet.Table().TagOrder("notisdel"), 26);
}

TEST_F(AddressFileTest, CreateNeverReplacesAnExistingFile)
{
    const QString path = Path("ADD0001.DBF");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("keep me");
    f.close();
    // The message keeps its text and gives the engine's reason on a second line.
    const TAddressCreateResult refused = TAddressFile::CreateFile(path, {});
    ASSERT_EQ(refused.messages.size(), 1);
    EXPECT_EQ(refused.messages.front(), "Create failed\r\nADD0001.DBF: the file already exists");
    EXPECT_EQ(refused.detail, "ADD0001.DBF: the file already exists");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "keep me");
    const QString elsewhere = TAddressFile::Create(Path("no/such/folder/ADD0001.DBF"), {});
    EXPECT_TRUE(elsewhere.startsWith("Create failed\r\nADD0001.")) << elsewhere.toStdString();
    EXPECT_TRUE(elsewhere.contains("No such file or directory")) << elsewhere.toStdString();
}

TEST_F(AddressFileTest, IndexBuildFailureIsFollowedByFileCreationFailed)
{
    // A disk that fills up while the tags are built: the table and memo file are made, the
    // index file cannot grow to hold 26 tags.
    TAddressCreateResult result;
    {
        qm::test::TFileSizeLimit fullDisk(kRoomForTableNotTags);
        if (!fullDisk.Available())
            GTEST_SKIP() << "no file-size limit on this platform";
        result = TAddressFile::CreateFile(Path("ADD0001.DBF"), {});
    }
    ASSERT_EQ(result.messages.size(), 2) << result.messages.join(" | ").toStdString();
    EXPECT_TRUE(result.messages[0].startsWith("Unable to create index files\r\nADD0001.CDX: "))
        << result.messages[0].toStdString();
    EXPECT_EQ(result.messages[1], "File creation failed");
    EXPECT_FALSE(result.detail.isEmpty());
    EXPECT_TRUE(result.messages[0].endsWith(result.detail));
    EXPECT_TRUE(QFile::exists(Path("ADD0001.DBF"))) << "no partial file is removed";
}

TEST_F(AddressFileTest, OpenReportsMissingFilesForeignTablesAndMissingFields)
{
    TDataSet dataSet;
    TAddressFile::DeclareFieldObjects(dataSet);
    EXPECT_EQ(TAddressFile::Open(dataSet, Path("ADD0009.DBF")).message,
              "File " + Path("ADD0009.DBF") + " not found");

    QFile junk(Path("JUNK.DBF"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(300, 'x'));
    junk.close();
    // The engine's reason is the second line; the rest of the text stays as it was.
    const TAddressOpenResult junkOpen = TAddressFile::Open(dataSet, Path("JUNK.DBF"));
    EXPECT_FALSE(junkOpen.opened);
    EXPECT_TRUE(junkOpen.detail.startsWith("JUNK.DBF: ")) << junkOpen.detail.toStdString();
    EXPECT_EQ(junkOpen.message,
              "Unable to open " + Path("JUNK.DBF") + "\r\n" + junkOpen.detail +
                  "\r\n\r\n * May not be a Quillmark file.\r\n * May be in use by another "
                  "program or user");
    EXPECT_EQ(TAddressFile::OpenFailureText(Path("JUNK.DBF"), junkOpen.detail), junkOpen.message);

    // A table of another program that lacks one field: the failure names the field.
    auto defs = TAddressFileLayout::FieldDefs({});
    defs.erase(defs.begin() + 10); // ZIP
    qm::xbase::TTable::Create(Path("OTHER.DBF").toStdString(), defs)->Close();
    const TAddressOpenResult other = TAddressFile::Open(dataSet, Path("OTHER.DBF"));
    EXPECT_FALSE(other.opened);
    EXPECT_TRUE(other.message.startsWith(TAddressFile::OpenFailureText(Path("OTHER.DBF"))));
    EXPECT_TRUE(other.message.contains("ZIP"));
    EXPECT_FALSE(dataSet.Active());
}

TEST_F(AddressFileTest, FieldOfTheWrongTypeIsRefusedAndNothingIsWritten)
{
    struct TCase {
        const char* field;
        qm::xbase::TFieldDef replacement;
        const char* found;
        const char* expected;
    };
    const TCase cases[] = {
        {"MEMO", {"MEMO", qm::xbase::TFieldType::Character, 10, 0}, "C (character)", "M (memo)"},
        {"ISDEL",
         {"ISDEL", qm::xbase::TFieldType::Character, 1, 0},
         "C (character)",
         "L (logical)"},
        {"ZIP", {"ZIP", qm::xbase::TFieldType::Numeric, 10, 0}, "N (numeric)", "C (character)"},
    };
    TDataSet dataSet;
    TAddressFile::DeclareFieldObjects(dataSet);
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.field);
        auto defs = TAddressFileLayout::FieldDefs({});
        for (auto& def : defs)
            if (def.name == c.field)
                def = c.replacement;
        const QString path = Path(QStringLiteral("T%1.DBF").arg(c.field));
        qm::xbase::TTable::Create(path.toStdString(), defs)->Close();
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();

        const TAddressOpenResult result = TAddressFile::Open(dataSet, path);
        EXPECT_FALSE(result.opened);
        EXPECT_FALSE(dataSet.Active());
        EXPECT_TRUE(result.message.startsWith(TAddressFile::OpenFailureText(path) + "\r\n * "));
        const QString last = result.message.split("\r\n").last();
        EXPECT_TRUE(last.contains(c.field)) << last.toStdString();
        EXPECT_TRUE(last.contains(c.found)) << last.toStdString();
        EXPECT_TRUE(last.contains(c.expected)) << last.toStdString();

        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), before);
    }
    // The same data set opens a real address file afterwards, fields bound to its widths.
    ASSERT_TRUE(TAddressFile::Open(dataSet, CreateFile("ADD0001.DBF")).opened);
    EXPECT_EQ(dataSet.FieldByName("MEMO").Type(), TDataFieldType::Memo);
}

TEST_F(AddressFileTest, FilesCopiedWithOtherLetterCaseOpen)
{
    const QString created = CreateFile("ADD0001.DBF");
    QFile::rename(created, Path("add0001.dbf"));
    QFile::rename(Path("ADD0001.CDX"), Path("Add0001.Cdx"));
    QFile::rename(Path("ADD0001.FPT"), Path("add0001.fpt"));
    TDataSet dataSet;
    TAddressFile::DeclareFieldObjects(dataSet);
    ASSERT_TRUE(TAddressFile::Open(dataSet, Path("ADD0001.DBF")).opened);
    EXPECT_TRUE(TAddressFile::TagsValid(dataSet));
}

TEST_F(AddressFileTest, FileLackingTheTagTagHasAnInvalidIndex)
{
    const QString path = CreateFile("ADD0001.DBF");
    {
        auto index = qm::xbase::TCompoundIndex::Open(Path("ADD0001.CDX").toStdString());
        ASSERT_TRUE(index->RemoveTag("TAG"));
    }
    TDataSet dataSet;
    TAddressFile::DeclareFieldObjects(dataSet);
    ASSERT_TRUE(TAddressFile::Open(dataSet, path).opened);
    EXPECT_EQ(TAddressFile::FirstMissingTag(dataSet), "TAG");
    EXPECT_FALSE(TAddressFile::TagsValid(dataSet));
    EXPECT_EQ(TAddressFile::RebuildQuestion(path),
              "The index file for " + path + "\r\nis missing or invalid. Rebuild now?");

    EXPECT_EQ(TAddressFileRebuild::Run(dataSet, {}), QString());
    EXPECT_TRUE(TAddressFile::TagsValid(dataSet));
}

TEST_F(AddressFileTest, RebuildRemovesDeletedRecordsForGood)
{
    const QString path = CreateFile("ADD0001.DBF");
    TDataSet dataSet;
    TAddressFile::DeclareFieldObjects(dataSet);
    ASSERT_TRUE(TAddressFile::Open(dataSet, path).opened);
    for (int i = 0; i < 10; ++i) {
        dataSet.Append();
        dataSet.SetAsString("LNAME", QStringLiteral("Name%1").arg(i));
        dataSet.Post();
    }
    for (uint32_t recNo : {2u, 5u, 9u}) {
        dataSet.GoTo(recNo);
        dataSet.Table().SetDeleted(true);
    }
    QStringList texts;
    std::vector<int> bar;
    EXPECT_EQ(TAddressFileRebuild::Run(dataSet, {[&](const QString& t) { texts << t; },
                                                 [&](int v) { bar.push_back(v); }}),
              QString());
    EXPECT_EQ(texts, (QStringList{"Cleaning out old deleted records", "Rebuilding indexes"}));
    EXPECT_EQ(dataSet.Table().RecordCount(), 7u);
    EXPECT_EQ(bar.back(), 100);
    TApollo apollo(dataSet);
    EXPECT_EQ(apollo.QueryRecCount(), 7u);
    EXPECT_TRUE(TAddressFile::TagsValid(dataSet));
}

TEST(TTagPhaseProgress, SumsIncreasesOverTwentyOneAndStaysFull)
{
    TTagPhaseProgress progress;
    EXPECT_EQ(progress.Report(0, 50), 2);   // 50 / 21 = 2.38
    EXPECT_EQ(progress.Report(0, 100), 5);  // 100 / 21 = 4.76
    EXPECT_EQ(progress.Report(0, 100), 5);  // no increase
    EXPECT_EQ(progress.Report(1, 100), 10); // 200 / 21 = 9.52
    int value = 0;
    for (int tag = 2; tag < 21; ++tag)
        value = progress.Report(tag, 100);
    EXPECT_EQ(value, 100);
    EXPECT_EQ(progress.Report(25, 100), 100);
    TTagPhaseProgress halves;
    EXPECT_EQ(halves.Report(0, 63), 3);      // 63 / 21 = 3 exactly
    EXPECT_EQ(halves.Report(1, 42 - 31), 4); // 74 / 21 = 3.52 -> 4
}
