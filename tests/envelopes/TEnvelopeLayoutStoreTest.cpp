// The ENVELOPE rows: the list and working values, New/Modify preparation, Save (file before row),
// Delete and Clone with their questions, and layout files only through their checked names.

#include "envelopes/TEnvelopeLayoutStore.h"

#include "TLayoutNameFill.h"
#include "TScriptedResponder.h"
#include "data/TDataSet.h"
#include "data/TSystemTables.h"
#include "design/core/TGClassRegistry.h"
#include "design/core/TGDataPanel.h"
#include "design/core/TGLabelObjectFiler.h"
#include "design/objects/TGLabelShapes.h"
#include "xbase/TTable.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qm::envelopes;
using qm::test::TScriptedResponder;

namespace {

class EnvelopeLayoutStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qm::design::TGClassRegistry::Instance().RegisterHostKinds(qm::design::TGHostKind::Envelope);
        ASSERT_EQ(mStore.Open(mDir.path()), QString());
    }

    QString Path(const QString& name) const { return QDir(mDir.path()).filePath(name); }
    QByteArray Read(const QString& name) const
    {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void WriteFile(const QString& name, const QByteArray& bytes = "layout")
    {
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // A panel holding one rectangle, saved as a new row.
    int AddRow(const QString& description, int code = 20)
    {
        TEnvelopeLayout values = mStore.NewLayout(code);
        values.description = description;
        qm::design::TGDataPanel panel;
        panel.SetSize(912, 396);
        auto shape = std::make_unique<qm::design::TGLabelShapes>();
        shape->SetBounds(10, 10, 100, 50);
        panel.AddObject(std::move(shape));
        QString error;
        const int row = mStore.Save(values, panel, &error);
        EXPECT_EQ(error, QString());
        return row;
    }

    QStringList Descriptions() const
    {
        QStringList list;
        for (const TEnvelopeLayout& row : mStore.Rows())
            list << row.description;
        return list;
    }

    QTemporaryDir mDir;
    TEnvelopeLayoutStore mStore;
    TScriptedResponder mResponder;
};

} // namespace

TEST_F(EnvelopeLayoutStoreTest, EmptyTableWorksOnEnvelopeNumberTen)
{
    EXPECT_TRUE(mStore.IsEmpty());
    const TEnvelopeLayout values = mStore.WorkingValues(0);
    EXPECT_EQ(values.description, "Envelope #10");
    EXPECT_EQ(values.code, 20);
    EXPECT_EQ(values.Face(), (TEnvelopeFace{9500, 4125}));
    const TEnvelopeLayout fresh = mStore.NewLayout(31);
    EXPECT_TRUE(fresh.IsNew());
    EXPECT_EQ(fresh.description, "<New envelope>");
    EXPECT_EQ(fresh.layoutFile, "BIN00001.E");
}

TEST_F(EnvelopeLayoutStoreTest, SaveWritesTheFileAndTheRowInDescriptionOrder)
{
    EXPECT_EQ(AddRow("Work", 23), 0);
    EXPECT_EQ(AddRow("Home"), 0);
    EXPECT_EQ(Descriptions(), (QStringList{"Home", "Work"}));
    EXPECT_EQ(mStore.Find("Work   "), 1); // the column's padding aside
    const TEnvelopeLayout home = mStore.WorkingValues(0);
    EXPECT_EQ(home.layoutFile, "BIN00002.E");
    EXPECT_EQ(home.code, 20);
    EXPECT_EQ(mStore.WorkingValues(1).code, 23);
    EXPECT_EQ(mStore.LayoutPath(0), Path("BIN00002.E"));

    // Modify: the row's file loads; Save rewrites the same row with the new values and the
    // design in a new file, and the file the row named before goes.
    TEnvelopeLayout values = mStore.WorkingValues(0);
    EXPECT_EQ(mStore.PrepareModify(values), Path("BIN00002.E"));
    values.description = QString(70, 'x');
    values.code = 31;
    qm::design::TGDataPanel panel;
    qm::design::TGLabelObjectFiler::LoadFromFile(panel, Path(values.layoutFile));
    EXPECT_EQ(panel.ObjectCount(), 1);
    QString error;
    const int row = mStore.Save(values, panel, &error);
    EXPECT_EQ(error, QString());
    ASSERT_EQ(mStore.Rows().size(), 2u);
    EXPECT_EQ(mStore.WorkingValues(row).description, QString(50, 'x')); // 50 stored
    EXPECT_EQ(mStore.WorkingValues(row).code, 31);
    EXPECT_EQ(mStore.WorkingValues(row).layoutFile, "BIN00003.E");
    EXPECT_FALSE(QFile::exists(Path("BIN00002.E")));
}

