#include "print/TPrinterPdfOutput.h"

#include "data/TFileReplace.h"
#include "data/TOutputFile.h"
#include "print/TRPDevice.h"

#include <QFile>
#include <QFileInfo>
#include <QPrinter>
#include <QStorageInfo>
#include <algorithm>
#include <cerrno>

namespace qm::print {
namespace {

// Less free room than this, and a document that stopped short, is taken as a full disk.
constexpr qint64 kFullDiskBytes = 1024 * 1024;

// Qt's engine keeps the reason of its failed write to itself; a disk with no room left is the
// usual one, and is named when the folder's file system shows it.
QString IncompleteReason(const QString& target)
{
    const QStorageInfo storage(QFileInfo(target).absolutePath());
    if (storage.isValid() && storage.bytesAvailable() < kFullDiskBytes)
        return QStringLiteral("the PDF was not written to its end: %1")
            .arg(data::TFileReplace::ErrorText(ENOSPC));
    return QStringLiteral("the PDF was not written to its end (a write to the file failed)");
}

} // namespace

TPrinterPdfOutput::~TPrinterPdfOutput()
{
    Discard();
}

bool TPrinterPdfOutput::Begin(QPrinter& printer, QString* reason)
{
    Discard();
    if (printer.outputFormat() != QPrinter::PdfFormat || printer.outputFileName().isEmpty())
        return true;
    const QString target = printer.outputFileName();
    if (const QString refusal = data::TOutputFile::Refusal(target); !refusal.isEmpty()) {
        if (reason)
            *reason = refusal;
        return false;
    }
    mPrinter = &printer;
    mTarget = target;
    mTemporary = data::TOutputFile::NewTemporaryPath(target);
    printer.setOutputFileName(mTemporary);
    return true;
}

bool TPrinterPdfOutput::IsComplete(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() < 8)
        return false;
    file.seek(std::max<qint64>(0, file.size() - 32));
    return file.readAll().trimmed().endsWith("%%EOF");
}

bool TPrinterPdfOutput::Finish(QString* reason)
{
    if (!mPrinter)
        return true;
    const QString temporary = mTemporary;
    mPrinter->setOutputFileName(mTarget);
    mPrinter = nullptr;
    mTemporary.clear();
    if (!IsComplete(temporary)) {
        // The engine reports no failed write: a document that does not reach its trailer is one.
        const bool made = QFile::exists(temporary);
        QFile::remove(temporary);
        // Qt's engine keeps the failed write's state and would write empty files from now on.
        if (made)
            TRPDevice::Instance().RenewPrinter();
        if (reason)
            *reason =
                made ? IncompleteReason(mTarget) : QStringLiteral("the file could not be created");
        return false;
    }
    return data::TOutputFile::Publish(temporary, mTarget, reason);
}

void TPrinterPdfOutput::Discard()
{
    if (!mPrinter)
        return;
    mPrinter->setOutputFileName(mTarget);
    mPrinter = nullptr;
    QFile::remove(mTemporary);
    mTemporary.clear();
}

} // namespace qm::print
