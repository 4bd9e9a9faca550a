#include "tool_run.h"

#include "bench_run.h"

#include <QFile>
#include <QProcess>
#include <algorithm>
#include <unistd.h>

namespace qm::bench {

TToolRun RunTool(const QString& tool, const QStringList& arguments, const QProcessEnvironment& env,
                 bool forwardErrors)
{
    TToolRun run;
    QProcess process;
    process.setProcessEnvironment(env);
    if (forwardErrors)
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    long peakKb = 0;
    long ticks = 0;
    run.seconds = TBenchRun::Seconds([&] {
        process.start(tool, arguments);
        const QString proc = QStringLiteral("/proc/%1/").arg(process.processId());
        while (!process.waitForFinished(20)) {
            QFile status(proc + "status");
            if (status.open(QIODevice::ReadOnly))
                for (const QByteArray& line : status.readAll().split('\n'))
                    if (line.startsWith("VmHWM:"))
                        peakKb = std::max(peakKb, line.mid(6).trimmed().split(' ')[0].toLong());
            // utime and stime are the 14th and 15th fields; the name before them is in brackets.
            QFile stat(proc + "stat");
            if (stat.open(QIODevice::ReadOnly)) {
                const QByteArray text = stat.readAll();
                const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
                if (fields.size() > 12)
                    ticks = std::max(ticks, fields[11].toLong() + fields[12].toLong());
            }
        }
    });
    run.peakMb = double(peakKb) / 1024.0;
    run.cpuSeconds = double(ticks) / double(sysconf(_SC_CLK_TCK));
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    run.err = QString::fromUtf8(process.readAllStandardError()).trimmed();
    return run;
}

} // namespace qm::bench
