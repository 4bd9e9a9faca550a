#pragma once

// Runs quillmark-tool as a process, as a user runs it, for the benchmarks that time whole jobs:
// wall time, the tool's own processor time and peak memory, its exit code and output.

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace qm::bench {

struct TToolRun {
    double seconds = 0;
    double cpuSeconds = 0; // the tool's user and system time, as last sampled
    double peakMb = 0;
    int exitCode = -1; // -1 when the tool crashed
    QString out;
    QString err; // empty when the errors were forwarded

    bool Ok() const { return exitCode == 0; }
};

// Samples the tool's own peak (VmHWM) and processor time from /proc while it runs: the rusage of
// a child would also count the pages it shared with this process before it started the tool.
// The processor time (at most one sampling interval short) tells the tool's own work apart from
// waiting on a machine that other programs keep busy. forwardErrors: the tool's error output goes
// to this process's, so that its progress line shows.
TToolRun RunTool(const QString& tool, const QStringList& arguments, const QProcessEnvironment& env,
                 bool forwardErrors = false);

} // namespace qm::bench
