// The system's printers through Qt PrintSupport, installed as the printer object's backend when
// the printer library is linked (its link interface keeps this file in every program using it).

#include "print/TPrinterBackend.h"
#include "print/TRPDevice.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace qm::print {
namespace {

struct TBinSource {
    int code; // the platform's bin number kept in page streams
    QPrinter::PaperSource source;
};

const TBinSource kBinSources[] = {
    {1, QPrinter::OnlyOne},      {2, QPrinter::Lower},          {3, QPrinter::Middle},
    {4, QPrinter::Manual},       {5, QPrinter::Envelope},       {6, QPrinter::EnvelopeManual},
    {7, QPrinter::Auto},         {8, QPrinter::Tractor},        {9, QPrinter::SmallFormat},
    {10, QPrinter::LargeFormat}, {11, QPrinter::LargeCapacity}, {14, QPrinter::Cassette},
    {15, QPrinter::FormSource},
};

class TQtPrinterHandle final : public TPrinterHandle {
public:
    explicit TQtPrinterHandle(const TRPDeviceItem& item) : mItem(item) { Make(); }

    void Renew() override
    {
        if (mItem.Kind() == TRPDeviceItem::TKind::PdfFile)
            Make();
    }

    void Apply(const QPageSize& size, bool landscape, int copies, int binCode,
               bool wholeSheet) override
    {
        mPrinter->setPageSize(size);
        mPrinter->setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
        mPrinter->setCopyCount(copies);
        for (const TBinSource& bin : kBinSources)
            if (bin.code == binCode)
                mPrinter->setPaperSource(bin.source);
        if (wholeSheet)
            mPrinter->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Inch);
    }

    int Resolution() const override { return mPrinter->resolution(); }
    QRectF PaperRectInches() const override { return mPrinter->paperRect(QPrinter::Inch); }
    QRectF PageRectInches() const override { return mPrinter->pageRect(QPrinter::Inch); }

    bool Usable() const override
    {
        // QPrinter alone would quietly fall back to another output for a printer that is gone.
        if (mItem.Kind() == TRPDeviceItem::TKind::PdfFile)
            return true;
        return !QPrinterInfo::printerInfo(mItem.DeviceName()).isNull() && mPrinter->isValid();
    }

    QPrinter* Printer(const QString& pdfPath) override
    {
        if (mItem.Kind() == TRPDeviceItem::TKind::PdfFile)
            mPrinter->setOutputFileName(pdfPath);
        return mPrinter.get();
    }

private:
    // The printer object for the item, as Qt makes it.
    void Make()
    {
        const TRPDeviceItem& item = mItem;
        if (item.Kind() == TRPDeviceItem::TKind::PdfFile) {
            mPrinter = std::make_unique<QPrinter>(QPrinter::HighResolution);
            mPrinter->setOutputFormat(QPrinter::PdfFormat);
            mPrinter->setResolution(TRPDevice::kPdfResolution);
            mPrinter->setFullPage(true);
        } else {
            mPrinter = std::make_unique<QPrinter>(QPrinterInfo::printerInfo(item.DeviceName()),
                                                  QPrinter::HighResolution);
            mPrinter->setFullPage(false);
        }
    }

    TRPDeviceItem mItem;
    std::unique_ptr<QPrinter> mPrinter;
};

class TQtPrinterBackend final : public TPrinterBackend {
public:
    std::vector<TRPDeviceItem> SystemPrinters() override
    {
        std::vector<TRPDeviceItem> system;
        for (const QPrinterInfo& info : QPrinterInfo::availablePrinters()) {
            const QString port =
                info.location().isEmpty() ? QStringLiteral("CUPS") : info.location();
            const QString driver =
                info.makeAndModel().isEmpty() ? QStringLiteral("CUPS") : info.makeAndModel();
            system.emplace_back(TRPDeviceItem::TKind::System, info.printerName(), driver, port);
        }
        return system;
    }

    QString DefaultPrinterName() override { return QPrinterInfo::defaultPrinterName(); }

    std::vector<QPageSize> SupportedPageSizes(const QString& deviceName) override
    {
        std::vector<QPageSize> list;
        for (const QPageSize& size : QPrinterInfo::printerInfo(deviceName).supportedPageSizes())
            list.push_back(size);
        return list;
    }

    std::unique_ptr<TPrinterHandle> Open(const TRPDeviceItem& item) override
    {
        return std::make_unique<TQtPrinterHandle>(item);
    }
};

TQtPrinterBackend gQtBackend;

// Installed before main(); the printer object is built on first use, after this.
struct TInstall {
    TInstall() { TRPDevice::SetBackend(&gQtBackend); }
} gInstall;

} // namespace
} // namespace qm::print

// Referenced from the printer library's link interface so the linker keeps this file (and the
// installation above) in every program that links the library.
extern "C" {
int qm_print_system_printers_anchor = 0;
}
