// The bulk edits over real address files: Convert Case, Delete Records and Search and Replace.

#include "TMaintenanceFixture.h"
#include "maintenance/TCaseConversionRun.h"
#include "maintenance/TCommitPacer.h"
#include "maintenance/TDeleteRecordsRun.h"
#include "maintenance/TMaintenanceError.h"
#include "maintenance/TSearchReplaceRun.h"
#include "xbase/TCursor.h"
#include "xbase/TEngineSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace qm::maintenance;
using qm::test::TRecordValues;

namespace {

TRecordValues Name(const char* last, const char* first = "", const char* street = "")
{
    return {{"LNAME", last}, {"FNAME", first}, {"STREET", street}};
}

class BulkEditRunsTest : public qm::test::MaintenanceFixture {
protected:
    void Delete(uint32_t recNo)
    {
        mDataSet.GoTo(recNo);
        mDataSet.Edit();
        mDataSet.SetAsBoolean("ISDEL", true);
        mDataSet.Post();
        mDataSet.MarkDeleted(true);
    }
    struct TKilled {
        bool stale = false;
        std::vector<std::string> names;
    };
    // What a program killed at this moment leaves: the address file's table, index and memo as
    // they are on the disk now, copied aside and opened there.
    TKilled KilledNow()
    {
        QTemporaryDir aside;
        const QFileInfo table(mPath);
        for (const QFileInfo& file : table.dir().entryInfoList(
                 {table.completeBaseName() + QStringLiteral(".*")}, QDir::Files))
            EXPECT_TRUE(QFile::copy(file.filePath(), aside.filePath(file.fileName())));
        auto copy = qm::xbase::TTable::Open(aside.filePath(table.fileName()).toStdString(),
                                            {qm::xbase::TOpenMode::ReadOnly});
        TKilled killed;
        killed.stale = copy->IndexStale();
        for (uint32_t r = 1; r <= copy->RecordCount(); ++r) {
            copy->Go(r);
            killed.names.push_back(copy->GetText(copy->FieldIndex("LNAME")));
        }
        copy->Close();
        return killed;
    }
    uint32_t MarkedCount()
    {
        uint32_t n = 0;
        for (uint32_t r = 1; r <= mDataSet.Table().RecordCount(); ++r)
            n += mDataSet.Table().RecordDeleted(r) ? 1 : 0;
        return n;
    }
};

} // namespace

TEST_F(BulkEditRunsTest, ProperCaseOfTheCurrentRecordOnly)
{
    Open({Name("o'NEILL", "mcDONALD", "straße"), Name("élodie", "µ"), Name("smith")});
    mDataSet.GoTo(2);
    TCaseOptions options;
    options.kind = TCaseKind::Proper;
    for (const auto& choice : {"LNAME", "FNAME", "STREET", "CITY"})
        options.fields << choice;
    const auto outcome = TCaseConversionRun(mDataSet, options).Run();
    EXPECT_EQ(outcome.records, 1u);
    EXPECT_EQ(Value(2, "LNAME"), "Élodie");
    EXPECT_EQ(Value(2, "FNAME"), "µ");
    EXPECT_EQ(Value(1, "LNAME"), "o'NEILL");
    EXPECT_EQ(mDataSet.RecNo(), 2u);

    options.scope = TCaseScope::AllRecords;
    TCaseConversionRun(mDataSet, options).Run();
    EXPECT_EQ(Value(1, "LNAME"), "O'neill");
    EXPECT_EQ(Value(1, "FNAME"), "Mcdonald");
    EXPECT_EQ(Value(1, "STREET"), "Straße");
    EXPECT_EQ(Value(3, "LNAME"), "Smith");

    options.kind = TCaseKind::Upper;
    TCaseConversionRun(mDataSet, options).Run();
    EXPECT_EQ(Value(1, "STREET"), "STRAßE");
    EXPECT_EQ(Value(2, "FNAME"), "µ");
    EXPECT_EQ(mDataSet.RecNo(), 2u);
}

