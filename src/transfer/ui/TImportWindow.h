#pragma once

// What the three import windows share: the file name line, the status line, the gauge and the
// buttons, and the import itself. While importing the buttons are hidden, the gauge shows, and
// "Cancel" asks for a stop (the records appended so far stay); while the index is rebuilt "Cancel"
// is hidden and ignored. The closing message of the run is shown, the index rebuilt, and the
// window closes. A source refused by the checking pass leaves the address file as it was and the
// window open.
//
// Subclasses choose the file (SelectFileClick) and make the import source (MakeSource).

#include "transfer/TImportRun.h"

#include <QDialog>
#include <functional>
#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;

namespace qm::xbase {
class TTable;
}

namespace qm::transfer {

class TImportWindow : public QDialog {
public:
    // Tests answer the file dialog with this (empty: cancelled).
    void SetFileChooser(std::function<QString()> chooser) { mChooser = std::move(chooser); }
    // Runs after each appended record with the count (tests press Cancel from here).
    void SetAfterRecordHook(std::function<void(int64_t)> hook) { mAfterRecord = std::move(hook); }

    QString FileNameText() const;
    QString StatusText() const;
    bool Importing() const { return mImporting; }
    bool Rebuilding() const { return mRebuilding; }
    QPushButton* MatchButton() const { return mMatch; }
    QPushButton* ImportButton() const { return mImport; }
    QPushButton* CancelButton() const { return mCancel; }

    virtual void SelectFileClick() = 0;
    void ImportButtonClick();
    void CancelButtonClick();

protected:
    // fileCaption: "ASCII File Name" or "DBF File Name"; withMatch: the "Match Fields" button.
    TImportWindow(const QString& caption, const QString& fileCaption, const QString& selectText,
                  bool withMatch, int helpContext, QWidget* parent);

    virtual xbase::TTable& Target() = 0;
    // The source of the import; nullptr after showing why there is none.
    virtual std::unique_ptr<TImportSource> MakeSource() = 0;
    virtual TImportKind Kind() const = 0;
    virtual void MatchButtonClick() {}

    QString ChooseFile(const QString& filter, const QString& initialName);
    void SetFileName(const QString& path); // "(none)" for an empty path
    void SetStatusText(const QString& text);
    void reject() override;

    QPushButton* mSelect = nullptr;
    QPushButton* mMatch = nullptr;
    QPushButton* mImport = nullptr;
    QPushButton* mCancel = nullptr;
    QPushButton* mHelp = nullptr;

private:
    void ShowRunning(bool running);

    QLabel* mFileName = nullptr;
    QLabel* mStatus = nullptr;
    QProgressBar* mGauge = nullptr;
    bool mImporting = false;
    bool mRebuilding = false;
    bool mStop = false;
    std::function<QString()> mChooser;
    std::function<void(int64_t)> mAfterRecord;
};

} // namespace qm::transfer
