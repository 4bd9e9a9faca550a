// The printer list, the built-in PDF printer, page set-up, and printing with and without a
// printer.

#include "print/TRPDevice.h"

#include "TPrintTestSupport.h"
#include "print/TFilePrinter.h"
#include "print/TPrintError.h"
#include "print/TReportPrinter.h"

#include <QFile>
#include <QTemporaryDir>
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
    const QByteArray bytes = test::Record([](TBaseReport& r) { r.TextLeft(QStringLiteral("x"), 1); });
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
    device.SetPaperSize(777); // unknown code: nothing changes
    EXPECT_NEAR(device.Geometry().pageWidth, 4.125, 1e-2);

    device.SelectPaperByName(QStringLiteral("legal"));
    EXPECT_NEAR(device.Geometry().pageHeight, 14, 1e-2);
    EXPECT_EQ(device.PaperNames()[device.CurrentPaper()].toUpper().contains(QStringLiteral("LEGAL")), true);
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
    EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page "), 1);

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

} // namespace
} // namespace qm::print
