#pragma once

// Where a letter run's pages go: a printer, a PDF file, or a test's recorder. Begin starts the
// document with its first page; NewPage finishes the page drawn and starts another; End finishes
// the document (throwing when it could not be written), Abort discards it (a PDF file is removed,
// a printer job cancelled). Errors are thrown as std::exception with a message for the user.

#include <QPoint>
#include <QSize>
#include <QString>

class QPainter;

namespace qm::letters {

struct TLetterDevice {
    int dpiX = 300;
    int dpiY = 300;
    // Where the printable area begins on the paper, in device pixels (0 without one).
    QPoint offset;
};

class TLetterPageSink {
public:
    virtual ~TLetterPageSink() = default;

    virtual TLetterDevice Device() const = 0;
    virtual QPainter& Begin() = 0;
    virtual void NewPage() = 0;
    virtual void End() = 0;
    virtual void Abort() = 0;
    // The file End() completed, for a sink that writes one (a printer printing to a PDF file);
    // empty otherwise, and before End().
    virtual QString OutputFile() const { return {}; }
};

} // namespace qm::letters
