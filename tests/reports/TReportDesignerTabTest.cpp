// The "Report Designer" tab of "Print Report" driven offscreen: the list of reports with its
// enabling, New and Modify through the designer (saved, reopened), Delete and Clone with their
// questions, the address table's controls while the designer is open, a failed save that keeps
// the designer open with the design, and Preview running the chosen report.

#include "TReportRunWatcher.h"
#include "TReportTestSupport.h"
#include "TScreenshot.h"
#include "TScriptedResponder.h"
#include "TTestHome.h"

#include "data/TProgramHome.h"
#include "design/text/TDesignUnits.h"
#include "print/TRPDevice.h"
#include "reports/TReportStore.h"
#include "reports/ui/TReportBandSurface.h"
#include "reports/ui/TReportDesigner.h"
#include "reports/ui/TReportSetup.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

using qm::design::TGGraphicControl;
using qm::reports::TPanelState;
using qm::reports::TReportBand;
using qm::reports::TReportDesigner;
using qm::reports::TReportSetup;

class TReportDesignerTabTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qm::design::TDesignUnits::SetPpiOverride(96);
        mHome.Home().Prepare(QStringLiteral(QM_BUILD_DIR "/share/quillmark"));
        mTable.Add({{"LNAME", "Ames"}, {"MEMO", "A memo"}});
        mTable.Add({{"LNAME", "Baker"}});
        mTable.MainView();
    }
    void TearDown() override { qm::design::TDesignUnits::SetPpiOverride(0); }

    std::unique_ptr<TReportSetup> Open()
    {
        auto setup = std::make_unique<TReportSetup>(mTable.DataSet(), mTable.Apollo(), false);
        EXPECT_EQ(setup->OpenFailure(), QString());
        setup->Tabs()->setCurrentWidget(setup->DesignerTab());
        setup->show();
        QCoreApplication::processEvents();
        return setup;
    }

    // Runs `work` on the designer once its modal loop runs.
    static void WhenOpen(TReportSetup& setup, std::function<void(TReportDesigner&)> work)
    {
        setup.SetDesignerHook([work](TReportDesigner& d) {
            d.SetEditObjectHook([](TGGraphicControl&) {});
            QTimer::singleShot(0, &d, [work, &d] { work(d); });
        });
    }

    static void Draw(TReportDesigner& d, TPanelState tool, TReportBand band, const QPoint& at)
    {
        d.ToolButton(tool)->click();
        QTest::mouseClick(&d.Surface(band), Qt::LeftButton, {}, at);
    }

    // A report "Monthly" with one rectangle in its header, saved through New.
    void MakeReport(TReportSetup& setup, const QString& description)
    {
        WhenOpen(setup, [description](TReportDesigner& d) {
            d.DescriptionEdit()->setText(description);
            Draw(d, TPanelState::psRectangle, TReportBand::Header, QPoint(20, 5));
            d.SaveButton()->click();
        });
        setup.NewButton()->click();
    }

    QString SysData(const QString& file) const
    {
        return QDir(qm::data::TProgramHome::Current().SysDataDir()).filePath(file);
    }

    qm::test::TTestHome mHome;
    qm::test::TScriptedResponder mResponder;
    qm::test::TReportTable mTable;
};

TEST_F(TReportDesignerTabTest, AnEmptyListOffersOnlyNew)
{
    auto setup = Open();
    EXPECT_EQ(setup->DesignGrid()->rowCount(), 0);
    EXPECT_FALSE(setup->DesignGrid()->isEnabled());
    EXPECT_FALSE(setup->ModifyButton()->isEnabled());
    EXPECT_FALSE(setup->DeleteButton()->isEnabled());
    EXPECT_FALSE(setup->CloneButton()->isEnabled());
    EXPECT_TRUE(setup->NewButton()->isEnabled());
    // Nothing to print yet.
    EXPECT_FALSE(setup->PrintButton()->isEnabled());
    EXPECT_FALSE(setup->PreviewButton()->isEnabled());
    EXPECT_FALSE(setup->WhatToPrintPanel()->isVisible());
    // "One Record Per Page" belongs to this tab alone; the built-in tab prints as before.
    setup->Tabs()->setCurrentIndex(0);
    EXPECT_FALSE(setup->OnePerPageCheck()->isVisible());
    EXPECT_TRUE(setup->PreviewButton()->isEnabled());
    EXPECT_TRUE(setup->WhatToPrintPanel()->isVisible());
}

