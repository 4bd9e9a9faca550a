#include "bench_args.h"

#include <algorithm>
#include <cstdint>
#include <iostream>

namespace qm::bench {

TBenchArgs::TBenchArgs(std::string program, std::string summary)
    : mProgram(std::move(program)), mSummary(std::move(summary))
{
    Flag("help", "show this text and exit");
}

TBenchArgs& TBenchArgs::Option(const std::string& name, const std::string& valueName,
                               const std::string& help)
{
    mOptions.push_back({name, valueName, help});
    return *this;
}

TBenchArgs& TBenchArgs::Flag(const std::string& name, const std::string& help)
{
    mOptions.push_back({name, {}, help});
    return *this;
}

TBenchArgs& TBenchArgs::Positional(const std::string& name, const std::string& help)
{
    mPositionals.push_back({name, {}, help});
    return *this;
}

const TBenchArgs::TDeclared* TBenchArgs::Find(const std::string& name) const
{
    for (const TDeclared& declared : mOptions)
        if (declared.name == name)
            return &declared;
    return nullptr;
}

TBenchArgs::TOutcome TBenchArgs::Parse(int argc, char* argv[], std::ostream& out, std::ostream& err)
{
    mValues.clear();
    mPositionalValues.clear();
    const auto refuse = [&](const std::string& why) {
        err << mProgram << ": " << why << " (try " << mProgram << " --help)\n";
        return TOutcome::Error;
    };
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.size() > 1 && arg[0] == '-') {
            // "--name" or "-name"; "-h" is the usual short form of help.
            const std::string name = arg == "-h" ? "help" : arg.substr(arg.rfind('-', 1) + 1);
            const TDeclared* declared = Find(name);
            if (!declared)
                return refuse("unknown option " + arg);
            if (name == "help") {
                out << Usage();
                return TOutcome::Help;
            }
            if (declared->valueName.empty()) {
                mValues[name].emplace_back();
            } else {
                if (i + 1 >= argc)
                    return refuse(arg + " needs a value (" + declared->valueName + ")");
                mValues[name].push_back(argv[++i]);
            }
        } else {
            if (mPositionalValues.size() >= mPositionals.size())
                return refuse("unexpected argument " + arg);
            mPositionalValues.push_back(arg);
        }
    }
    if (mPositionalValues.size() < mPositionals.size())
        return refuse("missing " + mPositionals[mPositionalValues.size()].name);
    return TOutcome::Run;
}

std::optional<int> TBenchArgs::ParseOrExit(int argc, char* argv[])
{
    switch (Parse(argc, argv, std::cout, std::cerr)) {
    case TOutcome::Run:
        return std::nullopt;
    case TOutcome::Help:
        return kExitHelp;
    case TOutcome::Error:
        break;
    }
    return kExitUsage;
}

bool TBenchArgs::Has(const std::string& name) const
{
    return mValues.count(name) != 0;
}

std::optional<std::string> TBenchArgs::Value(const std::string& name) const
{
    const auto it = mValues.find(name);
    if (it == mValues.end() || it->second.empty())
        return std::nullopt;
    return it->second.back();
}

std::vector<std::string> TBenchArgs::Values(const std::string& name) const
{
    const auto it = mValues.find(name);
    return it == mValues.end() ? std::vector<std::string>{} : it->second;
}

std::optional<uint64_t> TBenchArgs::Count(const std::string& text)
{
    uint64_t value = 0;
    bool digits = false;
    for (const char c : text) {
        if (c == ',' && digits)
            continue;
        if (c < '0' || c > '9')
            return std::nullopt;
        const uint64_t digit = uint64_t(c - '0');
        if (value > (UINT64_MAX - digit) / 10)
            return std::nullopt;
        value = value * 10 + digit;
        digits = true;
    }
    if (!digits)
        return std::nullopt;
    return value;
}

std::string TBenchArgs::Usage() const
{
    std::string text = "Usage: " + mProgram;
    for (const TDeclared& declared : mPositionals)
        text += " " + declared.name;
    for (const TDeclared& declared : mOptions) {
        if (declared.name == "help")
            continue;
        text += " [--" + declared.name +
                (declared.valueName.empty() ? "" : " " + declared.valueName) + "]";
    }
    text += "\n\n" + mSummary + "\n\n";
    size_t width = 0;
    std::vector<std::pair<std::string, std::string>> rows;
    for (const TDeclared& declared : mPositionals)
        rows.emplace_back(declared.name, declared.help);
    for (const TDeclared& declared : mOptions)
        rows.emplace_back("--" + declared.name +
                              (declared.valueName.empty() ? "" : " " + declared.valueName),
                          declared.help);
    for (const auto& row : rows)
        width = std::max(width, row.first.size());
    for (const auto& [left, help] : rows)
        text += "  " + left + std::string(width - left.size() + 2, ' ') + help + "\n";
    return text;
}

} // namespace qm::bench
