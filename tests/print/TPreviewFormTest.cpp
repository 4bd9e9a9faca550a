// The preview window: page buttons, caption, zoom buttons and clicks, keys, placement.

#include "print/ui/TPreviewForm.h"

#include "TPrintTestSupport.h"
#include "TScriptedResponder.h"
#include "TTestHome.h"
#include "TWindowFit.h"
#include "data/TSettingsFile.h"
#include "data/ui/TWindowPlacement.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace qm::print {
namespace {

QByteArray SampleJob(int pages, int firstPage = 1)
{
    test::UseNoPrinter();
    TReportFiler filer;
    filer.SetFirstPage(firstPage);
    return test::Record(filer, [pages](TBaseReport& r) {
        for (int page = 1; page <= pages; ++page) {
            if (page > 1)
                r.NewPage();
            r.SetFont(QStringLiteral("Arial"), 14);
            r.SetBold(true);
            r.TextLeft(QStringLiteral("Sample page %1").arg(page), 1);
            r.SetFont(QStringLiteral("Arial"), 10);
            for (int row = 0; row < 10; ++row)
                for (int col = 0; col < 3; ++col) {
                    const double x = 0.19 + col * 2.75;
                    const double y = 1.0 + row * 1.0;
                    r.DrawRoundRect(x, y, x + 2.63, y + 1.0, 0.1, 0.1);
                    r.TextLeft(QStringLiteral("Jane Doe %1").arg(row * 3 + col + 1), x + 0.15);
                    r.GotoXY(x + 0.15, y + 0.35);
                    r.TextLeft(QStringLiteral("123 Main Street"), x + 0.15);
                    r.GotoXY(x + 0.15, y + 0.55);
                    r.TextLeft(QStringLiteral("Springfield, IL 62701"), x + 0.15);
                    r.GotoXY(1, 0.75);
                }
        }
    });
}

class TPreviewFormTest : public ::testing::Test {
protected:
    qm::test::TTestHome mHome;
    qm::test::TScriptedResponder mResponder;
};

TEST_F(TPreviewFormTest, OnePageShowsNoPageButtons)
{
    TPreviewForm form(SampleJob(1), QStringLiteral("Preview Report"), 100);
    form.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Preview Page 1 of 1 ( 100% )"));
    EXPECT_FALSE(form.FirstPageButton()->isVisible());
    EXPECT_FALSE(form.NextPageButton()->isVisible());
    EXPECT_TRUE(form.ZoomInButton()->isVisible());
    // At real size: 8.5 in at 96 logical pixels per inch, a 2.5 % margin each side (to a
    // pixel of the screen on scaled screens).
    EXPECT_NEAR(form.PagePicture()->pixmap().deviceIndependentSize().width(), 816 + 2 * 20, 1);
    if (!qEnvironmentVariableIsEmpty("QM_PREVIEW_SHOT"))
        form.grab().save(qEnvironmentVariable("QM_PREVIEW_SHOT"));
}

TEST_F(TPreviewFormTest, PagesAndZoomFromTheButtonsAndTheMouse)
{
    TPreviewForm form(SampleJob(5, 3), QStringLiteral("Preview Labels"), TPreviewForm::kPageWidth);
    form.show();
    QCoreApplication::processEvents();
    // The page buttons show only icons: a screen reader reads these names.
    EXPECT_EQ(form.FirstPageButton()->accessibleName(), QStringLiteral("First page"));
    EXPECT_EQ(form.PrevPageButton()->accessibleName(), QStringLiteral("Previous page"));
    EXPECT_EQ(form.NextPageButton()->accessibleName(), QStringLiteral("Next page"));
    EXPECT_EQ(form.LastPageButton()->accessibleName(), QStringLiteral("Last page"));
    EXPECT_EQ(form.PageWidthButton()->accessibleName(), QStringLiteral("Page width"));
    EXPECT_EQ(form.WholePageButton()->accessibleName(), QStringLiteral("Whole page"));
    EXPECT_TRUE(form.NextPageButton()->isVisible());
    EXPECT_TRUE(form.windowTitle().startsWith(QStringLiteral("Preview Page 1 of 3 ( ")));
    form.NextPageButton()->click();
    EXPECT_TRUE(form.windowTitle().startsWith(QStringLiteral("Preview Page 2 of 3 ( ")));
    form.LastPageButton()->click();
    EXPECT_TRUE(form.windowTitle().startsWith(QStringLiteral("Preview Page 3 of 3 ( ")));
    form.NextPageButton()->click(); // no further page
    EXPECT_TRUE(form.windowTitle().startsWith(QStringLiteral("Preview Page 3 of 3 ( ")));
    form.FirstPageButton()->click();
    EXPECT_TRUE(form.windowTitle().startsWith(QStringLiteral("Preview Page 1 of 3 ( ")));

    form.Zoom100Button()->click();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Preview Page 1 of 3 ( 100% )"));
    QTest::mouseClick(form.PagePicture(), Qt::LeftButton);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Preview Page 1 of 3 ( 110% )"));
    QTest::mouseClick(form.PagePicture(), Qt::RightButton);
    QTest::mouseClick(form.PagePicture(), Qt::RightButton);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Preview Page 1 of 3 ( 90% )"));
    form.WholePageButton()->click();
    EXPECT_LT(form.Preview()->ZoomFactor(), 90);

    form.Zoom100Button()->click();
    QScrollBar* bar = form.ScrollBox()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    QTest::keyClick(&form, Qt::Key_Down);
    EXPECT_EQ(bar->value(), bar->singleStep());
    QTest::keyClick(&form, Qt::Key_Up);
    QTest::keyClick(&form, Qt::Key_Up);
    EXPECT_EQ(bar->value(), 0);

    form.OkButton()->click();
    data::TSettingsFile settings(mHome.Home().SettingsPath());
    EXPECT_TRUE(
        settings.HasKey(data::TWindowPlacement::SectionFor(form, QStringLiteral("TPreviewForm")),
                        QStringLiteral("Right")));
    if (!qEnvironmentVariableIsEmpty("QM_PREVIEW_SHOT2"))
        form.grab().save(qEnvironmentVariable("QM_PREVIEW_SHOT2"));
}

TEST_F(TPreviewFormTest, DamagedStreamShowsTheMessageAndCloses)
{
    QByteArray bytes = SampleJob(1);
    bytes[0] = 'X';
    TPreviewForm form(bytes, QStringLiteral("Preview Report"), 100);
    form.show();
    QCoreApplication::processEvents();
    ASSERT_EQ(mResponder.Messages().size(), 1u);
    EXPECT_EQ(mResponder.Messages()[0].text,
              QStringLiteral("Unexpected code found in report file."));
}

// The preview fits a 960 x 540 screen (1080p at 200 %), its buttons inside the window.
TEST_F(TPreviewFormTest, FitsA960By540Screen)
{
    TPreviewForm window(SampleJob(5, 3), QStringLiteral("Preview Labels"), 100);
    window.show();
    QCoreApplication::processEvents();
    EXPECT_LE(window.minimumSizeHint().width(), 960);
    EXPECT_LE(window.minimumSizeHint().height(), 500); // 540 less a title bar
    EXPECT_EQ(qm::test::ControlsOutside(window, QSize(960, 500)), QStringList());
}

} // namespace
} // namespace qm::print
