// Opening, creating and rebuilding the system tables in a sysdata folder.

#include "data/TSystemTables.h"
#include "data/TDataSet.h"
#include "xbase/TCursor.h"
#include "xbase/TExpression.h"
#include "xbase/TFileIoFaulty.h"
#include "xbase/TTable.h"
#include "xbase/TTableCheck.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qm::data;

namespace {

class SystemTablesTest : public ::testing::Test {
protected:
    QString Path(const QString& name) const { return QDir(mDir.path()).filePath(name); }

    void AddRows(TSystemTable table, const QStringList& descriptions)
    {
        TDataSet ds;
        ASSERT_EQ(TSystemTables::OpenOrCreate(ds, table, mDir.path()), QString());
        for (const QString& d : descriptions) {
            ds.Append();
            ds.SetAsString("DESCRIPT", d);
            ds.Post();
        }
    }

    // Adds a row the way a process killed before its commit leaves it: the record and its key
    // reached the files, the index still carries its out-of-step mark.
    void AddRowAndDie(TSystemTable table, const char* description)
    {
        qm::xbase::TFileIoFaulty files(qm::xbase::TFileIoSystem::Native());
        qm::xbase::TTableOptions options;
        options.files = &files;
        auto file = qm::xbase::TTable::Open(
            TSystemTables::FilePath(table, mDir.path()).toStdString(), options);
        file->AppendBlank();
        file->PutString(file->FieldIndex("DESCRIPT"), description);
        file->Post();
        files.SetFailAt(files.Operations() + 1); // nothing more reaches the disk
    }

    QStringList Listed(TDataSet& ds)
    {
        QStringList rows;
        ds.Cursor().SetOrder(ds.Table().TagCount() > 0 ? 1 : 0);
        for (ds.First(); !ds.Eof() && !ds.IsEmpty(); ds.Next())
            rows << ds.AsString("DESCRIPT");
        return rows;
    }

    QTemporaryDir mDir;
};

} // namespace

TEST_F(SystemTablesTest, AnIndexLeftOutOfStepIsRebuiltOnceAtOpen)
{
    AddRows(TSystemTable::Report, {"Phone list", "Birthdays"});
    AddRowAndDie(TSystemTable::Report, "Addresses");
    QString notice;
    {
        TDataSet ds;
        ASSERT_EQ(TSystemTables::OpenOrCreate(ds, TSystemTable::Report, mDir.path(),
                                              qm::xbase::TOpenMode::Exclusive, &notice),
                  QString());
        EXPECT_EQ(notice, "The index of REPORT.DBF was out of step with the table and has been "
                          "rebuilt.");
        EXPECT_EQ(Listed(ds), (QStringList{"Addresses", "Birthdays", "Phone list"}));
    }
    EXPECT_TRUE(qm::xbase::TTableCheck::Run(Path("REPORT.DBF").toStdString()).ok);
    TDataSet again;
    ASSERT_EQ(TSystemTables::OpenOrCreate(again, TSystemTable::Report, mDir.path(),
                                          qm::xbase::TOpenMode::Exclusive, &notice),
              QString());
    EXPECT_EQ(notice, QString()) << "rebuilt a second time";
}

TEST_F(SystemTablesTest, ADamagedIndexIsReplacedAtOpen)
{
    AddRows(TSystemTable::Label, {"Shipping", "Return address"});
    QFile cdx(Path("LABEL.CDX"));
    ASSERT_TRUE(cdx.open(QIODevice::ReadWrite));
    ASSERT_TRUE(cdx.resize(100));
    cdx.close();
    QString notice;
    TDataSet ds;
    ASSERT_EQ(TSystemTables::OpenOrCreate(ds, TSystemTable::Label, mDir.path(),
                                          qm::xbase::TOpenMode::Exclusive, &notice),
              QString());
    EXPECT_TRUE(notice.startsWith("The index of LABEL.DBF was damaged (LABEL.CDX: "))
        << notice.toStdString();
    EXPECT_TRUE(notice.endsWith(") and has been rebuilt.")) << notice.toStdString();
    EXPECT_EQ(Listed(ds), (QStringList{"Return address", "Shipping"}));
    ds.Close();
    EXPECT_TRUE(qm::xbase::TTableCheck::Run(Path("LABEL.DBF").toStdString()).ok);
}

TEST_F(SystemTablesTest, AReaderThatMayNotWriteListsWithoutAnIndexOutOfStep)
{
    AddRows(TSystemTable::Letter, {"Welcome", "Reminder"});
    AddRowAndDie(TSystemTable::Letter, "Invoice");
    QString notice;
    TDataSet ds;
    ASSERT_EQ(TSystemTables::OpenOrCreate(ds, TSystemTable::Letter, mDir.path(),
                                          qm::xbase::TOpenMode::ReadOnly, &notice),
              QString());
    EXPECT_EQ(ds.Table().Index(), nullptr);
    EXPECT_EQ(Listed(ds), (QStringList{"Welcome", "Reminder", "Invoice"}));
    EXPECT_EQ(notice, "The index of LETTER.DBF was out of step with the table; its rows are "
                      "listed in the order they were added until it is rebuilt.");
}

