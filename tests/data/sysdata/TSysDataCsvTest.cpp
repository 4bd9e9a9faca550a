#include "data/sysdata/TSysDataCsv.h"

#include "data/sysdata/TSysDataError.h"

#include <gtest/gtest.h>

namespace qm::data::sysdata {
namespace {

// The error a parse raises, or a failed expectation when it parses.
TSysDataError ParseError(std::string_view text)
{
    try {
        TSysDataCsv::Parse(text, "t.csv");
    } catch (const TSysDataError& error) {
        return error;
    }
    ADD_FAILURE() << "parsed: " << text;
    return TSysDataError("", 0, "", "");
}

TEST(TSysDataCsvTest, QuotedFieldsKeepCommasQuotesAndLineBreaks)
{
    const auto csv = TSysDataCsv::Parse("A,B,C\r\n"
                                        "\"x, y\",\"say \"\"hi\"\"\",\"two\nlines\"\r\n"
                                        ",,\n",
                                        "t.csv");
    ASSERT_EQ(csv.Records().size(), 2u);
    EXPECT_EQ(csv.Records()[0].fields,
              (std::vector<std::string>{"x, y", "say \"hi\"", "two\nlines"}));
    EXPECT_EQ(csv.Records()[1].fields, (std::vector<std::string>{"", "", ""}));
    // The second record starts after the line break inside the quoted field.
    EXPECT_EQ(csv.Records()[0].line, 2);
    EXPECT_EQ(csv.Records()[1].line, 4);
}

TEST(TSysDataCsvTest, ByteOrderMarkBlankLinesAndMissingFinalLineBreak)
{
    const auto csv = TSysDataCsv::Parse("\xEF\xBB\xBFNAME,STATE\n\nQu\xC3\xA9"
                                        "bec,QC",
                                        "t.csv");
    EXPECT_EQ(csv.Header(), (std::vector<std::string>{"NAME", "STATE"}));
    EXPECT_EQ(csv.ColumnIndex("STATE"), 1);
    EXPECT_EQ(csv.ColumnIndex("state"), -1);
    ASSERT_EQ(csv.Records().size(), 1u);
    EXPECT_EQ(csv.Records()[0].line, 3);
    EXPECT_EQ(csv.Records()[0].fields[0], "Qu\xC3\xA9"
                                          "bec");
}

TEST(TSysDataCsvTest, MalformedTextIsRefusedWithItsLine)
{
    EXPECT_EQ(ParseError("A,B\n1,2\n3\n").Line(), 3);              // too few fields
    EXPECT_EQ(ParseError("A,B\n1,2,3\n").Line(), 2);               // too many
    EXPECT_EQ(ParseError("A\nx\n\"open\nstill open\n").Line(), 3); // where the quote opened
    EXPECT_EQ(ParseError("A\nab\"c\n").Line(), 2);
    EXPECT_EQ(ParseError("A\n\"ab\"c\n").Line(), 2);
    EXPECT_EQ(ParseError("A\nx\ry\n").Line(), 2);
    EXPECT_EQ(ParseError("A,A\n").Column(), "A");
    EXPECT_NE(std::string(ParseError("A,,C\n").what()).find("empty"), std::string::npos);
    EXPECT_NE(std::string(ParseError("").what()).find("header"), std::string::npos);
    // Windows-1252 bytes are not silently taken for UTF-8.
    EXPECT_NE(std::string(ParseError("NAME\nQu\xE9"
                                     "bec\n")
                              .what())
                  .find("UTF-8"),
              std::string::npos);
}

TEST(TSysDataCsvTest, UnreadableFileNamesThePath)
{
    try {
        TSysDataCsv::Read("/nonexistent/folder/x.csv");
        FAIL();
    } catch (const TSysDataError& error) {
        EXPECT_EQ(error.File(), "/nonexistent/folder/x.csv");
    }
}

} // namespace
} // namespace qm::data::sysdata
