#pragma once

// What the Qt-based benchmark commands share: their two options and the peak-memory reading.
//
//   --n N      records in the generated address file (default 1,000,000)
//   --dir DIR  folder for the generated files (default: the temporary folder)

#include <QDir>
#include <QString>
#include <chrono>
#include <cstdio>
#include <string>
#include <sys/resource.h>

namespace qm::bench {

struct TBenchRun {
    long n = 1000000;
    QString dir = QDir::tempPath();

    static TBenchRun FromArguments(int argc, char* argv[])
    {
        TBenchRun run;
        for (int i = 1; i + 1 < argc; i += 2) {
            const std::string flag = argv[i];
            if (flag == "--n")
                run.n = std::stol(argv[i + 1]);
            else if (flag == "--dir")
                run.dir = QString::fromLocal8Bit(argv[i + 1]);
        }
        return run;
    }

    // The most memory the process has held so far, in megabytes.
    static double PeakMb()
    {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        return double(usage.ru_maxrss) / 1024.0;
    }

    // Wall-clock seconds the work takes.
    template <typename F>
    static double Seconds(F&& work)
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
