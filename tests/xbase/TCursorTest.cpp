#include "xbase/TCursor.h"

#include "TTableTestFiles.h"

#include "xbase/TEngineSettings.h"
#include "xbase/TSingleIndex.h"
#include "xbase/TTable.h"
#include "xbase/TXbaseError.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using qm::xbase::TCursor;
using qm::xbase::TEngineSettings;
using qm::xbase::TErrorKind;
using qm::xbase::TFieldDef;
using qm::xbase::TFieldType;
using qm::xbase::TSettingScope;
using qm::xbase::TSingleIndex;
using qm::xbase::TTable;
using qm::xbase::TXbaseError;
using qm::xbase::test::TTempDir;

namespace {

struct TRow {
    const char* lname;
    const char* fname;
    double amount;
    bool marked; // deletion mark
};

// Record numbers 1..9; the LNAME order is 4 ADAMS, 7 BAKER, 2 brown, 9 DYER, 5 EVANS,
// 1 SMITH(marked), 6 Smith, 3 SMYTHE, 8 WHITE.
const std::vector<TRow> kRows = {
    {"Smith", "Ann", 12.5, true}, {"brown", "Bob", 3, false},  {"SMYTHE", "Cy", 7, false},
    {"Adams", "Di", -2, false},   {"Evans", "Ed", 100, false}, {"Smith", "Flo", 12.5, false},
    {"Baker", "Gus", 0, false},   {"White", "Hal", 55, true},  {"Dyer", "Ida", 9, false},
};

class TCursorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mTable = TTable::Create(mDir.File("PEOPLE.DBF"), {{"LNAME", TFieldType::Character, 20, 0},
                                                          {"FNAME", TFieldType::Character, 10, 0},
                                                          {"AMOUNT", TFieldType::Numeric, 7, 1}});
        for (const TRow& row : kRows) {
            mTable->AppendBlank();
            mTable->PutString(0, row.lname);
            mTable->PutString(1, row.fname);
            mTable->PutNumeric(2, row.amount);
            mTable->Post();
            if (row.marked)
                mTable->SetDeleted(true);
        }
        mTable->AddTag("LNAME", "UPPER(LNAME)");
        mTable->AddTag("AMOUNT", "AMOUNT");
        mTable->Commit();
    }

    // Record numbers from the top to the end in the cursor's current state.
    static std::vector<uint32_t> Walk(TCursor& cursor)
    {
        std::vector<uint32_t> seen;
        for (cursor.GoTop(); !cursor.Eof(); cursor.Skip())
            seen.push_back(cursor.RecNo());
        return seen;
    }
    static std::vector<uint32_t> WalkBack(TCursor& cursor)
    {
        std::vector<uint32_t> seen;
        cursor.GoBottom();
        while (!cursor.Eof()) {
            seen.push_back(cursor.RecNo());
            cursor.Skip(-1);
            if (cursor.Bof())
                break;
        }
        return seen;
    }

    TSettingScope mDeletedOn{&TEngineSettings::deleted, true};
    TSettingScope mExactOff{&TEngineSettings::exact, false};
    TSettingScope mSoftOff{&TEngineSettings::softSeek, false};
    TTempDir mDir;
    std::unique_ptr<TTable> mTable;
};

using Recs = std::vector<uint32_t>;

TEST_F(TCursorTest, RecordOrderHidesMarkedRecordsOnlyWhileDeletedIsOn)
{
    TCursor cursor(*mTable);
    EXPECT_EQ(Walk(cursor), (Recs{2, 3, 4, 5, 6, 7, 9}));
    EXPECT_EQ(WalkBack(cursor), (Recs{9, 7, 6, 5, 4, 3, 2}));
    EXPECT_EQ(cursor.Count(), 7u);
    {
        TSettingScope off(&TEngineSettings::deleted, false);
        EXPECT_EQ(Walk(cursor), (Recs{1, 2, 3, 4, 5, 6, 7, 8, 9}));
        EXPECT_EQ(cursor.Count(), 9u);
    }
    // Marking the current record hides it from the next movement.
    cursor.Go(3);
    mTable->SetDeleted(true);
    cursor.Skip(-1);
    EXPECT_EQ(cursor.RecNo(), 2u);
    cursor.Skip(1);
    EXPECT_EQ(cursor.RecNo(), 4u);
    EXPECT_EQ(cursor.Count(), 6u);
}

