// The report windows driven offscreen through their controls: "Print Report", "Count Zip
// Codes" and "Print Current Record" with their status windows, previews and messages, and the
// main window's three commands handing the records over and taking them back.

#include "TPdfFileAnswer.h"
#include "TReportRunWatcher.h"
#include "TReportTestSupport.h"
#include "TScreenshot.h"
#include "TScriptedResponder.h"
#include "TTestHome.h"

#include "addressbook/ui/TAddressMain.h"
#include "data/TSettingsFile.h"
#include "print/TPdfOutputName.h"
#include "print/TRPDevice.h"
#include "reports/TReportRunScope.h"
#include "reports/ui/TCountZipCodes.h"
#include "reports/ui/TPrintCurrentRecord.h"
#include "reports/ui/TReportSetup.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

namespace {

// Every window saved as it ends; Stop and Cancel both press the status window's button.
struct TRunWatcher : qm::test::TReportRunWatcher {
    explicit TRunWatcher(bool stop = false, bool cancel = false)
        : TReportRunWatcher(stop || cancel, true)
    {
    }
};

class TReportWindowsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qm::print::TRPDevice::Instance().SetPdfOutputPath(mHome.Path("Quillmark.pdf"));
        // A print that asks for its file gets Quillmark.pdf in the test home.
        mPdf = std::make_unique<qm::test::TPdfFileAnswer>(mHome.Path("Quillmark.pdf"), true);
        mSmith = mTable.Add({{"LNAME", "Smith"}, {"CITY", "Salem"}, {"ZIP", "97301"}});
        mBlank = mTable.Add({{"LNAME", ""}, {"ZIP", "97301-1234"}});
        mAdams = mTable.Add({{"LNAME", "Adams"}, {"ZIP", "K1A 0B1"}, {"MEMO", "A note"}});
        for (int i = 0; i < 400; ++i)
            mTable.Add({{"LNAME", QStringLiteral("Z%1").arg(i, 3, 10, QLatin1Char('0'))},
                        {"ZIP", QStringLiteral("%1").arg(10000 + i)}});
        mTable.MainView({}, mSmith);
    }

    void TearDown() override { mPdf.reset(); }

    void ExpectViewBack()
    {
        EXPECT_EQ(mTable.DataSet().RecNo(), mSmith);
        EXPECT_EQ(mTable.Apollo().Query(), QStringLiteral("!ISDEL"));
        EXPECT_EQ(mTable.Apollo().TagName(mTable.Apollo().IndexOrd()), QStringLiteral("LNAME"));
    }

    qm::test::TTestHome mHome;
    qm::test::TScriptedResponder mResponder;
    std::unique_ptr<qm::test::TPdfFileAnswer> mPdf;
    qm::test::TReportTable mTable;
    uint32_t mSmith = 0, mBlank = 0, mAdams = 0;
};

TEST_F(TReportWindowsTest, ReportSetupDefaultsAndTitleFollowTheList)
{
    qm::reports::TReportSetup setup(mTable.DataSet(), mTable.Apollo(), false);
    EXPECT_EQ(setup.windowTitle(), "Print Report");
    EXPECT_EQ(setup.Tabs()->count(), 2);
    EXPECT_EQ(setup.Tabs()->tabText(0), "Built In Reports");
    EXPECT_EQ(setup.Tabs()->tabText(1), "Report Designer");
    EXPECT_EQ(setup.ReportList()->count(), 4);
    EXPECT_EQ(setup.ReportList()->item(2)->text(), "3. Organization,Name,Phone,Fax ");
    EXPECT_EQ(setup.TitleEdit()->text(), "Report 1");
    EXPECT_FALSE(setup.PrintMemoCheck()->isChecked());
    EXPECT_FALSE(setup.PrintCodesCheck()->isChecked());
    // Without a filter "Records matching filter" is off and "All records" chosen.
    EXPECT_FALSE(setup.FilterButton()->isEnabled());
    EXPECT_TRUE(setup.AllButton()->isChecked());
    setup.ReportList()->setCurrentRow(2);
    EXPECT_EQ(setup.TitleEdit()->text(), "Report 3");
    setup.show();
    qm::test::SaveScreenshot(setup, "report-setup");

    qm::reports::TReportSetup filtered(mTable.DataSet(), mTable.Apollo(), true);
    EXPECT_TRUE(filtered.FilterButton()->isEnabled());
    EXPECT_TRUE(filtered.FilterButton()->isChecked());
}

