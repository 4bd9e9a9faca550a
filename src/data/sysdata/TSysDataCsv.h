#pragma once

// The CSV files the shipped tables are written from: UTF-8 (a byte-order mark is dropped), one
// header line naming the columns, fields separated by commas, a field that holds a comma, a
// quote or a line break enclosed in double quotes with inner quotes doubled. Lines end in LF or
// CR LF; blank lines are skipped. Every record must have as many fields as the header.
//
// Parsing is strict, since a silently misread cell would ship as wrong data: text that is not
// UTF-8, a quote inside an unquoted field, text after a closing quote, an unterminated quote or a
// record of the wrong length throws TSysDataError naming the file and line.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qm::data::sysdata {

struct TSysDataCsvRecord {
    int line = 0;                    // line the record starts on, 1-based
    std::vector<std::string> fields; // UTF-8, as written (no trimming)
};

class TSysDataCsv {
public:
    // Parses text; fileName is only used in error messages.
    static TSysDataCsv Parse(std::string_view text, const std::string& fileName);
    // Reads and parses the file. A file that cannot be read throws TSysDataError.
    static TSysDataCsv Read(const std::string& path);

    const std::vector<std::string>& Header() const { return mHeader; }
    const std::vector<TSysDataCsvRecord>& Records() const { return mRecords; }
    // Position of a header name (exact), or -1.
    int ColumnIndex(std::string_view name) const;

private:
    std::vector<std::string> mHeader;
    std::vector<TSysDataCsvRecord> mRecords;
};

} // namespace qm::data::sysdata
