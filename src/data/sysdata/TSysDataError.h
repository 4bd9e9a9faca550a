#pragma once

// A fault in the shipped data's source files or in writing the tables from them. It names the
// file, the line (1-based, 0 when none applies) and the column, so the maintainer can go straight
// to the cell: "resources/sysdata/csz.csv:12: LOW_ZIP: 11 characters, the column holds 10".

#include <stdexcept>
#include <string>

namespace qm::data::sysdata {

class TSysDataError : public std::runtime_error {
public:
    TSysDataError(std::string file, int line, std::string column, std::string message);

    const std::string& File() const { return mFile; }
    int Line() const { return mLine; }
    const std::string& Column() const { return mColumn; }
    const std::string& Message() const { return mMessage; }

private:
    std::string mFile;
    int mLine;
    std::string mColumn;
    std::string mMessage;
};

} // namespace qm::data::sysdata
