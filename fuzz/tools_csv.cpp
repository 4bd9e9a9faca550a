// Fuzzes the table tool's CSV reading: the encoding check and the record reader must take any
// bytes without crashing, hanging or reading out of bounds; malformed text is a TCsvError.

#include "tools/TCsvReader.h"
#include "tools/TTextEncoding.h"

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::istringstream in(bytes);
    const auto encoding = qm::tools::TCsvReader::TextEncodingOf(in);
    qm::tools::TCsvReader reader(in);
    std::vector<std::string> fields;
    std::string converted;
    char32_t bad = 0;
    try {
        while (reader.Next(fields))
            for (const std::string& field : fields)
                if (encoding == qm::tools::TCsvReader::TEncoding::Utf8)
                    qm::tools::TTextEncoding::Utf8ToWin1252(field, converted, &bad);
                else
                    converted = qm::tools::TTextEncoding::Win1252ToUtf8(field);
    } catch (const qm::tools::TCsvError&) {
    }
    return 0;
}
