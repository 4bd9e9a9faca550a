#pragma once

// Letter pages on a QPrinter (a system printer, or the "PDF file" printer's QPrinter). The
// printer's paper is set to the letter's page before the job, so the letter's last lines are not
// lost on other paper. An aborted or failed job is cancelled. When the printer writes a file
// (PDF), the pages go to a file beside it that replaces it only when the job ended well
// (print::TPrinterPdfOutput); otherwise that file is removed and an earlier one stays.

#include "letters/TLetterBounds.h"
#include "letters/TLetterPageSink.h"
#include "print/TPrinterPdfOutput.h"

#include <QPainter>
#include <QString>

class QPrinter;

namespace qm::letters {

class TPrinterLetterSink : public TLetterPageSink {
public:
    // The printer is not owned.
    TPrinterLetterSink(QPrinter& printer, const TLetterPageTwips& page);
    ~TPrinterLetterSink() override;

    // Sets the printer's paper to the letter's page (whole sheet, portrait unless wider than
    // high) and its copies to 1: the run prints its own copies.
    static void PreparePrinter(QPrinter& printer, const TLetterPageTwips& page);

    TLetterDevice Device() const override;
    QPainter& Begin() override;
    void NewPage() override;
    void End() override;
    void Abort() override;
    QString OutputFile() const override { return mWritten; }

private:
    QPrinter& mPrinter;
    TLetterPageTwips mPage;
    QPainter mPainter;
    print::TPrinterPdfOutput mPdf;
    QString mOutputFile; // the printer's file while the job runs (PDF only)
    QString mWritten;    // the file of a job that ended well
};

} // namespace qm::letters
