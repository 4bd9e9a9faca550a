// "quillmark-tool print letters": the letter print loop without its windows. Each record of the
// scope gets a fresh copy of the template merged with its texts; the pages go to one PDF (as the
// "PDF file" printer prints them), a PDF per record, merged plain text or merged RTF files.

#include "tools/TJobFiles.h"
#include "tools/TRecordScopeArgs.h"
#include "tools/TToolCommand.h"
#include "tools/TToolEnvironment.h"

#include "data/TAddressFile.h"
#include "data/TDataSet.h"
#include "data/TOutputFile.h"
#include "data/TProgramHome.h"
#include "data/TSystemTables.h"
#include "letters/TDataSetLetterRecords.h"
#include "letters/TLetterBounds.h"
#include "letters/TLetterRun.h"
#include "letters/TLetterStore.h"
#include "letters/TPdfPageSink.h"
#include "letters/TRichLetterSource.h"
#include "richtext/TRichDocument.h"
#include "richtext/TRtfReader.h"
#include "xbase/TCursor.h"
#include "xbase/TXbaseError.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextDocument>
#include <optional>
#include <ostream>

namespace qm::tools {
namespace {

using letters::TLetterRun;

const char* const kUsage =
    "usage: quillmark-tool print letters --table ADDR.DBF (--letter NAME | --rtf FILE)\n"
    "           [record options] [--copies N] [--today YYYY-MM-DD]\n"
    "           (--pdf OUT.pdf | --pdf-dir DIR | --text OUT.txt | --rtf-out DIR)\n"
    "Prints a form letter once for each record, merging the record into the letter's markers\n"
    "(\"[Full Name]\", \"[Name and Address]\", ...) as the \"Print Letters\" window does, without "
    "a\n"
    "printer.\n"
    "\n"
    "  --letter NAME    a letter of the program home (sysdata/LETTER.DBF) by its description\n"
    "  --rtf FILE       a letter template in an RTF file\n"
    "%RECORD_OPTIONS%"
    "  --copies N       copies of each letter, 1 to 999 (default 1); each starts a new page\n"
    "  --today DATE     the day \"[Today's Date]\" and \"[Long Date]\" give (default today)\n"
    "  --pdf OUT.pdf    one PDF holding every letter, on the letter's paper\n"
    "  --pdf-dir DIR    a PDF per record, named record-NNNNNNN.pdf by its record number\n"
    "  --text OUT.txt   the merged texts, a form feed between letters (UTF-8)\n"
    "  --rtf-out DIR    the merged letter of each record as record-NNNNNNN.rtf\n"
    "\n"
    "Ends with a summary line: records and pages. Output files appear only when complete; a\n"
    "failed job leaves none (\"Letter Print Failed!\" and the reason on standard error).\n"
    "Exit codes: 0 printed, 1 nothing to print, a template the reader refuses or a failed job,\n"
    "2 bad usage, 3 a file could not be read or written.\n";

constexpr const char* kPrefix = "quillmark-tool print letters: ";

constexpr const char* kDefaultOrder = "LNAME";

std::string UsageText()
{
    std::string text = kUsage;
    const std::string marker = "%RECORD_OPTIONS%";
    text.replace(text.find(marker), marker.size(), TRecordScopeArgs::Usage(kDefaultOrder));
    return text;
}

int Usage(std::ostream& err, const std::string& problem)
{
    err << kPrefix << problem << "\n" << UsageText();
    return 2;
}

struct TOptions {
    std::string table, letter, rtf, today, pdf, pdfDir, text, rtfOut;
    int copies = 1;
};

int ParseOptions(const std::vector<std::string>& args, TOptions& o, TRecordScopeArgs& scope,
                 std::ostream& err)
{
    for (size_t i = 0; i < args.size(); ++i) {
        std::string problem;
        const TRecordScopeArgs::TTake took = scope.Take(args, i, problem);
        if (took == TRecordScopeArgs::TTake::Error)
            return Usage(err, problem);
        if (took == TRecordScopeArgs::TTake::Taken)
            continue;
        const std::string& a = args[i];
        std::string* text = nullptr;
        if (a == "--table")
            text = &o.table;
        else if (a == "--letter")
            text = &o.letter;
        else if (a == "--rtf")
            text = &o.rtf;
        else if (a == "--today")
            text = &o.today;
        else if (a == "--pdf")
            text = &o.pdf;
        else if (a == "--pdf-dir")
            text = &o.pdfDir;
        else if (a == "--text")
            text = &o.text;
        else if (a == "--rtf-out")
            text = &o.rtfOut;
        else if (a != "--copies")
            return Usage(err, "unknown argument '" + a + "'");
        if (i + 1 >= args.size())
            return Usage(err, a + " needs a value");
        const std::string& value = args[++i];
        if (text != nullptr) {
            *text = value;
            continue;
        }
        bool ok = false;
        const int copies = QString::fromStdString(value).toInt(&ok);
        if (!ok || copies < 1 || copies > TLetterRun::kMaxCopies)
            return Usage(err, "--copies takes a number from 1 to 999, not '" + value + "'");
        o.copies = copies;
    }
    if (const std::string problem = scope.Check(); !problem.empty())
        return Usage(err, problem);
    if (o.table.empty())
        return Usage(err, "--table is needed");
    if (o.letter.empty() == o.rtf.empty())
        return Usage(err, "one of --letter and --rtf is needed");
    if (int(!o.pdf.empty()) + int(!o.pdfDir.empty()) + int(!o.text.empty()) +
            int(!o.rtfOut.empty()) !=
        1)
        return Usage(err, "choose one output: --pdf, --pdf-dir, --text or --rtf-out");
    if (!o.today.empty() &&
        !QDate::fromString(QString::fromStdString(o.today), Qt::ISODate).isValid())
        return Usage(err, "--today takes a date as YYYY-MM-DD, not '" + o.today + "'");
    return 0;
}

// The template's RTF bytes from the home's letters or a file; returns 0 or the exit code.
int TemplateBytes(const TOptions& o, QByteArray& bytes, std::string& source, std::ostream& err)
{
    if (!o.rtf.empty()) {
        source = o.rtf;
        QFile file(QString::fromStdString(o.rtf));
        if (!file.open(QIODevice::ReadOnly)) {
            err << kPrefix << o.rtf << ": " << file.errorString().toStdString() << "\n";
            return 3;
        }
        if (file.size() > richtext::TRtfReader::MaxInputBytes) {
            err << kPrefix << o.rtf << ": the file is larger than the 16 MB a letter may hold\n";
            return 1;
        }
        bytes = file.readAll();
        return 0;
    }
    source = "the letter \"" + o.letter + "\"";
    data::TProgramHome home = TToolEnvironment::ProgramHome();
    const QString sysdata = home.SysDataDir();
    if (sysdata.isEmpty() ||
        !QFileInfo(data::TSystemTables::FilePath(data::TSystemTable::Letter, sysdata)).isFile()) {
        err << kPrefix << "--letter \"" << o.letter
            << "\": the program home has no letters (sysdata/LETTER.DBF)\n";
        return 3;
    }
    letters::TLetterStore store;
    try {
        if (const QString failure = store.Open(sysdata, true); !failure.isEmpty()) {
            err << kPrefix << failure.toStdString() << "\n";
            return 3;
        }
        const int row = store.Find(QString::fromStdString(o.letter));
        if (row < 0) {
            err << kPrefix << "--letter \"" << o.letter << "\": no such letter in LETTER.DBF\n";
            return 1;
        }
        bytes = store.Rtf(row);
    } catch (const std::exception& e) {
        err << kPrefix << "LETTER.DBF: " << e.what() << "\n";
        return 3;
    }
    return 0;
}

QString RecordFile(const QString& dir, uint32_t recNo, const char* suffix)
{
    return QDir(dir).filePath(QStringLiteral("record-%1.%2")
                                  .arg(recNo, 7, 10, QLatin1Char('0'))
                                  .arg(QLatin1String(suffix)));
}

bool WriteWhole(const QString& path, const QByteArray& bytes, std::ostream& err)
{
    data::TOutputFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        err << kPrefix << QDir::toNativeSeparators(path).toStdString() << ": "
            << file.errorString().toStdString() << "\n";
        return false;
    }
    return true;
}

} // namespace