TEST_F(EnvelopeLayoutStoreTest, AFailedWriteLeavesRowAndOldFile)
{
    AddRow("Home");
    const QByteArray before = Read("BIN00001.E");
    ASSERT_FALSE(before.isEmpty());

    // A folder where the new layout's file would go: the write fails, no row is added.
    TEnvelopeLayout fresh = mStore.NewLayout(20);
    ASSERT_TRUE(QDir(mDir.path()).mkdir(fresh.layoutFile));
    qm::design::TGDataPanel panel;
    panel.SetSize(912, 396);
    panel.SetScale(1.4f); // the designer zoomed in
    QString error;
    EXPECT_EQ(mStore.Save(fresh, panel, &error), -1);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(mStore.Rows().size(), 1u);
    EXPECT_EQ(panel.Scale(), 1.4f); // and stays at its zoom, open

    // Modify whose new file cannot be written (the folder is in the way again): the row and
    // the file it names are as they were.
    TEnvelopeLayout values = mStore.WorkingValues(0);
    values.description = "Changed";
    EXPECT_EQ(mStore.Save(values, panel, &error), -1);
    EXPECT_EQ(mStore.WorkingValues(0).description, "Home");
    EXPECT_EQ(mStore.WorkingValues(0).layoutFile, "BIN00001.E");
    EXPECT_EQ(Read("BIN00001.E"), before);
}

TEST_F(EnvelopeLayoutStoreTest, ModifyOfAMissingFileTakesANewNameSilently)
{
    AddRow("Home");
    QFile::remove(Path("BIN00001.E"));
    TEnvelopeLayout values = mStore.WorkingValues(0);
    EXPECT_EQ(mStore.PrepareModify(values), QString());
    EXPECT_NE(values.layoutFile, "BIN00001.E"); // the row still holds that name
    EXPECT_TRUE(mResponder.Texts().isEmpty());
    QString why;
    EXPECT_EQ(mStore.LayoutPath(0, &why), QString());
    EXPECT_EQ(why, "Envelope definition file has been removed from the sysdata directory");
}

TEST_F(EnvelopeLayoutStoreTest, RowsNamingOtherFilesTouchNothingElse)
{
    // A row written by other software naming a file outside the layout names.
    WriteFile("ADDRESS.DBF", "precious");
    {
        mStore.Close();
        qm::data::TDataSet ds;
        ASSERT_EQ(qm::data::TSystemTables::OpenOrCreate(ds, qm::data::TSystemTable::Envelope,
                                                        mDir.path()),
                  QString());
        ds.Append();
        ds.SetAsString("DESCRIPT", "Odd");
        ds.SetAsString("NUMBER", "20");
        ds.SetAsString("BINARY", "ADDRESS.DBF");
        ds.Post();
        ds.Close();
        ASSERT_EQ(mStore.Open(mDir.path()), QString());
    }
    QString why;
    EXPECT_EQ(mStore.LayoutPath(0, &why), QString());
    EXPECT_FALSE(why.isEmpty());
    TEnvelopeLayout values = mStore.WorkingValues(0);
    EXPECT_EQ(mStore.PrepareModify(values), QString());
    EXPECT_EQ(values.layoutFile, "BIN00001.E");

    mResponder.QueueAnswer(true);
    EXPECT_GE(mStore.Clone(0), 0);
    mResponder.QueueAnswer(true);
    EXPECT_TRUE(mStore.Delete(mStore.Find("Odd")));
    EXPECT_EQ(Read("ADDRESS.DBF"), "precious");
}

TEST_F(EnvelopeLayoutStoreTest, CloneOfHomeCopiesTheFileUnderANewName)
{
    AddRow("Home");
    mResponder.QueueAnswer(true);
    const int row = mStore.Clone(0);
    ASSERT_GE(row, 0);
    EXPECT_EQ(mResponder.Messages().back().caption, "CLONE");
    EXPECT_EQ(mResponder.Messages().back().text, "Clone \"Home\"?");
    const TEnvelopeLayout clone = mStore.WorkingValues(row);
    EXPECT_EQ(clone.description, "Clone of Home");
    EXPECT_EQ(clone.code, 20);
    EXPECT_EQ(clone.layoutFile, "BIN00002.E");
    EXPECT_EQ(Read("BIN00002.E"), Read("BIN00001.E"));

    mResponder.QueueAnswer(false);
    EXPECT_EQ(mStore.Clone(0), -1);
    EXPECT_EQ(mStore.Rows().size(), 2u);
}

