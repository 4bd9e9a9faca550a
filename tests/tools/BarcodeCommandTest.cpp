// "barcode imb" run in-process through the tool's entry: the bars of a published example, the
// refusal of bad input on standard error, and the usage.

#include "tools/TToolCommand.h"

#include <gtest/gtest.h>

#include <sstream>

namespace qm::tools {
namespace {

struct TRun {
    int code;
    std::string out;
    std::string err;
};

TRun Tool(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int code = RunTool(args, out, err);
    return {code, out.str(), err.str()};
}

TEST(BarcodeCommandTest, PrintsTheBarsAsLettersAndANewline)
{
    TRun run = Tool({"barcode", "imb", "01234567094987654321", "01234567891"});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, "AADTFFDFTDADTAADAATFDTDDAAADDTDTTDAFADADDDTFFFDDTTTADFAAADFTDAADA\n");
    EXPECT_EQ(run.err, "");

    run = Tool({"barcode", "imb", "01234567094987654321"});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out, "ATTFATTDTTADTAATTDTDTATTDAFDDFADFDFTFFFFFTATFAAAATDFFTDAADFTFDTDT\n");
}

TEST(BarcodeCommandTest, InvalidCodesAreRefusedOnStandardError)
{
    TRun run = Tool({"barcode", "imb", "01234567094987654321", "123"});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("\"123\""), std::string::npos) << run.err;

    run = Tool({"barcode", "imb", "09234567094987654321"});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("\"09\""), std::string::npos) << run.err;
}

TEST(BarcodeCommandTest, UsageOnHelpAndOnBadArguments)
{
    TRun run = Tool({"barcode", "--help"});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.out.rfind("usage: quillmark-tool barcode imb", 0), 0u) << run.out;
    EXPECT_EQ(Tool({"barcode", "imb", "--help"}).code, 0);

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"barcode"},
          {"barcode", "imb"},
          {"barcode", "imb", "01234567094987654321", "01234", "extra"},
          {"barcode", "qr", "01234567094987654321"}}) {
        run = Tool(args);
        EXPECT_EQ(run.code, 2) << args.size();
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("usage:"), std::string::npos);
    }

    // The tool's own list names the command.
    EXPECT_NE(Tool({"--help"}).out.find("  barcode "), std::string::npos);
}

} // namespace
} // namespace qm::tools
