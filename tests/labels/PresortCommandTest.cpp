// "quillmark-tool presort" over a real address file: the list, the counts, the record options.

#include "labels/TLabelPrintLoop.h"
#include "tools/TToolCommand.h"

#include "TTestHome.h"
#include "data/TAddressFile.h"
#include "data/TDataSet.h"
#include "data/TFilterBuilder.h"
#include "data/TFilterFiles.h"
#include "data/TProgramHome.h"
#include "data/TSettingsFile.h"
#include "xbase/TTable.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sstream>

using namespace qm;

namespace {

// An address file with one record for each ZIP (the TAG column holding tags[i] when given), or
// without withZip a plain table with no ZIP field.
std::string MakeTable(const QString& dir, const std::vector<std::string>& zips, bool withZip = true,
                      const std::vector<QString>& tags = {})
{
    const QString path = dir + "/ADDR.DBF";
    if (!withZip) {
        auto table = xbase::TTable::Create(path.toStdString(),
                                           {{"LNAME", xbase::TFieldType::Character, 20, 0},
                                            {"POSTCODE", xbase::TFieldType::Character, 10, 0}});
        table->AppendBlank();
        table->PutString(1, "12345");
        table->Post();
        return path.toStdString();
    }
    EXPECT_TRUE(data::TAddressFile::Create(path, {}).isEmpty());
    data::TDataSet dataSet;
    data::TAddressFile::DeclareFieldObjects(dataSet);
    dataSet.Open(path);
    for (size_t i = 0; i < zips.size(); ++i) {
        dataSet.Append();
        dataSet.SetAsString("LNAME", "Name");
        dataSet.SetAsString("ZIP", QString::fromStdString(zips[i]));
        if (i < tags.size())
            dataSet.SetAsString("TAG", tags[i]);
        dataSet.Post();
    }
    return path.toStdString();
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

TEST(PresortCommand, FilterFileAndTaggedRecords)
{
    qm::test::TTestHome home;
    const QString tagId = QStringLiteral("QMTAG01");
    data::TSettingsFile(data::TProgramHome::Current().SettingsPath())
        .WriteString("Misc", "GlobalTagId", tagId);
    QTemporaryDir dir;
    // Ten tagged records of 12345 and three untagged; 58001 tagged.
    std::vector<std::string> zips(13, "12345");
    std::vector<QString> tags(10, tagId);
    tags.insert(tags.end(), 3, QString());
    zips.push_back("58001");
    tags.push_back(tagId);
    const std::string table = MakeTable(dir.path(), zips, true, tags);

    TRun tagged = RunPresort({"--table", table, "--tagged"});
    ASSERT_EQ(tagged.code, 0) << tagged.err;
    EXPECT_EQ(tagged.out, "** 5-digit 12345\n12345\n** ADC FARGO ND  580\n58001\n");
    EXPECT_NE(tagged.err.find("records read: 11\n"), std::string::npos) << tagged.err;

    data::TFilterEntries entries;
    for (int i = 0; i < data::TFilterEntries::kCount; ++i)
        if (QString::fromLatin1(data::TFilterBuilder::FieldExpression(i)).contains("ZIP"))
            entries.entries[size_t(i)] = QStringLiteral("5");
    const QString flt = dir.filePath("FIVE.FLT");
    ASSERT_EQ(data::TFilterFiles::Write(flt, entries), "");
    TRun filtered = RunPresort({"--table", table, "--filter-file", flt.toStdString(), "--tagged"});
    ASSERT_EQ(filtered.code, 0) << filtered.err;
    EXPECT_EQ(filtered.out, "** ADC FARGO ND  580\n58001\n");

    TRun missing =
        RunPresort({"--table", table, "--filter-file", dir.filePath("NONE.FLT").toStdString()});
    EXPECT_EQ(missing.code, 3);
    EXPECT_NE(missing.err.find("NONE.FLT"), std::string::npos) << missing.err;
    EXPECT_EQ(RunPresort({"--table", table, "--order", "ZIP"}).code, 2);
    EXPECT_EQ(RunPresort({"--table", table, "--start-record", "2"}).code, 2);
    EXPECT_EQ(RunPresort({"--table", table, "--query", "ZIP=="}).code, 2);
    EXPECT_EQ(RunPresort({"--table", table, "--out", table}).code, 2) << "never over its input";
    const QByteArray index = [&] {
        QFile f(dir.filePath("ADDR.CDX"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    EXPECT_EQ(RunPresort({"--table", table, "--out", dir.filePath("addr.cdx").toStdString()}).code,
              2)
        << "nor over its index";
    QFile after(dir.filePath("ADDR.CDX"));
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), index);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              (QStringList{"ADDR.CDX", "ADDR.DBF", "ADDR.FPT", "FIVE.FLT"}));
}