TEST_F(EnvelopeLayoutStoreTest, CloneCopyFailureAddsNoRowButAMissingSourceStillDoes)
{
    AddRow("Home");
    ASSERT_TRUE(QDir(mDir.path()).mkdir("BIN00002.E")); // the copy's place is taken by a folder
    mResponder.QueueAnswer(true);
    EXPECT_EQ(mStore.Clone(0), -1);
    EXPECT_EQ(mStore.Rows().size(), 1u);
    EXPECT_EQ(mResponder.Messages().size(), 2u); // the question and the copy's failure
    QDir(mDir.path()).rmdir("BIN00002.E");

    QFile::remove(Path("BIN00001.E"));
    mResponder.QueueAnswer(true);
    const int row = mStore.Clone(0);
    ASSERT_GE(row, 0);
    QString why;
    EXPECT_EQ(mStore.LayoutPath(row, &why), QString());
    EXPECT_EQ(why, TEnvelopeLayoutStore::MissingLayoutMessage());
}

TEST_F(EnvelopeLayoutStoreTest, DeleteAsksAndKeepsAFileAnotherRowNames)
{
    AddRow("Home");
    AddRow("Work");
    mResponder.QueueAnswer(false);
    EXPECT_FALSE(mStore.Delete(0));
    EXPECT_EQ(mResponder.Messages().back().caption, "DELETE");
    EXPECT_EQ(mResponder.Messages().back().text, "Delete \"Home\"?");
    EXPECT_EQ(mStore.Rows().size(), 2u);

    mResponder.QueueAnswer(true);
    EXPECT_TRUE(mStore.Delete(0));
    EXPECT_EQ(Descriptions(), QStringList{"Work"});
    EXPECT_FALSE(QFile::exists(Path("BIN00001.E")));
    // The deleted row still holds its name: a new layout does not take it.
    WriteFile("BIN00002.E");
    EXPECT_EQ(mStore.NewLayoutName(), "BIN00003.E");
}

TEST_F(EnvelopeLayoutStoreTest, UnknownSizeCodesAreKeptAsRowsWithoutAFace)
{
    AddRow("Odd size", 24);
    const TEnvelopeLayout values = mStore.WorkingValues(0);
    EXPECT_EQ(values.code, 24);
    EXPECT_FALSE(values.Face().has_value());
    EXPECT_EQ(TEnvelopeSizes::NoValidSizeMessage(),
              "This envelope layout has no valid envelope size. Use Modify to choose one.");
}

// With every name taken, a new layout or a clone has no file to go to: each says so and writes
// nothing to BIN00000.E, which may be another layout's. The row that names BIN00000.E (as one
// written long ago might) still saves into its own file.
TEST_F(EnvelopeLayoutStoreTest, WithEveryNameTakenNothingNewIsWritten)
{
    AddRow("Home");
    mStore.Close();
    QFile::remove(Path("ENVELOPE.CDX")); // the tag is built again on opening
    {
        // The listed row names BIN00000.E, as a row written long ago might.
        auto table = qm::xbase::TTable::Open(Path("ENVELOPE.DBF").toStdString());
        table->Go(1);
        table->PutString(table->FieldIndex("BINARY"), "BIN00000.E");
        table->Post();
        table->Close();
    }
    qm::test::HoldEveryLayoutName(Path("ENVELOPE.DBF"), 'E');
    ASSERT_EQ(mStore.Open(mDir.path()), QString());
    ASSERT_EQ(mStore.Rows().size(), 1u);
    EXPECT_EQ(mStore.NewLayoutName(), "BIN00000.E");

    qm::design::TGDataPanel panel;
    panel.SetSize(912, 396);
    TEnvelopeLayout fresh = mStore.NewLayout(10);
    fresh.description = "Fresh";
    QString error;
    EXPECT_EQ(mStore.Save(fresh, panel, &error), -1);
    EXPECT_EQ(error, TEnvelopeLayoutStore::AllNamesTakenMessage());
    mResponder.QueueAnswer(true);
    EXPECT_EQ(mStore.Clone(0), -1);
    EXPECT_EQ(mResponder.Messages().back().text, TEnvelopeLayoutStore::AllNamesTakenMessage());
    EXPECT_EQ(mStore.Rows().size(), 1u);
    EXPECT_FALSE(QFile::exists(Path("BIN00000.E")));

    // The row that names BIN00000.E keeps saving into it.
    const TEnvelopeLayout own = mStore.WorkingValues(0);
    EXPECT_EQ(own.layoutFile.trimmed(), "BIN00000.E");
    error.clear();
    ASSERT_GE(mStore.Save(own, panel, &error), 0) << error.toStdString();
    EXPECT_TRUE(QFile::exists(Path("BIN00000.E")));
}
