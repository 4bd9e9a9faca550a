// The REPORT rows: open-or-create and the list, Load, Save writing the file before the row, free
// file names that skip every name a row holds, Clone copying before it appends, Delete, and rows
// naming files that are no report layout files.

#include "reports/TReportStore.h"

#include "TLayoutNameFill.h"
#include "data/TDataSet.h"
#include "data/TSystemTables.h"
#include "design/core/TGDataPanel.h"
#include "design/objects/Trpshapes.h"
#include "design/stream/TLayoutError.h"
#include "design/text/TDesignUnits.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qm::reports;
using qm::design::TDesignUnits;

namespace {

struct TBands {
    qm::design::TGOwner owner;
    qm::design::TGDataPanel header{&owner};
    qm::design::TGDataPanel detail{&owner};
    qm::design::TGDataPanel footer{&owner};

    std::array<qm::design::TGBasePanel*, 3> All() { return {&header, &detail, &footer}; }
    int Count() const { return header.ObjectCount() + detail.ObjectCount() + footer.ObjectCount(); }
};

class ReportStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TDesignUnits::SetPpiOverride(96);
        ASSERT_EQ(mStore.Open(mDir.path()), QString());
    }
    void TearDown() override { TDesignUnits::SetPpiOverride(0); }

    QString Path(const QString& name) const { return QDir(mDir.path()).filePath(name); }
    bool Exists(const QString& name) const { return QFile::exists(Path(name)); }
    QByteArray Read(const QString& name) const
    {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void WriteFile(const QString& name, const QByteArray& bytes = "data")
    {
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // A new report with `objects` shapes in the detail band; returns its list index.
    int AddReport(const QString& description, int objects = 1,
                  const TReportSettings& settings = TReportSettings::NewReport())
    {
        TReportRow row = TReportStore::NewRow();
        row.description = description;
        TBands bands;
        for (int i = 0; i < objects; ++i) {
            auto shape = std::make_unique<qm::design::Trpshapes>();
            shape->SetBounds(10 * i, 5, 40, 20);
            bands.detail.AddObject(std::move(shape));
        }
        QString error;
        const int index = mStore.Save(row, bands.All(), settings, &error);
        EXPECT_EQ(error, QString());
        return index;
    }

    // Appends a row as other software might have written it.
    void AddForeignRow(const QString& description, const QString& binary)
    {
        mStore.Close();
        {
            qm::data::TDataSet set;
            ASSERT_EQ(qm::data::TSystemTables::OpenOrCreate(set, qm::data::TSystemTable::Report,
                                                            mDir.path()),
                      QString());
            set.Append();
            set.SetAsString("DESCRIPT", description);
            set.SetAsString("LAYOUT", "Letter Size, Portrait");
            set.SetAsString("BINARY", binary);
            set.Post();
        }
        ASSERT_EQ(mStore.Open(mDir.path()), QString());
    }

    QStringList Descriptions() const
    {
        QStringList list;
        for (const TReportRow& row : mStore.Rows())
            list << row.description;
        return list;
    }

    QTemporaryDir mDir;
    TReportStore mStore;
};

} // namespace

