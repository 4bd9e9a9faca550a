#pragma once

// The letter a run prints for the current record: a fresh copy of the template merged with the
// record, drawn one page at a time.

#include <QRect>

class QPainter;

namespace qm::letters {

class TLetterSource {
public:
    virtual ~TLetterSource() = default;

    // Copies the template and merges the record the set stands on into the copy.
    virtual void MergeCurrent() = 0;
    // Draws the page of the merged letter that begins at start into rect (device pixels of the
    // painter) and returns where the next page begins, or 0 or less after the last page.
    virtual int DrawPage(QPainter& painter, const QRect& rect, int start) = 0;
};

} // namespace qm::letters
