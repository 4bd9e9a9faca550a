// The LABEL rows: the list, the working record, Delete and Clone, and layout file names.

#include "labels/TLabelLayoutStore.h"
#include "labels/TLabelRow.h"

#include "TLayoutNameFill.h"
#include "TScriptedResponder.h"
#include "data/TDataSet.h"
#include "data/TSystemTables.h"
#include "xbase/TTable.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qm::labels;
using qm::test::TScriptedResponder;

namespace {

class LabelLayoutStoreTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(mStore.Open(mDir.path()), QString()); }

    QString Path(const QString& name) const { return QDir(mDir.path()).filePath(name); }

    void WriteFile(const QString& name, const QByteArray& bytes = "layout")
    {
        QFile file(Path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    int Add(const QString& description, const QString& layoutFile, bool withFile = true)
    {
        TLabelGeometry g = TLabelGeometry::NewLayout();
        g.description = description;
        g.layoutFile = layoutFile;
        if (withFile)
            WriteFile(layoutFile);
        return mStore.Append(g);
    }

    QStringList Descriptions() const
    {
        QStringList list;
        for (const TLabelListRow& row : mStore.Rows())
            list << row.geometry.description;
        return list;
    }

    QTemporaryDir mDir;
    TLabelLayoutStore mStore;
    TScriptedResponder mResponder;
};

} // namespace

TEST_F(LabelLayoutStoreTest, EmptyTableGivesTheDefaultSetup)
{
    EXPECT_TRUE(mStore.IsEmpty());
    const TLabelGeometry g = mStore.WorkingRecord(0);
    EXPECT_EQ(g.description, "Default Label Setup");
    EXPECT_FLOAT_EQ(g.horizontalPitch, 2.75f);
    EXPECT_FLOAT_EQ(g.verticalPitch, 1.0f);
    EXPECT_EQ(g.productGroup, "ADDRESS LABELS");
    EXPECT_EQ(TLabelGeometry::NewLayout().templateDescription, "Avery 5160  Address");
    EXPECT_FLOAT_EQ(TLabelGeometry::NewLayout().horizontalPitch, 2.765f);
}

TEST_F(LabelLayoutStoreTest, ListIsInDescriptionOrderWithoutDeletedRows)
{
    Add("zebra", "BIN00001.L");
    Add("Apple", "BIN00002.L");
    Add("mango", "BIN00003.L");
    EXPECT_EQ(Descriptions(), (QStringList{"Apple", "mango", "zebra"}));

    // A row whose DELETED column is true, written by other software, is not listed.
    qm::data::TDataSet ds;
    mStore.Close();
    ASSERT_EQ(qm::data::TSystemTables::OpenOrCreate(ds, qm::data::TSystemTable::Label, mDir.path()),
              QString());
    ds.GoTo(3);
    ds.Edit();
    ds.SetAsBoolean("DELETED", true);
    ds.Post();
    ds.Close();
    ASSERT_EQ(mStore.Open(mDir.path()), QString());
    EXPECT_EQ(Descriptions(), (QStringList{"Apple", "zebra"}));
}

TEST_F(LabelLayoutStoreTest, RowsKeepTheWorkingRecordToThreeDecimals)
{
    TLabelGeometry g = TLabelGeometry::NewLayout();
    g.description = "Round trip";
    g.layoutFile = "BIN00001.L";
    g.leftMargin = 0.18849f; // stored as 0.188
    g.midExtraX = 0.12562f;
    const int row = mStore.Append(g);
    ASSERT_EQ(row, 0);
    const TLabelGeometry back = mStore.WorkingRecord(row);
    EXPECT_FLOAT_EQ(back.leftMargin, 0.188f);
    EXPECT_FLOAT_EQ(back.midExtraX, 0.126f);
    EXPECT_FLOAT_EQ(back.verticalPitch, 1.01f);
    EXPECT_EQ(back.across, 3);
    EXPECT_EQ(back.templateDescription, "Avery 5160  Address");
    EXPECT_EQ(TLabelRow::SheetName(back), "Avery 5160  Address");
    TLabelGeometry user = back;
    user.MakeUserDefined();
    EXPECT_EQ(TLabelRow::SheetName(user), "[User Defined]");
    EXPECT_EQ(user.maker, "USER");
    EXPECT_TRUE(mStore.Rows()[0].problem.isEmpty());
}

