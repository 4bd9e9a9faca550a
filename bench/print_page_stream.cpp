// Page-stream benchmark: records a label run of 10,000 pages with 30 label-sized blocks of text
// each, then measures showing single pages in the preview and rendering every page to PDF.
//   print_page_stream [--pages N] [--no-pdf] [--sample OUT]
// --sample writes a small mixed job (text, shapes, tab boxes, rotation) for looking at.

#include "bench_args.h"

#include "print/TFilePreview.h"
#include "print/TPageRender.h"
#include "print/TPageReplay.h"
#include "print/TPageStreamDump.h"
#include "print/TRPDevice.h"
#include "print/TReportFiler.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>
#include <optional>

using namespace qm::print;

namespace {

constexpr int kAcross = 3;
constexpr int kDown = 10;

// One sheet of 30 labels of 2.63 x 1 inch, four lines each.
void DrawLabels(TBaseReport& r, int pages, long& labels)
{
    static const QString kStreets[] = {QStringLiteral("123 Main Street"),
                                       QStringLiteral("4 Elm Ave Apt 2"),
                                       QStringLiteral("77 Sunset Blvd")};
    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            r.NewPage();
        for (int row = 0; row < kDown; ++row)
            for (int col = 0; col < kAcross; ++col) {
                const double x = 0.19 + col * 2.75 + 0.1;
                const double y = 0.5 + row * 1.0 + 0.2;
                const long n = ++labels;
                r.GotoXY(x, y);
                r.TextLeft(QStringLiteral("Mr. John Q. Sample %1").arg(n), x);
                r.GotoXY(x, y + 0.18);
                r.TextLeft(kStreets[n % 3], x);
                r.GotoXY(x, y + 0.36);
                r.TextLeft(QStringLiteral("Springfield, IL 62701-1234"), x);
                r.GotoXY(x, y + 0.54);
                r.TextLeft(QStringLiteral("USA"), x);
            }
    }
}

void DrawSample(TBaseReport& r)
{
    r.SetFont(QStringLiteral("Times New Roman"), 18);
    r.SetBold(true);
    r.TextCenter(QStringLiteral("Quillmark sample page"), r.PageWidth() / 2);
    r.SetFont(QStringLiteral("Arial"), 10);
    r.NewLine();
    r.NewLine();
    r.ClearTabs();
    r.SetTab(1.0, TTabJustify::Left, 2.5, 5, kBoxAll, 20);
    r.SetTab(-1, TTabJustify::Center, 2.0, 5, kBoxAll, 0);
    r.SetTab(-1, TTabJustify::Right, 2.0, 5, kBoxAll, 0);
    r.PrintLine(QStringLiteral("\tName\tCity\tAmount"));
    r.PrintLine(QStringLiteral("\tJane Doe\tSpringfield\t12.50"));
    r.PrintLine(QStringLiteral("\tJohn Public\tShelbyville\t1,204.00"));
    r.SetPen(TColor::Rgb(0, 0, 160), TPenStyle::psSolid, TPenMode::pmCopy, -2);
    r.SetBrush(TColor::Rgb(255, 230, 150), TBrushStyle::bsSolid);
    r.DrawRectangle(1, 3, 3.5, 4.5);
    r.DrawRoundRect(4, 3, 6.5, 4.5, 0.3, 0.3);
    r.DrawEllipse(1, 5, 3.5, 6.5);
    r.SetPen(kBlack, TPenStyle::psDash, TPenMode::pmCopy, 1);
    r.MoveTo(4, 5);
    r.LineTo(7.5, 6.5);
    r.SetFontRotation(90);
    r.GotoXY(7.8, 9.5);
    r.TextLeft(QStringLiteral("Rotated 90 degrees"), 7.8);
    r.SetFontRotation(0);
    r.SetFont(QStringLiteral("Arial"), 12);
    r.SetItalic(true);
    r.GotoXY(1, 7.5);
    r.TextLeft(QStringLiteral("Italic text at 1 in, baseline 7.5 in"), 1);
    r.SetFont(QStringLiteral("Courier New"), 9);
    r.GotoXY(1, 8);
    QString longText;
    for (int i = 0; i < 8; ++i)
        longText += QStringLiteral("a long line of forty characters ....... ");
    r.TextLeft(longText.left(300), 0.25);
    r.SetBrush(kBlack, TBrushStyle::bsClear);
    r.SetPen(kBlack, TPenStyle::psSolid, TPenMode::pmCopy, 1);
    r.DrawRectangle(0.5, 0.5, r.PageWidth() - 0.5, r.PageHeight() - 0.5);
    r.NewPage();
    r.SetFont(QStringLiteral("Arial"), 11);
    r.Home();
    r.PrintLine(QStringLiteral("Page two: page \xFD$RPCM11 of \xFD$RPCM10"));
}

