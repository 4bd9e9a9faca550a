#pragma once

// The "Load Image File (BMP/WMF)" dialog: a drive list, the folders of the current folder, its
// files matching "*.BMP;*.WMF" (any letter case), a preview of the selected file ("Error loading
// file!" when it cannot be read) and the "Stretch" and "AutoSize" boxes, of which checking one
// unchecks the other. The dialog browses by itself: the process's current directory is never
// changed, so it is the same afterwards.

#include "picture/TPicture.h"

#include <QDialog>
#include <QDir>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;

namespace qm::design {

class TDesignDialogButtons;

// Shows a picture stretched over the widget, or a message.
class TImagePreview : public QWidget {
public:
    explicit TImagePreview(QWidget* parent = nullptr);
    void SetPicture(const picture::TPicture& picture);
    void SetMessage(const QString& message);
    const QString& Message() const { return mMessage; }
    const picture::TPicture& Picture() const { return mPicture; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    picture::TPicture mPicture;
    QString mMessage;
};

class TLoadImageDialog : public QDialog {
public:
    static constexpr int kHelpContext = 1208;
    static constexpr const char* kErrorText = "Error loading file!";
    // kErrorText, then what was wrong with the file on a second line.
    static QString ErrorText(const QString& reason);

    TLoadImageDialog(bool stretch, bool autoSize, QWidget* parent = nullptr);

    // Shows a folder (the dialog starts in the process's current directory).
    void SetDirectory(const QString& path);
    QString Directory() const { return mDirectory.absolutePath(); }
    // The selected file's full path, or empty.
    QString SelectedFile() const;
    bool Stretch() const;
    bool AutoSize() const;

    QComboBox* DriveCombo() const { return mDriveCombo; }
    QListWidget* DirectoryList() const { return mDirectoryList; }
    QListWidget* FileList() const { return mFileList; }
    TImagePreview* Preview() const { return mPreview; }
    QCheckBox* StretchCheck() const { return mStretchCheck; }
    QCheckBox* AutoSizeCheck() const { return mAutoSizeCheck; }
    TDesignDialogButtons* Buttons() const { return mButtons; }

private:
    void DriveComboActivated(int index);
    void DirectoryListDoubleClick(QListWidgetItem* item);
    void FileListChange();
    void StretchCheckClick(bool checked);
    void AutoSizeCheckClick(bool checked);

    QDir mDirectory;
    QComboBox* mDriveCombo;
    QLabel* mDirectoryLabel;
    QListWidget* mDirectoryList;
    QListWidget* mFileList;
    TImagePreview* mPreview;
    QCheckBox* mStretchCheck;
    QCheckBox* mAutoSizeCheck;
    TDesignDialogButtons* mButtons;
};

} // namespace qm::design
