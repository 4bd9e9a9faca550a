#include "tools/TCsvWriter.h"

#include <ostream>

namespace qm::tools {

void TCsvWriter::AppendField(std::string_view value, std::string& out)
{
    const bool quote = value.find_first_of(",\"\r\n") != std::string_view::npos ||
                       (!value.empty() && (value.front() == ' ' || value.back() == ' '));
    if (!quote) {
        out.append(value);
        return;
    }
    out += '"';
    for (char c : value) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

void TCsvWriter::Field(std::string_view value)
{
    if (!mFirst)
        mLine += ',';
    mFirst = false;
    AppendField(value, mLine);
}

void TCsvWriter::EndRecord()
{
    mLine += "\r\n";
    mOut.write(mLine.data(), static_cast<std::streamsize>(mLine.size()));
    mLine.clear();
    mFirst = true;
}

} // namespace qm::tools
