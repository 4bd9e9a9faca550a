#include "design/ui/TLoadImageDialog.h"

#include "TScreenshot.h"
#include "TScriptedResponder.h"
#include "design/objects/TGImage.h"
#include "design/text/TDesignUnits.h"
#include "design/ui/TDesignDialogButtons.h"
#include "design/ui/TImageObjectMenu.h"
#include "picture/TWmfSample.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace qm::design {
namespace {

class TLoadImageDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TDesignUnits::SetPpiOverride(96);
        ASSERT_TRUE(mDir.isValid());
        QImage image(64, 32, QImage::Format_RGB32);
        image.fill(QColor(0, 128, 255));
        QByteArray bmp;
        QBuffer buffer(&bmp);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "BMP");
        Write("WIDE.BMP", bmp);
        Write("clip.wmf", picture::TWmfSample::ClipArt());
        Write("broken.wmf", picture::TWmfSample::ClipArt().left(100));
        Write("notes.txt", "not a picture");
        QDir(mDir.path()).mkdir("pictures");
    }
    void TearDown() override { TDesignUnits::SetPpiOverride(0); }

    void Write(const QString& name, const QByteArray& bytes)
    {
        QFile file(mDir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    static QStringList Items(const QListWidget& list)
    {
        QStringList items;
        for (int i = 0; i < list.count(); ++i)
            items << list.item(i)->text();
        return items;
    }
    static void Select(QListWidget& list, const QString& text)
    {
        const auto found = list.findItems(text, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        list.setCurrentItem(found.first());
    }
    // Runs action on the modal dialog once it is shown.
    static void OnDialog(std::function<void(TLoadImageDialog&)> action)
    {
        QTimer::singleShot(0, [action] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(dialog);
            action(*static_cast<TLoadImageDialog*>(dialog));
        });
    }

    QTemporaryDir mDir;
};

TEST_F(TLoadImageDialogTest, ListsPicturesAndFoldersAndPreviewsTheSelection)
{
    TLoadImageDialog dialog(true, false);
    dialog.SetDirectory(mDir.path());
    EXPECT_EQ(dialog.windowTitle(), "Load Image File (BMP/WMF)");
    EXPECT_EQ(Items(*dialog.FileList()), QStringList({"broken.wmf", "clip.wmf", "WIDE.BMP"}));
    EXPECT_EQ(Items(*dialog.DirectoryList()), QStringList({"..", "pictures"}));

    Select(*dialog.FileList(), "broken.wmf");
    EXPECT_TRUE(dialog.Preview()->Message().startsWith("Error loading file!\r\n"))
        << dialog.Preview()->Message().toStdString();
    Select(*dialog.FileList(), "clip.wmf");
    EXPECT_TRUE(dialog.Preview()->Message().isEmpty());
    EXPECT_TRUE(dialog.Preview()->Picture().IsMetafile());
    EXPECT_EQ(dialog.SelectedFile(), QDir(mDir.path()).absoluteFilePath("clip.wmf"));

    dialog.resize(dialog.minimumSize());
    dialog.show();
    test::SaveScreenshot(dialog, "load-image-dialog");

    // Into the sub-folder and back.
    emit dialog.DirectoryList()->itemDoubleClicked(
        dialog.DirectoryList()->findItems("pictures", Qt::MatchExactly).first());
    EXPECT_TRUE(Items(*dialog.FileList()).isEmpty());
    emit dialog.DirectoryList()->itemDoubleClicked(dialog.DirectoryList()->item(0));
    EXPECT_EQ(dialog.FileList()->count(), 3);
}

TEST_F(TLoadImageDialogTest, StretchAndAutoSizeBoxesExcludeEachOther)
{
    TLoadImageDialog dialog(false, true);
    EXPECT_FALSE(dialog.Stretch());
    EXPECT_TRUE(dialog.AutoSize());
    dialog.StretchCheck()->click();
    EXPECT_TRUE(dialog.Stretch());
    EXPECT_FALSE(dialog.AutoSize());
    dialog.AutoSizeCheck()->click();
    EXPECT_TRUE(dialog.AutoSize());
    EXPECT_FALSE(dialog.Stretch());
    dialog.AutoSizeCheck()->click();
    EXPECT_FALSE(dialog.AutoSize());
    EXPECT_FALSE(dialog.Stretch());
}

TEST_F(TLoadImageDialogTest, OkLoadsThePictureWithTheBoxesAndAutoSize)
{
    const QString before = QDir::currentPath();
    TGImage image;
    OnDialog([this](TLoadImageDialog& dialog) {
        dialog.SetDirectory(mDir.path());
        Select(*dialog.FileList(), "WIDE.BMP");
        dialog.AutoSizeCheck()->click();
        dialog.Buttons()->OkButton()->click();
    });
    EXPECT_TRUE(TImageObjectMenu::LoadImage(image, nullptr));
    EXPECT_TRUE(image.Picture().IsBitmap());
    EXPECT_TRUE(image.AutoSize());
    EXPECT_FALSE(image.Stretch());
    EXPECT_EQ(image.BoundsRect(), QRect(0, 0, 64, 32));
    EXPECT_EQ(QDir::currentPath(), before);
}

TEST_F(TLoadImageDialogTest, DamagedFileOnOkSaysSoAndEmptiesThePicture)
{
    test::TScriptedResponder responder;
    TGImage image;
    image.SetPicture(picture::TPicture::FromMetafile(picture::TWmfSample::ClipArt()));
    OnDialog([this](TLoadImageDialog& dialog) {
        dialog.SetDirectory(mDir.path());
        Select(*dialog.FileList(), "broken.wmf");
        dialog.Buttons()->OkButton()->click();
    });
    EXPECT_TRUE(TImageObjectMenu::LoadImage(image, nullptr));
    // The message says what was wrong with the file on its second line.
    ASSERT_EQ(responder.Texts().size(), 1);
    const QStringList lines = responder.Texts().front().split("\r\n");
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], "Error loading file!");
    EXPECT_FALSE(lines[1].trimmed().isEmpty());
    EXPECT_FALSE(image.HasPicture());
}