double Seconds(const QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QUILLMARK_NO_PDF_PRINTER", "1");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qm::bench::TBenchArgs args(
        "print_page_stream", "Page-stream figures: records a label run, then shows single pages in "
                             "the preview and renders every page to PDF.");
    args.Option("pages", "N", "pages in the label run (default 10,000)");
    args.Flag("no-pdf", "leave out rendering to PDF");
    args.Option("sample", "OUT", "write a small mixed job to OUT for looking at, and stop");
    if (const std::optional<int> exit = args.ParseOrExit(argc, argv))
        return *exit;
    int pages = 10000;
    if (const auto text = args.Value("pages")) {
        const std::optional<uint64_t> count = qm::bench::TBenchArgs::Count(*text);
        if (!count || *count == 0 || *count > 1000000) {
            std::fprintf(stderr,
                         "print_page_stream: --pages needs a whole number from 1 to "
                         "1,000,000, not %s\n",
                         text->c_str());
            return qm::bench::TBenchArgs::kExitUsage;
        }
        pages = int(*count);
    }
    const bool pdf = !args.Has("no-pdf");
    const QString sample = QString::fromLocal8Bit(args.Value("sample").value_or("").c_str());
    QGuiApplication app(argc, argv);
    TRPDevice::Instance().ReloadWith({});

    if (!sample.isEmpty()) {
        QFile file(sample);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 1;
        TReportFiler filer;
        filer.SetStream(&file);
        filer.OnPrint = DrawSample;
        filer.RunJob();
        std::printf("sample written to %s\n", qPrintable(sample));
        return 0;
    }

    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    TReportFiler filer;
    filer.SetStream(&buffer);
    long labels = 0;
    filer.OnPrint = [&](TBaseReport& r) { DrawLabels(r, pages, labels); };
    QElapsedTimer timer;
    timer.start();
    filer.RunJob();
    const double record = Seconds(timer);
    buffer.close();

    long commands = 0;
    {
        const TPageStreamDump dump = DumpPageStream(bytes);
        commands = long(dump.lines.size());
    }
    std::printf("recorded %d pages, %ld labels in %.3f s\n", pages, labels, record);
    std::printf("  %.0f labels/s, %.0f commands/s (%ld commands)\n", labels / record,
                commands / record, commands);
    std::printf("  stream size %lld bytes (%.1f bytes per label)\n", (long long)bytes.size(),
                double(bytes.size()) / double(labels));

    {
        // The chain as replay sees it, as a check of the figures below.
        TPageReplay chain(bytes);
        int walked = 1;
        while (chain.Next())
            ++walked;
        std::printf("  header page count %d, pages on the chain %d\n", chain.PageCount(), walked);
    }

    TFilePreview preview(bytes);
    preview.SetZoomFactor(100);
    for (int page : {1, pages / 2, pages}) {
        timer.restart();
        preview.PrintPage(page);
        const QImage image = preview.RenderPage();
        std::printf("preview: show page %d in %.2f ms\n", page, Seconds(timer) * 1000);
    }

    if (pdf) {
        QTemporaryDir dir;
        timer.restart();
        const int written = RenderPdf(bytes, dir.filePath(QStringLiteral("all.pdf")), 300);
        const double seconds = Seconds(timer);
        std::printf("render to PDF: %d pages in %.2f s (%.1f pages/s), %lld bytes\n", written,
                    seconds, written / seconds,
                    (long long)QFile(dir.filePath(QStringLiteral("all.pdf"))).size());
    }
    return 0;
}
