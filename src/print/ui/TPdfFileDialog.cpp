#include "print/ui/TPdfFileDialog.h"

#include "data/TMessageService.h"
#include "data/TOutputFile.h"
#include "data/TSettingsFile.h"
#include "print/TPdfOutputName.h"
#include "print/TRPDevice.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrinter>

namespace qm::print {
namespace {

TPdfFileDialog::TDialogRunner& Runner()
{
    static TPdfFileDialog::TDialogRunner runner;
    return runner;
}

bool PdfPrinterSelected()
{
    const TRPDeviceItem* item = TRPDevice::Instance().Selected();
    return item && item->Kind() == TRPDeviceItem::TKind::PdfFile;
}

} // namespace

void TPdfFileDialog::SetDialogRunner(TDialogRunner runner)
{
    Runner() = std::move(runner);
}

int TPdfFileDialog::RunDialog(QDialog& dialog)
{
    // A copy: the runner may replace itself.
    if (const TDialogRunner runner = Runner())
        return runner(dialog);
    return dialog.exec();
}

bool TPdfFileDialog::Choose(QWidget* parent, const QString& jobName)
{
    if (!PdfPrinterSelected())
        return true;
    const QString suggested = TPdfOutputName::Suggested(jobName);
    // Qt's own dialog, so that it behaves alike everywhere (and answers to the runner); the
    // question about an existing file is ours, in the program's message boxes.
    QFileDialog dialog(parent, QStringLiteral("Save PDF File As"), QFileInfo(suggested).path(),
                       QStringLiteral("PDF files (*.pdf)"));
    dialog.setObjectName(QStringLiteral("PdfFileDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.selectFile(QFileInfo(suggested).fileName());
    while (RunDialog(dialog) == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        const QString path = QDir::cleanPath(dialog.selectedFiles().constFirst());
        const QFileInfo info(path);
        if (info.exists() && info.isFile() &&
            !data::TMessageService::Ask(
                parent, QStringLiteral("Warning!"),
                QDir::toNativeSeparators(path) +
                    QStringLiteral(" already exists.\r\nDo you want to overwrite it?"),
                false))
            continue; // No: choose another name
        if (Use(parent, path))
            return true;
    }
    return false;
}

void TPdfFileDialog::Offer(QPrinter& printer, const QString& jobName)
{
    printer.setDocName(jobName);
    if (PdfPrinterSelected())
        printer.setOutputFileName(TPdfOutputName::Suggested(jobName));
}

QString TPdfFileDialog::DialogOutput(const QPrinter& printer)
{
    return printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName().trimmed()
                                                         : QString();
}

bool TPdfFileDialog::Take(QWidget* parent, const QString& outputFile, const QString& jobName)
{
    if (!PdfPrinterSelected())
        return true;
    if (outputFile.isEmpty())
        return Choose(parent, jobName);
    return Use(parent, QDir::cleanPath(QFileInfo(outputFile).absoluteFilePath()));
}

bool TPdfFileDialog::Use(QWidget* parent, const QString& path)
{
    if (const QString refusal = data::TOutputFile::Refusal(path); !refusal.isEmpty()) {
        data::TMessageService::Inform(parent, QStringLiteral("The PDF cannot be written to %1: %2")
                                                  .arg(QDir::toNativeSeparators(path), refusal));
        return false;
    }
    TRPDevice::Instance().SetPdfOutputPath(path);
    try {
        TPdfOutputName::RememberFolder(path);
    } catch (const data::TSettingsWriteError&) {
        // Only the folder offered next time is lost; the print itself goes on.
    }
    return true;
}

} // namespace qm::print
