#pragma once

// The process-wide printer object shared by every print job: the installed printers, the
// selected one, and its page set-up (orientation, copies, paper size and source).
//
// Contract:
// - The list is the system's printers (Qt's printer list) followed by the built-in "PDF file"
//   printer, unless that is switched off by the environment (QUILLMARK_NO_PDF_PRINTER=1) or by
//   the settings file ([Printing] PdfFilePrinter=0). With no printer at all PrinterIndex() is -1,
//   the wastes are 0 and the resolution is 96 DPI.
// - Page geometry is in inches from the physical top-left corner of the paper, in the current
//   orientation. The PDF printer draws at 300 DPI on the whole sheet (no waste).
// - Changing the selection or page set-up while a job runs throws TPrintError with
//   "Invalid method call.  ReportPrinter already printing."; jobs mark themselves with
//   BeginJob()/EndJob().
// - Everything runs on the user-interface thread.
// - The system's printers come from the installed TPrinterBackend (the printer library installs
//   the Qt PrintSupport one). Without a backend there are no system printers, and the "PDF file"
//   printer keeps its page geometry (300 DPI, whole sheet) but has no QPrinter to draw on.

#include "print/TPrintTypes.h"
#include "print/TPrinterBackend.h"
#include "print/TRPDeviceItem.h"

#include <QPageSize>
#include <QSizeF>
#include <QStringList>
#include <memory>
#include <vector>

class QPrinter;

namespace qm::print {

struct TPageGeometry {
    double pageWidth = 8.5;                                              // inches
    double pageHeight = 11.0;                                            // inches
    double leftWaste = 0, rightWaste = 0, topWaste = 0, bottomWaste = 0; // inches
    double dpiX = 96, dpiY = 96;
};

// The printer fields a page stream's header carries.
struct TDeviceSetup {
    TOrientation orientation = TOrientation::poDefault;
    std::int16_t paperSource = 265;
    std::uint8_t collate = 0;
    std::uint8_t duplex = 0;
    std::int16_t copies = 1;
    std::int16_t paperSize = 1;
    std::int16_t paperWidth = 0; // tenths of a millimetre (custom sizes only)
    std::int16_t paperLength = 0;
};

enum class TPrinterPresence { Ok, NoPrinters, NoDefault };

class TRPDevice {
public:
    static constexpr int kPdfResolution = 300;
    static constexpr int kNoPrinterResolution = 96;

    // The one printer object of the process; built on first use.
    static TRPDevice& Instance();
    // Installs the system's printing support (not owned; nullptr removes it) and lists the
    // printers again when the printer object exists and no job runs.
    static void SetBackend(TPrinterBackend* backend);
    static TPrinterBackend* Backend();

    // Builds the list again from the system and the switches (tests call it after changing the
    // environment). The selection goes to the system's default printer, else the first one.
    void Reload();
    // Replaces the system printers for tests; the PDF printer rule still applies.
    void ReloadWith(std::vector<TRPDeviceItem> systemPrinters);

    const std::vector<TRPDeviceItem>& Items() const { return mItems; }
    QStringList PrinterNames() const;
    int PrinterIndex() const { return mIndex; }
    void SetPrinterIndex(int index);
    bool HasPrinter() const { return mIndex >= 0; }
    const TRPDeviceItem* Selected() const;

    QString DeviceName() const;
    QString DriverName() const;
    QString Port() const;

    void SelectPrinterByName(const QString& name);
    QStringList BinNames() const;
    QStringList PaperNames() const;
    int CurrentBin() const { return mBin; }
    int CurrentPaper() const;
    TOrientation CurrentOrientation() const;
    void SelectBinByName(const QString& name);
    void SelectPaperByName(const QString& name);

    // A Windows paper code (1 letter, 9 A4, 11 A5, 19..38 envelopes), or code 0 with a custom
    // width and height in inches (kept in tenths of a millimetre, inches x 254 rounded).
    void SetPaperSize(int code, double widthInches = 0, double heightInches = 0);
    void SetOrientation(TOrientation orientation);
    void SetCopies(int copies);
    int Copies() const { return mSetup.copies; }

    TPageGeometry Geometry() const;
    TDeviceSetup Setup() const { return mSetup; }

    // Where the PDF printer writes: the file the print window asked for (TPdfFileDialog sets it
    // before each print); until one was chosen, "Quillmark.pdf" in the program home.
    QString PdfOutputPath() const;
    void SetPdfOutputPath(const QString& path) { mPdfPath = path; }

    // A printer set up as selected, ready for a QPainter; nullptr without a printer. Owned here.
    QPrinter* Printer();
    // After a PDF document that could not be finished (a full disk): the next Printer() is a
    // fresh printer object with the same set-up, since the old one would write empty files.
    void RenewPrinter() { mRenew = true; }

    // The presence check run before a printing window opens (see TPrinterCheck for the UI).
    TPrinterPresence CheckPresence();

    void BeginJob();
    void EndJob();
    bool JobRunning() const { return mJobs > 0; }

    // The page size of a Windows paper code; an invalid size for unknown codes.
    static QPageSize PageSizeForCode(int code);

private:
    TRPDevice() = default;
    void RequireIdle() const;
    void Apply();
    std::vector<QPageSize> PaperList() const;
    static bool PdfPrinterEnabled();

    std::vector<TRPDeviceItem> mItems;
    int mIndex = -1;
    int mBin = 0;
    QPageSize mPageSize{QPageSize::Letter};
    QSizeF mCustomInches; // exact size of a custom paper (code 0), else empty
    TDeviceSetup mSetup;
    std::unique_ptr<TPrinterHandle> mPrinter;
    QString mPdfPath;
    int mJobs = 0;
    bool mRenew = false;
};

} // namespace qm::print
