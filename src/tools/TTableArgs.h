#pragma once

// The arguments of one table command: positional arguments and --options. An option is a flag
// (--exact) or takes a value (--tag NAME or --tag=NAME); "--" ends the options, so a key that
// starts with "-" can still be given.

#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace qm::tools {

class TArgsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TTableArgs {
public:
    // Throws TArgsError for an unknown option, a missing value or an option given twice.
    static TTableArgs Parse(const std::vector<std::string>& args,
                            const std::vector<std::string>& flags,
                            const std::vector<std::string>& valued);

    size_t PositionalCount() const { return mPositional.size(); }
    const std::string& Positional(size_t i) const { return mPositional.at(i); }
    bool Has(const std::string& option) const { return mOptions.count(option) != 0; }
    // The option's value ("" for a flag); only when Has().
    const std::string& Value(const std::string& option) const { return mOptions.at(option); }
    // The option's value as a whole number; TArgsError when it is not one.
    int64_t Number(const std::string& option) const;

private:
    std::vector<std::string> mPositional;
    std::map<std::string, std::string> mOptions;
};

} // namespace qm::tools
