// The printer presence check's two messages.

#include "print/ui/TPrinterCheck.h"

#include "TPrintTestSupport.h"
#include "TScriptedResponder.h"
#include "print/TRPDevice.h"

#include <gtest/gtest.h>

namespace qm::print {
namespace {

TEST(TPrinterCheckTest, NoPrinterAndNoUsablePrinterStopTheCommand)
{
    qm::test::TScriptedResponder responder;
    test::UseNoPrinter();
    EXPECT_FALSE(CheckPrinterPresence(nullptr));

    qunsetenv("QUILLMARK_NO_PDF_PRINTER");
    TRPDevice::Instance().ReloadWith({});
    EXPECT_TRUE(CheckPrinterPresence(nullptr));

    // Only a system printer that cannot be opened, and the built-in printer switched off.
    qputenv("QUILLMARK_NO_PDF_PRINTER", "1");
    TRPDevice::Instance().ReloadWith(
        {TRPDeviceItem(TRPDeviceItem::TKind::System, QStringLiteral("Unplugged"),
                       QStringLiteral("d"), QStringLiteral("USB1"))});
    EXPECT_FALSE(CheckPrinterPresence(nullptr));

    ASSERT_EQ(responder.Messages().size(), 2u);
    EXPECT_EQ(
        responder.Messages()[0].text,
        QStringLiteral(
            "There are no installed printers.\r\nUnable to perform printer related operations"));
    EXPECT_EQ(responder.Messages()[0].caption, QStringLiteral("Information"));
    EXPECT_EQ(responder.Messages()[1].text,
              QStringLiteral("There is no default printer selected.\r\nUnable to perform printer "
                             "related operations"));
    test::UseNoPrinter();
}

TEST(TPrinterCheckTest, JobErrorsBecomeErrorBoxes)
{
    qm::test::TScriptedResponder responder;
    test::UseNoPrinter();
    InstallPrintErrorBoxes();
    TBaseReport::ReportError(QStringLiteral("No printers are defined, aborting print job."));
    TBaseReport::SetErrorReporter(nullptr);
    ASSERT_EQ(responder.Messages().size(), 1u);
    EXPECT_EQ(responder.Messages()[0].icon, data::TMessageIcon::Error);
}

} // namespace
} // namespace qm::print
