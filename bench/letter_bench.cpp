// Letter printing figures. "quillmark-tool print letters --all --pdf" run as a process, as a user
// runs it, for 1,000 up to --n records (each count ten times the last) with a one-page template
// holding all 22 merge markers in formatted runs: wall time (process start included), letters per
// second, pages, PDF bytes and the tool's peak memory. In-process: reading 1 MB of RTF, and one
// preview record move (fresh copy of the template, merge, first page drawn at screen size); and
// a 1 MB and a 2 MB letter printed page by page as one paragraph and as short paragraphs, whose
// times should stay within 1.5 x of each other.

#include "address_table_fill.h"
#include "bench_run.h"
#include "tool_run.h"

#include "data/TAddressFile.h"
#include "data/TAddressFileLayout.h"
#include "letters/TLetterMerge.h"
#include "letters/TMergeTexts.h"
#include "richtext/TRichDocument.h"
#include "xbase/TTable.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <cstdio>

using qm::bench::TBenchRun;

namespace {

// A one-page letter: every marker once, in bold, italic, coloured and larger runs among plain
// text.
void MakeTemplate(qm::richtext::TRichDocument& letter)
{
    QTextCursor cursor(&letter.Document());
    QTextCharFormat plain;
    plain.setFontFamilies({QStringLiteral("Arial")});
    plain.setFontPointSize(11);
    QTextCharFormat bold = plain;
    bold.setFontWeight(QFont::Bold);
    QTextCharFormat italic = plain;
    italic.setFontItalic(true);
    italic.setForeground(QColor(0, 0, 128));
    QTextCharFormat large = plain;
    large.setFontPointSize(14);
    cursor.insertText(QStringLiteral("[Today's Date]   [Long Date]"), plain);
    cursor.insertBlock();
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("[Name and Address]"), bold);
    cursor.insertBlock();
    int i = 0;
    for (const QString& name : qm::letters::TMergeTexts::MarkerNames()) {
        if (name == QLatin1String("Name and Address") || name.contains(QLatin1String("Date")))
            continue;
        const QTextCharFormat& format = i % 3 == 0 ? bold : i % 3 == 1 ? italic : large;
        cursor.insertText(name + QStringLiteral(": "), plain);
        cursor.insertText(QLatin1Char('[') + name + QLatin1Char(']'), format);
        cursor.insertText(QStringLiteral(" and some ordinary words to fill the line."), plain);
        cursor.insertBlock();
        ++i;
    }
    cursor.insertText(QStringLiteral("Dear [Full Name],"), large);
    cursor.insertBlock();
    for (int p = 0; p < 3; ++p) {
        cursor.insertText(QStringLiteral("Thank you for your letter. We are pleased to tell you "
                                         "that your order has been sent to [Street] in [City]. "
                                         "Please call us at any time if you have questions."),
                          plain);
        cursor.insertBlock();
    }
}

// About `bytes` characters of words; one paragraph, or a paragraph every ~400 characters.
void MakeLongText(qm::richtext::TRichDocument& letter, qsizetype bytes, bool oneParagraph)
{
    static const char* const kWords[] = {
        "thank", "you",     "for", "your", "letter", "of",    "the", "seventh",     "we",
        "are",   "pleased", "to",  "send", "the",    "order", "to",  "Springfield", "today"};
    QString text;
    text.reserve(bytes + 32);
    qsizetype sinceBreak = 0;
    for (unsigned i = 0; text.size() < bytes; ++i) {
        const QString word = QString::fromLatin1(kWords[(i * 7u + i / 5u) % 18u]);
        text += word;
        sinceBreak += word.size() + 1;
        if (!oneParagraph && sinceBreak > 400) {
            text += QChar(QChar::ParagraphSeparator);
            sinceBreak = 0;
        } else {
            text += QLatin1Char(' ');
        }
    }
    QTextCursor cursor(&letter.Document());
    QTextCharFormat plain;
    plain.setFontFamilies({QStringLiteral("Arial")});
    plain.setFontPointSize(11);
    cursor.insertText(text, plain);
}

// Every page of the letter drawn into a PDF, as a print draws them: pages and seconds.
std::pair<int, double> PrintAllPages(const qm::richtext::TRichDocument& letter, const QString& pdf)
{
    int pages = 0;
    const double seconds = TBenchRun::Seconds([&] {
        QPdfWriter writer(pdf);
        writer.setResolution(300);
        writer.setPageSize(QPageSize(QPageSize::Letter));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter(&writer);
        int start = 0;
        while (start >= 0) {
            if (pages > 0)
                writer.newPage();
            start = letter.DrawPage(painter, QRectF(300, 300, 1950, 2700), 100.0, start);
            ++pages;
        }
    });
    return {pages, seconds};
}

} // namespace

