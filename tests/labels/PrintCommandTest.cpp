// "quillmark-tool print templates", run in-process.

#include "tools/TToolCommand.h"

#include "TTestHome.h"

#include <gtest/gtest.h>
#include <sstream>

using qm::tools::RunTool;

namespace {

struct TResult {
    int code;
    std::string out;
    std::string err;
};

TResult Tool(const std::vector<std::string>& args)
{
    // The installed data folder of this build, where the shipped templates are made.
    qputenv("QM_DATA_DIR", QM_BUILD_DIR "/share/quillmark");
    std::ostringstream out;
    std::ostringstream err;
    const int code = RunTool(args, out, err);
    return {code, out.str(), err.str()};
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace

TEST(PrintTemplatesCommand, PrintsTheFilterThenTheMatchingTemplates)
{
    qm::test::TTestHome home; // an empty home: the installed templates are read
    const TResult r = Tool({"print", "templates", "--maker", "avery laserjet", "--european"});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::vector<std::string> lines = Lines(r.out);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], " UPPER(manufac)=\"AVERY\"  and  UPPER(printer)=\"LJ\"  and  "
                        "UPPER(PRODTYPE)=\"ADDRESS/SHIPPING LABELS\"  and  "
                        "(\"A4\"$UPPER(PAPERSIZE) OR \"A5\"$UPPER(PAPERSIZE))");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Avery L7166  Parcel"), lines.end());
    EXPECT_EQ(std::find(lines.begin(), lines.end(), "Avery 5160  Address"), lines.end());
}

TEST(PrintTemplatesCommand, AllProductsOfAMakerAndNoMatch)
{
    qm::test::TTestHome home;
    TResult r = Tool({"print", "templates", "--maker", "Costar LabelPrinter", "--product", "ALL"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(Lines(r.out)[0], " UPPER(manufac)=\"COSTAR\"  and  UPPER(printer)=\"LP\" ");
    EXPECT_GT(Lines(r.out).size(), 1u);

    r = Tool({"print", "templates", "--maker", "Costar LabelPrinter", "--european"});
    EXPECT_EQ(r.code, 1); // no Costar roll is A4 or A5
    EXPECT_EQ(Lines(r.out).size(), 1u);
}

TEST(PrintTemplatesCommand, BadItemsAreUsageErrors)
{
    TResult r = Tool({"print", "templates", "--maker", "NEBS Laserjet"});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("--maker \"NEBS Laserjet\" is none of \"Avery Laserjet\""),
              std::string::npos);
    r = Tool({"print", "templates", "--product"});
    EXPECT_EQ(r.code, 2);
    r = Tool({"print", "envelopes"});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(Tool({"print", "--help"}).code, 0);
}