TEST_F(TCursorTest, EndsOfTheViewSetEofAndBofAsXbaseDoes)
{
    TCursor cursor(*mTable);
    cursor.GoTop();
    cursor.Skip(-1);
    EXPECT_TRUE(cursor.Bof());
    EXPECT_FALSE(cursor.Eof());
    EXPECT_EQ(cursor.RecNo(), 2u); // stays on the first shown record

    cursor.GoBottom();
    cursor.Skip();
    EXPECT_TRUE(cursor.Eof());
    EXPECT_EQ(cursor.RecNo(), 10u); // RecordCount() + 1
    EXPECT_EQ(mTable->RecNo(), 0u);
    cursor.Skip(); // stays past the end
    EXPECT_TRUE(cursor.Eof());
    cursor.Skip(-1); // back onto the last shown record
    EXPECT_FALSE(cursor.Eof());
    EXPECT_EQ(cursor.RecNo(), 9u);

    // Several steps at once stop at the end.
    cursor.GoTop();
    cursor.Skip(3);
    EXPECT_EQ(cursor.RecNo(), 5u);
    cursor.Skip(100);
    EXPECT_TRUE(cursor.Eof());
    cursor.Skip(-3);
    EXPECT_EQ(cursor.RecNo(), 6u);

    cursor.SetQuery("LNAME = \"Nobody\"");
    cursor.GoTop();
    EXPECT_TRUE(cursor.Eof());
    EXPECT_TRUE(cursor.Bof());
    cursor.GoBottom();
    EXPECT_TRUE(cursor.Eof());
    EXPECT_TRUE(cursor.Bof());
    EXPECT_EQ(cursor.Count(), 0u);
}

TEST_F(TCursorTest, GoReachesHiddenRecordsAndSkipLeavesThem)
{
    TCursor cursor(*mTable);
    cursor.Go(1); // marked
    EXPECT_FALSE(cursor.Eof());
    EXPECT_EQ(cursor.RecNo(), 1u);
    EXPECT_EQ(mTable->GetTrimmed(1), "Ann");
    cursor.Skip();
    EXPECT_EQ(cursor.RecNo(), 2u);
    cursor.Go(0);
    EXPECT_TRUE(cursor.Eof());
    cursor.Go(99);
    EXPECT_TRUE(cursor.Eof());

    // The same in a tag order: from the marked SMITH the next is Smith (6), the previous EVANS.
    cursor.SelectTag("LNAME");
    cursor.Go(1);
    cursor.Skip();
    EXPECT_EQ(cursor.RecNo(), 6u);
    cursor.Go(1);
    cursor.Skip(-1);
    EXPECT_EQ(cursor.RecNo(), 5u);
}

TEST_F(TCursorTest, QueryHidesFailingRecordsAndReadsBack)
{
    TCursor cursor(*mTable);
    cursor.SetQuery("UPPER(LNAME)=\"SM\"");
    EXPECT_EQ(cursor.Query(), "UPPER(LNAME)=\"SM\"");
    EXPECT_EQ(Walk(cursor), (Recs{3, 6}));
    EXPECT_EQ(cursor.Count(), 2u);
    cursor.SelectTag("LNAME"); // the query stays with another order
    EXPECT_EQ(Walk(cursor), (Recs{6, 3}));
    EXPECT_EQ(cursor.Count(), 2u);

    cursor.SetQuery("amount > 10 .and. !DELETED()");
    EXPECT_EQ(Walk(cursor), (Recs{5, 6}));
    {
        TSettingScope off(&TEngineSettings::deleted, false);
        EXPECT_EQ(cursor.Count(), 2u); // the query's own DELETED() still hides record 1 and 8
    }
    cursor.ClearQuery();
    EXPECT_EQ(cursor.Query(), "");
    EXPECT_EQ(cursor.Count(), 7u);
}