int main(int argc, char* argv[])
{
    TBenchRun run;
    run.n = 10000;
    if (const auto exit = TBenchRun::FromArguments(
            argc, argv, "quillmark-letter-bench",
            "Letter printing figures: quillmark-tool print letters to PDF for 1,000 up to N "
            "records, a 1 MB RTF read and a preview record move.",
            run))
        return *exit;
    // The application comes after the arguments, so --help answers without Qt's start-up talk.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const auto [n, dir] = run;
    QDir().mkpath(dir);
    QTemporaryDir temp(dir + "/qm-letter-bench-XXXXXX");
    if (!temp.isValid()) {
        std::fprintf(stderr, "quillmark-letter-bench: cannot make a folder in %s\n",
                     qPrintable(dir));
        return 2;
    }

    qm::richtext::TRichDocument letter;
    MakeTemplate(letter);
    const QString rtfPath = QDir(temp.path()).filePath("template.rtf");
    {
        QFile file(rtfPath);
        if (!file.open(QIODevice::WriteOnly) || file.write(letter.SaveRtf()) < 0) {
            std::fprintf(stderr, "quillmark-letter-bench: cannot write %s\n", qPrintable(rtfPath));
            return 2;
        }
    }

    // 1 MB of RTF: the template's body repeated.
    {
        QByteArray big = letter.SaveRtf();
        const qsizetype bodyStart = big.indexOf("\\pard");
        const QByteArray body = big.mid(bodyStart, big.lastIndexOf('}') - bodyStart);
        QByteArray rtf = big.left(bodyStart);
        while (rtf.size() < 1024 * 1024)
            rtf += body;
        rtf += "}\r\n";
        qm::richtext::TRichDocument read;
        bool ok = true;
        const double seconds = TBenchRun::Seconds([&] { ok = read.LoadRtf(rtf).ok; });
        std::printf("RTF read: %.2f MB in %.3f s (%s), %d paragraphs\n",
                    double(rtf.size()) / (1024.0 * 1024.0), seconds, ok ? "ok" : "REFUSED",
                    read.Document().blockCount());
    }

    // Preview record move: a fresh copy, the merge, the first page drawn at 96 dpi, 100 %.
    {
        QImage page(816, 1056, QImage::Format_RGB32);
        const int moves = 50;
        const double seconds = TBenchRun::Seconds([&] {
            for (int i = 0; i < moves; ++i) {
                qm::richtext::TRichDocument final;
                final.CopyFrom(letter);
                const auto texts = qm::letters::TMergeTexts::FromRecord(
                    [i](const QString& field) { return field + QString::number(i); },
                    QDate(2026, 3, 7));
                qm::letters::TLetterMerge::ReplaceTokens(final.Document(), texts);
                page.fill(Qt::white);
                QPainter painter(&page);
                final.DrawPage(painter, QRectF(96, 96, 624, 864), 100.0, 0);
            }
        });
        std::printf("preview record move: %.1f ms each (%d moves)\n", seconds * 1000.0 / moves,
                    moves);
    }

    // A long paragraph prints as fast as the same text in short ones: each page draws only its
    // own lines. Layout included, every page to a PDF.
    for (const qsizetype megabytes : {1, 2}) {
        const qsizetype bytes = megabytes * 1024 * 1024;
        const QString pdf = QDir(temp.path()).filePath("long.pdf");
        qm::richtext::TRichDocument single;
        MakeLongText(single, bytes, true);
        const auto [singlePages, singleSeconds] = PrintAllPages(single, pdf);
        qm::richtext::TRichDocument paragraphs;
        MakeLongText(paragraphs, bytes, false);
        const auto [shortPages, shortSeconds] = PrintAllPages(paragraphs, pdf);
        QFile::remove(pdf);
        const double ratio = shortSeconds > 0 ? singleSeconds / shortSeconds : 0.0;
        std::printf("%lld MB letter, every page to PDF: one paragraph %.3f s (%d pages), short "
                    "paragraphs %.3f s (%d pages), ratio %.2f (%s 1.5)\n",
                    static_cast<long long>(megabytes), singleSeconds, singlePages, shortSeconds,
                    shortPages, ratio, ratio <= 1.5 ? "within" : "NOT within");
        std::fflush(stdout);
    }
    std::printf("peak memory so far: %.1f MB\n", TBenchRun::PeakMb());

    const QString tool = QDir(QCoreApplication::applicationDirPath()).filePath("quillmark-tool");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("QUILLMARK_HOME", temp.path());
    std::printf("letter figures for 1,000 up to %ld records in %s\n", n, qPrintable(temp.path()));
    const QString pdf = QDir(temp.path()).filePath("letters.pdf");
    for (long count = 1000; count <= n; count *= 10) {
        const QString path = QDir(temp.path()).filePath(QStringLiteral("ADD%1.DBF").arg(count));
        char figure[96];
        std::snprintf(figure, sizeof figure, "%ld records: append and build the tags (set-up)",
                      count);
        TBenchRun::Report(figure, TBenchRun::Seconds([&] {
                              auto table = qm::xbase::TTable::Create(
                                  path.toStdString(), qm::data::TAddressFileLayout::FieldDefs({}));
                              qm::bench::FillAddressTable(*table, count);
                              qm::data::TAddressFile::BuildTags(*table);
                              table->Close();
                          }));
        const QStringList arguments = {"print", "letters", "--table",    path,    "--rtf", rtfPath,
                                       "--all", "--today", "2026-03-07", "--pdf", pdf};
        const qm::bench::TToolRun r = qm::bench::RunTool(tool, arguments, env);
        if (!r.Ok()) {
            std::fprintf(stderr, "quillmark-letter-bench: the tool failed (%d): %s\n", r.exitCode,
                         qPrintable(r.err));
            return 1;
        }
        const QString summary = r.out.trimmed();
        const double seconds = r.seconds;
        const long peakKb = long(r.peakMb * 1024.0);
        // "R record(s), P page(s)"
        const QStringList parts = summary.split(' ');
        const long letters = parts.size() > 0 ? parts[0].toLong() : 0;
        const long pages = parts.size() > 2 ? parts[2].toLong() : 0;
        std::printf("%9ld records: %8.3f s  %8.0f letters/s  %7ld letters  %7ld pages  %11lld "
                    "PDF bytes  tool peak %7.1f MB\n",
                    count, seconds, seconds > 0 ? letters / seconds : 0.0, letters, pages,
                    static_cast<long long>(QFileInfo(pdf).size()), double(peakKb) / 1024.0);
        std::fflush(stdout);
        QFile::remove(pdf);
        for (const char* suffix : {".DBF", ".CDX", ".FPT"})
            QFile::remove(path.left(path.size() - 4) + suffix);
    }
    return 0;
}
