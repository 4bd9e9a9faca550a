// "quillmark-tool presort" over a real address file: the list, the counts, the record options.

#include "labels/TLabelPrintLoop.h"
#include "tools/TToolCommand.h"

#include "xbase/TTable.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sstream>

using namespace qm;

namespace {

std::string MakeTable(const QString& dir, const std::vector<std::string>& zips, bool withZip = true)
{
    const std::string path = dir.toStdString() + "/ADDR.DBF";
    auto table = xbase::TTable::Create(
        path, {{"LNAME", xbase::TFieldType::Character, 20, 0},
               {withZip ? "ZIP" : "POSTCODE", xbase::TFieldType::Character, 10, 0}});
    for (const std::string& zip : zips) {
        table->AppendBlank();
        table->PutString(0, "Name");
        table->PutString(1, zip);
        table->Post();
    }
    return path;
}

struct TRun {
    int code;
    std::string out;
    std::string err;
};

TRun RunPresort(std::vector<std::string> args)
{
    args.insert(args.begin(), "presort");
    std::ostringstream out, err;
    const int code = tools::RunTool(args, out, err);
    return {code, out.str(), err.str()};
}

} // namespace

TEST(PresortCommand, WritesTheListAndItsCountsForTheChosenRecords)
{
    QTemporaryDir dir;
    std::vector<std::string> zips(10, "12345-6789");
    zips.insert(zips.end(), {"12001", "", "K1A 0B1", "58001"});
    const std::string table = MakeTable(dir.path(), zips);

    TRun all = RunPresort({"--table", table});
    ASSERT_EQ(all.code, 0) << all.err;
    EXPECT_EQ(all.out, "** 5-digit 12345\n12345\n** ADC ALBANY NY 120\n12001\n"
                       "** ADC FARGO ND  580\n58001\n");
    EXPECT_NE(all.err.find("records read: 14\n"), std::string::npos) << all.err;
    EXPECT_NE(all.err.find("records left out: 2\n"), std::string::npos) << all.err;
    EXPECT_NE(all.err.find("2 record(s) have no valid ZIP code"), std::string::npos) << all.err;

    TRun query = RunPresort({"--table", table, "--query", "ZIP = \"5\""});
    ASSERT_EQ(query.code, 0) << query.err;
    EXPECT_EQ(query.out, "** ADC FARGO ND  580\n58001\n");

    TRun one = RunPresort({"--table", table, "--record", "11"});
    ASSERT_EQ(one.code, 0) << one.err;
    EXPECT_EQ(one.out, "** ADC ALBANY NY 120\n12001\n");

    TRun none = RunPresort({"--table", table, "--query", "ZIP = \"7\""});
    ASSERT_EQ(none.code, 0) << none.err;
    EXPECT_EQ(none.out, "");

    const QString out = dir.filePath("PRESORT.PSL");
    TRun file = RunPresort({"--table", table, "--out", out.toStdString()});
    ASSERT_EQ(file.code, 0) << file.err;
    EXPECT_EQ(file.out, "");
    EXPECT_EQ(labels::TLabelPrintLoop::ReadPresortList(out, nullptr)->size(), 6);
}

TEST(PresortCommand, RefusesBadUsageAndAFileWithoutZip)
{
    QTemporaryDir dir;
    EXPECT_EQ(RunPresort({}).code, 2);
    const std::string noZip = MakeTable(dir.path(), {"12345"}, false);
    TRun run = RunPresort({"--table", noZip});
    EXPECT_EQ(run.code, 3);
    EXPECT_NE(run.err.find("ADDR.DBF has no ZIP field"), std::string::npos) << run.err;
    EXPECT_EQ(RunPresort({"--table", noZip, "--all", "--record", "1"}).code, 2);
    EXPECT_EQ(RunPresort({"--table", noZip, "--record", "0"}).code, 2);
    EXPECT_EQ(RunPresort({"--table", dir.filePath("MISSING.DBF").toStdString()}).code, 3);
}
