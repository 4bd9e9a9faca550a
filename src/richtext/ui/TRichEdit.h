#pragma once

// The letter editor: a QTextEdit showing a TRichDocument it owns. Word wrap off (the designer's
// start) breaks lines at the page's text width, so lines end where the printed page ends them;
// on, at the window's edge. Copy puts the selection on the clipboard as RTF and plain text; paste
// takes RTF (through the reader, so the text stays within the letter's subset), PNG and JPEG
// pictures, and plain text; HTML is pasted as its plain text.
//
// The find, replace and paragraph dialogs and the tool bar and ruler work on this class.

#include "richtext/TRichDocument.h"

#include <QTextEdit>

namespace qm::richtext {

class TRichEdit : public QTextEdit {
public:
    explicit TRichEdit(QWidget* parent = nullptr);

    TRichDocument& Rich() { return mRich; }
    const TRichDocument& Rich() const { return mRich; }

    // Loads RTF (or plain text) into the editor; on failure nothing changes. The page layout is
    // the text's, and the line width follows it.
    TRtfReadResult LoadRtf(const QByteArray& bytes);
    TRtfReadResult InsertRtf(const QByteArray& bytes);
    QByteArray SaveRtf() const { return mRich.SaveRtf(); }
    bool SetPageLayout(const TPageLayout& layout);

    bool WordWrap() const { return mWordWrap; }
    void SetWordWrap(bool on);

    // Applies a character format to the selection, or to what is typed next.
    void ApplyCharFormat(const QTextCharFormat& format);
    // Marks the paragraph at the caret as starting a new page.
    void InsertPageBreak();

    // Pixels per inch of the editor's text (the screen's logical resolution).
    double PixelsPerInch() const;

protected:
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    QMimeData* createMimeDataFromSelection() const override;
    void changeEvent(QEvent* event) override;

private:
    void UpdateLineWidth();

    TRichDocument mRich;
    bool mWordWrap = false;
};

} // namespace qm::richtext
