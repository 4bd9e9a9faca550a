// Feeds arbitrary bytes to the settings-file reader and writer: every lookup and change must
// finish without a crash, and a value just written must read back.

#include "data/TIniText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    qm::data::TIniText ini(bytes);
    (void)ini.Value("Adding", "PlugDate");
    (void)ini.Value("", "");
    // Names taken from the input itself reach the odd paths (brackets, '=', line ends).
    const std::string section = bytes.substr(0, std::min<size_t>(size, 8));
    const std::string key = bytes.substr(std::min<size_t>(size, 8), 8);
    (void)ini.Value(section, key);
    ini.SetValue("Misc", "GlobalTagId", "Q1");
    if (ini.Value("Misc", "GlobalTagId") != std::string("Q1"))
        std::abort();
    ini.RemoveKey("Misc", "GlobalTagId");
    return 0;
}