TEST_F(TCursorTest, BadQueriesAreRefusedAndKeepTheOldOne)
{
    TCursor cursor(*mTable);
    cursor.SetQuery("AMOUNT > 50");
    auto kindOf = [&](const std::string& text) {
        try {
            cursor.SetQuery(text);
        } catch (const TXbaseError& e) {
            return e.Kind();
        }
        return TErrorKind::Io; // not refused
    };
    EXPECT_EQ(kindOf("UPPER(LNAME = \"A\""), TErrorKind::Syntax);
    EXPECT_EQ(kindOf("NOSUCHFIELD = 1"), TErrorKind::Syntax);
    EXPECT_EQ(kindOf("UPPER(LNAME)"), TErrorKind::Type); // not logical
    EXPECT_EQ(cursor.Query(), "AMOUNT > 50");
    EXPECT_EQ(cursor.Count(), 1u);

    // 255 characters are allowed, 256 are not; TestQuery answers the same without setting.
    std::string longest = "LNAME = \"" + std::string(255 - 10, 'x') + "\"";
    ASSERT_EQ(longest.size(), 255u);
    EXPECT_NO_THROW(cursor.TestQuery(longest));
    EXPECT_NO_THROW(cursor.SetQuery(longest));
    EXPECT_EQ(cursor.Count(), 0u);
    const std::string tooLong = "LNAME = \"" + std::string(256 - 10, 'x') + "\"";
    EXPECT_EQ(kindOf(tooLong), TErrorKind::Usage);
    EXPECT_THROW(cursor.TestQuery(tooLong), TXbaseError);
    EXPECT_EQ(cursor.Query(), longest);
}

TEST_F(TCursorTest, TagOrderWalksKeysBothWays)
{
    TCursor cursor(*mTable);
    EXPECT_EQ(cursor.SelectTag("lname"), 1);
    EXPECT_EQ(cursor.Order(), 1);
    EXPECT_EQ(Walk(cursor), (Recs{4, 7, 2, 9, 5, 6, 3}));
    EXPECT_EQ(WalkBack(cursor), (Recs{3, 6, 5, 9, 2, 7, 4}));
    cursor.GoTop();
    cursor.Skip(-1);
    EXPECT_TRUE(cursor.Bof());
    EXPECT_EQ(cursor.RecNo(), 4u);

    cursor.SelectTag("AMOUNT");
    EXPECT_EQ(Walk(cursor), (Recs{4, 7, 2, 3, 9, 6, 5}));

    cursor.SetOrder(0);
    EXPECT_EQ(Walk(cursor), (Recs{2, 3, 4, 5, 6, 7, 9}));
    EXPECT_THROW(cursor.SetOrder(3), TXbaseError);
    EXPECT_THROW(cursor.SelectTag("NOPE"), TXbaseError);
}

TEST_F(TCursorTest, EditingTheKeyMovesTheRecordInTheOrder)
{
    TCursor cursor(*mTable);
    cursor.SelectTag("LNAME");
    cursor.GoTop(); // ADAMS
    ASSERT_EQ(cursor.RecNo(), 4u);
    mTable->PutString(0, "Young");
    cursor.Skip(); // posts; YOUNG is now last
    EXPECT_TRUE(cursor.Eof());
    EXPECT_EQ(Walk(cursor), (Recs{7, 2, 9, 5, 6, 3, 4}));

    // Appending a record while in tag order: the new record takes its place in the order.
    mTable->AppendBlank();
    mTable->PutString(0, "Carter");
    mTable->Post();
    cursor.Go(mTable->RecNo());
    cursor.Skip(-1);
    EXPECT_EQ(cursor.RecNo(), 2u); // BROWN comes before CARTER
    cursor.Skip();
    cursor.Skip();
    EXPECT_EQ(cursor.RecNo(), 9u); // then DYER
}

TEST_F(TCursorTest, SeekMatchesPrefixesUnlessExact)
{
    TCursor cursor(*mTable);
    EXPECT_THROW(cursor.Seek("SM"), TXbaseError); // record order
    cursor.SelectTag("LNAME");

    // The first SMITH (record 1) carries the deletion mark: the seek lands on the next one.
    EXPECT_TRUE(cursor.Seek("SM"));
    EXPECT_TRUE(cursor.Found());
    EXPECT_EQ(cursor.RecNo(), 6u);
    EXPECT_TRUE(cursor.Seek("SMY"));
    EXPECT_EQ(cursor.RecNo(), 3u);
    {
        TSettingScope off(&TEngineSettings::deleted, false);
        EXPECT_TRUE(cursor.Seek("SMITH"));
        EXPECT_EQ(cursor.RecNo(), 1u);
    }
    {
        TSettingScope exact(&TEngineSettings::exact, true);
        EXPECT_FALSE(cursor.Seek("SM"));
        EXPECT_TRUE(cursor.Eof());
        EXPECT_TRUE(cursor.Seek("SMITH"));
        EXPECT_EQ(cursor.RecNo(), 6u);
    }

    // Not found: past the end.
    EXPECT_FALSE(cursor.Seek("SN"));
    EXPECT_FALSE(cursor.Found());
    EXPECT_TRUE(cursor.Eof());
}

