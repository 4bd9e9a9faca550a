// "quillmark-tool print envelopes": the envelope print loop without its windows. One page per
// record, the layout placed on the page by the feed method, straight into a PDF (page by page),
// into a page stream, or listed.

#include "tools/TImbJobEnd.h"
#include "tools/TJobFiles.h"
#include "tools/TRecordScopeArgs.h"
#include "tools/TToolCommand.h"
#include "tools/TToolEnvironment.h"

#include "data/TAddressFile.h"
#include "data/TCalculatedFields.h"
#include "data/TDataSet.h"
#include "data/TOutputFile.h"
#include "data/TProgramHome.h"
#include "data/TSettingsFile.h"
#include "design/core/TGClassRegistry.h"
#include "design/core/TGDataPanel.h"
#include "design/core/TGLabelObjectFiler.h"
#include "design/objects/TImbSettings.h"
#include "design/stream/TLayoutError.h"
#include "design/text/TDesignUnits.h"
#include "envelopes/TEnvelopeFeedMethod.h"
#include "envelopes/TEnvelopeLayoutStore.h"
#include "envelopes/TEnvelopePlacement.h"
#include "envelopes/TEnvelopeRun.h"
#include "envelopes/TEnvelopeSizes.h"
#include "print/TPdfReport.h"
#include "print/TPrintError.h"
#include "print/TRPDevice.h"
#include "print/TReportFiler.h"
#include "xbase/TCursor.h"
#include "xbase/TXbaseError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <cstdio>
#include <optional>
#include <ostream>

