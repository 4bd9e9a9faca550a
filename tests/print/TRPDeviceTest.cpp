// The printer list, the built-in PDF printer, page set-up, and printing with and without a
// printer.

#include "print/TRPDevice.h"

#include "TFileSizeLimit.h"
#include "TPrintTestSupport.h"
#include "data/TOutputFile.h"
#include "print/TFilePrinter.h"
#include "print/TPrintError.h"
#include "print/TReportPrinter.h"

#include <QDir>
#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>

namespace qm::print {
namespace {

class TRPDeviceTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        TBaseReport::SetErrorReporter(nullptr);
        test::UseNoPrinter();
    }
    QTemporaryDir mDir;
};

TEST_F(TRPDeviceTest, WithoutAnyPrinterIndexIsMinusOne)
{
    test::UseNoPrinter();
    TRPDevice& device = TRPDevice::Instance();
    EXPECT_EQ(device.PrinterIndex(), -1);
    EXPECT_TRUE(device.PrinterNames().isEmpty());
    EXPECT_EQ(device.CheckPresence(), TPrinterPresence::NoPrinters);
    const TPageGeometry g = device.Geometry();
    EXPECT_DOUBLE_EQ(g.dpiX, 96);
    EXPECT_DOUBLE_EQ(g.leftWaste + g.rightWaste + g.topWaste + g.bottomWaste, 0);
    device.SetPrinterIndex(0); // nothing to select
    EXPECT_EQ(device.PrinterIndex(), -1);
}

TEST_F(TRPDeviceTest, PrintWithoutPrinterShowsTheErrorAndDrawsNothing)
{
    test::UseNoPrinter();
    QStringList errors;
    TBaseReport::SetErrorReporter([&](const QString& text) { errors << text; });
    TReportPrinter printer;
    bool called = false;
    printer.OnBeforePrint = [&](TBaseReport&) { called = true; };
    printer.OnPrint = [&](TBaseReport&) { called = true; };
    printer.RunJob();
    EXPECT_FALSE(called);
    EXPECT_EQ(errors, QStringList{QStringLiteral("No printers are defined, aborting print job.")});

    // Preview still produces pages.
    const QByteArray bytes =
        test::Record([](TBaseReport& r) { r.TextLeft(QStringLiteral("x"), 1); });
    EXPECT_EQ(bytes[0], char(89));
    EXPECT_EQ(bytes[1], char(1));
}

TEST_F(TRPDeviceTest, BuiltInPdfPrinterIsListedUnlessSwitchedOff)
{
    test::UsePdfPrinter();
    TRPDevice& device = TRPDevice::Instance();
    EXPECT_EQ(device.PrinterNames(), QStringList{QStringLiteral("PDF file on FILE:")});
    EXPECT_EQ(device.PrinterIndex(), 0);
    EXPECT_EQ(device.CheckPresence(), TPrinterPresence::Ok);
    EXPECT_DOUBLE_EQ(device.Geometry().dpiX, 300);

    // A system printer that cannot be opened: the check names the missing default printer.
    device.ReloadWith({TRPDeviceItem(TRPDeviceItem::TKind::System, QStringLiteral("Gone"),
                                     QStringLiteral("drv"), QStringLiteral("LPT9:"))});
    EXPECT_EQ(device.PrinterNames(),
              (QStringList{QStringLiteral("Gone on LPT9:"), QStringLiteral("PDF file on FILE:")}));
    device.SelectPrinterByName(QStringLiteral("gone on lpt"));
    EXPECT_EQ(device.PrinterIndex(), 0);
    device.SelectPrinterByName(QStringLiteral("nothing like it"));
    EXPECT_EQ(device.PrinterIndex(), 0);
    device.SelectPrinterByName(QStringLiteral("pdf"));
    EXPECT_EQ(device.PrinterIndex(), 1);
    EXPECT_EQ(device.DeviceName(), QStringLiteral("PDF file"));
}

