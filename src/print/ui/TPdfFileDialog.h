#pragma once

// Where a print on the built-in "PDF file" printer goes. Every print window asks before its job
// runs: windows without a print dialog (labels, envelopes, ZIP count, current record) through
// Choose, which shows a save dialog; windows with the system's print dialog (letters, reports)
// offer the name in that dialog's "Output file" (Offer) and take what the user left there (Take).
// Either way the file becomes the PDF printer's output (TRPDevice::SetPdfOutputPath) and its
// folder is the one offered next time (TPdfOutputName).
//
// Contract: user-interface thread, no job running. Tests answer the dialogs through
// SetDialogRunner.

#include <QString>
#include <functional>

class QDialog;
class QPrinter;
class QWidget;

namespace qm::print {

class TPdfFileDialog {
public:
    // When the selected printer is the "PDF file" printer: a save dialog in the last folder
    // used, offering the job's name ("Labels - Avery 5160.pdf"); an existing file is replaced
    // only after "... already exists. Do you want to overwrite it?" (No by default), and a name
    // that is no regular file (a folder, a device) is refused with its reason. Returns false
    // when the user cancelled. Any other printer: true, and nothing is asked.
    static bool Choose(QWidget* parent, const QString& jobName);

    // Before the print dialog runs on printer (the selected printer's QPrinter): the job's name
    // as the document name, and for the PDF printer the suggested file as its output file.
    static void Offer(QPrinter& printer, const QString& jobName);
    // The file a print dialog chose on its printer: the output file when it prints to a PDF,
    // else empty. Read it before selecting the chosen printer, which opens it afresh.
    static QString DialogOutput(const QPrinter& printer);
    // After the print dialog was accepted and the chosen printer selected in TRPDevice: when the
    // PDF printer is selected, outputFile (DialogOutput) becomes its output (the dialog asked
    // before replacing it); an empty name falls back to Choose. Returns false when the print
    // cannot go on (the user cancelled the save dialog, or the name is no regular file).
    static bool Take(QWidget* parent, const QString& outputFile, const QString& jobName);

    // Runs the dialogs above (the save dialog, and the print dialogs of the print windows that
    // use RunDialog); tests replace it to answer them. An empty runner restores exec().
    using TDialogRunner = std::function<int(QDialog& dialog)>;
    static void SetDialogRunner(TDialogRunner runner);
    static int RunDialog(QDialog& dialog);

private:
    static bool Use(QWidget* parent, const QString& path);
};

} // namespace qm::print
