#include "print/TFilePrinter.h"

#include "print/TPrintError.h"
#include "print/TPrintText.h"

#include <QFile>

namespace qm::print {

void TFilePrinter::Start()
{
    if (mStreamMode != TStreamMode::smUser && mStreamMode != TStreamMode::smMemory) {
        QFile file(mFileName);
        if (!file.open(QIODevice::ReadOnly))
            throw TPrintError(TPrintErrorKind::Stream,
                              QString::fromLatin1(msg::kStreamInit) + mFileName + QLatin1Char('"'));
        mBytes = file.readAll();
    }
    mReplay = std::make_unique<TPageReplay>(mBytes);
    const TPageStreamHeader& h = mReplay->Header();
    TRPDevice& device = TRPDevice::Instance();
    if (!h.deviceName.isEmpty())
        device.SelectPrinterByName(DecodePrintText(h.deviceName));
    if (h.paperSize > 0)
        device.SetPaperSize(h.paperSize);
    else if (h.paperSize == 0 && h.paperWidth > 0 && h.paperLength > 0)
        device.SetPaperSize(0, h.paperWidth / 254.0, h.paperLength / 254.0);
    if (h.orientation <= 1)
        device.SetOrientation(static_cast<TOrientation>(h.orientation));
    SetCopies(std::max<int>(1, h.copies));
    mContext.deviceName = device.DeviceName();
    mContext.driverName = device.DriverName();
    mContext.port = device.Port();
}

void TFilePrinter::PrintPage(int pageNumber)
{
    RequireRunning();
    if (!mReplay || !mReplay->GotoPage(pageNumber))
        return;
    UpdateStatus();
    if (!PageOutput() || Aborted())
        return;
    mReplay->PaintPage(Canvas(), Mapping(), mContext);
}

void TFilePrinter::Execute()
{
    Start();
    if (!mReplay->HasPages())
        return;
    mReplay->GotoFirst();
    std::vector<int> pages;
    do
        pages.push_back(mReplay->CurrentPageNumber());
    while (mReplay->Next() && pages.size() < size_t(std::numeric_limits<std::int16_t>::max()));
    mContext.start = QDateTime::currentDateTime();
    OnPrint = [this, pages](TBaseReport&) {
        for (size_t i = 0; i < pages.size() && !Aborted(); ++i) {
            if (i > 0)
                NewPage();
            PrintPage(pages[i]);
        }
    };
    RunJob();
}

} // namespace qm::print
