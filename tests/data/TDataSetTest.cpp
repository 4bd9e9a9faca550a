// The data set over a real table: states, movement, pending edits, events, calculated fields,
// refused text, and the grid model.

#include "data/TDataSet.h"
#include "data/TApollo.h"
#include "data/TGridModel.h"
#include "data/TRecordMove.h"
#include "xbase/TTable.h"
#include "xbase/TXbaseError.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qm::data;
using qm::xbase::TFieldDef;
using qm::xbase::TFieldType;

namespace {

class DataSetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto table = qm::xbase::TTable::Create(mPath.toStdString(),
                                               {TFieldDef{"NAME", TFieldType::Character, 10, 0},
                                                TFieldDef{"CITY", TFieldType::Character, 12, 0},
                                                TFieldDef{"ACTIVE", TFieldType::Logical, 1, 0},
                                                TFieldDef{"NOTES", TFieldType::Memo, 10, 0}});
        for (const char* name : {"Carter", "Adams", "Baker"}) {
            table->AppendBlank();
            table->PutString(0, name);
            table->PutString(1, "Springfield");
            table->Post();
        }
        table->AddTag("NAME", "UPPER(NAME)");
        table->Close();
    }

    void OpenWithFields()
    {
        mDataSet.AddStoredField("NAME", "Name");
        mDataSet.AddStoredField("CITY", "City");
        mDataSet.AddStoredField("ACTIVE", "Active", false);
        mDataSet.AddStoredField("NOTES", "Notes", false);
        mDataSet.AddCalculatedField("Greeting", "Greeting", true, TDataFieldType::String, 12);
        mDataSet.Open(mPath);
    }

    QTemporaryDir mDir;
    QString mPath = QDir(mDir.path()).filePath("PEOPLE.DBF");
    TDataSet mDataSet;
};

} // namespace

TEST_F(DataSetTest, OpensOnTheFirstRecordAndTakesTheFilesWidths)
{
    OpenWithFields();
    EXPECT_EQ(mDataSet.State(), TDataState::Browse);
    EXPECT_EQ(mDataSet.RecNo(), 1u);
    EXPECT_TRUE(mDataSet.Bof());
    EXPECT_EQ(mDataSet.AsString("name"), "Carter");
    EXPECT_EQ(mDataSet.FieldByName("CITY").Size(), 12);
    EXPECT_EQ(mDataSet.FieldByName("NOTES").Type(), TDataFieldType::Memo);
}

TEST_F(DataSetTest, MissingDeclaredFieldKeepsTheTableClosedAndNamesIt)
{
    mDataSet.AddStoredField("NAME", "Name");
    mDataSet.AddStoredField("ZIP", "Zip");
    try {
        mDataSet.Open(mPath);
        FAIL() << "opened without its ZIP field";
    } catch (const TDataSetError& error) {
        EXPECT_TRUE(error.Message().contains("ZIP")) << error.Message().toStdString();
    }
    EXPECT_FALSE(mDataSet.Active());
}

TEST_F(DataSetTest, MovementStaysOnTheEdgesLikeADesktopDataSet)
{
    OpenWithFields();
    TApollo apollo(mDataSet);
    apollo.SetOrder(apollo.TagArea("NAME"));
    mDataSet.First();
    EXPECT_EQ(mDataSet.AsString("NAME"), "Adams");
    mDataSet.Prior();
    EXPECT_TRUE(mDataSet.Bof());
    EXPECT_EQ(mDataSet.AsString("NAME"), "Adams");
    mDataSet.Next();
    mDataSet.Next();
    EXPECT_EQ(mDataSet.AsString("NAME"), "Carter");
    EXPECT_FALSE(mDataSet.Eof());
    mDataSet.Next();
    EXPECT_TRUE(mDataSet.Eof());
    EXPECT_EQ(mDataSet.AsString("NAME"), "Carter");
    mDataSet.Last();
    EXPECT_EQ(mDataSet.RecNo(), 1u);

    apollo.SetQuery("NAME = \"Zz\"");
    EXPECT_TRUE(mDataSet.IsEmpty());
    EXPECT_TRUE(mDataSet.Eof() && mDataSet.Bof());
    EXPECT_EQ(mDataSet.AsString("NAME"), "");
    EXPECT_EQ(apollo.QueryRecCount(), 0u);
    apollo.SetQuery("");
    EXPECT_EQ(apollo.QueryRecCount(), 3u);
}