TEST_F(TReportDesignerTabTest, NewSavesTheReportAndModifyReopensIt)
{
    auto setup = Open();
    MakeReport(*setup, QStringLiteral("Monthly"));
    ASSERT_EQ(setup->DesignGrid()->rowCount(), 1);
    EXPECT_EQ(setup->DesignGrid()->item(0, 0)->text(), "Monthly");
    EXPECT_TRUE(setup->ModifyButton()->isEnabled());
    EXPECT_TRUE(setup->PreviewButton()->isEnabled());
    EXPECT_TRUE(setup->WhatToPrintPanel()->isVisible());
    EXPECT_TRUE(setup->OnePerPageCheck()->isVisible());
    const qm::reports::TReportRow row = setup->Store().Rows()[0];
    EXPECT_EQ(row.layoutName, "Letter Size, Portrait");
    EXPECT_TRUE(QFile::exists(SysData(row.layoutFile)));
    qm::test::SaveScreenshot(*setup, "report-designer-tab");

    int objects = -1;
    QString description;
    WhenOpen(*setup, [&](TReportDesigner& d) {
        objects = d.Panel(TReportBand::Header).ObjectCount();
        description = d.DescriptionEdit()->text();
        d.CancelButton()->click();
    });
    setup->ModifyButton()->click();
    EXPECT_EQ(objects, 1);
    EXPECT_EQ(description, "Monthly");
}

TEST_F(TReportDesignerTabTest, TheAddressControlsFollowTheDesignerWhileItIsOpen)
{
    auto setup = Open();
    mTable.DataSet().DisableControls(); // as the main window hands the table over
    bool onInside = false;
    WhenOpen(*setup, [&](TReportDesigner& d) {
        onInside = !mTable.DataSet().ControlsDisabled();
        d.CancelButton()->click();
    });
    setup->NewButton()->click();
    EXPECT_TRUE(onInside);
    EXPECT_TRUE(mTable.DataSet().ControlsDisabled());
    mTable.DataSet().EnableControls();
}

// Preview on this tab runs the report chosen in the list through the status window into the
// preview: all records on one page, or one page a record with "One Record Per Page".
TEST_F(TReportDesignerTabTest, PreviewRunsTheChosenReport)
{
    qm::print::TRPDevice::Instance().SetPdfOutputPath(mHome.Path("Quillmark.pdf"));
    auto setup = Open();
    MakeReport(*setup, QStringLiteral("Monthly"));
    ASSERT_EQ(setup->DesignGrid()->rowCount(), 1);
    setup->DesignGrid()->selectRow(0);
    setup->AllButton()->setChecked(true);

    qm::test::TReportRunWatcher watcher;
    setup->PreviewButton()->click();
    setup->OnePerPageCheck()->setChecked(true);
    setup->PreviewButton()->click();

    EXPECT_EQ(watcher.mCaptions, QStringList({"Preview Status", "Preview Status"}));
    ASSERT_EQ(watcher.mFinal.size(), 2);
    EXPECT_TRUE(watcher.mFinal[0].endsWith("\nReport Preview Ready!"))
        << watcher.mFinal[0].toStdString();
    EXPECT_EQ(watcher.mPreviews, QStringList({"Preview Report", "Preview Report"}));
    EXPECT_EQ(watcher.mPreviewPages, QList<int>({1, 2}));
}

TEST_F(TReportDesignerTabTest, DeleteAsksThenRemovesRowAndFile)
{
    auto setup = Open();
    MakeReport(*setup, QStringLiteral("Monthly"));
    const QString file = SysData(setup->Store().Rows()[0].layoutFile);
    mResponder.QueueAnswer(false);
    setup->DeleteButton()->click();
    ASSERT_EQ(mResponder.Messages().size(), 1u);
    EXPECT_EQ(mResponder.Messages()[0].caption, "DELETE");
    EXPECT_EQ(mResponder.Messages()[0].text, "Delete \"Monthly\"?");
    EXPECT_TRUE(mResponder.Messages()[0].isQuestion);
    EXPECT_EQ(setup->DesignGrid()->rowCount(), 1);
    EXPECT_TRUE(QFile::exists(file));

    mResponder.QueueAnswer(true);
    setup->DeleteButton()->click();
    EXPECT_EQ(setup->DesignGrid()->rowCount(), 0);
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_FALSE(setup->ModifyButton()->isEnabled());
    EXPECT_FALSE(setup->PreviewButton()->isEnabled());
}