TEST_F(TReportWindowsTest, PreviewRunsReadyAndOpensThePreviewWithTheViewBack)
{
    TRunWatcher watcher;
    qm::reports::TReportSetup setup(mTable.DataSet(), mTable.Apollo(), false);
    setup.ReportList()->setCurrentRow(3);
    setup.PreviewButton()->click();
    EXPECT_EQ(watcher.mCaptions, QStringList{"Preview Status"});
    ASSERT_EQ(watcher.mFinal.size(), 1);
    EXPECT_TRUE(watcher.mFinal[0].endsWith("\nReport Preview Ready!"))
        << watcher.mFinal[0].toStdString();
    // The report status windows end with "OK" (the ZIP count keeps its "Ok").
    EXPECT_EQ(watcher.mButtons, QStringList{"OK"});
    EXPECT_EQ(watcher.mPreviews, QStringList{"Preview Report"});
    EXPECT_GT(watcher.mPreviewPages.value(0), 1);
    ExpectViewBack();
}

TEST_F(TReportWindowsTest, StoppedPreviewShowsThePagesSoFar)
{
    TRunWatcher watcher(true);
    qm::reports::TReportSetup setup(mTable.DataSet(), mTable.Apollo(), false);
    setup.ReportList()->setCurrentRow(3);
    setup.PreviewButton()->click();
    ASSERT_EQ(watcher.mFinal.size(), 1);
    EXPECT_TRUE(watcher.mFinal[0].contains("\nPreview Stopped at page "))
        << watcher.mFinal[0].toStdString();
    EXPECT_EQ(watcher.mPreviews, QStringList{"Preview Report"});
    ExpectViewBack();
}

TEST_F(TReportWindowsTest, CancelledPrintAsksAndOpensNoPreview)
{
    TRunWatcher watcher(false, true);
    mResponder.QueueAnswer(true);
    qm::reports::TReportSetup setup(mTable.DataSet(), mTable.Apollo(), false);
    setup.SetPrintDialog([](QWidget*) { return true; });
    setup.ReportList()->setCurrentRow(3);
    setup.PrintButton()->click();
    EXPECT_EQ(watcher.mCaptions, QStringList{"Print Status"});
    EXPECT_EQ(mResponder.Texts(), QStringList{"Cancel Report Printing?"});
    ASSERT_EQ(watcher.mFinal.size(), 1);
    EXPECT_TRUE(watcher.mFinal[0].endsWith("\nReport Print Canceled!"));
    EXPECT_TRUE(watcher.mPreviews.isEmpty());
    // The aborted job leaves no PDF looking complete.
    EXPECT_FALSE(QFile::exists(mHome.Path("Quillmark.pdf")));
    ExpectViewBack();
}

TEST_F(TReportWindowsTest, PrintCompletesOnThePdfPrinterAndACancelledDialogPrintsNothing)
{
    qm::reports::TReportSetup setup(mTable.DataSet(), mTable.Apollo(), false);
    setup.SetPrintDialog([](QWidget*) { return false; });
    {
        TRunWatcher watcher;
        setup.PrintButton()->click();
        EXPECT_TRUE(watcher.mCaptions.isEmpty());
    }
    setup.SetPrintDialog([](QWidget*) { return true; });
    TRunWatcher watcher;
    setup.CurrentButton()->setChecked(true);
    setup.PrintButton()->click();
    ASSERT_EQ(watcher.mFinal.size(), 1);
    EXPECT_TRUE(watcher.mFinal[0].endsWith("\nReport Print Completed!\nWritten to " +
                                           QDir::toNativeSeparators(mHome.Path("Quillmark.pdf"))));
    EXPECT_TRUE(QFile::exists(mHome.Path("Quillmark.pdf")));
    ExpectViewBack();
}

