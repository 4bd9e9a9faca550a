// The two rebuild dialogs, driven through their buttons offscreen.

#include "TScreenshot.h"
#include "data/TAddressFile.h"
#include "data/TDataSet.h"
#include "data/TSystemTables.h"
#include "data/ui/TRebuildIndexesDialog.h"
#include "data/ui/TRebuildSystemIndexesDialog.h"

#include <QDir>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace qm::data;

TEST(TRebuildIndexesDialog, ReindexPacksRebuildsAndCloses)
{
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath("ADD0001.DBF");
    ASSERT_EQ(TAddressFile::Create(path, {}), QString());
    TDataSet dataSet;
    TAddressFile::DeclareFieldObjects(dataSet);
    ASSERT_TRUE(TAddressFile::Open(dataSet, path).opened);
    for (int i = 0; i < 4; ++i) {
        dataSet.Append();
        dataSet.SetAsString("LNAME", QStringLiteral("N%1").arg(i));
        dataSet.Post();
    }
    dataSet.GoTo(1);
    dataSet.Table().SetDeleted(true);

    TRebuildIndexesDialog dialog(dataSet);
    EXPECT_EQ(dialog.windowTitle(), "Rebuild indexes for ADD0001.DBF");
    dialog.show();
    qm::test::SaveScreenshot(dialog, "rebuild-indexes");
    EXPECT_TRUE(dialog.CancelButton()->isVisible());
    EXPECT_FALSE(dialog.ProgressBar()->isVisible());
    QTest::mouseClick(dialog.ReindexButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Failure(), QString());
    EXPECT_EQ(dataSet.Table().RecordCount(), 3u);
    EXPECT_TRUE(TAddressFile::TagsValid(dataSet));
}

TEST(TRebuildSystemIndexesDialog, ReindexNamesEveryTableAndCloses)
{
    QTemporaryDir dir;
    {
        TDataSet letters;
        ASSERT_EQ(TSystemTables::OpenOrCreate(letters, TSystemTable::Letter, dir.path()),
                  QString());
    }
    TRebuildSystemIndexesDialog dialog(dir.path());
    dialog.show();
    qm::test::SaveScreenshot(dialog, "rebuild-system-indexes");
    QTest::mouseClick(dialog.ReindexButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.ShownTexts().size(), 6);
    EXPECT_EQ(dialog.ShownTexts().first(), "Rebuilding Letters File indexes");
    EXPECT_FALSE(dialog.ProgressBar()->isVisible());
    EXPECT_TRUE(QFile::exists(QDir(dir.path()).filePath("LETTER.CDX")));
}