TEST_F(SystemTablesTest, MissingProgramTableIsCreatedWithItsTag)
{
    TDataSet ds;
    EXPECT_EQ(TSystemTables::OpenOrCreate(ds, TSystemTable::Letter, mDir.path()), QString());
    ASSERT_TRUE(ds.Active());
    EXPECT_TRUE(QFile::exists(Path("LETTER.DBF")));
    EXPECT_TRUE(QFile::exists(Path("LETTER.CDX")));
    EXPECT_EQ(ds.Table().RecordCount(), 0u);
    EXPECT_EQ(ds.Table().TagOrder("DESCRIPT"), 1);
    EXPECT_EQ(ds.Table().Fields()[1].type, qm::xbase::TFieldType::Memo);
}

TEST_F(SystemTablesTest, MissingIndexIsRecreatedWithoutTouchingRecords)
{
    AddRows(TSystemTable::Report, {"Phone list", "Birthdays"});
    ASSERT_TRUE(QFile::remove(Path("REPORT.CDX")));
    TDataSet ds;
    EXPECT_EQ(TSystemTables::OpenOrCreate(ds, TSystemTable::Report, mDir.path()), QString());
    EXPECT_EQ(ds.Table().RecordCount(), 2u);
    EXPECT_TRUE(QFile::exists(Path("REPORT.CDX")));
    EXPECT_EQ(ds.Table().TagOrder("DESCRIPT"), 1);
}

TEST_F(SystemTablesTest, ShippedTablesAreNeverCreated)
{
    TDataSet ds;
    EXPECT_EQ(TSystemTables::OpenOrCreate(ds, TSystemTable::LabelTemplates, mDir.path()),
              "Unable to Open LBLTPL.DBF");
    EXPECT_EQ(TSystemTables::OpenOrCreate(ds, TSystemTable::StateZip, mDir.path()),
              "Unable to Open or Create CSZ.DBF");
    EXPECT_FALSE(QFile::exists(Path("LBLTPL.DBF")));
    EXPECT_FALSE(QFile::exists(Path("CSZ.DBF")));
}

TEST_F(SystemTablesTest, DamagedTableIsReportedAndKept)
{
    QFile damaged(Path("envelope.dbf"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("\x03 this is not a table");
    damaged.close();
    TDataSet ds;
    // The message, then the engine's reason: what is wrong with which file.
    const QStringList lines =
        TSystemTables::OpenOrCreate(ds, TSystemTable::Envelope, mDir.path()).split("\r\n");
    ASSERT_EQ(lines.size(), 2) << lines.join(" | ").toStdString();
    EXPECT_EQ(lines[0], "Unable to Open or Create ENVELOPE.DBF");
    EXPECT_TRUE(lines[1].startsWith("ENVELOPE.DBF: ", Qt::CaseInsensitive))
        << lines[1].toStdString();
    ASSERT_TRUE(damaged.open(QIODevice::ReadOnly));
    EXPECT_EQ(damaged.readAll(), "\x03 this is not a table");
    EXPECT_FALSE(QFile::exists(Path("ENVELOPE.DBF")));
}

TEST_F(SystemTablesTest, RebuildPacksMarkedRowsAndSkipsTablesThatFail)
{
    AddRows(TSystemTable::Label, {"Avery 5160", "Old layout", "Avery 5163"});
    {
        auto table = qm::xbase::TTable::Open(Path("LABEL.DBF").toStdString());
        table->Go(2);
        table->SetDeleted(true);
        table->Close();
    }
    QStringList texts;
    TSystemTables::RebuildAll(mDir.path(), [&](const QString& t) { texts << t; });
    EXPECT_EQ(texts,
              (QStringList{"Rebuilding Letters File indexes", "Rebuilding Label File indexes",
                           "Rebuilding State/Province File indexes",
                           "Rebuilding Label Setup File indexes",
                           "Rebuilding Envelope File indexes", "Rebuilding Report File indexes"}));
    TDataSet ds;
    ASSERT_EQ(TSystemTables::OpenOrCreate(ds, TSystemTable::Label, mDir.path()), QString());
    EXPECT_EQ(ds.Table().RecordCount(), 2u);
    EXPECT_EQ(ds.Table().TagOrder("DESCRIPT"), 1);
    EXPECT_EQ(ds.Table().TagExpression(1).Text(), "UPPER(DESCRIPT)");
}
