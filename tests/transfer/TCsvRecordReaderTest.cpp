// The record reader splits as RFC 4180 and Python's csv module do, including the cases the older
// line splitter got wrong (doubled quotes, quoted line breaks).

#include "transfer/TCsvRecordReader.h"

#include "TTransferTestSupport.h"

#include <gtest/gtest.h>

using namespace qm::transfer;

namespace {

using TRecords = std::vector<std::vector<std::string>>;

TRecords Split(const std::string& bytes)
{
    TMemoryByteSource source(bytes);
    TCsvRecordReader reader(source);
    TRecords records;
    while (reader.Next()) {
        std::vector<std::string> fields;
        for (int i = 0; i < reader.FieldCount(); ++i)
            fields.emplace_back(reader.Field(i));
        records.push_back(fields);
    }
    return records;
}

using V = std::vector<std::string>;

} // namespace

TEST(TCsvRecordReader, ReadsWhatTheOlderSplitterReadCorrectly)
{
    // A quoted name with a comma, then two plain fields.
    EXPECT_EQ(Split("\"Smith, John\",a,b\r\n"), (TRecords{V{"Smith, John", "a", "b"}}));
    // Two quotes as a field are an empty field.
    EXPECT_EQ(Split("a,\"\",c\r\n"), (TRecords{V{"a", "", "c"}}));
    // An empty line is a record of its own; a trailing comma gives a last, empty field.
    EXPECT_EQ(Split("a,b\r\n\r\nc,\r\n"), (TRecords{V{"a", "b"}, V{}, V{"c", ""}}));
    // Short and long lines keep their own field counts.
    EXPECT_EQ(Split("1,2,3\n4\n5,6,7,8\n"),
              (TRecords{V{"1", "2", "3"}, V{"4"}, V{"5", "6", "7", "8"}}));
    // LF, CR and CR LF all end records; no line break at the end is fine.
    EXPECT_EQ(Split("a\rb\nc\r\nd"), (TRecords{V{"a"}, V{"b"}, V{"c"}, V{"d"}}));
}

TEST(TCsvRecordReader, DoubledQuotesAndQuotedLineBreaksFollowRfc4180)
{
    // The older splitter made one field of this line, with the quotes still doubled.
    EXPECT_EQ(Split("\"a\"\"b\",c\r\n"), (TRecords{V{"a\"b", "c"}}));
    // A quoted line break stays inside the value and does not shift later fields.
    EXPECT_EQ(Split("\"line 1\r\nline 2\",x\r\nnext,y\r\n"),
              (TRecords{V{"line 1\r\nline 2", "x"}, V{"next", "y"}}));
    // Stray quotes are read as Python reads them.
    EXPECT_EQ(Split("a\"b,c\n"), (TRecords{V{"a\"b", "c"}}));
    EXPECT_EQ(Split("\"ab\"cd,e\n"), (TRecords{V{"abcd", "e"}}));
    EXPECT_EQ(Split(" \"a,b\"\n"), (TRecords{V{" \"a", "b\""}}));
}

TEST(TCsvRecordReader, AQuoteNeverClosedNamesTheLineItOpensOn)
{
    TMemoryByteSource source("a,b\nc,d\ne,\"never closed\nf,g\n");
    TCsvRecordReader reader(source);
    ASSERT_TRUE(reader.Next());
    ASSERT_TRUE(reader.Next());
    EXPECT_EQ(reader.RecordLine(), 2);
    try {
        reader.Next();
        FAIL() << "an unclosed quote was read";
    } catch (const TCsvFormatError& error) {
        EXPECT_EQ(error.Line(), 3);
    }
}

