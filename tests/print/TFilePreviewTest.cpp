// The screen replay's page and zoom rules.

#include "print/TFilePreview.h"

#include "TPrintTestSupport.h"
#include "print/TPrintError.h"

#include <gtest/gtest.h>

namespace qm::print {
namespace {

QByteArray Pages(int count, int firstPage = 1)
{
    test::UseNoPrinter();
    TReportFiler filer;
    filer.SetFirstPage(firstPage);
    return test::Record(filer, [count](TBaseReport& r) {
        for (int page = 1; page <= count; ++page) {
            if (page > 1)
                r.NewPage();
            r.TextLeft(QStringLiteral("Page %1").arg(page), 1);
        }
    });
}

TEST(TFilePreviewTest, ZoomStaysWithinItsLimits)
{
    TFilePreview preview(Pages(1));
    int changes = 0;
    preview.OnZoomChange = [&] { ++changes; };
    preview.SetZoomFactor(195);
    preview.ZoomIn();
    EXPECT_DOUBLE_EQ(preview.ZoomFactor(), 200);
    preview.ZoomIn();
    EXPECT_DOUBLE_EQ(preview.ZoomFactor(), 200);
    preview.SetZoomFactor(15);
    preview.ZoomOut();
    EXPECT_DOUBLE_EQ(preview.ZoomFactor(), 10);
    preview.SetZoomFactor(3);
    EXPECT_DOUBLE_EQ(preview.ZoomFactor(), 10);
    EXPECT_EQ(changes, 4); // 195, 200, 15, 10: only real changes are told
}

TEST(TFilePreviewTest, NegativeRequestsMeanPageWidthOrWholePage)
{
    TFilePreview preview(Pages(1));
    // Letter at 96 DPI is 816 x 1056 pixels; the margin is 2.5 % of 816, 20 pixels.
    preview.SetViewport(QSize(900, 600), 17);
    EXPECT_EQ(preview.MarginPixels(), 20);
    // At page width the page is taller than the view, so the scroll bar's width is given up.
    EXPECT_NEAR(preview.ZoomPageWidthFactor(), (900.0 - 17 - 40) / 816 * 100, 1e-9);
    EXPECT_NEAR(preview.ZoomPageFactor(), (600.0 - 40 - 4) / 1056 * 100, 1e-9);
    preview.SetZoomFactor(-2);
    EXPECT_NEAR(preview.ZoomFactor(), preview.ZoomPageWidthFactor(), 1e-9);
    preview.SetZoomFactor(-1);
    EXPECT_NEAR(preview.ZoomFactor(), preview.ZoomPageFactor(), 1e-9);

    // A view tall enough for the whole page at page width keeps the scroll bar's width.
    preview.SetViewport(QSize(500, 2000), 17);
    EXPECT_NEAR(preview.ZoomPageWidthFactor(), (500.0 - 40) / 816 * 100, 1e-9);
}

TEST(TFilePreviewTest, CaptionCountsFromTheFirstRecordedPage)
{
    TFilePreview one(Pages(1));
    one.SetZoomFactor(75.4);
    EXPECT_EQ(one.Caption(), QStringLiteral("Preview Page 1 of 1 ( 75% )"));

    TFilePreview fromThree(Pages(5, 3));
    EXPECT_EQ(fromThree.PageCount(), 3);
    EXPECT_EQ(fromThree.CurrentPage(), 3);
    EXPECT_EQ(fromThree.Caption(), QStringLiteral("Preview Page 1 of 3 ( 100% )"));
    EXPECT_TRUE(fromThree.NextPage());
    EXPECT_EQ(fromThree.Caption(), QStringLiteral("Preview Page 2 of 3 ( 100% )"));
    fromThree.GotoLastPage();
    EXPECT_EQ(fromThree.Caption(), QStringLiteral("Preview Page 3 of 3 ( 100% )"));
    EXPECT_FALSE(fromThree.NextPage());
    EXPECT_EQ(fromThree.CurrentPage(), 5);
    fromThree.SetPageInc(2);
    EXPECT_TRUE(fromThree.PrevPage());
    EXPECT_EQ(fromThree.CurrentPage(), 3);
    EXPECT_FALSE(fromThree.PrevPage());
}

TEST(TFilePreviewTest, PictureHasThePageSizeAtTheZoomAndShowsInk)
{
    TFilePreview preview(Pages(2));
    preview.SetZoomFactor(50);
    const QImage image = preview.RenderPage();
    EXPECT_EQ(image.size(), QSize(408, 528));
    bool ink = false;
    for (int y = 0; y < image.height() && !ink; ++y)
        for (int x = 0; x < image.width() && !ink; ++x)
            ink = qGray(image.pixel(x, y)) < 128;
    EXPECT_TRUE(ink);
}

TEST(TFilePreviewTest, MonochromeAndShadowsExcludeEachOther)
{
    TFilePreview preview(Pages(1));
    preview.SetShadowDepth(3);
    try {
        preview.SetMonochrome(true);
        FAIL();
    } catch (const TPrintError& e) {
        EXPECT_EQ(e.Message(),
                  QStringLiteral("Monochrome not allowed while shadows are in effect.\r"
                                 "Change ShadowDepth to 0 first"));
    }
    preview.SetShadowDepth(0);
    preview.SetMonochrome(true);
    EXPECT_THROW(preview.SetShadowDepth(2), TPrintError);
}

} // namespace
} // namespace qm::print
