#include "tools/TTableArgs.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace qm::tools {

TTableArgs TTableArgs::Parse(const std::vector<std::string>& args,
                             const std::vector<std::string>& flags,
                             const std::vector<std::string>& valued)
{
    auto known = [](const std::vector<std::string>& list, const std::string& name) {
        return std::find(list.begin(), list.end(), name) != list.end();
    };
    TTableArgs parsed;
    bool optionsEnded = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 3 || arg.compare(0, 2, "--") != 0) {
            if (arg == "--") {
                optionsEnded = true;
                continue;
            }
            parsed.mPositional.push_back(arg);
            continue;
        }
        std::string name = arg.substr(2);
        std::string value;
        bool hasValue = false;
        const size_t equals = name.find('=');
        if (equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
            hasValue = true;
        }
        if (parsed.mOptions.count(name))
            throw TArgsError("--" + name + " is given twice");
        if (known(flags, name)) {
            if (hasValue)
                throw TArgsError("--" + name + " takes no value");
            parsed.mOptions[name] = {};
        } else if (known(valued, name)) {
            if (!hasValue) {
                if (i + 1 >= args.size())
                    throw TArgsError("--" + name + " needs a value");
                value = args[++i];
            }
            parsed.mOptions[name] = value;
        } else {
            throw TArgsError("unknown option --" + name);
        }
    }
    return parsed;
}

int64_t TTableArgs::Number(const std::string& option) const
{
    const std::string& text = Value(option);
    char* end = nullptr;
    errno = 0;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno == ERANGE)
        throw TArgsError("--" + option + " needs a whole number, not \"" + text + "\"");
    return value;
}

} // namespace qm::tools