TEST_F(TReportDesignerTabTest, CloneMakesAnIndependentCopy)
{
    auto setup = Open();
    MakeReport(*setup, QStringLiteral("Monthly"));
    const QString original = SysData(setup->Store().Rows()[0].layoutFile);
    mResponder.QueueAnswer(true);
    setup->CloneButton()->click();
    ASSERT_EQ(mResponder.Messages().size(), 1u);
    EXPECT_EQ(mResponder.Messages()[0].caption, "CLONE");
    EXPECT_EQ(mResponder.Messages()[0].text, "Clone \"Monthly\"?");
    ASSERT_EQ(setup->DesignGrid()->rowCount(), 2);
    const int clone = setup->Store().Find(QStringLiteral("Clone of Monthly"));
    ASSERT_GE(clone, 0);
    EXPECT_EQ(setup->CurrentDesign(), clone);
    const QString copy = SysData(setup->Store().Rows()[std::size_t(clone)].layoutFile);
    EXPECT_NE(copy, original);

    QFile before(original);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray bytes = before.readAll();
    before.close();
    // Changing the clone leaves its source as it was.
    WhenOpen(*setup, [](TReportDesigner& d) {
        Draw(d, TPanelState::psEllipse, TReportBand::Detail, QPoint(50, 5));
        d.SaveButton()->click();
    });
    setup->ModifyButton()->click();
    QFile after(original);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), bytes);
    EXPECT_NE(QFileInfo(copy).size(), bytes.size());
}

TEST_F(TReportDesignerTabTest, AFailedSaveKeepsTheDesignerOpenWithTheDesign)
{
    auto setup = Open();
    MakeReport(*setup, QStringLiteral("Monthly"));
    const qm::reports::TReportRow row = setup->Store().Rows()[0];
    const QString file = SysData(row.layoutFile);
    QFile original(file);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray bytes = original.readAll();
    original.close();

    bool stillOpen = false;
    int objects = 0;
    QStringList texts;
    QByteArray kept;
    WhenOpen(*setup, [&](TReportDesigner& d) {
        Draw(d, TPanelState::psLine, TReportBand::Detail, QPoint(10, 5));
        d.DescriptionEdit()->setText(QStringLiteral("Renamed"));
        // The new layout file cannot be written: a folder stands in its way.
        const QString next = SysData(setup->Store().FreeFileName());
        QDir().mkpath(next);
        d.SaveButton()->click();
        stillOpen = d.isVisible();
        objects =
            d.Panel(TReportBand::Detail).ObjectCount() + d.Panel(TReportBand::Header).ObjectCount();
        texts = mResponder.Texts();
        QFile old(file);
        if (old.open(QIODevice::ReadOnly))
            kept = old.readAll();
        // Clear the way; the second Save stores everything.
        QDir(next).removeRecursively();
        d.SaveButton()->click();
    });
    setup->ModifyButton()->click();
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(objects, 2);
    EXPECT_EQ(kept, bytes) << "the earlier design was touched by the failed save";
    ASSERT_EQ(texts.size(), 1);
    EXPECT_FALSE(texts[0].isEmpty());
    ASSERT_EQ(setup->DesignGrid()->rowCount(), 1);
    EXPECT_EQ(setup->DesignGrid()->item(0, 0)->text(), "Renamed");
    QFile saved(SysData(setup->Store().Rows()[0].layoutFile));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_NE(saved.readAll(), bytes);
}

TEST_F(TReportDesignerTabTest, AReportTableThatCannotBeOpenedIsReported)
{
    const QString table = SysData(QStringLiteral("REPORT.DBF"));
    QDir().mkpath(QFileInfo(table).path());
    QDir().mkpath(table); // a folder where the table should be
    TReportSetup setup(mTable.DataSet(), mTable.Apollo(), false);
    EXPECT_TRUE(setup.OpenFailure().startsWith("Unable to Open or Create REPORT.DBF"))
        << setup.OpenFailure().toStdString();
    EXPECT_FALSE(setup.NewButton()->isEnabled());
}

} // namespace
