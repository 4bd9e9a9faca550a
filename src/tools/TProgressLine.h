#pragma once

// Progress of long work on standard error, as "label: NN%" rewritten in place. Only a terminal
// gets it: there each report starts with a carriage return and the line ends once the work does.
// Anywhere else (a log file, a pipe, a test's string stream) nothing is written, so that the
// output holds only the command's summary and messages.

#include "xbase/TTable.h"

#include <ostream>
#include <string>

namespace qm::tools {

class TProgressLine {
public:
    // enabled: whether the work is long enough to report. terminal: whether err shows on a
    // terminal; by default true only for the process's standard error on a terminal.
    TProgressLine(std::ostream& err, std::string label, bool enabled);
    TProgressLine(std::ostream& err, std::string label, bool enabled, bool terminal);
    ~TProgressLine();
    TProgressLine(const TProgressLine&) = delete;
    TProgressLine& operator=(const TProgressLine&) = delete;

    // Reports a percentage; repeats of the last one are not written again.
    void operator()(int percent);
    // Ends the line (when anything was written) and stops reporting.
    void Finish();
    xbase::TProgress Callback();

    // True when the stream is the process's standard error (or log) and that is a terminal.
    static bool IsTerminal(const std::ostream& stream);

private:
    std::ostream& mErr;
    std::string mLabel;
    bool mEnabled;
    int mLast = -1;
};

} // namespace qm::tools
