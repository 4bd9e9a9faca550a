// The record options the print verbs share: which combinations are refused, and where the cursor
// stands after Apply() on a small address file (order, query, saved filter, tagged records, the
// start record and its message).

#include "tools/TRecordScopeArgs.h"

#include "data/TAddressFile.h"
#include "data/TDataSet.h"
#include "data/TFilterBuilder.h"
#include "data/TFilterFiles.h"
#include "xbase/TCursor.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sstream>

using qm::tools::TRecordScopeArgs;

namespace {

const QString kTagId = QStringLiteral("QMTAG01");

// Parses args (all of them record options); returns the first problem, empty when none.
std::string Parse(TRecordScopeArgs& scope, const std::vector<std::string>& args)
{
    for (size_t i = 0; i < args.size(); ++i) {
        std::string problem;
        switch (scope.Take(args, i, problem)) {
        case TRecordScopeArgs::TTake::Taken:
            break;
        case TRecordScopeArgs::TTake::NotMine:
            return "not mine: " + args[i];
        case TRecordScopeArgs::TTake::Error:
            return problem;
        }
    }
    return scope.Check();
}

TEST(TRecordScopeArgs, RefusesBadValuesAndCombinations)
{
    const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
        {{"--all", "--query", "CITY='X'"}, "choose one of"},
        {{"--query", "A", "--filter-file", "F.FLT"}, "choose one of"},
        {{"--record", "2", "--all"}, "choose one of"},
        {{"--record", "2", "--start-record", "3"}, "--start-record does not go with --record"},
        {{"--record", "2", "--tagged"}, "--tagged does not go with --record"},
        {{"--record", "0"}, "--record takes a record number from 1, not '0'"},
        {{"--record", "-4"}, "not '-4'"},
        {{"--start-record", "4294967296"}, "not '4294967296'"},
        {{"--start-record", "12x"}, "not '12x'"},
        {{"--query"}, "--query needs a value"},
        {{"--query", "  "}, "--query needs an expression"},
    };
    for (const auto& [args, message] : refused) {
        TRecordScopeArgs scope;
        EXPECT_NE(Parse(scope, args).find(message), std::string::npos)
            << args[0] << " " << (args.size() > 1 ? args[1] : "") << ": " << Parse(scope, args);
    }

    TRecordScopeArgs scope;
    EXPECT_EQ(Parse(scope, {"--tagged", "--query", "CITY='X'", "--order", "ZIP", "--start-record",
                            "4294967295"}),
              "");
    EXPECT_EQ(scope.StartRecord(), 4294967295u);
    EXPECT_EQ(scope.Order(), "ZIP");
    EXPECT_TRUE(scope.Tagged());

    TRecordScopeArgs other;
    std::vector<std::string> args = {"--pdf", "x.pdf"};
    size_t i = 0;
    std::string problem;
    EXPECT_EQ(other.Take(args, i, problem), TRecordScopeArgs::TTake::NotMine);
    EXPECT_EQ(i, 0u);
}

TEST(TRecordScopeArgs, QueryOfTheJob)
{
    int code = 0;
    std::string problem;
    TRecordScopeArgs all;
    EXPECT_EQ(all.JobQuery(kTagId, problem, &code), "!ISDEL");

    TRecordScopeArgs tagged;
    ASSERT_EQ(Parse(tagged, {"--query", "CITY=\"Bend\"", "--tagged"}), "");
    EXPECT_EQ(tagged.JobQuery(kTagId, problem, &code),
              "((CITY=\"Bend\").and.((UPPER(TAG)=\"QMTAG01\"))).and. !ISDEL");

    // A query is taken in UTF-8 and handed to the engine in Windows-1252.
    TRecordScopeArgs accented;
    ASSERT_EQ(Parse(accented, {"--query", "CITY=\"M\xC3\xBCnster\""}), "");
    EXPECT_EQ(accented.JobQuery(kTagId, problem, &code), "(CITY=\"M\xFCnster\").and. !ISDEL");

    TRecordScopeArgs foreign;
    ASSERT_EQ(Parse(foreign, {"--query", "CITY=\"\xE4\xB8\x80\""}), "");
    EXPECT_EQ(foreign.JobQuery(kTagId, problem, &code), "");
    EXPECT_EQ(code, 2);
    EXPECT_NE(problem.find("U+4E00"), std::string::npos) << problem;
}

class TRecordScopeApplyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mDir.isValid());
        mPath = mDir.filePath("ADD0001.DBF");
        ASSERT_TRUE(qm::data::TAddressFile::Create(mPath, {}).isEmpty());
        mDataSet = std::make_unique<qm::data::TDataSet>();
        qm::data::TAddressFile::DeclareFieldObjects(*mDataSet);
        mDataSet->Open(mPath);
        // Record i: last name Name(20 - i), so LNAME order reverses the records; every third
        // record tagged, records 5 and 6 in Bend, record 7 marked deleted.
        for (int i = 1; i <= 10; ++i) {
            mDataSet->Append();
            mDataSet->SetAsString("LNAME", QStringLiteral("Name%1").arg(20 - i));
            mDataSet->SetAsString("CITY", i == 5 || i == 6 ? "Bend" : "Salem");
            mDataSet->SetAsString("TAG", i % 3 == 0 ? kTagId : QString());
            mDataSet->SetAsBoolean("ISDEL", i == 7);
            mDataSet->Post();
        }
    }

    // The record numbers the cursor walks from where Apply left it.
    std::vector<uint32_t> Walk(const std::vector<std::string>& args, int* code)
    {
        TRecordScopeArgs scope;
        EXPECT_EQ(Parse(scope, args), "");
        mErr.str({});
        *code = scope.Apply(mDataSet->Cursor(), "LNAME", kTagId, "tool: ", mErr);
        std::vector<uint32_t> seen;
        if (*code != 0)
            return seen;
        qm::xbase::TCursor& cursor = mDataSet->Cursor();
        if (scope.SingleRecord())
            return {cursor.RecNo()};
        for (; !cursor.Eof(); cursor.Skip())
            seen.push_back(cursor.RecNo());
        return seen;
    }

    QTemporaryDir mDir;
    QString mPath;
    std::unique_ptr<qm::data::TDataSet> mDataSet;
    std::ostringstream mErr;
};