TEST_F(BulkEditRunsTest, CaseConversionKeepsTheQueryAndSkipsDeletedRecords)
{
    Open({Name("aa"), Name("bb"), Name("cc")});
    Delete(2);
    mDataSet.Cursor().SetQuery("LNAME = 'c'");
    mDataSet.First();
    TCaseOptions options{TCaseScope::FilterMatches, TCaseKind::Upper, {"LNAME"}};
    EXPECT_EQ(TCaseConversionRun(mDataSet, options).Run().records, 1u);
    EXPECT_EQ(Value(3, "LNAME"), "CC");
    EXPECT_EQ(Value(1, "LNAME"), "aa");
    EXPECT_EQ(mDataSet.Cursor().Query(), "LNAME = 'c'");
    options.scope = TCaseScope::AllRecords;
    EXPECT_EQ(TCaseConversionRun(mDataSet, options).Run().records, 2u);
    EXPECT_EQ(Value(2, "LNAME"), "bb");
    options.fields = QStringList{"NOSUCH"};
    EXPECT_THROW(TCaseConversionRun(mDataSet, options).Run(), TMaintenanceError);
}

TEST_F(BulkEditRunsTest, DeleteWithoutFilterEmptiesTheFileCountingShownRecords)
{
    Open({Name("a"), Name("b"), Name("c")});
    Delete(1);
    const auto outcome = TDeleteRecordsRun(mDataSet, TDeleteScope::Matching, {}).Run();
    EXPECT_EQ(outcome.deleted, 2u);
    EXPECT_EQ(mDataSet.Table().RecordCount(), 0u);
    EXPECT_EQ(TDeleteRecordsRun::CountText(2), "Deleted 2 records");
}

TEST_F(BulkEditRunsTest, DeleteMatchingTwiceAndNotMatching)
{
    Open({Name("Brown"), Name("Smith"), Name("Brownlee"), Name("Jones")});
    const QString filter = QStringLiteral("UPPER(LNAME) = 'BROWN'");
    mDataSet.Cursor().SetQuery(filter.toStdString());
    EXPECT_EQ(TDeleteRecordsRun(mDataSet, TDeleteScope::Matching, filter).Run().deleted, 2u);
    EXPECT_EQ(MarkedCount(), 2u);
    EXPECT_TRUE(Value(1, "ISDEL") == "T" || mDataSet.Table().RecordDeleted(1));
    // Already deleted records are not counted or marked again.
    EXPECT_EQ(TDeleteRecordsRun(mDataSet, TDeleteScope::Matching, filter).Run().deleted, 0u);
    EXPECT_EQ(TDeleteRecordsRun(mDataSet, TDeleteScope::NotMatching, filter).Run().deleted, 2u);
    EXPECT_EQ(MarkedCount(), 4u);
    EXPECT_EQ(mDataSet.Cursor().Query(), filter.toStdString());
    // ISDEL went with every mark.
    for (uint32_t r = 1; r <= 4; ++r) {
        mDataSet.GoTo(r);
        EXPECT_TRUE(mDataSet.AsBoolean("ISDEL")) << r;
    }
}

TEST_F(BulkEditRunsTest, DeleteAllRemovesMarkedRecordsToo)
{
    Open({Name("a"), Name("b")});
    Delete(2);
    const auto outcome = TDeleteRecordsRun(mDataSet, TDeleteScope::All, "LNAME = 'a'").Run();
    EXPECT_EQ(outcome.deleted, 1u);
    EXPECT_EQ(mDataSet.Table().RecordCount(), 0u);
}

TEST_F(BulkEditRunsTest, ReplaceOnlyTheMatchingText)
{
    Open({Name("a", "", "1 Main st"), Name("b", "", "2 Stone St"), Name("c", "", "3 Elm Road")});
    TReplaceOptions options;
    options.field = "STREET";
    options.find = "St";
    options.exactly = false;
    options.caseSensitive = false;
    options.wholeField = false;
    options.replacement = "Street";
    const auto outcome = TSearchReplaceRun(mDataSet, options).Run();
    EXPECT_EQ(outcome.replaced, 2u);
    EXPECT_EQ(Value(1, "STREET"), "1 Main Street");
    EXPECT_EQ(Value(2, "STREET"), "2 Streetone Street");
    EXPECT_EQ(Value(3, "STREET"), "3 Elm Road");
    EXPECT_EQ(TSearchReplaceRun::CountText(2), "Replaced 2 records");
    EXPECT_EQ(TSearchReplaceRun::DoneText(outcome), "Replacement done");
}

