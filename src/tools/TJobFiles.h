#pragma once

// The files a print command's job touches. Its outputs may never name a file it reads (the
// address file and the files that go with it included), the address file opens read-only with its
// reason on the error stream, and a layout that cannot be read is reported with its offset.

#include <QString>
#include <iosfwd>
#include <string>
#include <vector>

namespace qm::data {
class TDataSet;
}
namespace qm::design {
class TLayoutError;
}

namespace qm::tools {

class TJobFiles {
public:
    // True when output names input, or the memo or an index file that goes with a table of that
    // name; either file may not exist yet, and letter case does not matter (the table engine finds
    // its companions in any case). An empty output or input names nothing.
    static bool NamesAnInput(const std::string& output, const std::string& input);
    // The first of outputs that names one of inputs; empty when none does.
    static std::string OutputOverAnInput(const std::vector<std::string>& outputs,
                                         const std::vector<std::string>& inputs);
    // Opens table read-only into dataSet: 0, or 3 with "TABLE: reason" on err (the table's name
    // is left out when the reason names it already).
    static int OpenAddressFile(data::TDataSet& dataSet, const std::string& table,
                               std::ostream& err);
    // "PREFIX PATH: offset N: reason" (the offset only when the error has one).
    static void ReportLayoutError(std::ostream& err, const std::string& prefix, const QString& path,
                                  const design::TLayoutError& e);
};

} // namespace qm::tools