namespace qm::tools {
namespace {

using envelopes::TEnvelopeFace;
using envelopes::TEnvelopeFeedMethod;
using envelopes::TFeedFacing;
using envelopes::TFeedOrientation;
using envelopes::TFeedPosition;

constexpr const char* kDefaultOrder = "LNAME";

std::string UsageText()
{
    return std::string(
               "usage: quillmark-tool print envelopes --table ADDR.DBF (--envelope NAME |\n"
               "                                        --layout FILE.E --size CODE)\n"
               "           [--all | --query EXPR | --filter-file F.FLT | --record N] [--tagged]\n"
               "           [--order TAG] [--start-record N] [--feed FEED] [--page WxH] "
               "[--preview]\n"
               "           (--list | --pdf OUT.pdf | --stream OUT)\n"
               "Prints one envelope per record as the \"Print Envelope\" window does, without a\n"
               "printer.\n"
               "\n"
               "  --envelope NAME  an envelope layout of the program home (sysdata/ENVELOPE.DBF) "
               "by its\n"
               "                   description: its size and its layout file\n"
               "  --layout FILE.E  an envelope layout file, printed on an envelope of --size CODE\n"
               "  --size CODE      the envelope's size code (19..23, 27, 28, 30..38; 20 is "
               "#10)\n") +
           TRecordScopeArgs::Usage(kDefaultOrder) +
           "  --feed FEED      how the printer takes envelopes: portrait|landscape, up|down,\n"
           "                   left|right|centre, and \",cw\" for a clockwise turn, as\n"
           "                   \"landscape,down,centre\"; default the settings file's \"Envelope "
           "Feed\"\n"
           "  --page WxH       the page the printer reports, in inches after orientation (1 to "
           "100);\n"
           "                   default the envelope's paper in the feed orientation, as the "
           "built-in\n"
           "                   PDF printer gives it\n"
           "  --preview        outline the printable area on every page, as the preview does\n"
           "  --list           first line: envelope width and height, page width and height, "
           "and the\n"
           "                   envelope's place x and y, in inches with 4 decimals; then one "
           "line per\n"
           "                   envelope: its page and its record number\n"
           "  --pdf OUT.pdf    a PDF, one page per envelope, written page by page\n"
           "  --stream OUT     a page stream (see 'quillmark-tool pages')\n"
           "\n"
           "Ends with a summary line: records, envelopes and pages. With no record to print "
           "nothing is\n"
           "written. Output files appear only when complete; the address file is only read.\n"
           "Exit codes: 0 printed, 1 nothing to print, no valid size or a damaged layout, 2 bad "
           "usage,\n"
           "3 a file could not be read or written.\n";
}

constexpr const char* kPrefix = "quillmark-tool print envelopes: ";
constexpr double kMinPage = 1.0;
constexpr double kMaxPage = 100.0;

int Usage(std::ostream& err, const std::string& problem)
{
    err << kPrefix << problem << "\n" << UsageText();
    return 2;
}

struct TOptions {
    std::string table, envelope, layout, feed, page, pdf, stream;
    std::optional<int> size;
    bool preview = false;
    bool list = false;
    bool feedGiven = false;
    bool pageGiven = false;
};

std::optional<double> Decimal(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

// "portrait|landscape,up|down,left|right|centre[,cw]" in any letter case.
std::optional<TEnvelopeFeedMethod> ParseFeed(const std::string& text)
{
    const QStringList parts = QString::fromStdString(text).toLower().split(QLatin1Char(','));
    if (parts.size() < 3 || parts.size() > 4)
        return std::nullopt;
    TEnvelopeFeedMethod feed;
    const QString o = parts[0].trimmed(), f = parts[1].trimmed(), p = parts[2].trimmed();
    if (o == QLatin1String("portrait"))
        feed.orientation = TFeedOrientation::Portrait;
    else if (o == QLatin1String("landscape"))
        feed.orientation = TFeedOrientation::Landscape;
    else
        return std::nullopt;
    if (f == QLatin1String("up"))
        feed.facing = TFeedFacing::Up;
    else if (f == QLatin1String("down"))
        feed.facing = TFeedFacing::Down;
    else
        return std::nullopt;
    if (p == QLatin1String("left"))
        feed.position = TFeedPosition::Left;
    else if (p == QLatin1String("right"))
        feed.position = TFeedPosition::Right;
    else if (p == QLatin1String("centre") || p == QLatin1String("center"))
        feed.position = TFeedPosition::Centre;
    else
        return std::nullopt;
    if (parts.size() == 4) {
        if (parts[3].trimmed() != QLatin1String("cw"))
            return std::nullopt;
        feed.clockwise = true;
    }
    return feed;
}

// "WxH" in inches, each 1 to 100.
std::optional<QSizeF> ParsePage(const std::string& text)
{
    const QStringList parts = QString::fromStdString(text).toLower().split(QLatin1Char('x'));
    if (parts.size() != 2)
        return std::nullopt;
    const std::optional<double> w = Decimal(parts[0]);
    const std::optional<double> h = Decimal(parts[1]);
    if (!w || !h || *w < kMinPage || *w > kMaxPage || *h < kMinPage || *h > kMaxPage)
        return std::nullopt;
    return QSizeF(*w, *h);
}

// The page a printer gives for the envelope's paper code in the feed orientation: the built-in
// PDF printer's, which takes the paper's exact size.
QSizeF DefaultPage(int code, const TEnvelopeFeedMethod& feed)
{
    print::TRPDevice& device = print::TRPDevice::Instance();
    device.SetPaperSize(code);
    device.SetOrientation(feed.orientation == TFeedOrientation::Landscape
                              ? print::TOrientation::poLandScape
                              : print::TOrientation::poPortrait);
    const print::TPageGeometry g = device.Geometry();
    return {g.pageWidth, g.pageHeight};
}

// The recorder with a page of the caller's exact size rather than the printer's.
class TFixedPageFiler : public print::TReportFiler {
public:
    explicit TFixedPageFiler(QSizeF page) : mPage(page) {}

protected:
    print::TPageGeometry ReadGeometry() override
    {
        print::TPageGeometry g = print::TReportFiler::ReadGeometry();
        g.pageWidth = mPage.width();
        g.pageHeight = mPage.height();
        g.leftWaste = g.rightWaste = g.topWaste = g.bottomWaste = 0;
        return g;
    }

private:
    QSizeF mPage;
};

QString Fixed4(double value)
{
    return QString::number(value, 'f', 4);
}

} // namespace

int RunPrintEnvelopes(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    TOptions o;
    TRecordScopeArgs records;
    for (size_t i = 0; i < args.size(); ++i) {
        std::string problem;
        switch (records.Take(args, i, problem)) {
        case TRecordScopeArgs::TTake::Taken:
            continue;
        case TRecordScopeArgs::TTake::Error:
            return Usage(err, problem);
        case TRecordScopeArgs::TTake::NotMine:
            break;
        }
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            out << UsageText();
            return 0;
        }
        if (a == "--list") {
            o.list = true;
            continue;
        }
        if (a == "--preview") {
            o.preview = true;
            continue;
        }
        std::string* text = nullptr;
        if (a == "--table")
            text = &o.table;
        else if (a == "--envelope")
            text = &o.envelope;
        else if (a == "--layout")
            text = &o.layout;
        else if (a == "--feed")
            text = &o.feed;
        else if (a == "--page")
            text = &o.page;
        else if (a == "--pdf")
            text = &o.pdf;
        else if (a == "--stream")
            text = &o.stream;
        else if (a != "--size")
            return Usage(err, "unknown argument '" + a + "'");
        if (i + 1 >= args.size())
            return Usage(err, a + " needs a value");
        const std::string& value = args[++i];
        if (text) {
            *text = value;
            o.feedGiven |= text == &o.feed;
            o.pageGiven |= text == &o.page;
            continue;
        }
        bool ok = false;
        const int code = QString::fromStdString(value).toInt(&ok);
        if (!ok)
            return Usage(err, "--size takes an envelope size code, not '" + value + "'");
        o.size = code;
    }
    if (const std::string problem = records.Check(); !problem.empty())
        return Usage(err, problem);
    if (o.table.empty())
        return Usage(err, "--table is needed");
    if (o.envelope.empty() == o.layout.empty())
        return Usage(err, "one of --envelope and --layout is needed");
    if (!o.layout.empty() && !o.size)
        return Usage(err, "--layout needs --size CODE");
    if (!o.envelope.empty() && o.size)
        return Usage(err, "--size goes with --layout; an --envelope row has its own size");
    if (int(o.list) + int(!o.pdf.empty()) + int(!o.stream.empty()) != 1)
        return Usage(err, "choose one output: --list, --pdf or --stream");
    std::optional<TEnvelopeFeedMethod> feed;
    if (o.feedGiven) {
        feed = ParseFeed(o.feed);
        if (!feed)
            return Usage(err, "--feed \"" + o.feed +
                                  "\" is not orientation,facing,position[,cw] (as "
                                  "\"landscape,down,centre\")");
    }
    std::optional<QSizeF> page;
    if (o.pageGiven) {
        page = ParsePage(o.page);
        if (!page)
            return Usage(err, "--page \"" + o.page +
                                  "\" is not WIDTHxHEIGHT in inches, each from 1 to 100");
    }
    if (!o.layout.empty() &&
        QFileInfo(QString::fromStdString(o.layout)).suffix().toUpper() != QLatin1String("E"))
        return Usage(err, o.layout + ": --layout takes an envelope (.E) layout");