TEST_F(TReportWindowsTest, PrintToAFileGoesWhereThePrintDialogsOutputFileSays)
{
    QDir().mkpath(mHome.Path("pdfs"));
    qm::print::TPdfOutputName::RememberFolder(mHome.Path("pdfs/x.pdf"));
    mPdf.reset();
    mPdf = std::make_unique<qm::test::TPdfFileAnswer>();
    const QString typed = mHome.Path("pdfs/Members.pdf");
    QString offered;
    mPdf->onPrintDialog = [&](QPrintDialog& dialog) {
        // The dialog offers the report's title in the folder used last; the user types another.
        offered = dialog.printer()->outputFileName();
        dialog.printer()->setOutputFileName(typed);
        return true;
    };
    qm::reports::TReportSetup setup(mTable.DataSet(), mTable.Apollo(), false);
    setup.TitleEdit()->setText("Club list");
    setup.CurrentButton()->setChecked(true);
    TRunWatcher watcher;
    setup.PrintButton()->click();
    EXPECT_EQ(mPdf->printDialogs, 1);
    EXPECT_EQ(offered, mHome.Path("pdfs/Club list.pdf"));
    EXPECT_TRUE(mPdf->offered.isEmpty()); // no second question after the print dialog
    ASSERT_EQ(watcher.mFinal.size(), 1);
    EXPECT_TRUE(watcher.mFinal[0].endsWith("\nReport Print Completed!\nWritten to " +
                                           QDir::toNativeSeparators(typed)))
        << watcher.mFinal[0].toStdString();
    QFile pdf(typed);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.readAll().startsWith("%PDF"));
    EXPECT_FALSE(QFile::exists(mHome.Path("Quillmark.pdf")));
    ExpectViewBack();
}

TEST_F(TReportWindowsTest, ZipCountAndRecordSheetAskForTheirFileByName)
{
    mPdf.reset();
    mPdf = std::make_unique<qm::test::TPdfFileAnswer>(mHome.Path("zip.pdf"));
    mPdf->Queue(mHome.Path("record.pdf"));
    {
        qm::reports::TCountZipCodes count(mTable.DataSet());
        ASSERT_TRUE(count.Count());
        TRunWatcher watcher;
        count.PrintButton()->click();
        EXPECT_TRUE(watcher.mFinal.value(0).endsWith(
            "\nPrint Completed!\nWritten to " + QDir::toNativeSeparators(mHome.Path("zip.pdf"))))
            << watcher.mFinal.value(0).toStdString();
    }
    mTable.DataSet().GoTo(mAdams);
    qm::reports::TPrintCurrentRecord window(mTable.DataSet());
    TRunWatcher watcher;
    window.PrintButton()->click();
    ASSERT_EQ(mPdf->offered.size(), 2);
    EXPECT_TRUE(mPdf->offered[0].endsWith("/Zip Code Count.pdf")) << mPdf->offered[0].toStdString();
    EXPECT_TRUE(mPdf->offered[1].endsWith("/Record - Adams.pdf")) << mPdf->offered[1].toStdString();
    EXPECT_TRUE(watcher.mFinal.value(0).endsWith(
        "Written to " + QDir::toNativeSeparators(mHome.Path("record.pdf"))));
    EXPECT_TRUE(QFile::exists(mHome.Path("zip.pdf")));
    EXPECT_TRUE(QFile::exists(mHome.Path("record.pdf")));
    // A cancelled save dialog runs nothing.
    mPdf->CancelAll();
    TRunWatcher none;
    window.PrintButton()->click();
    EXPECT_TRUE(none.mCaptions.isEmpty());
}