TEST_F(BulkEditRunsTest, ExactlyBrownLeavesBrowning)
{
    Open({Name("Brown"), Name("Browning"), Name("BROWN")});
    TReplaceOptions options{"LNAME", "Brown", true, true, true, "Green", {}};
    EXPECT_EQ(TSearchReplaceRun(mDataSet, options).Run().replaced, 1u);
    EXPECT_EQ(Value(1, "LNAME"), "Green");
    EXPECT_EQ(Value(2, "LNAME"), "Browning");
    EXPECT_EQ(Value(3, "LNAME"), "BROWN");
    options.find = "green";
    options.caseSensitive = false;
    options.replacement = "Gray";
    EXPECT_EQ(TSearchReplaceRun(mDataSet, options).Run().replaced, 1u);
    EXPECT_EQ(Value(1, "LNAME"), "Gray");
}

TEST_F(BulkEditRunsTest, AnEmptyFindValueFillsEmptyFields)
{
    Open({Name("a", "", ""), Name("b", "", "1 Oak"), Name("c", "", "")});
    Delete(3);
    TReplaceOptions options{"STREET", "", true, true, true, "Unknown", {}};
    EXPECT_EQ(TSearchReplaceRun(mDataSet, options).Run().replaced, 1u);
    EXPECT_EQ(Value(1, "STREET"), "Unknown");
    EXPECT_EQ(Value(2, "STREET"), "1 Oak");
}

TEST_F(BulkEditRunsTest, AQuoteInTheFindValueIsPlainText)
{
    Open({Name("O\"Hara"), Name("Smith"), Name("Jones")});
    TReplaceOptions options{"LNAME", "\" .or. .T. .or. \"", false, true, true, "X", {}};
    EXPECT_EQ(TSearchReplaceRun(mDataSet, options).Run().replaced, 0u);
    options = {"LNAME", "O\"Hara", true, true, true, "O'Hara", {}};
    EXPECT_EQ(TSearchReplaceRun(mDataSet, options).Run().replaced, 1u);
    EXPECT_EQ(Value(1, "LNAME"), "O'Hara");
    EXPECT_EQ(Value(2, "LNAME"), "Smith");
}

TEST_F(BulkEditRunsTest, AReplacementThatWouldNotFitLeavesTheRecord)
{
    Open({});
    const int width =
        int(mDataSet.Table().Fields()[size_t(mDataSet.Table().FieldIndex("STREET"))].length);
    const QString full = QString(width - 3, QLatin1Char('x')) + QStringLiteral(" St");
    mDataSet.Append();
    mDataSet.SetAsString("STREET", full);
    mDataSet.Post();
    mDataSet.Append();
    mDataSet.SetAsString("STREET", "1 Oak St");
    mDataSet.Post();
    TReplaceOptions options{"STREET", "St", false, true, false, "Street", {}};
    const auto outcome = TSearchReplaceRun(mDataSet, options).Run();
    EXPECT_EQ(outcome.replaced, 1u);
    EXPECT_EQ(outcome.notFitting, 1u);
    EXPECT_EQ(Value(1, "STREET"), full);
    EXPECT_EQ(Value(2, "STREET"), "1 Oak Street");
    EXPECT_EQ(
        TSearchReplaceRun::DoneText(outcome),
        "Replacement done\r\n\r\n1 records were not changed because the new value would not fit.");
    // A whole-field value longer than the field, or text the file cannot hold, is refused.
    options = {"STREET", "x", true, true, true, QString(width + 1, QLatin1Char('y')), {}};
    EXPECT_THROW(TSearchReplaceRun(mDataSet, options).Run(), TMaintenanceError);
    options = {"STREET", QStringLiteral("✓"), true, true, true, "y", {}};
    try {
        TSearchReplaceRun(mDataSet, options).Run();
        FAIL();
    } catch (const TMaintenanceError& error) {
        EXPECT_TRUE(error.Message().contains(QStringLiteral("✓")));
    }
}

