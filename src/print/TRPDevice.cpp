#include "print/TRPDevice.h"

#include "data/TProgramHome.h"
#include "data/TSettingsFile.h"
#include "print/TPrintError.h"

#include <QDir>
#include <cmath>

#include <utility>

namespace qm::print {
namespace {

struct TBinName {
    int code; // the platform's bin number kept in page streams
    const char* name;
};

const TBinName kBins[] = {
    {1, "Upper Tray"},           {2, "Lower Tray"},      {3, "Middle Tray"},
    {4, "Manual Feed"},          {5, "Envelope"},        {6, "Envelope Manual Feed"},
    {7, "Automatically Select"}, {8, "Tractor"},         {9, "Small Format"},
    {10, "Large Format"},        {11, "Large Capacity"}, {14, "Cassette"},
    {15, "Form Source"},
};

const TBinName& AutoBin()
{
    return kBins[6];
}

// Paper sizes the PDF printer offers, in list order.
const QPageSize::PageSizeId kPdfPapers[] = {
    QPageSize::Letter,
    QPageSize::Legal,
    QPageSize::Executive,
    QPageSize::A4,
    QPageSize::A5,
    QPageSize::B5,
    QPageSize::Envelope9,
    QPageSize::Envelope10,
    QPageSize::Envelope11,
    QPageSize::Envelope12,
    QPageSize::Envelope14,
    QPageSize::EnvelopeDL,
    QPageSize::EnvelopeC5,
    QPageSize::EnvelopeC4,
    QPageSize::EnvelopeC6,
    QPageSize::EnvelopeC65,
    QPageSize::EnvelopeB4,
    QPageSize::EnvelopeB5,
    QPageSize::EnvelopeB6,
    QPageSize::EnvelopeItalian,
    QPageSize::EnvelopeMonarch,
    QPageSize::EnvelopePersonal,
};

// The paper size in inches from its defining units, without the rounding of QPageSize::size().
QSizeF ExactInches(const QPageSize& size)
{
    const QSizeF d = size.definitionSize();
    switch (size.definitionUnits()) {
    case QPageSize::Millimeter:
        return d / 25.4;
    case QPageSize::Point:
        return d / 72.0;
    case QPageSize::Inch: {
        // Qt gives inch sizes to two decimals (Envelope #10 as 4.12 x 9.5) but their point sizes
        // exactly (297 x 684 pt, 4.125 x 9.5 in), and prints on the point size: the eighths
        // come from there.
        const QSizeF points = QSizeF(size.sizePoints()) / 72.0;
        if (std::abs(points.width() - d.width()) < 0.01 &&
            std::abs(points.height() - d.height()) < 0.01)
            return points;
        return d;
    }
    case QPageSize::Pica:
        return d / 6.0;
    case QPageSize::Didot:
        return d * (0.376 / 25.4);
    case QPageSize::Cicero:
        return d * (4.512 / 25.4);
    }
    return size.size(QPageSize::Inch);
}

bool ContainsUpper(const QString& text, const QString& part)
{
    return text.toUpper().contains(part.toUpper());
}

TPrinterBackend* gBackend = nullptr;
TRPDevice* gDevice = nullptr;

} // namespace

TRPDevice& TRPDevice::Instance()
{
    if (!gDevice) {
        gDevice = new TRPDevice();
        gDevice->Reload();
    }
    return *gDevice;
}

void TRPDevice::SetBackend(TPrinterBackend* backend)
{
    gBackend = backend;
    if (gDevice && !gDevice->JobRunning())
        gDevice->Reload();
}

TPrinterBackend* TRPDevice::Backend()
{
    return gBackend;
}

bool TRPDevice::PdfPrinterEnabled()
{
    if (qEnvironmentVariable("QUILLMARK_NO_PDF_PRINTER") == QLatin1String("1"))
        return false;
    const QString home = data::TProgramHome::Current().Dir();
    if (home.isEmpty())
        return true;
    const data::TSettingsFile settings(data::TProgramHome::Current().SettingsPath());
    return settings.ReadBool(QStringLiteral("Printing"), QStringLiteral("PdfFilePrinter"), true);
}

void TRPDevice::Reload()
{
    std::vector<TRPDeviceItem> system;
    if (gBackend)
        system = gBackend->SystemPrinters();
    ReloadWith(std::move(system));
    const QString def = gBackend ? gBackend->DefaultPrinterName() : QString();
    for (int i = 0; i < int(mItems.size()); ++i)
        if (!def.isEmpty() && mItems[size_t(i)].Kind() == TRPDeviceItem::TKind::System &&
            mItems[size_t(i)].DeviceName() == def)
            SetPrinterIndex(i);
}

void TRPDevice::ReloadWith(std::vector<TRPDeviceItem> systemPrinters)
{
    RequireIdle();
    mItems = std::move(systemPrinters);
    if (PdfPrinterEnabled())
        mItems.push_back(TRPDeviceItem::PdfFile());
    mIndex = -1;
    mPrinter.reset();
    mSetup = TDeviceSetup{};
    mPageSize = QPageSize(QPageSize::Letter);
    mCustomInches = QSizeF();
    mBin = 0;
    if (!mItems.empty())
        SetPrinterIndex(0);
}

QStringList TRPDevice::PrinterNames() const
{
    QStringList names;
    for (const auto& item : mItems)
        names << item.ListName();
    return names;
}

void TRPDevice::RequireIdle() const
{
    if (mJobs > 0)
        throw TPrintError(TPrintErrorKind::WrongState, QString::fromLatin1(msg::kAlreadyPrinting));
}

void TRPDevice::SetPrinterIndex(int index)
{
    RequireIdle();
    if (index < 0 || index >= int(mItems.size())) {
        if (mItems.empty())
            mIndex = -1;
        return;
    }
    mIndex = index;
    const TRPDeviceItem& item = mItems[size_t(index)];
    mPrinter = gBackend ? gBackend->Open(item) : nullptr;
    mBin = 0;
    if (mSetup.orientation == TOrientation::poDefault)
        mSetup.orientation = TOrientation::poPortrait;
    mSetup.paperSource = std::int16_t(AutoBin().code);
    mSetup.collate = 0;
    mSetup.duplex = 0;
    Apply();
}

const TRPDeviceItem* TRPDevice::Selected() const
{
    return mIndex >= 0 ? &mItems[size_t(mIndex)] : nullptr;
}

QString TRPDevice::DeviceName() const
{
    return Selected() ? Selected()->DeviceName() : QString();
}
QString TRPDevice::DriverName() const
{
    return Selected() ? Selected()->DriverName() : QString();
}
QString TRPDevice::Port() const
{
    return Selected() ? Selected()->Port() : QString();
}

void TRPDevice::SelectPrinterByName(const QString& name)
{
    for (int i = 0; i < int(mItems.size()); ++i)
        if (ContainsUpper(mItems[size_t(i)].ListName(), name)) {
            SetPrinterIndex(i);
            return;
        }
}

QStringList TRPDevice::BinNames() const
{
    QStringList names;
    if (!Selected())
        return names;
    // Qt names no input trays of CUPS printers; such printers choose the tray themselves, and
    // the PDF printer has none. Both offer automatic selection only.
    if (names.isEmpty())
        names << QString::fromLatin1(AutoBin().name);
    return names;
}

std::vector<QPageSize> TRPDevice::PaperList() const
{
    std::vector<QPageSize> list;
    if (!Selected())
        return list;
    if (Selected()->Kind() == TRPDeviceItem::TKind::System && gBackend)
        list = gBackend->SupportedPageSizes(Selected()->DeviceName());
    if (list.empty())
        for (auto id : kPdfPapers)
            list.emplace_back(id);
    return list;
}

QStringList TRPDevice::PaperNames() const
{
    QStringList names;
    for (const QPageSize& size : PaperList())
        names << size.name();
    return names;
}

int TRPDevice::CurrentPaper() const
{
    const auto list = PaperList();
    for (int i = 0; i < int(list.size()); ++i)
        if (list[size_t(i)].isEquivalentTo(mPageSize))
            return i;
    return -1;
}

TOrientation TRPDevice::CurrentOrientation() const
{
    return mSetup.orientation == TOrientation::poLandScape ? TOrientation::poLandScape
                                                           : TOrientation::poPortrait;
}

void TRPDevice::SelectBinByName(const QString& name)
{
    RequireIdle();
    const QStringList names = BinNames();
    for (int i = 0; i < names.size(); ++i)
        if (ContainsUpper(names[i], name)) {
            mBin = i;
            for (const TBinName& bin : kBins)
                if (QString::fromLatin1(bin.name) == names[i])
                    mSetup.paperSource = std::int16_t(bin.code);
            Apply();
            return;
        }
}

void TRPDevice::SelectPaperByName(const QString& name)
{
    RequireIdle();
    for (const QPageSize& size : PaperList())
        if (ContainsUpper(size.name(), name)) {
            mPageSize = size;
            mCustomInches = QSizeF();
            mSetup.paperSize = std::int16_t(size.windowsId());
            mSetup.paperWidth = mSetup.paperLength = 0;
            Apply();
            return;
        }
}

QPageSize TRPDevice::PageSizeForCode(int code)
{
    if (code <= 0)
        return QPageSize();
    const QPageSize::PageSizeId id = QPageSize::id(code);
    if (id == QPageSize::Custom)
        return QPageSize();
    return QPageSize(id);
}

void TRPDevice::SetPaperSize(int code, double widthInches, double heightInches)
{
    RequireIdle();
    if (code == 0) {
        const auto width = std::lround(widthInches * 254.0);
        const auto length = std::lround(heightInches * 254.0);
        if (width <= 0 || length <= 0 || width > 32767 || length > 32767)
            return;
        mSetup.paperSize = 0;
        mSetup.paperWidth = std::int16_t(width);
        mSetup.paperLength = std::int16_t(length);
        // The driver gets tenths of a millimetre; the page takes exactly that size.
        mPageSize = QPageSize(QSizeF(width / 10.0, length / 10.0), QPageSize::Millimeter, QString(),
                              QPageSize::ExactMatch);
        mCustomInches = QSizeF(width / 254.0, length / 254.0);
    } else {
        const QPageSize size = PageSizeForCode(code);
        if (!size.isValid())
            return;
        mPageSize = size;
        mCustomInches = QSizeF();
        mSetup.paperSize = std::int16_t(code);
        mSetup.paperWidth = mSetup.paperLength = 0;
    }
    Apply();
}

void TRPDevice::SetOrientation(TOrientation orientation)
{
    RequireIdle();
    if (orientation == TOrientation::poDefault)
        return;
    mSetup.orientation = orientation;
    Apply();
}

void TRPDevice::SetCopies(int copies)
{
    RequireIdle();
    if (copies < 1)
        copies = 1;
    mSetup.copies = std::int16_t(std::min(copies, 9999));
    Apply();
}

void TRPDevice::Apply()
{
    if (!mPrinter)
        return;
    mPrinter->Apply(mPageSize, mSetup.orientation == TOrientation::poLandScape, mSetup.copies,
                    mSetup.paperSource, Selected()->Kind() == TRPDeviceItem::TKind::PdfFile);
}

TPageGeometry TRPDevice::Geometry() const
{
    TPageGeometry g;
    const bool landscape = mSetup.orientation == TOrientation::poLandScape;
    const QSizeF size = mCustomInches.isEmpty() ? ExactInches(mPageSize) : mCustomInches;
    g.pageWidth = landscape ? size.height() : size.width();
    g.pageHeight = landscape ? size.width() : size.height();
    if (!Selected()) {
        g.dpiX = g.dpiY = kNoPrinterResolution;
        return g;
    }
    if (Selected()->Kind() == TRPDeviceItem::TKind::PdfFile) {
        // The PDF printer draws on the whole sheet at a fixed resolution, backend or not.
        g.dpiX = g.dpiY = kPdfResolution;
        return g;
    }
    if (!mPrinter) {
        g.dpiX = g.dpiY = kNoPrinterResolution;
        return g;
    }
    g.dpiX = g.dpiY = mPrinter->Resolution();
    {
        const QRectF paper = mPrinter->PaperRectInches();
        const QRectF page = mPrinter->PageRectInches();
        g.pageWidth = paper.width();
        g.pageHeight = paper.height();
        g.leftWaste = page.left() - paper.left();
        g.topWaste = page.top() - paper.top();
        g.rightWaste = paper.right() - page.right();
        g.bottomWaste = paper.bottom() - page.bottom();
    }
    return g;
}

QString TRPDevice::PdfOutputPath() const
{
    if (!mPdfPath.isEmpty())
        return mPdfPath;
    const QString home = data::TProgramHome::Current().Dir();
    return QDir(home.isEmpty() ? QDir::tempPath() : home).filePath(QStringLiteral("Quillmark.pdf"));
}

QPrinter* TRPDevice::Printer()
{
    if (!mPrinter)
        return nullptr;
    if (std::exchange(mRenew, false)) {
        mPrinter->Renew();
        Apply();
    }
    return mPrinter->Printer(Selected()->Kind() == TRPDeviceItem::TKind::PdfFile ? PdfOutputPath()
                                                                                 : QString());
}

TPrinterPresence TRPDevice::CheckPresence()
{
    if (mItems.empty())
        return TPrinterPresence::NoPrinters;
    // A system printer is usable while the system still knows it; QPrinter alone would quietly
    // fall back to another output.
    auto usable = [this] {
        const TRPDeviceItem* item = Selected();
        if (!item || !mPrinter)
            return false;
        if (item->Kind() == TRPDeviceItem::TKind::PdfFile)
            return true;
        return mPrinter->Usable();
    };
    if (!usable()) {
        // Select it again once before giving up.
        SetPrinterIndex(mIndex < 0 ? 0 : mIndex);
        if (!usable())
            return TPrinterPresence::NoDefault;
    }
    return TPrinterPresence::Ok;
}

void TRPDevice::BeginJob()
{
    ++mJobs;
}
void TRPDevice::EndJob()
{
    mJobs = std::max(0, mJobs - 1);
}

} // namespace qm::print