TEST_F(TReportWindowsTest, StartRecordOutOfRangeIsAnInformation)
{
    mTable.DataSet().GoTo(mBlank);
    mTable.DataSet().Edit();
    mTable.DataSet().SetAsBoolean("ISDEL", true);
    mTable.DataSet().Post();
    mTable.MainView({}, mBlank);
    TRunWatcher watcher;
    qm::reports::TReportSetup setup(mTable.DataSet(), mTable.Apollo(), false);
    setup.StartFromCurrentCheck()->setChecked(true);
    setup.PreviewButton()->click();
    EXPECT_EQ(mResponder.Texts(),
              QStringList{QString::fromLatin1(qm::reports::TReportRunScope::kOutOfRange)});
    EXPECT_EQ(mTable.DataSet().RecNo(), mBlank);
}

TEST_F(TReportWindowsTest, CountZipCodesCountsOnShowAndPreviewsTheTally)
{
    qm::reports::TCountZipCodes count(mTable.DataSet());
    EXPECT_EQ(count.windowTitle(), "Count Zip Codes");
    TRunWatcher watcher;
    QTimer::singleShot(0, &count, [&] {
        QTimer::singleShot(0, &count, [&] {
            EXPECT_TRUE(count.Counted());
            EXPECT_EQ(count.ExplanationLabel()->text(),
                      "Finished counting. Press Print or Preview for the report");
            EXPECT_FALSE(count.BottomBar()->isHidden());
            EXPECT_TRUE(count.CancelButton()->isHidden());
            qm::test::SaveScreenshot(count, "count-zip-codes");
            count.PreviewButton()->click();
            count.OkButton()->click();
        });
    });
    count.exec();
    EXPECT_EQ(mResponder.Beeps(), 1);
    EXPECT_EQ(count.Tally().Count("97301"), 2u);
    EXPECT_EQ(count.Lines().last(), "K1A 0     1");
    EXPECT_EQ(watcher.mCaptions, QStringList{"Preview Status"});
    EXPECT_TRUE(watcher.mFinal.value(0).endsWith("\nPreview Ready!"));
    EXPECT_EQ(watcher.mButtons, QStringList{"Ok"});
    EXPECT_EQ(watcher.mPreviews, QStringList{"Preview Zipcode Count"});
    ExpectViewBack();
}

TEST_F(TReportWindowsTest, ZipReportPrintCancelAsksCancelPrinting)
{
    qm::reports::TCountZipCodes count(mTable.DataSet());
    ASSERT_TRUE(count.Count());
    QStringList lines;
    for (int i = 0; i < 3000; ++i)
        lines << QStringLiteral("%1     1").arg(i);
    TRunWatcher watcher(false, true);
    mResponder.QueueAnswer(true);
    count.PrintButton()->click();
    EXPECT_EQ(mResponder.Texts(), QStringList{"Cancel Printing?"});
    EXPECT_EQ(mResponder.Messages().at(0).caption, "CANCEL");
    EXPECT_TRUE(watcher.mFinal.value(0).endsWith("\nPrint Canceled!"));
}