TEST_F(BulkEditRunsTest, TheScopeExpressionLimitsTheRecords)
{
    Open({Name("Brown", "", "1 St"), Name("Smith", "", "2 St")});
    mDataSet.Cursor().SetQuery("LNAME = 'Smith'");
    TReplaceOptions options{"STREET", "St", false, true, false, "Street", "LNAME = 'Smith'"};
    EXPECT_EQ(TSearchReplaceRun(mDataSet, options).Run().replaced, 1u);
    EXPECT_EQ(Value(1, "STREET"), "1 St");
    EXPECT_EQ(Value(2, "STREET"), "2 Street");
    EXPECT_EQ(mDataSet.Cursor().Query(), "LNAME = 'Smith'");
}

TEST(SearchReplaceQuestionTest, ThreeLinesNamingFieldConditionAndAction)
{
    TReplaceOptions options{"STREET", "St", false, false, false, "Street", {}};
    EXPECT_EQ(TSearchReplaceRun::Question("Address 1", options),
              "Find records where field Address 1\rcontains: \"St\" (not case sensitive)\r"
              "and replace only the matching text with \"Street\"");
    options = {"LNAME", "", true, true, true, "", {}};
    EXPECT_EQ(TSearchReplaceRun::Question("Last Name", options),
              "Find records where field Last Name\ris empty \rand delete the entire field ");
    options = {"LNAME", "Brown", true, true, false, "", {}};
    EXPECT_EQ(TSearchReplaceRun::Question("Last Name", options),
              "Find records where field Last Name\rexactly matches: \"Brown\"  (case sensitive)\r"
              "and delete the matching text ");
}

TEST_F(BulkEditRunsTest, BulkWritesAreCommittedEveryHalfSecond)
{
    Open({Name("a"), Name("b")});
    qm::xbase::TTable& table = mDataSet.Table();
    const int lname = table.FieldIndex("LNAME");
    const auto write = [&](uint32_t recNo, const char* value) {
        table.Go(recNo);
        table.PutString(lname, value);
        table.Post();
    };
    std::int64_t now = 7000; // any start: only the steps count
    {
        TCommitPacer pacer(table, [&] { return now; });
        write(1, "x");
        pacer.Wrote();
        EXPECT_EQ(pacer.Commits(), 0);
        EXPECT_TRUE(KilledNow().stale) << "nothing committed yet";

        now += TCommitPacer::kIntervalMs - 1;
        write(2, "y");
        pacer.Wrote();
        EXPECT_EQ(pacer.Commits(), 0);

        now += 1; // half a second after the start
        write(2, "z");
        pacer.Wrote();
        EXPECT_EQ(pacer.Commits(), 1);
        // A program killed now keeps every write so far, with its index in step.
        TKilled killed = KilledNow();
        EXPECT_FALSE(killed.stale);
        EXPECT_EQ(killed.names, (std::vector<std::string>{"x", "z"}));

        // The next half second counts from that commit.
        write(1, "p");
        pacer.Wrote();
        now += TCommitPacer::kIntervalMs - 1;
        write(1, "q");
        pacer.Wrote();
        EXPECT_EQ(pacer.Commits(), 1);
        now += 1;
        write(2, "r");
        pacer.Wrote();
        EXPECT_EQ(pacer.Commits(), 2);
        killed = KilledNow();
        EXPECT_FALSE(killed.stale);
        EXPECT_EQ(killed.names, (std::vector<std::string>{"q", "r"}));

        write(1, "s");
        pacer.Wrote();
        EXPECT_EQ(pacer.Commits(), 2);
        EXPECT_TRUE(KilledNow().stale);
    }
    // The last write, less than half a second old, is committed when the pacer goes.
    const TKilled killed = KilledNow();
    EXPECT_FALSE(killed.stale);
    EXPECT_EQ(killed.names, (std::vector<std::string>{"s", "r"}));
}
