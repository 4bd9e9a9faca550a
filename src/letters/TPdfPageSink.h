#pragma once

// Letter pages written to a PDF file through QPdfWriter, page by page as they are finished (the
// writer keeps no finished page in memory). The file is written under a temporary name beside the
// target and takes the target's name only when End succeeds; Abort, a failure or destruction
// without End leave no file behind, and an existing file of that name stays as it was.

#include "letters/TLetterBounds.h"
#include "letters/TLetterPageSink.h"

#include <QString>
#include <memory>

class QPainter;
class QPdfWriter;

namespace qm::data {
class TOutputFile;
}

namespace qm::letters {

class TPdfPageSink : public TLetterPageSink {
public:
    static constexpr int kResolution = 300;

    TPdfPageSink(QString path, const TLetterPageTwips& page, QString title = {});
    ~TPdfPageSink() override;

    TLetterDevice Device() const override;
    QPainter& Begin() override;
    void NewPage() override;
    void End() override;
    void Abort() override;

    int Pages() const { return mPages; }

private:
    QString mPath;
    TLetterPageTwips mPage;
    QString mTitle;
    std::unique_ptr<data::TOutputFile> mFile;
    std::unique_ptr<QPdfWriter> mWriter;
    std::unique_ptr<QPainter> mPainter;
    int mPages = 0;
};

} // namespace qm::letters