TEST_F(LabelLayoutStoreTest, RowDescribingNoSheetIsNamed)
{
    TLabelGeometry g = TLabelGeometry::NewLayout();
    g.description = "Broken";
    g.down = 0;
    mStore.Append(g);
    EXPECT_EQ(mStore.Rows()[0].problem,
              "The label layout \"Broken\" describes no label sheet: the number of labels down "
              "is 0");
}

TEST_F(LabelLayoutStoreTest, DeleteAsksAndRemovesRowAndFile)
{
    const int row = Add("Party", "BIN00004.L");
    mResponder.QueueAnswer(false);
    EXPECT_FALSE(mStore.Delete(row));
    EXPECT_EQ(mStore.Rows().size(), 1u);
    mResponder.QueueAnswer(true);
    EXPECT_TRUE(mStore.Delete(row));
    EXPECT_TRUE(mStore.IsEmpty());
    EXPECT_FALSE(QFile::exists(Path("BIN00004.L")));
    ASSERT_EQ(mResponder.Messages().size(), 2u);
    EXPECT_EQ(mResponder.Messages()[0].caption, "DELETE");
    EXPECT_EQ(mResponder.Messages()[0].text, "Delete \"Party\"?");
    EXPECT_TRUE(mResponder.Messages()[0].isQuestion);
}

TEST_F(LabelLayoutStoreTest, DeleteTouchesNoFileTheRowDoesNotOwnAlone)
{
    WriteFile("QUILLM.ini", "settings");
    Add("Sneaky", "QUILLM.ini", false); // a row naming another file of sysdata/
    Add("First", "BIN00007.L");
    Add("Second", "BIN00007.L", false); // two rows on one file, from other software
    mResponder.QueueAnswer(true);
    mResponder.QueueAnswer(true);
    ASSERT_TRUE(mStore.Delete(mStore.Find("Sneaky")));
    ASSERT_TRUE(mStore.Delete(mStore.Find("First")));
    EXPECT_TRUE(QFile::exists(Path("QUILLM.ini")));
    EXPECT_TRUE(QFile::exists(Path("BIN00007.L"))); // "Second" still uses it
    EXPECT_EQ(Descriptions(), QStringList{"Second"});
}

TEST_F(LabelLayoutStoreTest, CloneCopiesRowAndFileUnderANewName)
{
    const QString longName = QString(45, 'x');
    Add(longName, "BIN00001.L");
    WriteFile("BIN00001.L", "the design");
    Add("Gone", "BIN00002.L", false); // a row whose file is missing still holds its name
    WriteFile("BIN00003.L");          // a file no row names
    mResponder.QueueAnswer(true);
    const int clone = mStore.Clone(mStore.Find(longName));
    ASSERT_GE(clone, 0);
    const TLabelGeometry g = mStore.WorkingRecord(clone);
    EXPECT_EQ(g.description, ("Clone of :" + longName).left(50));
    EXPECT_EQ(g.description.size(), 50);
    EXPECT_EQ(g.layoutFile, "BIN00004.L");
    EXPECT_FLOAT_EQ(g.verticalPitch, 1.01f);
    EXPECT_EQ(g.templateDescription, "Avery 5160  Address");
    QFile copy(Path("BIN00004.L"));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), "the design");
    EXPECT_EQ(mResponder.Messages()[0].caption, "CLONE");
    EXPECT_EQ(mResponder.Messages()[0].text, "Clone \"" + longName + "\"?");
    EXPECT_EQ(mStore.NewLayoutName(), "BIN00005.L");
}

