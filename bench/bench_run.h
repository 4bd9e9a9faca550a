#pragma once

// What the Qt-based benchmark commands share: their two options (and --help) and the peak-memory
// reading.
//
//   --n N      records in the generated address file (default 1,000,000)
//   --dir DIR  folder for the generated files (default: the temporary folder)

#include "bench_args.h"

#include <QDir>
#include <QString>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <sys/resource.h>

namespace qm::bench {

struct TBenchRun {
    long n = 1000000;
    QString dir = QDir::tempPath();

    // Reads --n and --dir (and answers --help). Returns the exit code to end with at once (after
    // --help or a bad argument), else nothing and fills run.
    static std::optional<int> FromArguments(int argc, char* argv[], const char* program,
                                            const char* summary, TBenchRun& run)
    {
        TBenchArgs args(program, summary);
        args.Option("n", "N", "records in the generated address file (default 1,000,000)");
        args.Option("dir", "DIR", "folder for the generated files (default: the temporary folder)");
        if (const std::optional<int> exit = args.ParseOrExit(argc, argv))
            return exit;
        if (const auto n = args.Value("n")) {
            const std::optional<uint64_t> count = TBenchArgs::Count(*n);
            if (!count || *count == 0 || *count > 100000000) {
                std::fprintf(stderr, "%s: --n needs a whole number from 1 to 100,000,000, not %s\n",
                             program, n->c_str());
                return TBenchArgs::kExitUsage;
            }
            run.n = long(*count);
        }
        if (const auto dir = args.Value("dir"))
            run.dir = QString::fromLocal8Bit(dir->c_str());
        return std::nullopt;
    }

    // The most memory the process has held so far, in megabytes.
    static double PeakMb()
    {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        return double(usage.ru_maxrss) / 1024.0;
    }

    // Wall-clock seconds the work takes.
    template <typename F> static double Seconds(F&& work)
    {
        const auto start = std::chrono::steady_clock::now();
        work();
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }

    // One line of figures: name, seconds, peak memory.
    static void Report(const char* figure, double seconds)
    {
        std::printf("%-52s %9.3f s   peak %7.1f MB\n", figure, seconds, PeakMb());
        std::fflush(stdout);
    }
};

} // namespace qm::bench
