#include "design/ui/TLoadImageDialog.h"

#include "data/ui/TWindowPlacement.h"
#include "design/ui/TDesignDialogButtons.h"
#include "picture/TPictureError.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStorageInfo>

namespace qm::design {

TImagePreview::TImagePreview(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Preview"));
    setMinimumSize(160, 160);
}

void TImagePreview::SetPicture(const picture::TPicture& picture)
{
    mPicture = picture;
    mMessage.clear();
    update();
}

void TImagePreview::SetMessage(const QString& message)
{
    mPicture = picture::TPicture();
    mMessage = message;
    update();
}

void TImagePreview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect frame = rect().adjusted(0, 0, -1, -1);
    painter.fillRect(rect(), Qt::white);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(frame);
    if (!mMessage.isEmpty()) {
        painter.setPen(Qt::black);
        painter.drawText(rect(), Qt::AlignCenter | Qt::TextWordWrap, mMessage);
        return;
    }
    if (mPicture.IsEmpty())
        return;
    // Keep the picture's proportions inside the preview.
    const QSizeF natural = QSizeF(mPicture.NaturalSize(logicalDpiX()));
    QRectF target = QRectF(frame.adjusted(2, 2, -2, -2));
    if (natural.width() > 0 && natural.height() > 0) {
        const QSizeF fitted = natural.scaled(target.size(), Qt::KeepAspectRatio);
        target = QRectF(target.center() - QPointF(fitted.width() / 2, fitted.height() / 2), fitted);
    }
    painter.setClipRect(frame.adjusted(1, 1, -1, -1));
    mPicture.Draw(painter, target);
}

TLoadImageDialog::TLoadImageDialog(bool stretch, bool autoSize, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TLoadImageDialog"));
    setWindowTitle(QStringLiteral("Load Image File (BMP/WMF)"));

    mDriveCombo = new QComboBox(this);
    mDriveCombo->setObjectName(QStringLiteral("DriveCombo"));
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady())
            mDriveCombo->addItem(volume.rootPath(), volume.rootPath());
    if (mDriveCombo->findData(QDir::homePath()) < 0)
        mDriveCombo->addItem(QDir::homePath(), QDir::homePath());
    mDirectoryLabel = new QLabel(this);
    mDirectoryLabel->setObjectName(QStringLiteral("DirectoryLabel"));
    mDirectoryList = new QListWidget(this);
    mDirectoryList->setObjectName(QStringLiteral("DirectoryList"));
    mFileList = new QListWidget(this);
    mFileList->setObjectName(QStringLiteral("FileList"));
    mPreview = new TImagePreview(this);
    mStretchCheck = new QCheckBox(QStringLiteral("Stretch"), this);
    mStretchCheck->setObjectName(QStringLiteral("StretchCheck"));
    mStretchCheck->setChecked(stretch);
    mAutoSizeCheck = new QCheckBox(QStringLiteral("AutoSize"), this);
    mAutoSizeCheck->setObjectName(QStringLiteral("AutoSizeCheck"));
    mAutoSizeCheck->setChecked(autoSize && !stretch);
    mButtons = new TDesignDialogButtons(*this, kHelpContext);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Files (*.BMP;*.WMF):"), this), 0, 0);
    layout->addWidget(new QLabel(QStringLiteral("Folders:"), this), 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("Preview:"), this), 0, 2);
    layout->addWidget(mFileList, 1, 0, 3, 1);
    layout->addWidget(mDirectoryLabel, 1, 1);
    layout->addWidget(mDirectoryList, 2, 1);
    layout->addWidget(mDriveCombo, 3, 1);
    layout->addWidget(mPreview, 1, 2, 2, 1);
    auto* boxes = new QVBoxLayout;
    boxes->addWidget(mStretchCheck);
    boxes->addWidget(mAutoSizeCheck);
    layout->addLayout(boxes, 3, 2);
    layout->addWidget(mButtons, 4, 0, 1, 3);
    layout->setRowStretch(2, 1);

    connect(mDriveCombo, &QComboBox::activated, this, &TLoadImageDialog::DriveComboActivated);
    connect(mDirectoryList, &QListWidget::itemDoubleClicked, this,
            &TLoadImageDialog::DirectoryListDoubleClick);
    connect(mDirectoryList, &QListWidget::itemActivated, this,
            &TLoadImageDialog::DirectoryListDoubleClick);
    connect(mFileList, &QListWidget::currentRowChanged, this, &TLoadImageDialog::FileListChange);
    connect(mFileList, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(mStretchCheck, &QCheckBox::clicked, this, &TLoadImageDialog::StretchCheckClick);
    connect(mAutoSizeCheck, &QCheckBox::clicked, this, &TLoadImageDialog::AutoSizeCheckClick);

    setMinimumSize(560, 340);
    SetDirectory(QDir::currentPath());
    data::TWindowPlacement::Centre(*this, parent ? parent->window() : nullptr);
}

void TLoadImageDialog::SetDirectory(const QString& path)
{
    QDir directory(path);
    if (!directory.exists())
        return;
    mDirectory = QDir(directory.canonicalPath());
    // Long paths keep their end, the folder being shown; the whole path is in the tool tip.
    const QString shown = QDir::toNativeSeparators(mDirectory.absolutePath());
    mDirectoryLabel->setText(mDirectoryLabel->fontMetrics().elidedText(shown, Qt::ElideLeft, 230));
    mDirectoryLabel->setToolTip(shown);
    mDirectoryList->clear();
    if (!mDirectory.isRoot())
        mDirectoryList->addItem(QStringLiteral(".."));
    mDirectoryList->addItems(
        mDirectory.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase));
    mFileList->clear();
    mFileList->addItems(mDirectory.entryList({QStringLiteral("*.bmp"), QStringLiteral("*.wmf")},
                                             QDir::Files, QDir::Name | QDir::IgnoreCase));
    mPreview->SetPicture(picture::TPicture());
}

QString TLoadImageDialog::SelectedFile() const
{
    const QListWidgetItem* item = mFileList->currentItem();
    return item ? mDirectory.absoluteFilePath(item->text()) : QString();
}

bool TLoadImageDialog::Stretch() const
{
    return mStretchCheck->isChecked();
}
bool TLoadImageDialog::AutoSize() const
{
    return mAutoSizeCheck->isChecked();
}

void TLoadImageDialog::DriveComboActivated(int index)
{
    SetDirectory(mDriveCombo->itemData(index).toString());
}

void TLoadImageDialog::DirectoryListDoubleClick(QListWidgetItem* item)
{
    if (item)
        SetDirectory(mDirectory.absoluteFilePath(item->text()));
}

void TLoadImageDialog::FileListChange()
{
    const QString path = SelectedFile();
    if (path.isEmpty()) {
        mPreview->SetPicture(picture::TPicture());
        return;
    }
    try {
        mPreview->SetPicture(picture::TPicture::Load(path));
    } catch (const picture::TPictureError& error) {
        mPreview->SetMessage(ErrorText(error.Describe()));
    }
}

QString TLoadImageDialog::ErrorText(const QString& reason)
{
    const QString first = QString::fromLatin1(kErrorText);
    return reason.isEmpty() ? first : first + QStringLiteral("\r\n") + reason;
}

void TLoadImageDialog::StretchCheckClick(bool checked)
{
    if (checked)
        mAutoSizeCheck->setChecked(false);
}

void TLoadImageDialog::AutoSizeCheckClick(bool checked)
{
    if (checked)
        mStretchCheck->setChecked(false);
}

} // namespace qm::design