TEST_F(TRPDeviceTest, PaperSizesOrientationAndBins)
{
    test::UsePdfPrinter();
    TRPDevice& device = TRPDevice::Instance();
    device.SetPaperSize(0, 4.125, 9.5); // a #10 envelope given in inches
    EXPECT_EQ(device.Setup().paperSize, 0);
    EXPECT_EQ(device.Setup().paperWidth, 1048); // 4.125 x 254 = 1047.75
    EXPECT_EQ(device.Setup().paperLength, 2413);
    EXPECT_NEAR(device.Geometry().pageWidth, 104.8 / 25.4, 1e-3);

    device.SetPaperSize(9);
    EXPECT_NEAR(device.Geometry().pageWidth, 210 / 25.4, 1e-2);
    EXPECT_NEAR(device.Geometry().pageHeight, 297 / 25.4, 1e-2);
    device.SetOrientation(TOrientation::poLandScape);
    EXPECT_NEAR(device.Geometry().pageWidth, 297 / 25.4, 1e-2);
    EXPECT_EQ(device.CurrentOrientation(), TOrientation::poLandScape);
    device.SetOrientation(TOrientation::poPortrait);

    device.SetPaperSize(20); // #10 envelope by its code
    EXPECT_NEAR(device.Geometry().pageWidth, 4.125, 1e-2);
    // Qt keeps the inch envelopes to two decimals (4.12 x 9.5); the page is the exact eighth.
    EXPECT_DOUBLE_EQ(device.Geometry().pageWidth, 4.125);
    EXPECT_DOUBLE_EQ(device.Geometry().pageHeight, 9.5);
    device.SetPaperSize(19); // #9: 3 7/8 x 8 7/8
    EXPECT_DOUBLE_EQ(device.Geometry().pageWidth, 3.875);
    EXPECT_DOUBLE_EQ(device.Geometry().pageHeight, 8.875);
    device.SetPaperSize(38); // 6 3/4: 3 5/8 x 6 1/2
    EXPECT_DOUBLE_EQ(device.Geometry().pageWidth, 3.625);
    device.SetPaperSize(20);
    device.SetPaperSize(777); // unknown code: nothing changes
    EXPECT_NEAR(device.Geometry().pageWidth, 4.125, 1e-2);

    device.SelectPaperByName(QStringLiteral("legal"));
    EXPECT_NEAR(device.Geometry().pageHeight, 14, 1e-2);
    EXPECT_EQ(
        device.PaperNames()[device.CurrentPaper()].toUpper().contains(QStringLiteral("LEGAL")),
        true);
    device.SelectBinByName(QStringLiteral("auto"));
    EXPECT_EQ(device.BinNames()[device.CurrentBin()], QStringLiteral("Automatically Select"));
}

TEST_F(TRPDeviceTest, PrintingOnThePdfPrinterWritesTheOutputPages)
{
    test::UsePdfPrinter();
    const QString path = mDir.filePath(QStringLiteral("out.pdf"));
    TRPDevice::Instance().SetPdfOutputPath(path);
    TReportPrinter printer;
    printer.SetTitle(QStringLiteral("Quillmark"));
    printer.SetFirstPage(2);
    printer.OnPrint = [](TBaseReport& r) {
        r.SetPen(kBlack, TPenStyle::psSolid, TPenMode::pmCopy, -1);
        EXPECT_EQ(r.Pen().widthPixels, 3);
        r.TextLeft(QStringLiteral("page one"), 1);
        r.NewPage();
        r.TextLeft(QStringLiteral("page two"), 1);
        r.DrawRectangle(1, 1, 2, 2);
    };
    printer.RunJob();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page "),
              1);

    // An aborted job leaves no PDF that looks complete.
    const QString aborted = mDir.filePath(QStringLiteral("aborted.pdf"));
    TRPDevice::Instance().SetPdfOutputPath(aborted);
    TReportPrinter second;
    second.OnPrint = [](TBaseReport& r) {
        r.TextLeft(QStringLiteral("x"), 1);
        r.AbortJob();
    };
    second.RunJob();
    EXPECT_FALSE(QFile::exists(aborted));
}

