#include "data/sysdata/TSysDataCsv.h"

#include "data/TWin1252.h"
#include "data/sysdata/TSysDataError.h"

#include <fstream>
#include <iterator>

namespace qm::data::sysdata {
namespace {

// Splits the text into records of raw fields; line numbers count every line break, also those
// inside quoted fields.
std::vector<TSysDataCsvRecord> Split(std::string_view text, const std::string& fileName)
{
    std::vector<TSysDataCsvRecord> records;
    std::size_t i = 0;
    int line = 1;
    const std::size_t n = text.size();
    while (i < n) {
        // Blank line.
        if (text[i] == '\n' || (text[i] == '\r' && i + 1 < n && text[i + 1] == '\n')) {
            i += text[i] == '\r' ? 2 : 1;
            ++line;
            continue;
        }
        TSysDataCsvRecord record;
        record.line = line;
        for (;;) {
            std::string field;
            if (i < n && text[i] == '"') {
                const int openedOn = line;
                ++i;
                for (;;) {
                    if (i >= n)
                        throw TSysDataError(fileName, openedOn, {}, "a quoted field is not closed");
                    if (text[i] == '"') {
                        if (i + 1 < n && text[i + 1] == '"') {
                            field += '"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    if (text[i] == '\n')
                        ++line;
                    field += text[i++];
                }
                if (i < n && text[i] != ',' && text[i] != '\n' && text[i] != '\r')
                    throw TSysDataError(fileName, line, {}, "text after a closing quote");
            } else {
                while (i < n && text[i] != ',' && text[i] != '\n' && text[i] != '\r') {
                    if (text[i] == '"')
                        throw TSysDataError(fileName, line, {},
                                            "a quote inside a field that does not start with one");
                    field += text[i++];
                }
            }
            record.fields.push_back(std::move(field));
            if (i < n && text[i] == ',') {
                ++i;
                continue;
            }
            if (i < n && text[i] == '\r') {
                if (i + 1 >= n || text[i + 1] != '\n')
                    throw TSysDataError(fileName, line, {},
                                        "a carriage return without a line feed");
                ++i;
            }
            if (i < n && text[i] == '\n') {
                ++i;
                ++line;
            }
            break;
        }
        records.push_back(std::move(record));
    }
    return records;
}

} // namespace

TSysDataCsv TSysDataCsv::Parse(std::string_view text, const std::string& fileName)
{
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    if (!TWin1252::IsValidUtf8(QByteArray(text.data(), static_cast<qsizetype>(text.size()))))
        throw TSysDataError(fileName, 0, {}, "the file is not UTF-8 text");

    std::vector<TSysDataCsvRecord> records = Split(text, fileName);
    if (records.empty())
        throw TSysDataError(fileName, 0, {}, "the file has no header line");

    TSysDataCsv csv;
    csv.mHeader = std::move(records.front().fields);
    for (std::size_t c = 0; c < csv.mHeader.size(); ++c) {
        if (csv.mHeader[c].empty())
            throw TSysDataError(fileName, records.front().line, {},
                                "header field " + std::to_string(c + 1) + " is empty");
        for (std::size_t d = 0; d < c; ++d)
            if (csv.mHeader[d] == csv.mHeader[c])
                throw TSysDataError(fileName, records.front().line, csv.mHeader[c],
                                    "the column is named twice");
    }
    for (std::size_t r = 1; r < records.size(); ++r) {
        if (records[r].fields.size() != csv.mHeader.size())
            throw TSysDataError(fileName, records[r].line, {},
                                std::to_string(records[r].fields.size()) +
                                    " fields, the header has " +
                                    std::to_string(csv.mHeader.size()));
        csv.mRecords.push_back(std::move(records[r]));
    }
    return csv;
}

TSysDataCsv TSysDataCsv::Read(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw TSysDataError(path, 0, {}, "the file cannot be opened");
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad())
        throw TSysDataError(path, 0, {}, "the file cannot be read");
    return Parse(text, path);
}

int TSysDataCsv::ColumnIndex(std::string_view name) const
{
    for (std::size_t c = 0; c < mHeader.size(); ++c)
        if (mHeader[c] == name)
            return static_cast<int>(c);
    return -1;
}

} // namespace qm::data::sysdata
