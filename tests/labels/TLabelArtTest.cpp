// Template art: the picture name, the lookup and the two-colour conversion.

#include "labels/TLabelArt.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qm::labels;

TEST(LabelArt, NamesArePlainUpperCaseWordsBeforeTheFirstPeriod)
{
    EXPECT_EQ(TLabelArt::PictureName("av5160.bmp"), "AV5160");
    EXPECT_EQ(TLabelArt::PictureName("AVWSD5.x.y"), "AVWSD5");
    EXPECT_EQ(TLabelArt::PictureName(""), "");
    EXPECT_EQ(TLabelArt::PictureName("../etc/passwd"), "");
    EXPECT_EQ(TLabelArt::PictureName("a/b"), "");
    EXPECT_EQ(TLabelArt::PictureName("C:\\ART"), "");
}

TEST(LabelArt, BackgroundTurnsWhiteAndEverythingElseGreyAtTheFaceSize)
{
    QImage picture(4, 3, QImage::Format_RGB32);
    picture.fill(qRgb(0, 0, 128)); // the background: the top-left pixel's colour
    picture.setPixel(1, 1, qRgb(255, 0, 0));
    picture.setPixel(3, 2, qRgb(0, 0, 0));
    const QImage art = TLabelArt::Convert(picture, QSize(3, 4));
    ASSERT_EQ(art.size(), QSize(3, 4));
    EXPECT_EQ(art.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(art.pixel(1, 1), TLabelArt::kArtGrey);
    EXPECT_EQ(art.pixel(2, 2), qRgb(255, 255, 255));
    EXPECT_EQ(art.pixel(0, 3), qRgb(255, 255, 255)); // below the picture: white
}

TEST(LabelArt, FoundInTheFolderByNameAndNothingForUnknownNames)
{
    QTemporaryDir dir;
    QImage picture(10, 10, QImage::Format_RGB32);
    picture.fill(Qt::white);
    picture.setPixel(5, 5, qRgb(0, 0, 0));
    ASSERT_TRUE(picture.save(dir.filePath("AVTEST.bmp")));
    const QImage art = TLabelArt::Find("avtest.bmp", QSize(20, 8), dir.path());
    ASSERT_FALSE(art.isNull());
    EXPECT_EQ(art.size(), QSize(20, 8));
    EXPECT_EQ(art.pixel(5, 5), TLabelArt::kArtGrey);
    EXPECT_TRUE(TLabelArt::Find("AV9999", QSize(20, 8), dir.path()).isNull());
    EXPECT_TRUE(TLabelArt::Find("../AVTEST", QSize(20, 8), dir.path()).isNull());
    EXPECT_TRUE(TLabelArt::Find("AVTEST", QSize(0, 8), dir.path()).isNull());
    // The program ships no art: every shipped name shows none.
    EXPECT_TRUE(TLabelArt::Find("AV5160", QSize(20, 8)).isNull());
}