// The "PDF file" printer's document is written beside the chosen file and replaces it only when
// complete: Qt's PDF engine writes its own file and says nothing when a write fails, so a full
// disk left a truncated PDF in place of the earlier one, reported as printed, and an aborted job
// removed the earlier file.
TEST_F(TRPDeviceTest, APdfPrinterJobThatFailsOrIsAbortedKeepsTheEarlierPdf)
{
    test::UsePdfPrinter();
    const QString path = mDir.filePath(QStringLiteral("out.pdf"));
    TRPDevice::Instance().SetPdfOutputPath(path);
    const auto earlier = [&] {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("earlier");
    };
    const auto read = [&] {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const auto entries = [&] { return QDir(mDir.path()).entryList(QDir::Files | QDir::Hidden); };
    const auto job = [](bool abort) {
        TReportPrinter printer;
        printer.OnPrint = [abort](TBaseReport& r) {
            for (int page = 1; page <= 20; ++page) {
                if (page > 1)
                    r.NewPage();
                for (int line = 0; line < 30; ++line)
                    r.TextLeft(QStringLiteral("Page %1 line %2").arg(page).arg(line), 1);
                if (abort && page == 3)
                    r.AbortJob();
            }
        };
        printer.RunJob();
        return printer.OutputFile();
    };

    earlier();
    {
        qm::test::TFileSizeLimit fullDisk(4096);
        if (!fullDisk.Available())
            GTEST_SKIP() << "no file size limit on this platform";
        try {
            job(false);
            ADD_FAILURE() << "a PDF cut short by a full disk reported as written";
        } catch (const TPrintError& e) {
            EXPECT_TRUE(e.Message().contains("was not written to its end"))
                << e.Message().toStdString();
        }
    }
    EXPECT_EQ(read(), "earlier");
    EXPECT_EQ(entries(), QStringList{"out.pdf"});

    for (const auto step : {data::TOutputFile::TStep::Sync, data::TOutputFile::TStep::Rename}) {
        data::TOutputFile::SetFaultHook(
            [step](data::TOutputFile::TStep s, const QString&) { return s == step ? EIO : 0; });
        try {
            job(false);
            ADD_FAILURE() << "a PDF that could not be put in place reported as written";
        } catch (const TPrintError& e) {
            EXPECT_TRUE(e.Message().endsWith(QString::fromLocal8Bit(std::strerror(EIO))))
                << e.Message().toStdString();
        }
        data::TOutputFile::SetFaultHook({});
        EXPECT_EQ(read(), "earlier");
        EXPECT_EQ(entries(), QStringList{"out.pdf"});
    }

    EXPECT_EQ(job(true), QString());
    EXPECT_EQ(read(), "earlier");
    EXPECT_EQ(entries(), QStringList{"out.pdf"});

    EXPECT_EQ(job(false), path);
    EXPECT_TRUE(read().trimmed().endsWith("%%EOF"));
    EXPECT_EQ(entries(), QStringList{"out.pdf"});
    EXPECT_EQ(TRPDevice::Instance().Printer()->outputFileName(), path);
}

TEST_F(TRPDeviceTest, FilePrinterReplaysARecordedStreamOntoThePrinter)
{
    test::UsePdfPrinter();
    TRPDevice::Instance().SetPaperSize(1);
    const QByteArray bytes = test::Record([](TBaseReport& r) {
        r.TextLeft(QStringLiteral("one"), 1);
        r.NewPage();
        r.TextLeft(QStringLiteral("two"), 1);
    });
    const QString path = mDir.filePath(QStringLiteral("replayed.pdf"));
    TRPDevice::Instance().SetPdfOutputPath(path);
    TFilePrinter printer;
    printer.SetStream(bytes);
    QStringList status;
    printer.SetStatusLabel([&](const QString& s) { status << s; });
    printer.Execute();
    EXPECT_EQ(status, (QStringList{"Printing page 1", "Printing page 1", "Printing page 2",
                                   "Printing page 2"}));
    EXPECT_TRUE(QFile::exists(path));

    TFilePrinter broken;
    QByteArray damaged = bytes;
    damaged[0] = 0;
    broken.SetStream(damaged);
    EXPECT_THROW(broken.Execute(), TPrintError);
}

// A system with two printers, the second the default, whose printable area leaves a quarter
// inch at the left and top and half an inch at the right and bottom; it records the set-up it
// is given.
class TFakeBackend final : public TPrinterBackend {
public:
    struct TState {
        QPageSize size;
        bool landscape = false;
        int copies = 0;
        int bin = 0;
        bool wholeSheet = false;
    };

    std::vector<TRPDeviceItem> SystemPrinters() override
    {
        return {TRPDeviceItem(TRPDeviceItem::TKind::System, "Front", "drv", "LPT1:"),
                TRPDeviceItem(TRPDeviceItem::TKind::System, "Back", "drv", "LPT2:")};
    }
    QString DefaultPrinterName() override { return QStringLiteral("Back"); }
    std::vector<QPageSize> SupportedPageSizes(const QString&) override
    {
        return {QPageSize(QPageSize::A4), QPageSize(QPageSize::Letter)};
    }
    std::unique_ptr<TPrinterHandle> Open(const TRPDeviceItem& item) override
    {
        opened << item.DeviceName();
        return std::make_unique<THandle>(state);
    }

    QStringList opened;
    TState state;

private:
    class THandle final : public TPrinterHandle {
    public:
        explicit THandle(TState& state) : mState(state) {}
        void Apply(const QPageSize& size, bool landscape, int copies, int bin,
                   bool wholeSheet) override
        {
            mState = TState{size, landscape, copies, bin, wholeSheet};
        }
        int Resolution() const override { return 600; }
        QRectF PaperRectInches() const override
        {
            const QSizeF s = mState.size.size(QPageSize::Inch);
            return mState.landscape ? QRectF(0, 0, s.height(), s.width()) : QRectF(QPointF(), s);
        }
        QRectF PageRectInches() const override
        {
            return PaperRectInches().adjusted(0.25, 0.25, -0.5, -0.5);
        }
        bool Usable() const override { return true; }
        QPrinter* Printer(const QString&) override { return nullptr; }

    private:
        TState& mState;
    };
};

TEST_F(TRPDeviceTest, SystemPrintersComeFromTheInstalledBackend)
{
    // The printer library installs the Qt PrintSupport backend before main().
    TPrinterBackend* const installed = TRPDevice::Backend();
    ASSERT_NE(installed, nullptr);

    test::UsePdfPrinter();
    TFakeBackend fake;
    TRPDevice::SetBackend(&fake);
    TRPDevice& device = TRPDevice::Instance();
    EXPECT_EQ(device.PrinterNames(),
              (QStringList{"Front on LPT1:", "Back on LPT2:", "PDF file on FILE:"}));
    EXPECT_EQ(device.PrinterIndex(), 1) << "the system's default printer is selected";
    EXPECT_EQ(fake.opened.last(), "Back");
    EXPECT_EQ(device.PaperNames(),
              (QStringList{QPageSize(QPageSize::A4).name(), QPageSize(QPageSize::Letter).name()}));

    device.SetPaperSize(9); // A4
    device.SetOrientation(TOrientation::poLandScape);
    device.SetCopies(3);
    EXPECT_TRUE(fake.state.size.isEquivalentTo(QPageSize(QPageSize::A4)));
    EXPECT_TRUE(fake.state.landscape);
    EXPECT_EQ(fake.state.copies, 3);
    EXPECT_EQ(fake.state.bin, 7) << "automatic selection";
    EXPECT_FALSE(fake.state.wholeSheet);

    const TPageGeometry g = device.Geometry();
    EXPECT_DOUBLE_EQ(g.dpiX, 600);
    EXPECT_NEAR(g.pageWidth, 297 / 25.4, 1e-2);
    EXPECT_DOUBLE_EQ(g.leftWaste, 0.25);
    EXPECT_DOUBLE_EQ(g.topWaste, 0.25);
    EXPECT_DOUBLE_EQ(g.rightWaste, 0.5);
    EXPECT_DOUBLE_EQ(g.bottomWaste, 0.5);
    EXPECT_EQ(device.CheckPresence(), TPrinterPresence::Ok);

    // The PDF printer draws on the whole sheet at its own resolution whatever the backend says.
    device.SelectPrinterByName("pdf");
    EXPECT_TRUE(fake.state.wholeSheet);
    EXPECT_DOUBLE_EQ(device.Geometry().dpiX, TRPDevice::kPdfResolution);
    EXPECT_DOUBLE_EQ(device.Geometry().leftWaste, 0);

    // A backend cannot be swapped under a running job: the list stays.
    device.BeginJob();
    TRPDevice::SetBackend(installed);
    EXPECT_EQ(device.PrinterNames().size(), 3);
    device.EndJob();
    TRPDevice::SetBackend(installed);
    EXPECT_FALSE(device.PrinterNames().contains("Front on LPT1:"));
}

} // namespace
} // namespace qm::print