TEST_F(TRecordScopeApplyTest, WalksTheChosenRecordsInOrder)
{
    int code = -1;
    EXPECT_EQ(Walk({}, &code), (std::vector<uint32_t>{10, 9, 8, 6, 5, 4, 3, 2, 1}));
    EXPECT_EQ(code, 0);
    EXPECT_EQ(Walk({"--order", "CITY", "--query", "CITY=\"Bend\""}, &code),
              (std::vector<uint32_t>{5, 6}));
    EXPECT_EQ(Walk({"--tagged"}, &code), (std::vector<uint32_t>{9, 6, 3}));
    EXPECT_EQ(Walk({"--tagged", "--query", "CITY=\"Bend\""}, &code), (std::vector<uint32_t>{6}));
    // The deleted record is still reachable as "the current record".
    EXPECT_EQ(Walk({"--record", "7"}, &code), (std::vector<uint32_t>{7}));

    // Start from a record of the job: the walk begins there, in the job's order.
    EXPECT_EQ(Walk({"--start-record", "4"}, &code), (std::vector<uint32_t>{4, 3, 2, 1}));
    EXPECT_EQ(mErr.str(), "");
    // A record outside the job (deleted, filtered out, past the file) starts from the first.
    for (const char* start : {"7", "5", "11"}) {
        EXPECT_EQ(Walk({"--tagged", "--start-record", start}, &code),
                  (std::vector<uint32_t>{9, 6, 3}))
            << start;
        EXPECT_EQ(mErr.str(), "Current record is out of range. Starting with first record\n");
    }
}

TEST_F(TRecordScopeApplyTest, SavedFilterFile)
{
    qm::data::TFilterEntries entries;
    // Entries are in filter-file order; find the city entry by its field.
    for (int i = 0; i < qm::data::TFilterEntries::kCount; ++i)
        if (QString::fromLatin1(qm::data::TFilterBuilder::FieldExpression(i)).contains("CITY"))
            entries.entries[size_t(i)] = QStringLiteral("BE");
    const QString flt = mDir.filePath("BEND.FLT");
    ASSERT_EQ(qm::data::TFilterFiles::Write(flt, entries), "");
    int code = -1;
    EXPECT_EQ(Walk({"--filter-file", flt.toStdString()}, &code), (std::vector<uint32_t>{6, 5}));
    EXPECT_EQ(code, 0);
    EXPECT_EQ(Walk({"--filter-file", flt.toStdString(), "--tagged"}, &code),
              (std::vector<uint32_t>{6}));
}

TEST_F(TRecordScopeApplyTest, BadInputNamesTheOptionAndLeavesTheFileAlone)
{
    // The table, memo and index as they stand on disk before the refusals.
    const auto filesOnDisk = [this] {
        mDataSet->Close();
        QStringList contents;
        for (const QString& name : QDir(mDir.path()).entryList(QDir::Files, QDir::Name)) {
            QFile file(mDir.filePath(name));
            EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
            contents << name + QLatin1Char('=') + QString::fromLatin1(file.readAll().toHex());
        }
        mDataSet->Open(mPath);
        return contents;
    };
    const QStringList before = filesOnDisk();
    ASSERT_GE(before.size(), 2); // at least the table and its index

    int code = -1;
    Walk({"--record", "11"}, &code);
    EXPECT_EQ(code, 1);
    EXPECT_EQ(mErr.str(), "tool: there is no record 11 (the file has 10)\n");

    Walk({"--order", "NOSUCHTAG"}, &code);
    EXPECT_EQ(code, 2);
    EXPECT_EQ(mErr.str().rfind("tool: --order NOSUCHTAG: ", 0), 0u) << mErr.str();

    Walk({"--query", "CITY=="}, &code);
    EXPECT_EQ(code, 2);
    EXPECT_EQ(mErr.str().rfind("tool: --query \"CITY==\": ", 0), 0u) << mErr.str();

    Walk({"--filter-file", mDir.filePath("MISSING.FLT").toStdString()}, &code);
    EXPECT_EQ(code, 3);
    EXPECT_NE(mErr.str().find("MISSING.FLT"), std::string::npos) << mErr.str();

    Walk({"--filter-file", mDir.filePath("NOTES.TXT").toStdString()}, &code);
    EXPECT_EQ(code, 2);
    EXPECT_NE(mErr.str().find("Must be a Filter (.FLT) file"), std::string::npos) << mErr.str();

    EXPECT_EQ(mDataSet->Table().RecordCount(), 10u);
    EXPECT_EQ(filesOnDisk(), before);
}

} // namespace