TEST_F(TReportWindowsTest, PrintCurrentRecordAllTogglesAndPreviewsTheSheet)
{
    mTable.DataSet().GoTo(mAdams);
    qm::reports::TPrintCurrentRecord window(mTable.DataSet());
    EXPECT_EQ(window.windowTitle(), "Print Current Record");
    EXPECT_TRUE(window.FieldCheck(9)->isChecked());
    EXPECT_EQ(window.FieldCheck(9)->text(), "State/Province");
    window.show();
    qm::test::SaveScreenshot(window, "print-current-record");
    window.AllCheck()->click();
    for (int i = 0; i < qm::reports::TRecordSheet::kFieldCount; ++i)
        EXPECT_FALSE(window.FieldCheck(i)->isChecked());
    window.AllCheck()->click();
    for (int i = 0; i < qm::reports::TRecordSheet::kFieldCount; ++i)
        EXPECT_TRUE(window.FieldCheck(i)->isChecked());
    TRunWatcher watcher;
    window.PreviewButton()->click();
    EXPECT_TRUE(watcher.mFinal.value(0).endsWith("\nReport Preview Ready!"));
    EXPECT_EQ(watcher.mButtons, QStringList{"OK"});
    EXPECT_EQ(watcher.mPreviews, QStringList{"Preview Report"});
    EXPECT_EQ(mTable.DataSet().RecNo(), mAdams);
}

class TReportCommandsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qm::data::TSettingsFile settings(mHome.Home().SettingsPath());
        settings.WriteBool("Misc", "GettingStarted", true);
        // The program's home as start-up leaves it: "Print Report" opens REPORT.DBF in sysdata.
        mHome.Home().Prepare(QStringLiteral(QM_BUILD_DIR "/share/quillmark"));
        QDir().mkpath(mHome.Path("DATA"));
        const QString path = mHome.Path("DATA/ADD0001.DBF");
        ASSERT_TRUE(qm::data::TAddressFile::Create(path, {}).isEmpty());
        qm::data::TDataSet ds;
        qm::data::TAddressFile::DeclareFieldObjects(ds);
        ds.Open(path);
        for (const char* name : {"Cole", "Abel", "Baker"}) {
            ds.Append();
            ds.SetAsString("LNAME", name);
            ds.Post();
        }
        ds.Close();
        mWindow = std::make_unique<qm::addressbook::TAddressMain>();
        mWindow->show();
        QTest::qWait(20);
        QCoreApplication::processEvents();
    }

    qm::test::TTestHome mHome;
    qm::test::TScriptedResponder mResponder;
    std::unique_ptr<qm::addressbook::TAddressMain> mWindow;
};

TEST_F(TReportCommandsTest, TheThreeCommandsOpenTheirWindowsAndPutTheRecordsBack)
{
    auto& book = mWindow->Book();
    book.Next(); // Baker in Last Name order
    const uint32_t recNo = book.DataSet().RecNo();
    const QString query = book.Apollo().Query();
    QStringList opened;
    mWindow->SetDialogHook([&](QDialog& dialog) {
        opened << dialog.windowTitle();
        if (auto* setup = dynamic_cast<qm::reports::TReportSetup*>(&dialog)) {
            // The calculated name fields are there while the window is open.
            EXPECT_EQ(book.DataSet().AsString("FullName").trimmed(), "Baker");
            EXPECT_TRUE(setup->AllButton()->isChecked());
            QTimer::singleShot(0, setup, [setup] {
                setup->ReportList()->setCurrentRow(2); // ORG order
                setup->OkButton()->click();
            });
        } else {
            QTimer::singleShot(0, &dialog, [&dialog] { dialog.accept(); });
        }
    });
    mWindow->Action("PrintReportsItem")->trigger();
    mWindow->Action("PrintCurrentItem")->trigger();
    mWindow->Action("CountZipItem")->trigger();
    EXPECT_EQ(opened, (QStringList{"Print Report", "Print Current Record", "Count Zip Codes"}));
    EXPECT_EQ(mWindow->Action("PrintReportsItem")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_R));
    EXPECT_EQ(mWindow->Action("PrintCurrentItem")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    EXPECT_EQ(book.DataSet().RecNo(), recNo);
    EXPECT_EQ(book.Apollo().Query(), query);
    EXPECT_EQ(book.SortTag(), "LNAME");
    EXPECT_TRUE(mResponder.Texts().isEmpty()) << mResponder.Texts().join('|').toStdString();
    mWindow->SetDialogHook({});
}

} // namespace
