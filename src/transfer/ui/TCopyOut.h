#pragma once

// "Copy Records Out": copies the records the main window shows (its filter and sort order, as its
// cursor has them) into a new DBF table or a comma-delimited text file. "Save As" asks for the
// file and starts the copy at once; while it runs the options give way to "Copying to " + path and
// a gauge, and "Cancel" asks "Cancel copy?" (default No). The window closes when the copy ends;
// a failure shows "There was an error copying" with its reason. A text copy is written in the
// encoding chosen under "Encoding" (Windows-1252 unless the user chose UTF-8 before; the choice
// of the last text copy is remembered, see TCopyOutEncoding). "Copy to a vCard file" writes one
// card per record in the version chosen under "vCard version" (3.0 or 4.0; TVCardWriter).

#include "transfer/TCopyOutEncoding.h"
#include "transfer/TCopyOutRun.h"
#include "transfer/TVCardWriter.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QWidget;

namespace qm::xbase {
class TCursor;
}

namespace qm::transfer {

class TCopyOut : public QDialog {
public:
    static constexpr int kHelpContext = 1065;

    // cursor: the address file as the main window shows it; total: how many records it shows.
    // openPath: the address file (a copy onto it is refused).
    TCopyOut(xbase::TCursor& cursor, uint32_t total, const QString& openPath,
             QWidget* parent = nullptr);

    // Tests answer the save dialog with this (given the default extension; empty: cancelled).
    void SetFileChooser(std::function<QString(TCopyTargetKind)> chooser)
    {
        mChooser = std::move(chooser);
    }
    void SetAfterRecordHook(std::function<void(int64_t)> hook) { mAfterRecord = std::move(hook); }

    QRadioButton* DbfOption() const { return mDbf; }
    QRadioButton* TextOption() const { return mText; }
    QRadioButton* VCardOption() const { return mVCard; }
    QComboBox* VCardVersionChoice() const { return mVCardVersion; }
    TVCardVersion VCardVersion() const;
    QComboBox* EncodingChoice() const { return mEncoding; }
    TCopyTextEncoding Encoding() const;
    bool Copying() const { return mCopying; }
    QString ProgressText() const;
    const TCopyOutOutcome& Outcome() const { return mOutcome; }

    void SaveAsButtonClick();
    void CancelButtonClick();

protected:
    void reject() override;

private:
    QString ChooseFile(TCopyTargetKind kind);

    xbase::TCursor& mCursor;
    uint32_t mTotal;
    QString mOpenPath;
    QRadioButton* mDbf = nullptr;
    QRadioButton* mText = nullptr;
    QRadioButton* mVCard = nullptr;
    QComboBox* mEncoding = nullptr;
    QComboBox* mVCardVersion = nullptr;
    QWidget* mOptions = nullptr;
    QWidget* mProgress = nullptr;
    QLabel* mCopyingTo = nullptr;
    QProgressBar* mGauge = nullptr;
    QPushButton* mSaveAs = nullptr;
    QPushButton* mCancel = nullptr;
    QPushButton* mHelp = nullptr;
    bool mCopying = false;
    bool mStop = false;
    TCopyOutOutcome mOutcome;
    std::function<QString(TCopyTargetKind)> mChooser;
    std::function<void(int64_t)> mAfterRecord;
};

} // namespace qm::transfer
