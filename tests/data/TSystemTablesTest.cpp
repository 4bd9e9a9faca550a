// Opening, creating and rebuilding the system tables in a sysdata folder.

#include "data/TSystemTables.h"
#include "data/TDataSet.h"
#include "xbase/TExpression.h"
#include "xbase/TTable.h"

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

    QTemporaryDir mDir;
};

} // namespace

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
