// Printing a user-designed report from its layout file offscreen: the built-in reports' status
// window with its captions, Stop, Cancel and final texts, the preview, the report's paper kept
// to its run, and a damaged layout file stopping the run before its first page.

#include "TMembersReport.h"
#include "TReportRunWatcher.h"
#include "TReportTestSupport.h"
#include "TScriptedResponder.h"
#include "TTestHome.h"

#include "design/text/TDesignUnits.h"
#include "print/TRPDevice.h"
#include "reports/ui/TUserDefinedReportPrint.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

namespace {

using qm::reports::TRecordChoice;
using qm::reports::TReportSettings;
using qm::reports::TUserDefinedReportPrint;
using qm::reports::TUserReportChoices;

using TRunWatcher = qm::test::TReportRunWatcher;

class TUserDefinedReportPrintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qm::design::TDesignUnits::SetPpiOverride(96);
        qm::print::TRPDevice::Instance().SetPdfOutputPath(mHome.Path("Quillmark.pdf"));
        for (int i = 0; i < 300; ++i)
            mLast = mTable.Add({{"LNAME", QStringLiteral("N%1").arg(i, 3, 10, QLatin1Char('0'))}});
        mTable.MainView({}, mLast);
        mLayout = mHome.Path("BIN00001.R");

        // A4 landscape, a text header and the last name in the detail band.
        qm::test::SaveMembersReport(mLayout, 3);
    }
    void TearDown() override { qm::design::TDesignUnits::SetPpiOverride(0); }

    void ExpectViewBack()
    {
        EXPECT_EQ(mTable.DataSet().RecNo(), mLast);
        EXPECT_EQ(mTable.Apollo().Query(), QStringLiteral("!ISDEL"));
        EXPECT_EQ(mTable.Apollo().TagName(mTable.Apollo().IndexOrd()), QStringLiteral("LNAME"));
    }

    qm::test::TTestHome mHome;
    qm::test::TScriptedResponder mResponder;
    qm::test::TReportTable mTable;
    uint32_t mLast = 0;
    QString mLayout;
};

TEST_F(TUserDefinedReportPrintTest, PreviewIsReadyOnTheReportsPaperAndThePrinterKeepsItsOwn)
{
    qm::print::TRPDevice& device = qm::print::TRPDevice::Instance();
    const qm::print::TDeviceSetup before = device.Setup();
    TRunWatcher watcher;
    TUserReportChoices choices;
    choices.choice = TRecordChoice::All;
    choices.oneRecordPerPage = true;
    EXPECT_TRUE(TUserDefinedReportPrint::Run(nullptr, mTable.DataSet(), mTable.Apollo(), mLayout,
                                             choices, true));
    EXPECT_EQ(watcher.mCaptions, QStringList{"Preview Status"});
    ASSERT_EQ(watcher.mFinal.size(), 1);
    EXPECT_TRUE(watcher.mFinal[0].endsWith("\nReport Preview Ready!"))
        << watcher.mFinal[0].toStdString();
    EXPECT_EQ(watcher.mButtons, QStringList{"OK"});
    EXPECT_EQ(watcher.mPreviews, QStringList{"Preview Report"});
    EXPECT_EQ(watcher.mPreviewPages, QList<int>{300});
    ExpectViewBack();
    EXPECT_EQ(device.Setup().paperSize, before.paperSize);
    EXPECT_EQ(device.Setup().orientation, before.orientation);
}

TEST_F(TUserDefinedReportPrintTest, StopAndCancelEndTheRunWithTheirTexts)
{
    TUserReportChoices choices;
    choices.choice = TRecordChoice::All;
    choices.oneRecordPerPage = true;
    {
        TRunWatcher watcher(true);
        EXPECT_FALSE(TUserDefinedReportPrint::Run(nullptr, mTable.DataSet(), mTable.Apollo(),
                                                  mLayout, choices, true));
        ASSERT_EQ(watcher.mFinal.size(), 1);
        EXPECT_TRUE(watcher.mFinal[0].contains("\nPreview Stopped at page "))
            << watcher.mFinal[0].toStdString();
        EXPECT_EQ(watcher.mPreviews, QStringList{"Preview Report"});
        ExpectViewBack();
    }
    TRunWatcher watcher(true);
    mResponder.QueueAnswer(true);
    EXPECT_FALSE(TUserDefinedReportPrint::Run(nullptr, mTable.DataSet(), mTable.Apollo(), mLayout,
                                              choices, false));
    EXPECT_EQ(watcher.mCaptions, QStringList{"Print Status"});
    EXPECT_EQ(mResponder.Texts(), QStringList{"Cancel Report Printing?"});
    EXPECT_TRUE(watcher.mFinal.value(0).endsWith("\nReport Print Canceled!"));
    EXPECT_TRUE(watcher.mPreviews.isEmpty());
    EXPECT_FALSE(QFile::exists(mHome.Path("Quillmark.pdf")));
    ExpectViewBack();
}

TEST_F(TUserDefinedReportPrintTest, DamagedLayoutShowsTheFilersMessageAndPrintsNothing)
{
    QFile file(mLayout);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    const QByteArray bytes = file.readAll();
    file.resize(bytes.size() / 2);
    file.close();
    TRunWatcher watcher;
    EXPECT_FALSE(TUserDefinedReportPrint::Run(nullptr, mTable.DataSet(), mTable.Apollo(), mLayout,
                                              {}, false));
    EXPECT_TRUE(watcher.mCaptions.isEmpty());
    ASSERT_EQ(mResponder.Messages().size(), 1);
    EXPECT_EQ(mResponder.Messages()[0].caption, "Error");
    EXPECT_FALSE(mResponder.Texts()[0].isEmpty());
    EXPECT_FALSE(QFile::exists(mHome.Path("Quillmark.pdf")));
    ExpectViewBack();
}

} // namespace