TEST_F(ReportStoreTest, SavedReportsAreListedAndLoadBack)
{
    EXPECT_TRUE(QFile::exists(Path("REPORT.DBF")));
    EXPECT_TRUE(mStore.IsEmpty());
    TReportSettings a4 = TReportSettings::NewReport();
    a4.SetLayout(TReportSettings::Layouts()[2]);
    a4.useFooter = true;
    EXPECT_EQ(AddReport("Zeta", 2, a4), 0);
    EXPECT_EQ(AddReport("Alpha", 1), 0);
    EXPECT_EQ(Descriptions(), (QStringList{"Alpha", "Zeta"}));
    const TReportRow zeta = mStore.Rows()[1];
    EXPECT_EQ(zeta.layoutFile, "BIN00001.R");
    EXPECT_EQ(zeta.layoutName, "A4 Size, Portrait");
    EXPECT_EQ(mStore.Find("Zeta  "), 1);
    EXPECT_EQ(mStore.FindFile("bin00001.r"), 1);

    // Load empties the bands first, then reads the row's file.
    TBands bands;
    bands.header.AddObject(std::make_unique<qm::design::Trpshapes>());
    EXPECT_EQ(mStore.Load(zeta, bands.owner, bands.All()), a4);
    EXPECT_EQ(bands.header.ObjectCount(), 0);
    EXPECT_EQ(bands.detail.ObjectCount(), 2);

    // Modify: the same row, a new description cut to 60 characters, and the design in a new
    // file the row names once it is written; the file it named before goes.
    TReportRow row = zeta;
    row.description = QString(70, 'x');
    QString error;
    const int index = mStore.Save(row, bands.All(), TReportSettings::NewReport(), &error);
    EXPECT_EQ(error, QString());
    ASSERT_EQ(mStore.Rows().size(), 2u);
    EXPECT_EQ(mStore.Rows()[std::size_t(index)].description, QString(60, 'x'));
    EXPECT_EQ(row.layoutFile, "BIN00003.R");
    EXPECT_FALSE(Exists("BIN00001.R"));
    EXPECT_EQ(row.layoutName, "Letter Size, Portrait");
    EXPECT_EQ(row, mStore.Rows()[std::size_t(index)]);
}

TEST_F(ReportStoreTest, ATableThatCannotBeOpenedIsReported)
{
    mStore.Close();
    QFile::remove(Path("REPORT.DBF"));
    QFile::remove(Path("REPORT.CDX"));
    WriteFile("REPORT.DBF", "not a table at all");
    const QString failure = mStore.Open(mDir.path());
    EXPECT_TRUE(failure.startsWith("Unable to Open or Create REPORT.DBF")) << failure.toStdString();
    EXPECT_FALSE(mStore.IsOpen());
    EXPECT_EQ(Read("REPORT.DBF"), "not a table at all"); // never created over
}

TEST_F(ReportStoreTest, SaveWritesTheFileBeforeTheRow)
{
    AddReport("Kept", 1);
    const QByteArray kept = Read("BIN00001.R");

    // The new report's file cannot be written: no row, and the message says why.
    ASSERT_TRUE(QDir(mDir.path()).mkdir("BIN00002.R"));
    TReportRow fresh = TReportStore::NewRow();
    TBands bands;
    bands.detail.SetScale(1.5f);
    QString error;
    EXPECT_EQ(mStore.Save(fresh, bands.All(), TReportSettings::NewReport(), &error), -1);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(mStore.Rows().size(), 1u);
    EXPECT_TRUE(fresh.IsNew());
    EXPECT_EQ(bands.detail.Scale(), 1.5f); // the designer stays as it was, open

    // The row cannot be written (a description the table cannot hold): the new file goes again,
    // and an existing report's file is put back as it was.
    ASSERT_TRUE(QDir(mDir.path()).rmdir("BIN00002.R"));
    fresh.description = QString::fromUtf8("\u65E5\u672C");
    EXPECT_EQ(mStore.Save(fresh, bands.All(), TReportSettings::NewReport(), &error), -1);
    EXPECT_FALSE(Exists("BIN00002.R"));
    TReportRow existing = mStore.Rows()[0];
    existing.description = fresh.description;
    EXPECT_EQ(mStore.Save(existing, bands.All(), TReportSettings::NewReport(), &error), -1);
    EXPECT_EQ(Read("BIN00001.R"), kept);
    EXPECT_EQ(mStore.Rows()[0].description, "Kept");
}

