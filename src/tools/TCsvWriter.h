#pragma once

// Writes RFC 4180 CSV: fields separated by commas, records ended by CR LF, a field quoted with
// '"' (inner quotes doubled) when it holds a comma, a quote, CR, LF or a leading or trailing
// blank. The writer passes bytes through unchanged; the caller chooses the encoding.

#include <iosfwd>
#include <string>
#include <string_view>

namespace qm::tools {

class TCsvWriter {
public:
    explicit TCsvWriter(std::ostream& out) : mOut(out) {}

    void Field(std::string_view value);
    void EndRecord();

    // The field as it appears in the output (quoted when needed).
    static void AppendField(std::string_view value, std::string& out);

private:
    std::ostream& mOut;
    std::string mLine;
    bool mFirst = true;
};

} // namespace qm::tools
