#include "tools/TJobFiles.h"

#include "data/TDataSet.h"
#include "design/stream/TLayoutError.h"

#include <QDir>
#include <QFileInfo>
#include <exception>
#include <ostream>

namespace qm::tools {

namespace {

// The path a name stands for: the file it resolves to when it exists, else where it would be made.
QString Resolved(const QFileInfo& file)
{
    return file.exists() ? file.canonicalFilePath() : file.absoluteFilePath();
}

} // namespace

bool TJobFiles::NamesAnInput(const std::string& output, const std::string& input)
{
    if (output.empty() || input.empty())
        return false;
    const QFileInfo in(QString::fromStdString(input));
    const QString outPath = Resolved(QFileInfo(QString::fromStdString(output)));
    const QString inPath = Resolved(in);
    const QString inBase = QFileInfo(inPath).path() + QLatin1Char('/') + in.completeBaseName();
    for (const char* suffix : {"", ".fpt", ".cdx", ".dbt", ".mdx", ".idx"}) {
        const QString candidate = *suffix == 0 ? inPath : inBase + QString::fromLatin1(suffix);
        if (outPath.compare(candidate, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

std::string TJobFiles::OutputOverAnInput(const std::vector<std::string>& outputs,
                                         const std::vector<std::string>& inputs)
{
    for (const std::string& output : outputs)
        for (const std::string& input : inputs)
            if (NamesAnInput(output, input))
                return output;
    return {};
}

int TJobFiles::OpenAddressFile(data::TDataSet& dataSet, const std::string& table, std::ostream& err)
{
    std::string reason;
    try {
        dataSet.Open(QString::fromStdString(table), xbase::TOpenMode::ReadOnly);
        return 0;
    } catch (const data::TDataSetError& e) {
        reason = e.Message().toStdString();
    } catch (const std::exception& e) {
        reason = e.what();
    }
    if (reason.find(table) == std::string::npos)
        err << table << ": ";
    err << reason << "\n";
    return 3;
}

void TJobFiles::ReportLayoutError(std::ostream& err, const std::string& prefix, const QString& path,
                                  const design::TLayoutError& e)
{
    err << prefix << QDir::toNativeSeparators(path).toStdString() << ": ";
    if (e.Offset() >= 0)
        err << "offset " << e.Offset() << ": ";
    err << e.Message().toStdString() << "\n";
}

} // namespace qm::tools