TEST_F(ReportStoreTest, FreeNamesSkipFilesAndNamesHeldByRows)
{
    WriteFile("BIN00001.R");
    WriteFile("BIN00003.R");
    WriteFile("BIN00002.L"); // another kind's file does not count
    EXPECT_EQ(mStore.FreeFileName(), "BIN00002.R");

    // A row whose file is gone still holds its name; so does a deleted row.
    AddForeignRow("Lost", "BIN00002.R");
    AddForeignRow("Gone", "bin00004.r ");
    ASSERT_EQ(mStore.Rows().size(), 2u);
    ASSERT_TRUE(mStore.Delete(mStore.Find("Gone")));
    EXPECT_EQ(mStore.FreeFileName(), "BIN00005.R");
    EXPECT_EQ(mStore.Rows()[std::size_t(AddReport("New"))].layoutFile, "BIN00005.R");
    EXPECT_EQ(Read("BIN00001.R"), "data"); // nothing written over
}

TEST_F(ReportStoreTest, WithEveryNameTakenNothingIsWritten)
{
    // Deleted rows hold every name but one, whose file exists.
    mStore.Close();
    ASSERT_TRUE(QFile::remove(Path("REPORT.CDX"))); // the tag is built again on opening
    qm::test::HoldEveryLayoutName(Path("REPORT.DBF"), 'R', 77777);
    WriteFile("BIN77777.R");
    ASSERT_EQ(mStore.Open(mDir.path()), QString());
    QString error;
    EXPECT_EQ(mStore.FreeFileName(&error), QString());
    EXPECT_EQ(error, TReportStore::AllNamesTakenMessage());
    TReportRow row = TReportStore::NewRow();
    TBands bands;
    EXPECT_EQ(mStore.Save(row, bands.All(), TReportSettings::NewReport(), &error), -1);
    EXPECT_EQ(error, TReportStore::AllNamesTakenMessage());
    EXPECT_FALSE(Exists("BIN00000.R"));
    EXPECT_TRUE(mStore.IsEmpty());
}

TEST_F(ReportStoreTest, ACloneIsACopyOfItsOwn)
{
    AddReport("Base", 2);
    QString error;
    const int clone = mStore.Clone(0, &error);
    EXPECT_EQ(error, QString());
    ASSERT_EQ(mStore.Rows().size(), 2u);
    const TReportRow copy = mStore.Rows()[std::size_t(clone)];
    EXPECT_EQ(copy.description, "Clone of Base");
    EXPECT_EQ(copy.layoutName, "Letter Size, Portrait");
    EXPECT_EQ(copy.layoutFile, "BIN00002.R");
    EXPECT_EQ(Read("BIN00002.R"), Read("BIN00001.R"));

    // Changing the clone leaves the report it came from alone.
    const QByteArray base = Read("BIN00001.R");
    TBands bands;
    mStore.Load(copy, bands.owner, bands.All());
    bands.detail.ClearObjects();
    TReportRow changed = copy;
    mStore.Save(changed, bands.All(), TReportSettings::NewReport(), &error);
    EXPECT_NE(Read(changed.layoutFile), base);
    EXPECT_EQ(Read("BIN00001.R"), base);
    TBands again;
    mStore.Load(mStore.Rows()[std::size_t(mStore.Find("Base"))], again.owner, again.All());
    EXPECT_EQ(again.detail.ObjectCount(), 2);

    // A copy that cannot be written adds no row.
    const QString blocked = mStore.FreeFileName();
    ASSERT_TRUE(QDir(mDir.path()).mkdir(blocked));
    EXPECT_EQ(mStore.Clone(mStore.Find("Base"), &error), -1);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(mStore.Rows().size(), 2u);

    // A long description is cut to the column.
    ASSERT_TRUE(QDir(mDir.path()).rmdir(blocked));
    AddReport(QString(60, 'y'));
    const int longClone = mStore.Clone(mStore.Find(QString(60, 'y')), &error);
    EXPECT_EQ(mStore.Rows()[std::size_t(longClone)].description,
              QStringLiteral("Clone of ") + QString(51, 'y'));
}