int RunPrintLetters(const std::vector<std::string>& argsIn, std::ostream& out, std::ostream& err)
{
    for (const std::string& a : argsIn)
        if (a == "--help" || a == "-h") {
            out << UsageText();
            return 0;
        }
    TRecordScopeArgs scope;
    TOptions o;
    if (const int code = ParseOptions(argsIn, o, scope, err); code != 0)
        return code;

    // The output is written over OUT: never over a file the job reads.
    std::vector<std::string> inputs = scope.InputFiles();
    inputs.insert(inputs.end(), {o.table, o.rtf});
    if (const std::string over = TJobFiles::OutputOverAnInput({o.pdf, o.text}, inputs);
        !over.empty())
        return Usage(err, over + " is a file the job reads; choose another one");
    for (const std::string& dir : {o.pdfDir, o.rtfOut})
        if (!dir.empty() && !QFileInfo(QString::fromStdString(dir)).isDir()) {
            err << kPrefix << dir << ": no such folder\n";
            return 3;
        }

    TToolEnvironment::EnsureGuiApplication();

    QByteArray bytes;
    std::string source;
    if (const int code = TemplateBytes(o, bytes, source, err); code != 0)
        return code;
    richtext::TRichDocument letterTemplate;
    const richtext::TRtfReadResult read = letterTemplate.LoadRtf(bytes);
    if (!read.ok) {
        err << kPrefix << source << ": " << read.error.toStdString();
        if (read.offset >= 0)
            err << " (at byte " << read.offset << ")";
        err << "\n";
        return 1;
    }
    const QDate today = o.today.empty()
                            ? QDate::currentDate()
                            : QDate::fromString(QString::fromStdString(o.today), Qt::ISODate);

    data::TDataSet dataSet;
    data::TAddressFile::DeclareFieldObjects(dataSet);
    if (const int failure = TJobFiles::OpenAddressFile(dataSet, o.table, err); failure != 0)
        return failure;
    if (const int code = scope.Apply(dataSet.Cursor(), kDefaultOrder,
                                     TToolEnvironment::StoredTagIdentifier(), kPrefix, err);
        code != 0)
        return code;
    dataSet.Resync();

    letters::TDataSetLetterRecords records(dataSet);
    letters::TRichLetterSource letter(letterTemplate,
                                      [&records, today] { return records.Texts(today); });
    const richtext::TPageLayout& layout = letterTemplate.PageLayout();
    letters::TLetterRunOptions options;
    options.copies = o.copies;
    options.onlyCurrent = scope.SingleRecord();
    options.page = {layout.paperWidth,  layout.paperHeight, layout.marginLeft,
                    layout.marginRight, layout.marginTop,   layout.marginBottom};
    const QString title = QString::fromStdString(o.letter.empty() ? o.rtf : o.letter);

    auto failed = [&](const letters::TLetterRunOutcome& outcome) {
        err << kPrefix << outcome.StatusText().toStdString() << " " << outcome.error.toStdString()
            << "\n";
        return 1;
    };
    auto summary = [&](int recordCount, int pages) {
        out << recordCount << " record(s), " << pages << " page(s)\n";
        return recordCount > 0 ? 0 : 1;
    };

    try {
        if (!o.pdf.empty()) {
            letters::TPdfPageSink sink(QString::fromStdString(o.pdf), options.page, title);
            const letters::TLetterRunOutcome outcome =
                TLetterRun(records, letter, sink).Run(options);
            if (outcome.failed)
                return failed(outcome);
            return summary(outcome.records, outcome.pages);
        }
        if (!o.pdfDir.empty()) {
            int recordCount = 0;
            int pages = 0;
            letters::TLetterRunOptions one = options;
            one.onlyCurrent = true;
            while (!records.AtEnd()) {
                const QString path =
                    RecordFile(QString::fromStdString(o.pdfDir), dataSet.RecNo(), "pdf");
                letters::TPdfPageSink sink(path, options.page, title);
                const letters::TLetterRunOutcome outcome =
                    TLetterRun(records, letter, sink).Run(one);
                if (outcome.failed)
                    return failed(outcome);
                ++recordCount;
                pages += outcome.pages;
                if (options.onlyCurrent)
                    break;
                records.Next();
            }
            return summary(recordCount, pages);
        }
        if (!o.rtfOut.empty()) {
            int recordCount = 0;
            while (!records.AtEnd()) {
                letter.MergeCurrent();
                const QString path =
                    RecordFile(QString::fromStdString(o.rtfOut), dataSet.RecNo(), "rtf");
                if (!WriteWhole(path, letter.Letter().SaveRtf(), err))
                    return 3;
                ++recordCount;
                if (options.onlyCurrent)
                    break;
                records.Next();
            }
            return summary(recordCount, 0);
        }
        // --text: every copy of every letter, a form feed between letters.
        data::TOutputFile file(QString::fromStdString(o.text));
        if (!file.open(QIODevice::WriteOnly)) {
            err << kPrefix << o.text << ": " << file.errorString().toStdString() << "\n";
            return 3;
        }
        int recordCount = 0;
        bool first = true;
        while (!records.AtEnd()) {
            letter.MergeCurrent();
            const QByteArray text = letter.Letter().Document().toPlainText().toUtf8();
            for (int copy = 0; copy < o.copies; ++copy) {
                if (!first)
                    file.write("\f");
                first = false;
                file.write(text);
                file.write("\n");
            }
            ++recordCount;
            if (options.onlyCurrent)
                break;
            records.Next();
        }
        if (recordCount == 0) {
            file.cancelWriting();
            return summary(0, 0);
        }
        if (!file.commit()) {
            err << kPrefix << o.text << ": " << file.errorString().toStdString() << "\n";
            return 3;
        }
        return summary(recordCount, 0);
    } catch (const std::exception& e) {
        err << kPrefix << "Letter Print Failed! " << e.what() << "\n";
        return 1;
    }
}

} // namespace qm::tools