TEST_F(TCursorTest, SoftSeekLandsOnTheNextShownKey)
{
    TCursor cursor(*mTable);
    cursor.SelectTag("LNAME");
    TSettingScope soft(&TEngineSettings::softSeek, true);
    // After SMYTHE comes WHITE, which carries the deletion mark: nothing is shown after it.
    EXPECT_FALSE(cursor.Seek("SN"));
    EXPECT_TRUE(cursor.Eof());
    EXPECT_FALSE(cursor.Seek("C"));
    EXPECT_EQ(cursor.RecNo(), 9u); // DYER
    cursor.Skip();
    EXPECT_EQ(cursor.RecNo(), 5u);
    {
        TSettingScope off(&TEngineSettings::deleted, false);
        EXPECT_FALSE(cursor.Seek("SN"));
        EXPECT_EQ(cursor.RecNo(), 8u);
    }
    // The query applies to seeks too.
    cursor.SetQuery("AMOUNT < 5");
    EXPECT_TRUE(cursor.Seek("B"));
    EXPECT_EQ(cursor.RecNo(), 7u);
    EXPECT_FALSE(cursor.Seek("D"));
    EXPECT_TRUE(cursor.Eof());
}

TEST_F(TCursorTest, SeekOnNumericKeysTakesNumbers)
{
    TCursor cursor(*mTable);
    cursor.SelectTag("AMOUNT");
    EXPECT_TRUE(cursor.Seek("12.5"));
    EXPECT_EQ(cursor.RecNo(), 6u); // record 1 has the same amount but is marked
    EXPECT_TRUE(cursor.Seek("-2"));
    EXPECT_EQ(cursor.RecNo(), 4u);
    EXPECT_FALSE(cursor.Seek("12"));
    EXPECT_THROW(cursor.Seek("twelve"), TXbaseError);
}

TEST_F(TCursorTest, ScopeLimitsTheOrderToARangeOfKeys)
{
    TCursor cursor(*mTable);
    EXPECT_THROW(cursor.SetScope("B", "D"), TXbaseError); // record order
    cursor.SelectTag("LNAME");
    cursor.SetScope("B", "D");
    EXPECT_TRUE(cursor.HasScope());
    EXPECT_EQ(Walk(cursor), (Recs{7, 2, 9}));
    EXPECT_EQ(WalkBack(cursor), (Recs{9, 2, 7}));
    EXPECT_EQ(cursor.Count(), 3u);
    EXPECT_FALSE(cursor.Seek("E"));
    EXPECT_TRUE(cursor.Seek("BR"));
    EXPECT_EQ(cursor.RecNo(), 2u);

    cursor.SetScope("S", ""); // open at the bottom
    EXPECT_EQ(Walk(cursor), (Recs{6, 3}));
    cursor.SetScope("", "BAKER");
    EXPECT_EQ(Walk(cursor), (Recs{4, 7}));
    cursor.SetScope("", "");
    EXPECT_FALSE(cursor.HasScope());
    EXPECT_EQ(cursor.Count(), 7u);

    // Choosing an order clears the scope.
    cursor.SetScope("S", "S");
    cursor.SelectTag("LNAME");
    EXPECT_FALSE(cursor.HasScope());
}