TEST_F(DataSetTest, EditsStayPendingUntilPostAndCancelLeavesTheFile)
{
    OpenWithFields();
    QSignalSpy afterEdit(&mDataSet, &TDataSet::AfterEdit);
    QSignalSpy afterPost(&mDataSet, &TDataSet::AfterPost);
    QSignalSpy afterCancel(&mDataSet, &TDataSet::AfterCancel);
    mDataSet.Edit();
    EXPECT_EQ(afterEdit.count(), 1);
    mDataSet.SetAsString("NAME", "Cartwright-Smithson"); // cut to the field's 10 characters
    EXPECT_EQ(mDataSet.AsString("NAME"), "Cartwright");
    EXPECT_EQ(QString::fromStdString(std::string(mDataSet.Table().GetTrimmed(0))), "Carter");
    mDataSet.Cancel();
    EXPECT_EQ(afterCancel.count(), 1);
    EXPECT_EQ(mDataSet.AsString("NAME"), "Carter");

    mDataSet.Edit();
    mDataSet.SetAsString("NOTES", QString::fromUtf8("Café at 8"));
    mDataSet.SetAsBoolean("ACTIVE", true);
    mDataSet.Post();
    EXPECT_EQ(afterPost.count(), 1);
    mDataSet.Close();
    mDataSet.Open(mPath);
    EXPECT_EQ(mDataSet.AsString("NOTES"), QString::fromUtf8("Café at 8"));
    EXPECT_TRUE(mDataSet.AsBoolean("ACTIVE"));
}

TEST_F(DataSetTest, AppendReachesTheFileOnlyOnPost)
{
    OpenWithFields();
    mDataSet.GoTo(2);
    mDataSet.Append();
    EXPECT_EQ(mDataSet.State(), TDataState::Insert);
    EXPECT_EQ(mDataSet.AsString("NAME"), "");
    mDataSet.SetAsString("NAME", "Dunn");
    mDataSet.Cancel();
    EXPECT_EQ(mDataSet.Table().RecordCount(), 3u);
    EXPECT_EQ(mDataSet.AsString("NAME"), "Adams");

    mDataSet.Append();
    mDataSet.SetAsString("NAME", "Dunn");
    mDataSet.Post();
    EXPECT_EQ(mDataSet.Table().RecordCount(), 4u);
    EXPECT_EQ(mDataSet.RecNo(), 4u);
    EXPECT_EQ(mDataSet.AsString("NAME"), "Dunn");
}

TEST_F(DataSetTest, TextTheFileCannotHoldIsRefusedNamingTheCharacter)
{
    OpenWithFields();
    mDataSet.Edit();
    try {
        mDataSet.SetAsString("CITY", QString::fromUtf8("Łódź"));
        FAIL() << "stored a character outside the code page";
    } catch (const TDataSetError& error) {
        EXPECT_TRUE(error.Message().contains(QString::fromUtf8("\"Ł\"")))
            << error.Message().toStdString();
        EXPECT_TRUE(error.Message().contains("U+0141"));
    }
    EXPECT_EQ(mDataSet.AsString("CITY"), "Springfield");
}

