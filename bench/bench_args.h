#pragma once

// The command line of a benchmark program. Each program declares its options; --help prints the
// usage and every option, and anything the program does not know is refused before any work
// starts (a mistyped option must not begin a run of a million records).
//
//   TBenchArgs args("quillmark-data-bench", "Address-file figures.");
//   args.Option("n", "N", "records in the generated file (default 1,000,000)");
//   switch (args.Parse(argc, argv, std::cout, std::cerr)) { ... }

#include <cstdint>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace qm::bench {

class TBenchArgs {
public:
    enum class TOutcome {
        Run,   // the arguments are good: do the work
        Help,  // --help was given: the usage is printed, exit with kExitHelp
        Error, // a bad argument: the reason and a hint are printed, exit with kExitUsage
    };
    static constexpr int kExitHelp = 0;
    static constexpr int kExitUsage = 2;

    TBenchArgs(std::string program, std::string summary);

    // "--name VALUE"; may be given more than once (Values() has them all, Value() the last).
    TBenchArgs& Option(const std::string& name, const std::string& valueName,
                       const std::string& help);
    // "--name" alone.
    TBenchArgs& Flag(const std::string& name, const std::string& help);
    // A required argument without a dash, in the order declared.
    TBenchArgs& Positional(const std::string& name, const std::string& help);

    // Parses argv[1..argc-1]. Help goes to out, errors to err.
    TOutcome Parse(int argc, char* argv[], std::ostream& out, std::ostream& err);
    // Parse for main(): nullopt when the work should run, else the exit code to return.
    std::optional<int> ParseOrExit(int argc, char* argv[]);

    bool Has(const std::string& name) const;
    std::optional<std::string> Value(const std::string& name) const;
    std::vector<std::string> Values(const std::string& name) const;
    const std::string& PositionalValue(size_t index) const { return mPositionalValues.at(index); }

    // A whole non-negative integer ("1000000", also "1,000,000"); nullopt for anything else.
    static std::optional<uint64_t> Count(const std::string& text);

    std::string Usage() const;

private:
    struct TDeclared {
        std::string name;
        std::string valueName; // empty for flags
        std::string help;
    };
    const TDeclared* Find(const std::string& name) const;

    std::string mProgram;
    std::string mSummary;
    std::vector<TDeclared> mOptions;
    std::vector<TDeclared> mPositionals;
    std::map<std::string, std::vector<std::string>> mValues;
    std::vector<std::string> mPositionalValues;
};

} // namespace qm::bench
