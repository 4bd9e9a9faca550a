// The "Report Layout" dialog driven offscreen through its controls: what it selects on opening,
// how page, margin and frame changes reach the edited copy, Defaults, the miniature's clicks,
// and Save and Cancel.

#include "TScreenshot.h"
#include "TTestHome.h"

#include "data/ui/THelpWindow.h"
#include "design/text/TDesignUnits.h"
#include "reports/ui/TReportMiniatureView.h"
#include "reports/ui/TReportProperties.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

using qm::design::TDesignUnits;
using qm::design::TGColor;
using qm::reports::TBandFrame;
using qm::reports::TBorderSide;
using qm::reports::TMarginSide;
using qm::reports::TMiniatureHit;
using qm::reports::TReportBand;
using qm::reports::TReportProperties;
using qm::reports::TReportSettings;

class TReportPropertiesTest : public ::testing::Test {
protected:
    void SetUp() override { TDesignUnits::SetPpiOverride(96); }
    void TearDown() override { TDesignUnits::SetPpiOverride(0); }

    // A new report with every margin at `margin` pixels.
    static TReportSettings Report(int margin = 48)
    {
        TReportSettings s = TReportSettings::NewReport();
        s.leftMargin = s.topMargin = s.rightMargin = s.bottomMargin = margin;
        return s;
    }
    static const qm::reports::TReportLayout& Layout(const QString& name)
    {
        for (const auto& layout : TReportSettings::Layouts())
            if (name == QLatin1String(layout.name))
                return layout;
        ADD_FAILURE() << "no layout " << name.toStdString();
        return TReportSettings::Layouts()[0];
    }

    qm::test::TTestHome mHome;
};