TEST_F(TLoadImageDialogTest, CancelChangesNothing)
{
    TGImage image;
    OnDialog([this](TLoadImageDialog& dialog) {
        dialog.SetDirectory(mDir.path());
        Select(*dialog.FileList(), "WIDE.BMP");
        dialog.Buttons()->CancelButton()->click();
    });
    EXPECT_FALSE(TImageObjectMenu::LoadImage(image, nullptr));
    EXPECT_FALSE(image.HasPicture());
    EXPECT_TRUE(image.Stretch());
}

TEST_F(TLoadImageDialogTest, MenuEntriesShowAndToggleStretchAndAutoSize)
{
    TGImage image;
    image.SetPicture(picture::TPicture::FromMetafile(picture::TWmfSample::ClipArt()));
    QMenu menu;
    TImageObjectMenu::AddEntries(menu, image, nullptr);
    QStringList captions;
    for (QAction* action : menu.actions())
        captions << (action->isSeparator() ? "-" : action->text());
    EXPECT_EQ(captions,
              QStringList({"-", "Load Image From Disk", "-", "Stretch to Fit", "AutoSize"}));
    QAction* stretch = menu.actions()[3];
    QAction* autoSize = menu.actions()[4];
    EXPECT_TRUE(stretch->isChecked());
    EXPECT_FALSE(autoSize->isChecked());
    autoSize->trigger();
    EXPECT_TRUE(image.AutoSize());
    EXPECT_FALSE(image.Stretch());
    EXPECT_EQ(image.BoundsRect(), QRect(0, 0, 160, 107));
    stretch->trigger();
    EXPECT_TRUE(image.Stretch());
    EXPECT_FALSE(image.AutoSize());
}

} // namespace
} // namespace qm::design
