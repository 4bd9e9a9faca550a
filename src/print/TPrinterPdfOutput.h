#pragma once

// The PDF a QPrinter writes on the "PDF file" printer, made as safe as the program's own output
// files (data::TOutputFile): Qt's PDF engine opens and writes the file itself, straight over an
// earlier one, and stops writing at its first failed write without saying so. So the printer is
// pointed at a temporary file beside the target while the job runs; Finish then checks that the
// engine wrote the document to its end (the last bytes are the trailer's "%%EOF"), forces it to
// the disk and renames it over the target. Discard (an aborted or failed job) removes it. Until
// Finish succeeds an earlier file of that name stays as it was. The printer's output file name is
// the target again afterwards either way.

#include <QString>

class QPrinter;

namespace qm::print {

class TPrinterPdfOutput {
public:
    TPrinterPdfOutput() = default;
    ~TPrinterPdfOutput(); // discards what was not finished; never throws
    TPrinterPdfOutput(const TPrinterPdfOutput&) = delete;
    TPrinterPdfOutput& operator=(const TPrinterPdfOutput&) = delete;

    // Does nothing and returns true unless the printer prints to a PDF file. False with *reason
    // for a target that is not a regular file (a folder, a device, a pipe).
    bool Begin(QPrinter& printer, QString* reason);
    // True between a Begin that redirected the printer and Finish or Discard.
    bool Active() const { return mPrinter != nullptr; }
    const QString& Target() const { return mTarget; }

    // After the printer's document ended: false with *reason when it is incomplete or cannot be
    // put in place; the temporary is gone either way.
    bool Finish(QString* reason);
    void Discard();

    // True when the file ends with a PDF trailer (blanks after "%%EOF" allowed).
    static bool IsComplete(const QString& path);

private:
    QPrinter* mPrinter = nullptr;
    QString mTarget;
    QString mTemporary;
};

} // namespace qm::print