TEST_F(TReportPropertiesTest, OpensOnThePagesLayoutMarginsAndFramesWithoutChangingThem)
{
    TReportSettings s = Report();
    s.SetLayout(Layout("A4 Size, Landscape"));
    s.leftMargin = 120; // 1.25 in
    s.topMargin = 50;   // 0.5208 in
    TBandFrame& detail = s.Frame(TReportBand::Detail);
    detail.top = detail.right = true;
    detail.lineWidth = 2;
    detail.shadePercent = 40;
    detail.shadeColor = TGColor::Rgb(255, 0, 0);

    TReportProperties dialog(s);
    EXPECT_EQ(dialog.windowTitle(), "Report Layout");
    ASSERT_EQ(dialog.Tabs()->count(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(dialog.Tabs()->tabText(i),
                  QStringList({"Page", "Header", "Detail", "Memo", "Footer"})[i]);
    EXPECT_TRUE(dialog.A4Button()->isChecked());
    EXPECT_TRUE(dialog.LandscapeButton()->isChecked());
    EXPECT_FALSE(dialog.PortraitButton()->isChecked());
    EXPECT_DOUBLE_EQ(dialog.MarginEdit(TMarginSide::Left)->value(), 1.25);
    EXPECT_DOUBLE_EQ(dialog.MarginEdit(TMarginSide::Top)->value(), 0.52);
    EXPECT_DOUBLE_EQ(dialog.MarginEdit(TMarginSide::Bottom)->value(), 0.5);
    EXPECT_TRUE(dialog.BorderCheck(TReportBand::Detail, TBorderSide::Top)->isChecked());
    EXPECT_TRUE(dialog.BorderCheck(TReportBand::Detail, TBorderSide::Right)->isChecked());
    EXPECT_FALSE(dialog.BorderCheck(TReportBand::Detail, TBorderSide::Left)->isChecked());
    EXPECT_FALSE(dialog.BorderCheck(TReportBand::Header, TBorderSide::Top)->isChecked());
    EXPECT_EQ(dialog.LineWidthEdit(TReportBand::Detail)->value(), 2);
    EXPECT_EQ(dialog.ShadePercentEdit(TReportBand::Detail)->value(), 40);
    EXPECT_EQ(dialog.ShadeColorList(TReportBand::Detail)->currentText(), "Red");
    EXPECT_EQ(dialog.ShadeColorList(TReportBand::Memo)->currentText(), "White");
    EXPECT_EQ(dialog.LayoutLabel()->text(), "A4 Size, Landscape");
    EXPECT_EQ(dialog.Miniature()->Miniature().Page(), QRect(0, 0, 234, 165));
    EXPECT_EQ(dialog.Settings(), s);
    qm::test::SaveScreenshot(dialog, "report-layout-page");

    // A page one pixel short of A4 portrait (stored by truncation) still opens as A4 portrait.
    TReportSettings truncated = Report();
    truncated.pageWidth = 793;
    truncated.pageHeight = 1121;
    TReportProperties old(truncated);
    EXPECT_TRUE(old.A4Button()->isChecked());
    EXPECT_TRUE(old.PortraitButton()->isChecked());
}

TEST_F(TReportPropertiesTest, PageChangesRecomputeSizeMarginsAndLayoutName)
{
    TReportProperties dialog(Report(50));
    const TReportSettings& s = dialog.Settings();

    dialog.LandscapeButton()->click();
    EXPECT_EQ(s.pageWidth, 1056);
    EXPECT_EQ(s.pageHeight, 816);
    EXPECT_EQ(s.LayoutName(), "Letter Size, Landscape");
    EXPECT_EQ(dialog.LayoutLabel()->text(), "Letter Size, Landscape");
    // Margins nobody touched keep their pixels (0.52 in shown, 50 pixels held).
    EXPECT_EQ(s.leftMargin, 50);
    EXPECT_EQ(s.bottomMargin, 50);

    dialog.A4Button()->click();
    EXPECT_EQ(s.pageWidth, 1121);
    EXPECT_EQ(s.pageHeight, 794);
    EXPECT_EQ(dialog.LayoutLabel()->text(), "A4 Size, Landscape");
    dialog.PortraitButton()->click();
    EXPECT_EQ(s.LayoutName(), "A4 Size, Portrait");
    EXPECT_EQ(s.pageWidth, 794);

    dialog.MarginEdit(TMarginSide::Left)->setValue(1.0);
    dialog.MarginEdit(TMarginSide::Bottom)->setValue(1.37);
    dialog.MarginEdit(TMarginSide::Top)->setValue(9.0); // held to 2.5
    EXPECT_EQ(s.leftMargin, 96);
    EXPECT_EQ(s.bottomMargin, 132); // 131.52
    EXPECT_EQ(s.topMargin, 240);
    EXPECT_EQ(s.rightMargin, 50);
    EXPECT_DOUBLE_EQ(dialog.MarginEdit(TMarginSide::Top)->value(), 2.5);
    dialog.MarginEdit(TMarginSide::Left)->setValue(0.1);
    EXPECT_EQ(s.leftMargin, 48);

    // The miniature follows: A4 portrait, left margin 0.5 in, top 2.5 in.
    EXPECT_EQ(dialog.Miniature()->Miniature().Page(), QRect(0, 0, 165, 234));
    EXPECT_EQ(dialog.Miniature()->Miniature().Inner().topLeft(), QPoint(10, 50));
}

TEST_F(TReportPropertiesTest, BandControlsSetThatBandsFrame)
{
    TReportProperties dialog(Report());
    const TReportSettings& s = dialog.Settings();
    dialog.BorderCheck(TReportBand::Footer, TBorderSide::Top)->click();
    dialog.BorderCheck(TReportBand::Footer, TBorderSide::Right)->click();
    dialog.LineWidthEdit(TReportBand::Footer)->setValue(3);
    QTest::keyClick(dialog.ShadePercentEdit(TReportBand::Footer), Qt::Key_Up);
    QTest::keyClick(dialog.ShadePercentEdit(TReportBand::Footer), Qt::Key_Up);
    dialog.ShadeColorList(TReportBand::Footer)->setCurrentText("Navy");

    const TBandFrame& footer = s.Frame(TReportBand::Footer);
    EXPECT_TRUE(footer.top && footer.right);
    EXPECT_FALSE(footer.left || footer.bottom);
    EXPECT_EQ(footer.lineWidth, 3);
    EXPECT_EQ(footer.shadePercent, 40); // two steps of 20
    EXPECT_EQ(footer.shadeColor, TGColor::Rgb(0, 0, 128));
    for (TReportBand other : {TReportBand::Header, TReportBand::Detail, TReportBand::Memo})
        EXPECT_EQ(s.Frame(other), TBandFrame{});

    const auto& strips = dialog.Miniature()->Miniature().Band(TReportBand::Footer).strips;
    ASSERT_EQ(strips.size(), 2u);
    EXPECT_EQ(strips[0].height(), 3);
    EXPECT_EQ(strips[1].width(), 3);

    dialog.Tabs()->setCurrentIndex(TReportProperties::TabOf(TReportBand::Footer));
    qm::test::SaveScreenshot(dialog, "report-layout-footer");
}

TEST_F(TReportPropertiesTest, ColoursOutsideTheListArePickedAndKept)
{
    TReportSettings report = Report();
    report.Frame(TReportBand::Header).shadeColor = TGColor::Rgb(1, 2, 3);
    TReportProperties dialog(report);
    const TReportSettings& s = dialog.Settings();
    QComboBox* header = dialog.ShadeColorList(TReportBand::Header);
    EXPECT_EQ(header->currentText(), "#010203");
    // Another change keeps the colour read from the report.
    dialog.ShadePercentEdit(TReportBand::Header)->setValue(100);
    EXPECT_EQ(s.Frame(TReportBand::Header).shadeColor, TGColor::Rgb(1, 2, 3));

    // "Custom..." asks for a colour; the chosen one joins the list and is used.
    QComboBox* memo = dialog.ShadeColorList(TReportBand::Memo);
    std::optional<QColor> answer = QColor(12, 34, 56);
    dialog.SetColorChooser([&answer](const QColor& current) {
        EXPECT_EQ(current, QColor(Qt::white));
        return answer;
    });
    const int custom = memo->findText("Custom...");
    ASSERT_EQ(custom, memo->count() - 1);
    memo->setCurrentIndex(custom);
    emit memo->activated(custom);
    EXPECT_EQ(s.Frame(TReportBand::Memo).shadeColor, TGColor::Rgb(12, 34, 56));
    EXPECT_EQ(memo->currentText(), "#0c2238");

    // Cancelling the colour dialog goes back to the colour in force.
    answer.reset();
    dialog.SetColorChooser([&answer](const QColor& current) {
        EXPECT_EQ(current, QColor(12, 34, 56));
        return answer;
    });
    memo->setCurrentIndex(memo->count() - 1);
    emit memo->activated(memo->count() - 1);
    EXPECT_EQ(memo->currentText(), "#0c2238");
    EXPECT_EQ(s.Frame(TReportBand::Memo).shadeColor, TGColor::Rgb(12, 34, 56));
}

TEST_F(TReportPropertiesTest, DefaultsResetPageAndFramesOnly)
{
    TReportSettings report = Report(192);
    report.SetLayout(Layout("A4 Size, Landscape"));
    report.headerHeight = 70;
    report.useFooter = true;
    report.memoFontName = QStringLiteral("Times New Roman");
    for (TBandFrame& frame : report.frames)
        frame = TBandFrame{true, true, true, true, 3, 80, TGColor::Rgb(0, 128, 0)};
    TReportProperties dialog(report);
    dialog.DefaultsButton()->click();

    const TReportSettings& s = dialog.Settings();
    EXPECT_TRUE(dialog.LetterButton()->isChecked());
    EXPECT_TRUE(dialog.PortraitButton()->isChecked());
    EXPECT_EQ(s.LayoutName(), "Letter Size, Portrait");
    EXPECT_EQ(dialog.LayoutLabel()->text(), "Letter Size, Portrait");
    EXPECT_EQ(s.pageWidth, 816);
    EXPECT_EQ(s.pageHeight, 1056);
    EXPECT_EQ(s.leftMargin, 48);
    EXPECT_EQ(s.topMargin, 48);
    EXPECT_EQ(s.rightMargin, 48);
    EXPECT_EQ(s.bottomMargin, 48);
    EXPECT_DOUBLE_EQ(dialog.MarginEdit(TMarginSide::Right)->value(), 0.5);
    for (TReportBand band :
         {TReportBand::Header, TReportBand::Detail, TReportBand::Memo, TReportBand::Footer}) {
        EXPECT_EQ(s.Frame(band), TBandFrame{});
        EXPECT_FALSE(dialog.BorderCheck(band, TBorderSide::Bottom)->isChecked());
        EXPECT_EQ(dialog.ShadeColorList(band)->currentText(), "White");
        EXPECT_TRUE(dialog.Miniature()->Miniature().Band(band).strips.empty());
    }
    // Bands and fonts are not the layout's business.
    EXPECT_EQ(s.headerHeight, 70);
    EXPECT_TRUE(s.useFooter);
    EXPECT_EQ(s.memoFontName, "Times New Roman");
}

TEST_F(TReportPropertiesTest, ClickingTheMiniatureSelectsTheTabAndTheTabMarksTheBox)
{
    TReportProperties dialog(Report());
    dialog.show();
    auto* view = dialog.Miniature();
    const auto& m = view->Miniature();
    EXPECT_EQ(view->Selected(), TMiniatureHit::Page);

    QTest::mouseClick(view, Qt::LeftButton, {},
                      view->ToWidget(m.Band(TReportBand::Footer).box.center()));
    EXPECT_EQ(dialog.Tabs()->currentIndex(), TReportProperties::TabOf(TReportBand::Footer));
    EXPECT_EQ(view->Selected(), TMiniatureHit::Footer);
    QTest::mouseClick(view, Qt::LeftButton, {},
                      view->ToWidget(m.Band(TReportBand::Header).box.topLeft()));
    EXPECT_EQ(dialog.Tabs()->currentIndex(), TReportProperties::TabOf(TReportBand::Header));
    // A right click does nothing; a click in the margin selects the page.
    QTest::mouseClick(view, Qt::RightButton, {}, view->ToWidget(QPoint(2, 2)));
    EXPECT_EQ(dialog.Tabs()->currentIndex(), TReportProperties::TabOf(TReportBand::Header));
    QTest::mouseClick(view, Qt::LeftButton, {}, view->ToWidget(QPoint(2, 2)));
    EXPECT_EQ(dialog.Tabs()->currentIndex(), TReportProperties::kPageTab);
    // Beside the page: nothing changes.
    dialog.Tabs()->setCurrentIndex(TReportProperties::TabOf(TReportBand::Memo));
    QTest::mouseClick(view, Qt::LeftButton, {}, view->ToWidget(QPoint(-3, -3)));
    EXPECT_EQ(dialog.Tabs()->currentIndex(), TReportProperties::TabOf(TReportBand::Memo));
    EXPECT_EQ(view->Selected(), TMiniatureHit::Memo);
}

TEST_F(TReportPropertiesTest, SaveHandsTheCopyBackCancelLeavesTheCallersSettings)
{
    const TReportSettings report = Report();
    TReportSettings held = report;
    {
        TReportProperties dialog(held);
        QTimer::singleShot(0, &dialog, [&dialog] {
            dialog.LandscapeButton()->click();
            dialog.DefaultsButton()->click();
            dialog.BorderCheck(TReportBand::Header, TBorderSide::Left)->click();
            dialog.CancelButton()->click();
        });
        EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    }
    EXPECT_EQ(held, report);

    TReportProperties dialog(held);
    QTimer::singleShot(0, &dialog, [&dialog] {
        dialog.LandscapeButton()->click();
        dialog.SaveButton()->click();
    });
    ASSERT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(held, report);
    held = dialog.Settings();
    EXPECT_EQ(held.LayoutName(), "Letter Size, Landscape");

    dialog.HelpButton()->click();
    ASSERT_NE(qm::data::THelpWindow::Instance(), nullptr);
    EXPECT_EQ(qm::data::THelpWindow::Instance()->CurrentPage(), "report-layout.html");
}

} // namespace