TEST_F(LabelLayoutStoreTest, CloneOfAMissingOrForeignFileSaysSoAndAddsNothing)
{
    Add("Gone", "BIN00002.L", false);
    Add("Foreign", "/etc/passwd", false);
    for (const char* name : {"Gone", "Foreign"}) {
        mResponder.QueueAnswer(true);
        EXPECT_EQ(mStore.Clone(mStore.Find(name)), -1) << name;
        EXPECT_EQ(mResponder.Messages().back().text,
                  "Label definition file has been removed from the sysdata directory");
    }
    EXPECT_EQ(mStore.Rows().size(), 2u);
    EXPECT_EQ(QDir(mDir.path()).entryList({"BIN*"}, QDir::Files), QStringList());
}

TEST_F(LabelLayoutStoreTest, FailedCopyLeavesNeitherRowNorFile)
{
    Add("Source", "BIN00001.L");
    mStore.SetCopyLayout([](const QString&, const QString& to) {
        QFile half(to);
        if (half.open(QIODevice::WriteOnly))
            half.write("half");
        return QStringLiteral("Unable to write %1: disk full").arg(to);
    });
    mResponder.QueueAnswer(true);
    EXPECT_EQ(mStore.Clone(0), -1);
    EXPECT_EQ(mStore.Rows().size(), 1u);
    EXPECT_FALSE(QFile::exists(Path("BIN00002.L")));
    EXPECT_TRUE(mResponder.Messages().back().text.endsWith("disk full"));
}

TEST_F(LabelLayoutStoreTest, RewriteChangesOnlyThatRow)
{
    Add("One", "BIN00001.L");
    Add("Two", "BIN00002.L");
    TLabelGeometry g = mStore.WorkingRecord(mStore.Find("Two"));
    g.description = "Three";
    g.across = 2;
    mStore.Rewrite(mStore.Find("Two"), g);
    EXPECT_EQ(Descriptions(), (QStringList{"One", "Three"}));
    EXPECT_EQ(mStore.WorkingRecord(mStore.Find("Three")).across, 2);
    EXPECT_EQ(mStore.WorkingRecord(mStore.Find("One")).across, 3);
}

TEST(LabelLayoutStoreForeign, TableWithoutTheDeletedColumnIsListed)
{
    QTemporaryDir dir;
    std::vector<qm::xbase::TFieldDef> fields =
        qm::data::TSystemTables::Schema(qm::data::TSystemTable::Label).fields;
    std::erase_if(fields, [](const qm::xbase::TFieldDef& f) { return f.name == "DELETED"; });
    {
        auto table = qm::xbase::TTable::Create(dir.filePath("LABEL.DBF").toStdString(), fields);
        table->AppendBlank();
        table->PutString(table->FieldIndex("DESCRIPT"), "Older table");
        table->PutString(table->FieldIndex("NBRACROSS"), "2");
        table->Post();
    }
    TLabelLayoutStore store;
    ASSERT_EQ(store.Open(dir.path()), QString());
    ASSERT_EQ(store.Rows().size(), 1u);
    EXPECT_EQ(store.Rows()[0].geometry.across, 2);
    // Blank lengths read as 0: the row is listed but named as describing no sheet.
    EXPECT_EQ(store.Rows()[0].problem,
              "The label layout \"Older table\" describes no label sheet: the number of labels "
              "down is 0");
}

// With every name taken (here by deleted rows and one listed row), a clone has no name to go to:
// it says so and writes nothing, least of all BIN00000.L, which may be another layout's file.
TEST_F(LabelLayoutStoreTest, WithEveryNameTakenACloneWritesNothing)
{
    Add("Source", "BIN77777.L");
    mStore.Close();
    QFile::remove(Path("LABEL.CDX")); // the tag is built again on opening
    qm::test::HoldEveryLayoutName(Path("LABEL.DBF"), 'L', 77777);
    ASSERT_EQ(mStore.Open(mDir.path()), QString());
    ASSERT_EQ(mStore.Rows().size(), 1u);
    mResponder.QueueAnswer(true);
    EXPECT_EQ(mStore.Clone(0), -1);
    EXPECT_EQ(mResponder.Messages().back().text, TLabelLayoutStore::AllNamesTakenMessage());
    EXPECT_EQ(mStore.Rows().size(), 1u);
    EXPECT_FALSE(QFile::exists(Path("BIN00000.L")));
}