TEST_F(ReportStoreTest, DeleteRemovesTheRowAndItsFile)
{
    AddReport("One");
    AddReport("Two");
    ASSERT_TRUE(Exists("BIN00001.R"));
    EXPECT_TRUE(mStore.Delete(mStore.Find("One")));
    EXPECT_EQ(Descriptions(), QStringList{"Two"});
    EXPECT_FALSE(Exists("BIN00001.R"));
    EXPECT_TRUE(Exists("BIN00002.R"));

    // Two rows sharing a file (written before names were checked against the rows): deleting one
    // keeps the other's design.
    AddForeignRow("Twin", "BIN00002.R");
    EXPECT_TRUE(mStore.Delete(mStore.Find("Twin")));
    EXPECT_TRUE(Exists("BIN00002.R"));
    // Saving a row that shares its file gives it a file of its own.
    AddForeignRow("Twin again", "BIN00002.R");
    const QByteArray two = Read("BIN00002.R");
    TReportRow twin = mStore.Rows()[std::size_t(mStore.Find("Twin again"))];
    TBands empty;
    QString error;
    mStore.Save(twin, empty.All(), TReportSettings::NewReport(), &error);
    EXPECT_NE(twin.layoutFile, "BIN00002.R");
    EXPECT_EQ(Read("BIN00002.R"), two);
}

TEST_F(ReportStoreTest, RowsNamingOtherFilesTouchNothingOutsideTheLayouts)
{
    WriteFile("ADDRESS.DBF", "precious");
    WriteFile("BIN0001.R", "precious too");
    AddForeignRow("Odd", "ADDRESS.DBF");
    AddForeignRow("Climber", "../BIN0001.R");
    AddForeignRow("Label", "BIN00001.L");

    for (const char* description : {"Odd", "Climber", "Label"}) {
        const int index = mStore.Find(description);
        ASSERT_GE(index, 0);
        const TReportRow row = mStore.Rows()[std::size_t(index)];
        TBands bands;
        try {
            mStore.Load(row, bands.owner, bands.All());
            ADD_FAILURE() << description << " loaded";
        } catch (const qm::design::TLayoutError& e) {
            EXPECT_EQ(e.Kind(), qm::design::TLayoutErrorKind::FileName);
            EXPECT_TRUE(e.Message().contains(row.layoutFile)) << e.Message().toStdString();
        }
        QString error;
        EXPECT_EQ(mStore.Clone(index, &error), -1);
        EXPECT_FALSE(error.isEmpty());
    }
    // Saved, such a row gets a layout file of its own.
    TReportRow odd = mStore.Rows()[std::size_t(mStore.Find("Odd"))];
    TBands bands;
    QString error;
    EXPECT_GE(mStore.Save(odd, bands.All(), TReportSettings::NewReport(), &error), 0);
    EXPECT_EQ(odd.layoutFile, "BIN00001.R");
    // Deleted, it is gone and the file it named stays.
    QString note;
    EXPECT_TRUE(mStore.Delete(mStore.Find("Climber"), &note));
    EXPECT_TRUE(note.contains("no file was removed")) << note.toStdString();
    EXPECT_EQ(mStore.Find("Climber"), -1);
    EXPECT_EQ(Read("ADDRESS.DBF"), "precious");
    EXPECT_EQ(Read("BIN0001.R"), "precious too");
    EXPECT_EQ(mStore.Rows().size(), 2u);
}

TEST_F(ReportStoreTest, AReportWhoseFileIsMissingLoadsAsANewReport)
{
    TReportSettings wide = TReportSettings::NewReport();
    wide.SetLayout(TReportSettings::Layouts()[1]);
    AddReport("Wide", 3, wide);
    AddReport("Lost", 1);
    QFile::remove(Path("BIN00002.R"));
    TBands bands;
    EXPECT_EQ(
        mStore.Load(mStore.Rows()[std::size_t(mStore.Find("Wide"))], bands.owner, bands.All()),
        wide);
    EXPECT_EQ(
        mStore.Load(mStore.Rows()[std::size_t(mStore.Find("Lost"))], bands.owner, bands.All()),
        TReportSettings::NewReport());
    EXPECT_EQ(bands.Count(), 0);
    EXPECT_EQ(mStore.Load(TReportStore::NewRow(), bands.owner, bands.All()),
              TReportSettings::NewReport());
}