TEST_F(TCursorTest, SingleKeyIndexShowsOnlyAddedRecords)
{
    auto index = TCursor::CreateSingleIndex(*mTable, mDir.File("PICKED.IDX"), "UPPER(LNAME)");
    TCursor cursor(*mTable);
    for (uint32_t r : {9u, 3u, 5u, 8u}) {
        cursor.Go(r);
        EXPECT_TRUE(cursor.AddKey(*index));
    }
    cursor.SetOrder(*index);
    EXPECT_EQ(cursor.SingleIndexOrder(), index.get());
    EXPECT_EQ(cursor.Order(), 0);
    EXPECT_EQ(Walk(cursor), (Recs{9, 5, 3})); // 8 is marked
    EXPECT_EQ(cursor.Count(), 3u);
    EXPECT_TRUE(cursor.Seek("EV"));
    EXPECT_EQ(cursor.RecNo(), 5u);
    EXPECT_FALSE(cursor.Seek("AD")); // ADAMS was not added

    // From a record that is not in the index, skipping finds the neighbours in key order.
    cursor.Go(6); // SMITH
    cursor.Skip();
    EXPECT_EQ(cursor.RecNo(), 3u);
    cursor.Go(6);
    cursor.Skip(-1);
    EXPECT_EQ(cursor.RecNo(), 5u);
    cursor.Go(2); // BROWN, before everything added
    cursor.Skip(-1);
    EXPECT_TRUE(cursor.Bof());

    // The index file keeps its keys for the next opener.
    cursor.SetOrder(0);
    index->Close();
    index.reset();
    auto reopened = TSingleIndex::Open(mDir.File("PICKED.IDX"));
    cursor.SetOrder(*reopened);
    EXPECT_EQ(Walk(cursor), (Recs{9, 5, 3}));
}

TEST_F(TCursorTest, CountAgreesWithWalkingInEveryOrder)
{
    // A larger table where counting takes the sequential pass and walking takes the tag.
    for (int i = 0; i < 500; ++i) {
        mTable->AppendBlank();
        mTable->PutString(0, std::string(1, static_cast<char>('A' + (i * 7) % 26)) + "name" +
                                 std::to_string(i % 13));
        mTable->PutNumeric(2, i % 17);
        mTable->Post();
        if (i % 11 == 0)
            mTable->SetDeleted(true);
    }
    TCursor cursor(*mTable);
    for (const char* query : {"", "UPPER(LNAME) = \"C\"",
                              "AMOUNT >= 8 .and. \"NAME1\"$UPPER(LNAME)", ".not. DELETED()"}) {
        SCOPED_TRACE(query);
        cursor.SetQuery(query);
        for (int order : {0, 1, 2}) {
            cursor.SetOrder(order);
            EXPECT_EQ(cursor.Count(), Walk(cursor).size());
            EXPECT_EQ(WalkBack(cursor).size(), Walk(cursor).size());
        }
    }
}