TEST(TCsvRecordReader, TellsWhereAQuotedValueRanOverALineBreakAndHowManyLinesWereRead)
{
    // Record lines, quote-span lines and lines read after each record, for every kind of line
    // break, with and without one at the end.
    struct TSeen {
        int64_t start, span, end, lines;
        bool operator==(const TSeen&) const = default;
    };
    const auto walk = [](const std::string& bytes) {
        TMemoryByteSource source(bytes);
        TCsvRecordReader reader(source);
        std::vector<TSeen> seen;
        while (reader.Next())
            seen.push_back({reader.RecordLine(), reader.QuoteSpanLine(), reader.RecordEndLine(),
                            reader.LinesRead()});
        seen.push_back({0, 0, 0, reader.LinesRead()});
        return seen;
    };
    EXPECT_EQ(
        walk("a,b\r\n\"x\r\ny\r\nz\",\"w\nv\"\r\n\r\nlast"),
        (std::vector<TSeen>{{1, 0, 1, 1}, {2, 2, 5, 5}, {6, 0, 6, 6}, {7, 0, 7, 7}, {0, 0, 0, 7}}));
    EXPECT_EQ(walk("a\rb\n\"c\rd\"\n"),
              (std::vector<TSeen>{{1, 0, 1, 1}, {2, 0, 2, 2}, {3, 3, 4, 4}, {0, 0, 0, 4}}));
    // A quote that is closed on its own line spans nothing.
    EXPECT_EQ(walk("\"a,b\",c\n"), (std::vector<TSeen>{{1, 0, 1, 1}, {0, 0, 0, 1}}));
    EXPECT_EQ(walk(""), (std::vector<TSeen>{{0, 0, 0, 0}}));
}

TEST(TCsvRecordReader, LimitsKeepMemoryBoundedWithoutCuttingOrdinaryLines)
{
    // No 2048-character cut: a 5000-character line reads whole.
    const std::string longValue(5000, 'x');
    EXPECT_EQ(Split(longValue + ",y\n"), (TRecords{V{longValue, "y"}}));

    // At most 255 fields are kept; the record still knows how many it had.
    std::string wide;
    for (int i = 0; i < 300; ++i)
        wide += (i ? "," : "") + std::to_string(i);
    TMemoryByteSource source(wide);
    TCsvRecordReader reader(source);
    ASSERT_TRUE(reader.Next());
    EXPECT_EQ(reader.FieldCount(), 255);
    EXPECT_EQ(reader.SourceFieldCount(), 300);
    EXPECT_EQ(reader.Field(254), "254");

    // A huge field is cut at a whole UTF-8 character and says so.
    std::string huge(TCsvRecordReader::kMaxFieldBytes - 1, 'a');
    huge += "\xC5\x81\xC5\x81"; // two Ł, the first straddling the limit
    TMemoryByteSource hugeSource(huge);
    TCsvRecordReader hugeReader(hugeSource);
    ASSERT_TRUE(hugeReader.Next());
    EXPECT_TRUE(hugeReader.FieldCut(0));
    EXPECT_EQ(hugeReader.Field(0).size(), TCsvRecordReader::kMaxFieldBytes + 1);
}

TEST(TCsvRecordReader, SplitsEveryFileExactlyAsPythonsCsvReaderDoes)
{
    const std::vector<std::string> inputs = {
        "a,b,c\r\n1,2,3\r\n",
        "\"a\"\"b\",c\n",
        "\"x\ny\",z\r\n\"\"\"\",\"\"\n",
        "a\"b\"c,\"d\"e\"f\",g\n",
        "\n\r\n\r,\n,,\n",
        "\"a\"  ,b\r\n \"c\",d",
        "\"multi\r\rline\r\n\",end\r",
        "x,\"y\"\"\"\"\",z\n\"\",\"\"\"\"\n",
        "caf\xE9,na\xEFve\n\"quoted \xE9\",\xFF\n",
        "last line without end,\"q\"",
    };
    QTemporaryDir dir;
    std::string expected;
    for (size_t i = 0; i < inputs.size(); ++i) {
        qm::transfer::test::WriteFile(QDir(dir.path()).filePath(QStringLiteral("in%1.csv").arg(i)),
                                      QByteArray::fromStdString(inputs[i]));
        for (const auto& record : Split(inputs[i])) {
            for (size_t f = 0; f < record.size(); ++f)
                expected += (f ? "\x1F" : "") + record[f];
            expected += "\x1E";
        }
        expected += "\x1D";
    }
    const std::string out = qm::transfer::test::RunPython(dir, R"PY(
import csv, sys
out = []
for i in range()PY" + std::to_string(inputs.size()) + R"PY():
    with open('in%d.csv' % i, newline='', encoding='latin-1') as f:
        for row in csv.reader(f):
            out.append('\x1f'.join(row) + '\x1e')
    out.append('\x1d')
sys.stdout.buffer.write(''.join(out).encode('latin-1'))
)PY");
    EXPECT_EQ(out, expected);
}
