#include "data/sysdata/TShippedTableBuilder.h"

#include "data/sysdata/TSysDataError.h"
#include "xbase/TTable.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace qm::data::sysdata {
namespace {

namespace fs = std::filesystem;

class TShippedTableBuilderTest : public ::testing::Test {
protected:
    std::string Dir() const { return mDir.path().toStdString(); }

    std::string WriteCsv(const std::string& text)
    {
        const std::string path = Dir() + "/source" + std::to_string(++mCount) + ".csv";
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    uint32_t BuildCsz(const std::string& text)
    {
        return TShippedTableBuilder::Build(TShippedTableSchema::StateZip(), WriteCsv(text), Dir());
    }

    // The fault a build raises; the test fails when the build succeeds.
    TSysDataError BuildError(const TShippedTableSchema& schema, const std::string& text)
    {
        try {
            TShippedTableBuilder::Build(schema, WriteCsv(text), Dir());
        } catch (const TSysDataError& error) {
            return error;
        }
        ADD_FAILURE() << "built from: " << text;
        return TSysDataError("", 0, "", "");
    }

    // Only the finished tables are left in the folder: no work folder, no stray file.
    std::vector<std::string> TableFiles() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(Dir()))
            if (entry.path().extension() != ".csv")
                names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    QTemporaryDir mDir;
    int mCount = 0;
};

// A one-row LBLTPL source with one cell replaced.
std::string LabelRow(const std::string& column, const std::string& value)
{
    const std::vector<std::pair<std::string, std::string>> cells = {
        {"DESCRIPT", "Avery 5160  Address"},
        {"PRINTER", "LJ"},
        {"LBLHEIGHT", "1.000"},
        {"LBLWIDTH", "2.625"},
        {"NBRACROSS", "3"},
        {"NBRDOWN", "10"},
        {"TOPMARG", "0.5"},
        {"LEFTMARG", "0.156"},
        {"HORIZPITCH", "2.781"},
        {"VERTPITCH", "1"},
        {"SHEETWIDTH", "8.5"},
        {"SHEETDEPTH", "11"},
        {"PAPERSIZE", "LTR"},
        {"LBLSHAPE", "RR"},
        {"MANUFAC", "AVERY"},
        {"PRODTYPE", "ADDRESS/SHIPPING LABELS"},
        {"MIDEXTRAX", "0"},
        {"MIDEXTRAY", "0"},
        {"ART", ""},
        {"SOURCE", "a note that is not stored"}};
    std::string header, row;
    for (const auto& [name, text] : cells) {
        header += (header.empty() ? "" : ",") + name;
        row += (row.empty() ? "" : ",") + (name == column ? value : text);
    }
    return header + "\n" + row + "\n";
}

TEST_F(TShippedTableBuilderTest, WritesEveryRowWithItsTagAndLeavesOnlyTheTable)
{
    EXPECT_EQ(BuildCsz("NAME,STATE,LOW_ZIP,HIGH_ZIP\n"
                       "Qu\xC3\xA9"
                       "bec,QC,G0A 0A0,J9Z 9Z9\n"
                       "Alabama,AL,35000,36999-9999\n"),
              2u);
    EXPECT_EQ(TableFiles(), (std::vector<std::string>{"CSZ.CDX", "CSZ.DBF"}));

    auto table = xbase::TTable::Open(Dir() + "/CSZ.DBF", {xbase::TOpenMode::ReadOnly});
    ASSERT_EQ(table->RecordCount(), 2u);
    table->Go(1);
    EXPECT_EQ(table->GetRaw(0), "Qu\xE9"
                                "bec              "); // Windows-1252, padded to C20
    EXPECT_EQ(table->GetTrimmed(3), "J9Z 9Z9");
    EXPECT_EQ(table->TagOrder("STATE"), 1);
    EXPECT_EQ(table->Version(), 0x03);
}

TEST_F(TShippedTableBuilderTest, NumbersAreStoredInTheFieldsFormatAndNotesAreNotStored)
{
    TShippedTableBuilder::Build(TShippedTableSchema::LabelTemplates(),
                                WriteCsv(LabelRow("TOPMARG", "0.5")), Dir());
    auto table = xbase::TTable::Open(Dir() + "/LBLTPL.DBF", {xbase::TOpenMode::ReadOnly});
    table->Go(1);
    EXPECT_EQ(table->GetRaw(table->FieldIndex("TOPMARG")), " 0.500");
    EXPECT_EQ(table->GetRaw(table->FieldIndex("NBRDOWN")), "10");
    EXPECT_DOUBLE_EQ(table->GetNumeric(table->FieldIndex("HORIZPITCH")), 2.781);
    EXPECT_EQ(table->FieldIndex("SOURCE"), -1);
    EXPECT_EQ(table->Fields().size(), TShippedTableSchema::LabelTemplates().fields.size());
}

TEST_F(TShippedTableBuilderTest, CellsThatWouldNotBeStoredExactlyAreRefusedByLineAndColumn)
{
    const auto& labels = TShippedTableSchema::LabelTemplates();
    struct TCase {
        std::string column, value, says;
    } cases[] = {
        {"TOPMARG", "0.5005", "decimals"}, // would be rounded
        {"TOPMARG", "100.000", "fit"},     // wider than N6.3
        {"NBRACROSS", "100", "fit"},       // wider than N2
        {"NBRACROSS", "2.5", "decimals"},  // N2 holds no decimals
        {"TOPMARG", "1e1", "plain decimal"},
        {"TOPMARG", " 1", "plain decimal"},
        {"TOPMARG", "1.", "plain decimal"},
        {"TOPMARG", "", "empty"},
        {"PRINTER", "LJX", "holds 2"}, // would be cut
        {"DESCRIPT", "Avery \xE2\x86\x92 Arrow", "U+2192"},
        {"ART", "a\tb", "control"},
    };
    for (const auto& c : cases) {
        const TSysDataError error = BuildError(labels, LabelRow(c.column, c.value));
        EXPECT_EQ(error.Line(), 2) << c.column << "=" << c.value;
        EXPECT_EQ(error.Column(), c.column) << c.value;
        EXPECT_NE(error.Message().find(c.says), std::string::npos) << error.what();
    }
    EXPECT_EQ(BuildError(labels, "DESCRIPT\nx\n").Column(), "PRINTER"); // a missing column
    EXPECT_TRUE(TableFiles().empty());
}

TEST_F(TShippedTableBuilderTest, AFailedRebuildKeepsThePreviousTable)
{
    BuildCsz("NAME,STATE,LOW_ZIP,HIGH_ZIP\nAlabama,AL,35000,36999-9999\n");
    // The third row's ZIP is one character too wide: nothing of the new source is written.
    const TSysDataError error =
        BuildError(TShippedTableSchema::StateZip(), "NAME,STATE,LOW_ZIP,HIGH_ZIP\n"
                                                    "Alaska,AK,99500,99999-9999\n"
                                                    "Arizona,AZ,85000,86599-99999\n");
    EXPECT_EQ(error.Line(), 3);
    EXPECT_EQ(error.Column(), "HIGH_ZIP");
    EXPECT_EQ(TableFiles(), (std::vector<std::string>{"CSZ.CDX", "CSZ.DBF"}));
    auto table = xbase::TTable::Open(Dir() + "/CSZ.DBF", {xbase::TOpenMode::ReadOnly});
    ASSERT_EQ(table->RecordCount(), 1u);
    table->Go(1);
    EXPECT_EQ(table->GetTrimmed(1), "AL");
}

TEST_F(TShippedTableBuilderTest, ARebuildReplacesTableAndIndexTogether)
{
    BuildCsz("NAME,STATE,LOW_ZIP,HIGH_ZIP\nAlabama,AL,35000,36999-9999\n");
    BuildCsz("NAME,STATE,LOW_ZIP,HIGH_ZIP\nYukon,YT,Y0A 0A0,Y9Z 9Z9\nAlberta,AB,T0A 0A0,T9Z 9Z9\n");
    auto table = xbase::TTable::Open(Dir() + "/CSZ.DBF", {xbase::TOpenMode::ReadOnly});
    EXPECT_EQ(table->RecordCount(), 2u);
    EXPECT_FALSE(table->IndexStale());
}

} // namespace
} // namespace qm::data::sysdata