    // The output is written over OUT: never over a file the job reads.
    const std::string output = o.pdf.empty() ? o.stream : o.pdf;
    std::vector<std::string> inputs = records.InputFiles();
    inputs.insert(inputs.end(), {o.table, o.layout});
    if (!TJobFiles::OutputOverAnInput({output}, inputs).empty())
        return Usage(err, output + " is a file the job reads; choose another output file");

    TToolEnvironment::EnsureGuiApplication();
    data::TProgramHome home = TToolEnvironment::ProgramHome();

    // The design: a row of the home's ENVELOPE.DBF, or a layout file and a size.
    QString layoutPath;
    int code = o.size.value_or(0);
    QString title = QString::fromStdString(o.layout);
    if (!o.envelope.empty()) {
        const QString sysdata = home.SysDataDir();
        if (sysdata.isEmpty() || !QFileInfo(QDir(sysdata).filePath("ENVELOPE.DBF")).isFile()) {
            err << kPrefix << "--envelope \"" << o.envelope
                << "\": the program home has no envelope layouts (sysdata/ENVELOPE.DBF)\n";
            return 3;
        }
        envelopes::TEnvelopeLayoutStore store;
        try {
            if (const QString failure = store.Open(sysdata); !failure.isEmpty()) {
                err << kPrefix << failure.toStdString() << "\n";
                return 3;
            }
        } catch (const std::exception& e) {
            err << kPrefix << "ENVELOPE.DBF: " << e.what() << "\n";
            return 3;
        }
        const int row = store.Find(QString::fromStdString(o.envelope));
        if (row < 0) {
            err << kPrefix << "--envelope \"" << o.envelope
                << "\": no such envelope layout in ENVELOPE.DBF\n";
            return 2;
        }
        code = store.Rows()[size_t(row)].code;
        QString why;
        layoutPath = store.LayoutPath(row, &why);
        if (layoutPath.isEmpty()) {
            err << kPrefix << "--envelope \"" << o.envelope << "\": " << why.toStdString() << "\n";
            return 3;
        }
        title = QString::fromStdString(o.envelope);
    } else {
        layoutPath = QString::fromStdString(o.layout);
        if (!QFileInfo(layoutPath).isFile()) {
            err << kPrefix << o.layout << ": "
                << envelopes::TEnvelopeLayoutStore::MissingLayoutMessage().toStdString() << "\n";
            return 3;
        }
    }
    const std::optional<TEnvelopeFace> face = envelopes::TEnvelopeSizes::Face(code);
    if (!face) {
        err << kPrefix << "size code " << code << ": "
            << envelopes::TEnvelopeSizes::NoValidSizeMessage().toStdString() << "\n";
        return o.size ? 2 : 1;
    }
    if (!feed) {
        // The feed is read from the settings file, never written.
        const data::TSettingsFile settings(home.SettingsPath());
        feed = TEnvelopeFeedMethod::Read(settings);
    }
    if (!page)
        page = DefaultPage(code, *feed);

    design::TDesignUnits::SetPpiOverride(design::TDesignUnits::kDefaultPpi);
    design::TGClassRegistry::Instance().RegisterHostKinds(design::TGHostKind::Envelope);

