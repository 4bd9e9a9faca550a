#include "letters/TPdfPageSink.h"

#include "data/TOutputFile.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <stdexcept>

namespace qm::letters {

namespace {

[[noreturn]] void Fail(const QString& message)
{
    throw std::runtime_error(message.toStdString());
}

} // namespace

TPdfPageSink::TPdfPageSink(QString path, const TLetterPageTwips& page, QString title)
    : mPath(std::move(path)), mPage(page), mTitle(std::move(title))
{
}

TPdfPageSink::~TPdfPageSink()
{
    Abort();
}

TLetterDevice TPdfPageSink::Device() const
{
    return {kResolution, kResolution, QPoint(0, 0)};
}

QPainter& TPdfPageSink::Begin()
{
    Abort();
    mFile = std::make_unique<data::TOutputFile>(mPath);
    if (!mFile->open(QIODevice::WriteOnly))
        Fail(QStringLiteral("Unable to write %1: %2").arg(mPath, mFile->errorString()));
    mWriter = std::make_unique<QPdfWriter>(mFile.get());
    mWriter->setResolution(kResolution);
    if (!mTitle.isEmpty())
        mWriter->setTitle(mTitle);
    mWriter->setCreator(QStringLiteral("Quillmark"));
    // Twips are twentieths of a point.
    const QPageSize size(QSizeF(mPage.width / 20.0, mPage.height / 20.0), QPageSize::Point,
                         QString(), QPageSize::ExactMatch);
    mWriter->setPageLayout(QPageLayout(size, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    mPainter = std::make_unique<QPainter>();
    if (!mPainter->begin(mWriter.get()))
        Fail(QStringLiteral("Unable to start the PDF file %1").arg(mPath));
    mPages = 1;
    return *mPainter;
}

void TPdfPageSink::NewPage()
{
    if (!mWriter || !mWriter->newPage())
        Fail(QStringLiteral("Unable to write %1: %2")
                 .arg(mPath, mFile ? mFile->errorString() : QString()));
    ++mPages;
}

void TPdfPageSink::End()
{
    if (!mPainter)
        return;
    const bool ended = mPainter->end();
    mPainter.reset();
    mWriter.reset();
    // A write that failed on the way is the reason, also when the writer could not finish.
    if (!ended || !mFile->commit()) {
        const QString reason = !mFile->Failure().isEmpty() ? mFile->Failure()
                               : ended                     ? mFile->errorString()
                                       : QStringLiteral("the PDF could not be finished");
        Abort();
        Fail(QStringLiteral("Unable to write %1: %2").arg(mPath, reason));
    }
    mFile.reset();
}

void TPdfPageSink::Abort()
{
    if (mPainter && mPainter->isActive())
        mPainter->end();
    mPainter.reset();
    mWriter.reset();
    if (mFile) {
        mFile->cancelWriting();
        mFile.reset();
    }
}

} // namespace qm::letters
