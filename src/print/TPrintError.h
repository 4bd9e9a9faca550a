#pragma once

// Errors of the page canvas and the page stream. The message is the text the user (or, for the
// wrong-state errors, the programmer) sees; the offset names where in a stream reading stopped.

#include <QString>
#include <cstdint>
#include <stdexcept>

namespace qm::print {

enum class TPrintErrorKind {
    WrongState,    // an operation called while the job is in the wrong state (programming error)
    NoPrinter,     // a printer was needed and none is installed
    DamagedStream, // a page stream that does not read
    Stream,        // the output stream is missing or cannot be opened
    Device,        // the printer refused a request
    Unsupported,   // an operation the recorder refuses
};

class TPrintError : public std::runtime_error {
public:
    TPrintError(TPrintErrorKind kind, const QString& message, std::int64_t offset = -1);

    TPrintErrorKind Kind() const { return mKind; }
    const QString& Message() const { return mMessage; }
    // Stream offset at which reading stopped, -1 when not about a stream.
    std::int64_t Offset() const { return mOffset; }

private:
    TPrintErrorKind mKind;
    QString mMessage;
    std::int64_t mOffset;
};

// The documented message texts.
namespace msg {
inline const char* const kAlreadyPrinting = "Invalid method call.  ReportPrinter already printing.";
inline const char* const kNotPrinting = "Invalid method call.  ReportPrinter is not printing.";
inline const char* const kCanvasNotActive = "Error!  Canvas not yet active.";
inline const char* const kNoPrinters = "No printers are defined, aborting print job.";
inline const char* const kUnexpectedCode = "Unexpected code found in report file.";
inline const char* const kNoStream = "StreamMode is smUser but Stream is nil";
inline const char* const kStreamInit = "Error initializing stream \"";
inline const char* const kCopyRect = "CopyRect() not supported in file mode.";
inline const char* const kNoPrinterInstalled =
    "There are no installed printers.\r\nUnable to perform printer related operations";
inline const char* const kNoDefaultPrinter =
    "There is no default printer selected.\r\nUnable to perform printer related operations";
} // namespace msg

} // namespace qm::print