    data::TDataSet dataSet;
    data::TAddressFile::DeclareFieldObjects(dataSet);
    const QString tagIdentifier = TToolEnvironment::StoredTagIdentifier();
    const bool withNames = true;
    data::TCalculatedFields::Install(dataSet, &tagIdentifier, &withNames);
    if (const int failure = TJobFiles::OpenAddressFile(dataSet, o.table, err); failure != 0)
        return failure;

    // The layout is loaded (and filled once) before the records are chosen.
    design::TGDataPanel panel;
    panel.SetDataSet(&dataSet);
    panel.SetSize(
        std::int32_t(std::lround(face->WidthInches() * design::TDesignUnits::kDefaultPpi)),
        std::int32_t(std::lround(face->HeightInches() * design::TDesignUnits::kDefaultPpi)));
    try {
        design::TGLabelObjectFiler::LoadFromFile(panel, layoutPath);
    } catch (const design::TLayoutError& e) {
        TJobFiles::ReportLayoutError(err, kPrefix, layoutPath, e);
        return 1;
    }

    // The records, their order and the first one.
    if (const int applied =
            records.Apply(dataSet.Cursor(), kDefaultOrder, tagIdentifier, kPrefix, err);
        applied != 0)
        return applied;
    try {
        dataSet.Resync();
    } catch (const xbase::TXbaseError& e) {
        err << o.table << ": " << e.what() << "\n";
        return 3;
    }
    const bool onlyOne = records.SingleRecord();

    envelopes::TEnvelopeRun run(panel, dataSet, *face, *feed);
    // Intelligent Mail barcodes: the counter starts at the home's NextSerial and is written back
    // once the output is complete (the only write this command makes to the settings file).
    std::optional<data::TSettingsFile> imbSettings;
    if (!home.Dir().isEmpty() && QFileInfo(home.Dir()).isDir())
        imbSettings.emplace(home.SettingsPath());
    run.SetImbStart(imbSettings ? design::TImbSettings::Read(*imbSettings).nextSerial : 0);
    run.SetPreview(o.preview);
    run.SetOnlyCurrentRecord(onlyOne);
    auto summary = [&] {
        out << run.Envelopes() << " record(s), " << run.Envelopes() << " envelope(s), "
            << run.Envelopes() << " page(s)\n";
    };
    if (dataSet.IsEmpty() || dataSet.Eof()) {
        summary();
        return 1;
    }

    if (o.list) {
        // The placement without drawing: the first line, then each envelope's page and record.
        const QPointF at =
            envelopes::TEnvelopePlacement::Offsets(page->width(), page->height(), *face, *feed);
        std::vector<uint32_t> printed;
        for (; !dataSet.Eof() && !dataSet.IsEmpty(); dataSet.Next()) {
            printed.push_back(dataSet.RecNo());
            if (onlyOne)
                break;
        }
        out << Fixed4(face->WidthInches()).toStdString() << " "
            << Fixed4(face->HeightInches()).toStdString() << " "
            << Fixed4(page->width()).toStdString() << " " << Fixed4(page->height()).toStdString()
            << " " << Fixed4(at.x()).toStdString() << " " << Fixed4(at.y()).toStdString() << "\n";
        for (size_t i = 0; i < printed.size(); ++i)
            out << (i + 1) << " " << printed[i] << "\n";
        out << printed.size() << " record(s), " << printed.size() << " envelope(s), "
            << printed.size() << " page(s)\n";
        return 0;
    }

    // Either output replaces OUT only once it is complete.
    const QString target = QString::fromStdString(output);
    try {
        if (!o.stream.empty()) {
            data::TOutputFile file(target);
            if (!file.open(QIODevice::WriteOnly)) {
                err << output << ": " << file.errorString().toStdString() << "\n";
                return 3;
            }
            TFixedPageFiler filer(*page);
            filer.SetStreamMode(print::TStreamMode::smUser);
            filer.SetStream(&file);
            filer.SetTitle(title);
            run.Attach(filer);
            filer.RunJob();
            if (!file.commit()) {
                err << output << ": " << file.errorString().toStdString() << "\n";
                return 3;
            }
        } else {
            print::TPdfReport pdf;
            pdf.SetFileName(target);
            pdf.SetPage(*page);
            pdf.SetTitle(title);
            run.Attach(pdf);
            pdf.RunJob();
        }
    } catch (const print::TPrintError& e) {
        err << output << ": " << e.Message().toStdString() << "\n";
        return 3;
    } catch (const xbase::TXbaseError& e) {
        err << o.table << ": " << e.what() << "\n";
        return 3;
    }
    summary();
    if (o.preview)
        imbSettings.reset(); // a preview uses no serial numbers up
    return TImbJobEnd::Finish(run.Imb(), imbSettings, out, err);
}

} // namespace qm::tools
