#include "tools/TCsvReader.h"
#include "tools/TCsvWriter.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

using qm::tools::TCsvError;
using qm::tools::TCsvReader;
using qm::tools::TCsvWriter;
using Rows = std::vector<std::vector<std::string>>;

namespace {

Rows ReadAll(const std::string& text)
{
    std::istringstream in(text);
    TCsvReader reader(in);
    Rows rows;
    std::vector<std::string> fields;
    while (reader.Next(fields))
        rows.push_back(fields);
    return rows;
}

} // namespace

TEST(TCsvReader, ReadsQuotedFieldsLineBreaksAndEveryLineEnd)
{
    EXPECT_EQ(
        ReadAll("a,b,c\r\n1,,3\n\"x,y\",\"say \"\"hi\"\"\",\"two\r\nlines\"\rlast,\"\""),
        (Rows{
            {"a", "b", "c"}, {"1", "", "3"}, {"x,y", "say \"hi\"", "two\r\nlines"}, {"last", ""}}));
    // Empty lines are skipped; a lone empty quoted field is a record; no final line end needed.
    EXPECT_EQ(ReadAll("\r\n\r\none\n\n\"\"\n,\n"), (Rows{{"one"}, {""}, {"", ""}}));
    EXPECT_EQ(ReadAll(""), Rows{});
    // A byte-order mark is not part of the first field; a quote inside an unquoted field is text.
    EXPECT_EQ(ReadAll("\xEF\xBB\xBFid,na\"me\n"), (Rows{{"id", "na\"me"}}));
}

TEST(TCsvReader, ReportsTheLineOfMalformedText)
{
    std::istringstream in("ok,1\n\"multi\nline\",2\nbad,\"x\"y\n");
    TCsvReader reader(in);
    std::vector<std::string> fields;
    ASSERT_TRUE(reader.Next(fields));
    ASSERT_TRUE(reader.Next(fields));
    EXPECT_EQ(reader.RecordLine(), 2);
    try {
        reader.Next(fields);
        FAIL() << "text after a closing quote was accepted";
    } catch (const TCsvError& e) {
        EXPECT_EQ(e.Line(), 4);
    }

    std::istringstream open("a\nb,\"never closed\n\n");
    TCsvReader openReader(open);
    ASSERT_TRUE(openReader.Next(fields));
    try {
        openReader.Next(fields);
        FAIL() << "an unclosed quote was accepted";
    } catch (const TCsvError& e) {
        EXPECT_EQ(e.Line(), 2);
        EXPECT_NE(std::string(e.what()).find("not closed"), std::string::npos);
    }
}

TEST(TCsvReader, TellsUtf8FromWindows1252OverChunkBoundaries)
{
    std::istringstream utf8("M\xC3\xBCller,Z\xC3\xB6"
                            "e\n");
    EXPECT_EQ(TCsvReader::TextEncodingOf(utf8), TCsvReader::TEncoding::Utf8);
    EXPECT_EQ(utf8.tellg(), 0); // rewound for reading
    std::istringstream latin("M\xFCller,Z\xF6"
                             "e\n");
    EXPECT_EQ(TCsvReader::TextEncodingOf(latin), TCsvReader::TEncoding::Windows1252);

    // A two-byte character cut at a chunk boundary of the check (64 KiB) is still valid UTF-8.
    std::string big(1 << 16, 'a');
    big[(1 << 16) - 1] = '\xC3';
    big += "\xA9 tail\n";
    std::istringstream split(big);
    EXPECT_EQ(TCsvReader::TextEncodingOf(split), TCsvReader::TEncoding::Utf8);
    // ... and a file ending inside a character is not.
    std::istringstream cut(std::string("abc\xE2\x82"));
    EXPECT_EQ(TCsvReader::TextEncodingOf(cut), TCsvReader::TEncoding::Windows1252);
}

TEST(TCsvWriter, QuotesOnlyWhatNeedsItAndReadsBackTheSame)
{
    const std::vector<std::string> values = {"plain",        "",         "a,b",        "say \"hi\"",
                                             "two\r\nlines", " padded ", "line\nfeed", "é"};
    std::ostringstream out;
    TCsvWriter writer(out);
    for (const std::string& v : values)
        writer.Field(v);
    writer.EndRecord();
    writer.Field("second");
    writer.EndRecord();
    EXPECT_EQ(out.str(), "plain,,\"a,b\",\"say \"\"hi\"\"\",\"two\r\nlines\",\" padded \","
                         "\"line\nfeed\",é\r\nsecond\r\n");
    EXPECT_EQ(ReadAll(out.str()), (Rows{values, {"second"}}));
}
