#include "bench_args.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

using qm::bench::TBenchArgs;

namespace {

struct TParsed {
    TBenchArgs::TOutcome outcome;
    std::string out;
    std::string err;
};

TParsed Parse(TBenchArgs& args, std::vector<std::string> words)
{
    words.insert(words.begin(), "bench");
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    std::ostringstream out, err;
    const TBenchArgs::TOutcome outcome = args.Parse(int(argv.size()), argv.data(), out, err);
    return {outcome, out.str(), err.str()};
}

TBenchArgs DataBench()
{
    TBenchArgs args("quillmark-data-bench", "Address-file figures.");
    args.Option("n", "N", "records").Option("dir", "DIR", "folder").Flag("keep", "keep files");
    return args;
}

} // namespace

TEST(TBenchArgs, HelpPrintsTheUsageAndEveryOptionWithoutRunning)
{
    for (const char* help : {"--help", "-h", "-help"}) {
        TBenchArgs args = DataBench();
        const TParsed parsed = Parse(args, {"--n", "5", help});
        EXPECT_EQ(parsed.outcome, TBenchArgs::TOutcome::Help) << help;
        EXPECT_EQ(parsed.out.rfind("Usage: quillmark-data-bench [--n N] [--dir DIR] [--keep]\n", 0),
                  0u)
            << parsed.out;
        for (const char* line : {"Address-file figures.", "  --n N      records\n",
                                 "  --keep     keep files\n", "  --help     show this text"})
            EXPECT_NE(parsed.out.find(line), std::string::npos) << line << "\n" << parsed.out;
        EXPECT_EQ(parsed.err, "");
    }
}

TEST(TBenchArgs, UnknownOptionsMissingValuesAndStrayWordsAreRefused)
{
    struct TCase {
        std::vector<std::string> words;
        const char* message;
    };
    const TCase cases[] = {
        {{"--bogus"}, "unknown option --bogus"},
        {{"--n=5"}, "unknown option --n=5"},
        {{"--n"}, "--n needs a value (N)"},
        {{"--n", "5", "extra"}, "unexpected argument extra"},
    };
    for (const TCase& c : cases) {
        TBenchArgs args = DataBench();
        const TParsed parsed = Parse(args, c.words);
        EXPECT_EQ(parsed.outcome, TBenchArgs::TOutcome::Error) << c.message;
        EXPECT_EQ(parsed.err, std::string("quillmark-data-bench: ") + c.message +
                                  " (try quillmark-data-bench --help)\n");
        EXPECT_EQ(parsed.out, "");
    }
}

TEST(TBenchArgs, ValuesFlagsAndPositionalsReadBack)
{
    TBenchArgs args = DataBench();
    ASSERT_EQ(Parse(args, {"--n", "10", "--dir", "/tmp/x", "--n", "20", "--keep"}).outcome,
              TBenchArgs::TOutcome::Run);
    EXPECT_EQ(args.Values("n"), (std::vector<std::string>{"10", "20"}));
    EXPECT_EQ(args.Value("n"), "20");
    EXPECT_EQ(args.Value("dir"), "/tmp/x");
    EXPECT_TRUE(args.Has("keep"));
    EXPECT_FALSE(Parse(args, {}).outcome != TBenchArgs::TOutcome::Run);
    EXPECT_FALSE(args.Has("keep")) << "a second parse starts afresh";

    TBenchArgs generate("gen", "Writes records.");
    generate.Positional("N", "count").Positional("FILE", "output");
    EXPECT_EQ(Parse(generate, {"7"}).err, "gen: missing FILE (try gen --help)\n");
    ASSERT_EQ(Parse(generate, {"7", "out.csv"}).outcome, TBenchArgs::TOutcome::Run);
    EXPECT_EQ(generate.PositionalValue(1), "out.csv");
}

TEST(TBenchArgs, CountsAreWholeNumbersOnly)
{
    EXPECT_EQ(TBenchArgs::Count("1000000"), 1000000u);
    EXPECT_EQ(TBenchArgs::Count("1,000,000"), 1000000u);
    EXPECT_EQ(TBenchArgs::Count("0"), 0u);
    for (const char* bad : {"", "-5", "1e6", "12abc", ",5", "99999999999999999999999"})
        EXPECT_EQ(TBenchArgs::Count(bad), std::nullopt) << bad;
}