TEST_F(TCursorTest, SurvivesTheIndexBeingRebuiltPackedOrClosed)
{
    TCursor cursor(*mTable);
    cursor.SelectTag("LNAME");
    cursor.GoTop();
    mTable->Reindex();
    EXPECT_EQ(Walk(cursor), (Recs{4, 7, 2, 9, 5, 6, 3}));

    // Packing renumbers the records: 1 and 8 go, so BROWN is 1, SMYTHE 2 and DYER 7.
    mTable->Pack();
    EXPECT_EQ(Walk(cursor), (Recs{3, 6, 1, 7, 4, 5, 2}));
    EXPECT_TRUE(cursor.Seek("SMY"));
    EXPECT_EQ(cursor.RecNo(), 2u);

    mTable->CloseIndexes();
    EXPECT_EQ(Walk(cursor), (Recs{1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(cursor.Order(), 0);
    EXPECT_THROW(cursor.Seek("SMY"), TXbaseError);
}

TEST_F(TCursorTest, LongWalksHideMarkedRecordsAndShowTheRecordsTheyLandOn)
{
    // Walks long enough for the deletion marks of the whole file to be read in one pass;
    // marks set, cleared and appended afterwards must show at once, and the fields read on
    // each record must be that record's even though movements no longer read them.
    for (int i = 0; i < 3000; ++i) {
        mTable->AppendBlank();
        mTable->PutString(0, "K" + std::to_string(100000 + (i * 7919) % 3000));
        mTable->PutString(1, std::to_string(i));
        mTable->Post();
        if (i % 5 == 0)
            mTable->SetDeleted(true);
    }
    TCursor cursor(*mTable);
    cursor.SelectTag("LNAME");
    auto walk = [&] {
        std::vector<std::string> names;
        for (cursor.GoTop(); !cursor.Eof(); cursor.Skip()) {
            const std::string name(mTable->GetTrimmed(0));
            const uint32_t r = cursor.RecNo();
            // FNAME holds the record's own position among the added records.
            if (r > kRows.size()) {
                EXPECT_EQ(mTable->GetTrimmed(1), std::to_string(r - kRows.size() - 1));
            }
            names.push_back(name);
        }
        return names;
    };
    std::vector<std::string> names = walk();
    ASSERT_EQ(names.size(), 7u + 2400u);
    std::vector<std::string> upper = names;
    for (std::string& name : upper)
        std::transform(name.begin(), name.end(), name.begin(),
                       [](char c) { return c >= 'a' && c <= 'z' ? char(c - 32) : c; });
    EXPECT_TRUE(std::is_sorted(upper.begin(), upper.end()));
    for (int pass = 0; pass < 2; ++pass)
        EXPECT_EQ(walk().size(), names.size());

    // Changes after the marks were taken in.
    const std::string gone = names[100];
    ASSERT_TRUE(cursor.Seek(gone));
    const uint32_t hidden = cursor.RecNo();
    mTable->SetDeleted(true);
    cursor.Go(kRows.size() + 1); // marked when added
    mTable->SetDeleted(false);
    mTable->AppendBlank();
    mTable->PutString(0, "K0 added");
    mTable->Post();
    mTable->SetDeleted(true);
    names = walk();
    EXPECT_EQ(names.size(), 7u + 2400u);
    EXPECT_EQ(std::count(names.begin(), names.end(), gone), 0);
    EXPECT_EQ(std::count(names.begin(), names.end(), "K0 added"), 0);
    EXPECT_EQ(std::count(names.begin(), names.end(), "K100000"), 1); // record 10, unmarked
    EXPECT_EQ(cursor.Count(), names.size());

    // An edit through a record reached without reading it keeps its other fields.
    cursor.Go(hidden);
    mTable->PutString(1, "edited");
    mTable->Post();
    mTable->Close();
    auto reopened = TTable::Open(mDir.File("PEOPLE.DBF"));
    reopened->Go(hidden);
    EXPECT_EQ(reopened->GetTrimmed(0), gone);
    EXPECT_EQ(reopened->GetTrimmed(1), "edited");
    EXPECT_TRUE(reopened->Deleted());
    mTable = std::move(reopened);
}

TEST_F(TCursorTest, QueryResultsKeptAfterALongPassFollowEveryLaterWrite)
{
    // After a count (or a long walk) the cursor answers the query from what it kept; every write
    // made since, in whatever way, must still show in walks and counts.
    for (int i = 0; i < 3000; ++i) {
        mTable->AppendBlank();
        mTable->PutString(0, "K" + std::to_string(100000 + (i * 7919) % 3000));
        mTable->PutString(1, std::to_string(i));
        mTable->Post();
        if (i % 9 == 0)
            mTable->SetDeleted(true);
    }
    // What the query "7"$FNAME shows, from the records themselves.
    auto expected = [&] {
        std::vector<uint32_t> shown;
        for (uint32_t r = 1; r <= mTable->RecordCount(); ++r) {
            mTable->Go(r);
            if (!mTable->Deleted() && mTable->GetTrimmed(1).find('7') != std::string_view::npos)
                shown.push_back(r);
        }
        return shown;
    };
    auto sorted = [](std::vector<uint32_t> recs) {
        std::sort(recs.begin(), recs.end());
        return recs;
    };
    TCursor cursor(*mTable);
    cursor.SetQuery("\"7\"$FNAME");
    cursor.SelectTag("LNAME");
    auto check = [&](const char* step) {
        SCOPED_TRACE(step);
        const std::vector<uint32_t> want = expected();
        EXPECT_EQ(cursor.Count(), want.size());
        EXPECT_EQ(sorted(Walk(cursor)), want);
        cursor.SetOrder(0);
        EXPECT_EQ(Walk(cursor), want);
        cursor.SelectTag("LNAME");
    };
    check("first count");

    // Single edits: a match that stops matching, a record that starts to, a marked match.
    mTable->Go(20); // FNAME "10"
    mTable->PutString(1, "17");
    mTable->Post();
    mTable->Go(26); // FNAME "16"
    mTable->PutString(1, "x");
    mTable->Post();
    mTable->Go(27); // FNAME "17"
    mTable->SetDeleted(true);
    mTable->AppendBlank();
    mTable->PutString(0, "K7");
    mTable->PutString(1, "777");
    mTable->Post();
    check("after single edits and an append");

    // Many records added after the results were kept: they are read one by one until one pass
    // over the file is the cheaper way.
    for (int i = 0; i < 2500; ++i) {
        mTable->AppendBlank();
        mTable->PutString(0, "K" + std::to_string(200000 + (i * 7919) % 2500));
        mTable->PutString(1, std::to_string(i * 3));
        mTable->Post();
    }
    check("after many appends");
    check("after many appends, again");

    // More writes than the table remembers one by one.
    for (uint32_t r = 10; r <= 2000; ++r) {
        mTable->Go(r);
        mTable->PutString(1, std::to_string(r * 3));
        mTable->Post();
        mTable->Go(r);
        mTable->PutString(1, std::to_string(r * 3 + 1));
        mTable->Post();
        mTable->Go(r);
        mTable->PutString(1, std::to_string(r * 3 + 2));
        mTable->Post();
    }
    check("after thousands of writes");

    mTable->Pack();
    check("after packing");

    mTable->Zap();
    check("after emptying");
    mTable->AppendBlank();
    mTable->PutString(0, "K1");
    mTable->PutString(1, "7");
    mTable->Post();
    check("after adding to the emptied table");
}

TEST_F(TCursorTest, KeptQueryResultsAnswerOnlyUnderTheExactSettingTheyWereMadeUnder)
{
    // "=" compares a prefix while exact matching is off and the whole value while it is on; a
    // duplicate check seeks with it on, in between counts and walks made with it off.
    TCursor cursor(*mTable);
    cursor.SetQuery("UPPER(LNAME) = \"SMI\"");
    cursor.SelectTag("LNAME");
    EXPECT_EQ(cursor.Count(), 1u); // 6 Smith (1 is marked); the pass keeps the results
    {
        TSettingScope exact(&TEngineSettings::exact, true);
        EXPECT_EQ(cursor.Count(), 0u);
        EXPECT_EQ(Walk(cursor), std::vector<uint32_t>{});
    }
    EXPECT_EQ(Walk(cursor), std::vector<uint32_t>{6});

    // A write, then a seek under the other rule (which brings kept results up to date), then a
    // count under the first rule again: the written record is judged by the first rule.
    EXPECT_EQ(cursor.Count(), 1u);
    mTable->Go(3); // SMYTHE
    mTable->PutString(0, "Smithers");
    mTable->Post();
    {
        TSettingScope exact(&TEngineSettings::exact, true);
        EXPECT_FALSE(cursor.Seek("SMITHERS"));
    }
    EXPECT_EQ(cursor.Count(), 2u);
    EXPECT_EQ(Walk(cursor), (std::vector<uint32_t>{6, 3}));
    EXPECT_TRUE(cursor.Seek("SMITHERS"));
    EXPECT_EQ(cursor.RecNo(), 3u);
}

TEST_F(TCursorTest, SharedOpenersSeeEachOthersWritesInTheirQueries)
{
    for (int i = 0; i < 3000; ++i) {
        mTable->AppendBlank();
        mTable->PutString(0, "K" + std::to_string(i));
        mTable->PutString(1, "none");
        mTable->Post();
    }
    mTable->Close();
    qm::xbase::TTableOptions shared;
    shared.mode = qm::xbase::TOpenMode::Shared;
    auto reader = TTable::Open(mDir.File("PEOPLE.DBF"), shared);
    auto writer = TTable::Open(mDir.File("PEOPLE.DBF"), shared);
    TCursor cursor(*reader);
    cursor.SetQuery("FNAME = \"hit\"");
    EXPECT_EQ(cursor.Count(), 0u);
    writer->Go(1500);
    writer->PutString(1, "hit");
    writer->Post();
    writer->Commit();
    EXPECT_EQ(cursor.Count(), 1u);
    cursor.SelectTag("LNAME");
    EXPECT_EQ(Walk(cursor), (Recs{1500}));
    writer->Close();
    reader->Close();
    mTable = TTable::Open(mDir.File("PEOPLE.DBF"));
}

} // namespace