TEST_F(DataSetTest, CalculatedFieldsFollowEveryFetchAndEdit)
{
    OpenWithFields();
    mDataSet.SetOnCalcFields([](TDataSet& ds) {
        ds.SetCalculatedValue("Greeting", "Hello " + ds.AsString("NAME") + "!");
    });
    EXPECT_EQ(mDataSet.AsString("Greeting"), "Hello Carter"); // cut to its 12 characters
    mDataSet.Next();
    EXPECT_EQ(mDataSet.AsString("Greeting"), "Hello Adams!");
    mDataSet.Edit();
    mDataSet.SetAsString("NAME", "Al");
    EXPECT_EQ(mDataSet.AsString("Greeting"), "Hello Al!");
    mDataSet.Cancel();
    EXPECT_EQ(mDataSet.AsString("Greeting"), "Hello Adams!");
}

TEST_F(DataSetTest, DisabledControlsHearOneRefreshAtTheEnd)
{
    OpenWithFields();
    QSignalSpy changed(&mDataSet, &TDataSet::DataChanged);
    mDataSet.DisableControls();
    mDataSet.Next();
    mDataSet.Next();
    EXPECT_EQ(changed.count(), 0);
    mDataSet.EnableControls();
    EXPECT_EQ(changed.count(), 1);
}

TEST_F(DataSetTest, GridModelShowsRowsInOrderWithoutMovingTheDataSet)
{
    OpenWithFields();
    TApollo apollo(mDataSet);
    apollo.SetOrder(apollo.TagArea("NAME"));
    mDataSet.GoTo(3); // Baker
    TGridModel model(mDataSet);
    model.SetColumns({"NAME", "Greeting"});
    model.SetCalcCell([](const TGridRow& row, const QString&) { return "#" + row.Value("NAME"); });
    ASSERT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), "Name");
    EXPECT_EQ(model.data(model.index(0, 0)).toString(), "Adams");
    EXPECT_EQ(model.data(model.index(2, 0)).toString(), "Carter");
    EXPECT_EQ(model.data(model.index(1, 1)).toString(), "#Baker");
    EXPECT_EQ(model.RecNoOfRow(2), 1u);
    EXPECT_EQ(model.RowOfRecNo(3), 1);
    EXPECT_EQ(mDataSet.RecNo(), 3u);
    EXPECT_EQ(mDataSet.AsString("NAME"), "Baker");

    apollo.SetQuery("NAME <> \"Baker\"");
    model.Reset();
    EXPECT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.RowOfRecNo(3), -1);
}

TEST_F(DataSetTest, RecordButtonsMoveAndNameWhatStopsThem)
{
    OpenWithFields();
    EXPECT_EQ(TRecordMove::Step(mDataSet, TRecordStep::Last), QString());
    EXPECT_EQ(mDataSet.RecNo(), 3u);
    EXPECT_EQ(TRecordMove::Step(mDataSet, TRecordStep::Prior), QString());
    EXPECT_EQ(mDataSet.RecNo(), 2u);

    // A record that cannot be fetched: the reason comes back instead of escaping the button, and
    // the data set still moves afterwards.
    int failWith = 0; // 1: an engine error, 2: a data set error
    mDataSet.SetOnCalcFields([&failWith](TDataSet& ds) {
        if (failWith == 1)
            throw qm::xbase::TXbaseError(qm::xbase::TErrorKind::Damaged, "record damaged",
                                         "PEOPLE.DBF");
        if (failWith == 2)
            throw TDataSetError(QStringLiteral("cannot show ") + QString::number(ds.RecNo()));
    });
    failWith = 1;
    EXPECT_TRUE(TRecordMove::Step(mDataSet, TRecordStep::Next).contains("record damaged"));
    failWith = 2;
    EXPECT_TRUE(TRecordMove::Step(mDataSet, TRecordStep::First).startsWith("cannot show"));
    failWith = 0;
    EXPECT_EQ(TRecordMove::Step(mDataSet, TRecordStep::First), QString());
    EXPECT_EQ(mDataSet.RecNo(), 1u);

    mDataSet.Close();
    EXPECT_EQ(TRecordMove::Step(mDataSet, TRecordStep::Next), QString()) << "a closed set stays";
}
