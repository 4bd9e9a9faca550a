// "Print Labels", "Labels Print", the label print status and "Bulk Mail Presorting", driven
// offscreen through their controls with scripted answers.

#include "labels/ui/TLabelSetupScreen.h"

#include "TLabelPrintFixture.h"
#include "TPdfFileAnswer.h"
#include "TScreenshot.h"
#include "labels/ui/TLabelDesignScreen.h"
#include "labels/ui/TLabelSheetView.h"
#include "labels/ui/TSelectSpecificLabels.h"
#include "labels/ui/TSortBulkMail.h"
#include "print/TPageRender.h"
#include "print/TPageStreamDump.h"
#include "print/TPdfOutputName.h"
#include "print/TRPDevice.h"
#include "print/ui/TPreviewForm.h"
#include "print/ui/TPrintStatusWindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

using namespace qm;
using namespace qm::labels;

namespace {

class LabelWindowsTest : public test::LabelPrintFixture {
protected:
    // Runs work on the label designer once it is the open modal window.
    static void OnDesigner(std::function<void(TLabelDesignScreen&)> work)
    {
        QTimer::singleShot(10, [work] {
            auto* d = dynamic_cast<TLabelDesignScreen*>(QApplication::activeModalWidget());
            if (d == nullptr || !d->isVisible())
                return OnDesigner(work);
            work(*d);
        });
    }

    void SetUp() override
    {
        LabelPrintFixture::SetUp();
        // Only the built-in PDF printer: letter paper, 300 DPI.
        qunsetenv("QUILLMARK_NO_PDF_PRINTER");
        print::TRPDevice::Instance().ReloadWith({});
        // Every print on it asks for its file; the tests take labels.pdf unless they say more.
        mPdf = std::make_unique<test::TPdfFileAnswer>(mHome.Path("labels.pdf"), true);
    }
    void TearDown() override
    {
        mPdf.reset();
        LabelPrintFixture::TearDown();
    }

    std::unique_ptr<test::TPdfFileAnswer> mPdf;

    std::unique_ptr<TLabelSetupScreen> Open(bool filterSet = true)
    {
        auto screen = std::make_unique<TLabelSetupScreen>(*mApollo, filterSet);
        EXPECT_EQ(screen->OpenFailure(), QString());
        screen->SetDialogHook([this](QDialog& dialog) { Drive(dialog); });
        screen->show();
        QCoreApplication::processEvents();
        return screen;
    }

    // What the hook does in each window.
    std::function<void(TSelectSpecificLabels&)> onSelect = [](TSelectSpecificLabels& d) {
        d.OkButton()->click();
    };
    std::function<void(TSortBulkMail&)> onSort;
    bool clickCancelWhilePrinting = false;

    void Drive(QDialog& dialog)
    {
        opened << dialog.objectName();
        if (auto* select = dynamic_cast<TSelectSpecificLabels*>(&dialog)) {
            QTimer::singleShot(0, select, [this, select] { onSelect(*select); });
        } else if (auto* sort = dynamic_cast<TSortBulkMail*>(&dialog)) {
            if (onSort)
                onSort(*sort);
        } else if (auto* status = dynamic_cast<print::TPrintStatusWindow*>(&dialog)) {
            statusCaption = status->windowTitle();
            auto* poll = new QTimer(status);
            QObject::connect(poll, &QTimer::timeout, status, [this, status] {
                // Runs whenever the job lets window messages run.
                if (clickCancelWhilePrinting && !status->Finished() &&
                    status->StatusLabel()->text().startsWith("Printing Page")) {
                    clickCancelWhilePrinting = false;
                    status->CancelButton()->click();
                }
                if (status->Finished() && status->isVisible()) {
                    test::SaveScreenshot(*status, "label-print-status");
                    statusText = status->StatusLabel()->text();
                    status->CancelButton()->click(); // "Ok"
                }
            });
            poll->start(0);
        } else if (auto* preview = dynamic_cast<print::TPreviewForm*>(&dialog)) {
            previewCaption = preview->windowTitle();
            QTimer::singleShot(0, preview, [this, preview] {
                previewPages = preview->Preview() ? preview->Preview()->PageCount() : -1;
                test::SaveScreenshot(*preview, "preview-labels");
                preview->OkButton()->click();
            });
        }
    }

    // Lines of the last preview that draw a record's or marker's text, "x=.. y=.. text".
    QStringList Drawn(const TLabelSetupScreen& screen)
    {
        QStringList out;
        int page = 0;
        for (const QString& line : print::DumpPageStream(screen.LastPreviewStream()).lines) {
            if (line.startsWith(QLatin1String("page ")))
                ++page;
            const qsizetype at = line.indexOf(QLatin1String(" x="));
            if (line.contains(QLatin1String("text-rect")) && at >= 0)
                out << QStringLiteral("%1 %2").arg(page).arg(line.mid(at).remove('"').trimmed());
        }
        return out;
    }

    static void ClickPosition(TSelectSpecificLabels& d, int position)
    {
        QTest::mouseClick(d.SheetView(), Qt::LeftButton, {},
                          d.SheetView()->Picture().LabelRect(position).center());
    }

    QStringList opened;
    QString statusCaption;
    QString statusText;
    QString previewCaption;
    int previewPages = 0;
};

TEST_F(LabelWindowsTest, ListsTheLayoutsWithTheirSheetsAndDeletesThePresortListOnFirstShow)
{
    OpenNumbered(3);
    AddLayout(Avery5160("Shipping"));
    TLabelGeometry user = Avery5160("A user sheet");
    user.MakeUserDefined();
    AddLayout(user);
    QFile stale(mHome.Path("PRESORT.PSL"));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();

    auto screen = Open(false);
    EXPECT_FALSE(QFile::exists(mHome.Path("PRESORT.PSL")));
    EXPECT_EQ(screen->windowTitle(), "Print Labels");
    ASSERT_EQ(screen->LayoutGrid()->rowCount(), 2);
    EXPECT_EQ(screen->LayoutGrid()->item(0, 0)->text(), "A user sheet"); // DESCRIPT order
    EXPECT_EQ(screen->DetailField("Sheet Name")->text(), "[User Defined]");
    screen->SelectRow(1);
    EXPECT_EQ(screen->DetailField("Sheet Name")->text(), "Avery 5160  Address");
    EXPECT_EQ(screen->DetailField("Label Width")->text(), "2.625");
    EXPECT_EQ(screen->DetailField("# Down")->text(), "10");
    EXPECT_EQ(screen->DetailField("Paper Size")->text(), "LTR");
    // No filter: the filter choice is off and unavailable, all records chosen.
    EXPECT_FALSE(screen->FilterChoice()->isEnabled());
    EXPECT_TRUE(screen->AllRecordsChoice()->isChecked());
    EXPECT_EQ(screen->PrinterList()->currentText(), print::TRPDevice::Instance().PrinterNames()[0]);
    test::SaveScreenshot(*screen, "print-labels");

    // Modify opens the designer on the chosen row; unchanged, Cancel closes it and saves nothing.
    QString modifiedName;
    OnDesigner([&](TLabelDesignScreen& d) {
        modifiedName = d.DescriptionEdit()->text();
        d.CancelButton()->click();
    });
    screen->ModifyButton()->click();
    EXPECT_EQ(modifiedName, "Shipping");
    EXPECT_EQ(screen->LayoutGrid()->rowCount(), 2);

    // New: a saved design is a new row of the list, selected.
    OnDesigner([](TLabelDesignScreen& d) {
        d.DescriptionEdit()->setText("Members");
        emit d.DescriptionEdit()->textEdited("Members");
        d.SaveButton()->click();
    });
    screen->NewButton()->click();
    ASSERT_EQ(screen->LayoutGrid()->rowCount(), 3);
    EXPECT_EQ(screen->LayoutGrid()->currentItem()->text(), "Members");
    EXPECT_FALSE(mResponder.Texts().join('\n').contains("not part of this version"));
}

TEST_F(LabelWindowsTest, WithoutLayoutsTheCommandsAreOffAndThePanelsHidden)
{
    OpenNumbered(1);
    auto screen = Open();
    EXPECT_EQ(screen->LayoutGrid()->rowCount(), 0);
    for (QWidget* w : std::initializer_list<QWidget*>{
             screen->ModifyButton(), screen->PrintButton(), screen->PreviewButton(),
             screen->DeleteButton(), screen->CloneButton(), screen->LayoutGrid()})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_TRUE(screen->NewButton()->isEnabled());
    EXPECT_FALSE(screen->WhatToPrintPanel()->isVisible());
    EXPECT_FALSE(screen->PrinterPanel()->isVisible());
    EXPECT_EQ(screen->DetailField("Paper Width")->text(), "8.500"); // "Default Label Setup"
}

TEST_F(LabelWindowsTest, DeleteAndCloneAskFirst)
{
    OpenNumbered(1);
    AddLayout(Avery5160("Shipping"));
    auto screen = Open();
    mResponder.QueueAnswer(true);
    screen->CloneButton()->click();
    ASSERT_EQ(screen->LayoutGrid()->rowCount(), 2);
    EXPECT_EQ(screen->LayoutGrid()->currentItem()->text(), "Clone of :Shipping");
    EXPECT_TRUE(QFile::exists(mHome.Path("sysdata/BIN00002.L")));
    mResponder.QueueAnswer(false);
    screen->DeleteButton()->click();
    EXPECT_EQ(screen->LayoutGrid()->rowCount(), 2);
    mResponder.QueueAnswer(true);
    screen->DeleteButton()->click();
    EXPECT_EQ(screen->LayoutGrid()->rowCount(), 1);
    EXPECT_FALSE(QFile::exists(mHome.Path("sysdata/BIN00002.L")));
    ASSERT_EQ(mResponder.Messages().size(), 3u);
    EXPECT_EQ(mResponder.Messages()[0].caption, "CLONE");
    EXPECT_EQ(mResponder.Messages()[0].text, "Clone \"Shipping\"?");
    EXPECT_EQ(mResponder.Messages()[2].caption, "DELETE");
    EXPECT_EQ(mResponder.Messages()[2].text, "Delete \"Clone of :Shipping\"?");
}

TEST_F(LabelWindowsTest, OnlyCurrentRecordTakesPresortAwayAndTheOtherChoicesGiveItBackOff)
{
    OpenNumbered(3, "12345");
    AddLayout(Avery5160());
    auto screen = Open();
    EXPECT_TRUE(screen->FilterChoice()->isChecked());
    screen->PresortCheck()->click();
    EXPECT_TRUE(screen->PresortCheck()->isChecked());
    screen->CurrentChoice()->click();
    EXPECT_FALSE(screen->PresortCheck()->isChecked());
    EXPECT_FALSE(screen->PresortCheck()->isEnabled());
    screen->AllRecordsChoice()->click();
    EXPECT_TRUE(screen->PresortCheck()->isEnabled());
    EXPECT_FALSE(screen->PresortCheck()->isChecked());
}

TEST_F(LabelWindowsTest, DeselectedPositionsStayEmptyOnEverySheet)
{
    OpenNumbered(32);
    AddLayout(Avery5160());
    auto screen = Open();
    onSelect = [](TSelectSpecificLabels& d) {
        EXPECT_EQ(d.windowTitle(), "Labels Print");
        for (int p = 0; p < 5; ++p)
            ClickPosition(d, p);
        EXPECT_EQ(d.Selection().SelectedCount(), 25);
        test::SaveScreenshot(d, "labels-print");
        QTest::keyClick(&d, Qt::Key_Return); // Enter acts as Ok
    };
    screen->PreviewButton()->click();
    EXPECT_EQ(opened, QStringList({"TSelectSpecificLabels", "TPrintStatusWindow", "TPreviewForm"}));
    EXPECT_EQ(statusCaption, "Preview Status");
    EXPECT_EQ(previewCaption.left(14), "Preview Labels");
    EXPECT_EQ(previewPages, 2);
    const QStringList drawn = Drawn(*screen);
    ASSERT_EQ(drawn.size(), 32);
    // Record 1 at position 5 (column 2, row 1) of sheet 1; records 26 to 32 at 5 to 11 of sheet 2.
    EXPECT_TRUE(drawn[0].startsWith("1 x=5.77")) << drawn.join("\n").toStdString();
    EXPECT_TRUE(drawn[0].endsWith("R001")) << drawn[0].toStdString();
    EXPECT_EQ(drawn[25].section(' ', 1), drawn[0].section(' ', 1).replace("R001", "R026"));
    EXPECT_TRUE(drawn[25].startsWith("2 ")) << drawn[25].toStdString();
    EXPECT_TRUE(drawn[31].endsWith("R032"));
    EXPECT_EQ(screen->Selection().SelectedCount(), 25); // kept for the next command
    EXPECT_TRUE(mResponder.Messages().empty());
}

TEST_F(LabelWindowsTest, TwoLabelsPerRecordFillConsecutivePositions)
{
    OpenNumbered(5);
    AddLayout(Avery5160());
    auto screen = Open();
    onSelect = [](TSelectSpecificLabels& d) {
        d.CopiesEdit()->setValue(2);
        d.OkButton()->click();
    };
    screen->PreviewButton()->click();
    const QStringList drawn = Drawn(*screen);
    ASSERT_EQ(drawn.size(), 10);
    EXPECT_TRUE(drawn[0].endsWith("R001") && drawn[1].endsWith("R001"));
    EXPECT_TRUE(drawn[9].endsWith("R005"));
    EXPECT_EQ(screen->LabelsPerRecord(), 2);
}

TEST_F(LabelWindowsTest, AnEmptySelectionIsRefusedAndEscapeEndsTheCommand)
{
    OpenNumbered(2);
    AddLayout(Avery5160());
    auto screen = Open();
    onSelect = [this](TSelectSpecificLabels& d) {
        d.NoneButton()->click();
        d.OkButton()->click();
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(mResponder.Texts(), QStringList("You must select at least one card to print"));
        QTest::keyClick(&d, Qt::Key_Escape);
    };
    screen->PrintButton()->click();
    EXPECT_EQ(opened, QStringList("TSelectSpecificLabels"));
    EXPECT_FALSE(QFile::exists(mHome.Path("labels.pdf")));
}

TEST_F(LabelWindowsTest, PrintsOnThePrinterAndSaysItCompleted)
{
    OpenNumbered(31);
    AddLayout(Avery5160());
    auto screen = Open();
    screen->PrintButton()->click();
    EXPECT_EQ(statusCaption, "Print Status ");
    EXPECT_EQ(statusText, "\nLabel Print Completed!\nWritten to " +
                              QDir::toNativeSeparators(mHome.Path("labels.pdf")));
    QFile pdf(mHome.Path("labels.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.readAll().startsWith("%PDF"));
    if (const QByteArray keep = qgetenv("QM_LABEL_PDF"); !keep.isEmpty()) {
        QFile::remove(QString::fromLocal8Bit(keep));
        QFile::copy(pdf.fileName(), QString::fromLocal8Bit(keep));
    }
}

TEST_F(LabelWindowsTest, EachPrintToPdfAsksForItsFileAndKeepsTheLastOne)
{
    OpenNumbered(3);
    AddLayout(Avery5160("Avery 5160"));
    QDir().mkpath(mHome.Path("pdfs"));
    print::TPdfOutputName::RememberFolder(mHome.Path("pdfs/x.pdf"));
    auto screen = Open();
    // The first print takes the name offered: the job's, in the folder used last.
    mPdf.reset();
    mPdf = std::make_unique<test::TPdfFileAnswer>();
    screen->PrintButton()->click();
    const QString first = mHome.Path("pdfs/Labels - Avery 5160.pdf");
    EXPECT_EQ(mPdf->offered, QStringList{first});
    EXPECT_TRUE(QFile::exists(first));
    EXPECT_TRUE(statusText.endsWith("Written to " + QDir::toNativeSeparators(first)));
    // The second is offered the same name; replacing it needs a Yes, and No lets the user
    // choose another name, which leaves the first file as it was.
    const QByteArray before = [&] {
        QFile f(first);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    mPdf.reset();
    mPdf = std::make_unique<test::TPdfFileAnswer>();
    mPdf->Queue(mHome.Path("pdfs/second.pdf"));
    mResponder.QueueAnswer(false);
    screen->PrintButton()->click();
    EXPECT_EQ(mPdf->offered.size(), 2);
    EXPECT_TRUE(mResponder.Texts().contains(QDir::toNativeSeparators(first) +
                                            " already exists.\r\nDo you want to overwrite it?"));
    EXPECT_TRUE(QFile::exists(mHome.Path("pdfs/second.pdf")));
    QFile again(first);
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), before);
    // Cancelling the save dialog prints nothing.
    mPdf->CancelAll();
    opened.clear();
    statusText.clear();
    screen->PrintButton()->click();
    EXPECT_EQ(mPdf->offered.size(), 3);
    EXPECT_FALSE(opened.contains("TPrintStatusWindow"));
    EXPECT_TRUE(statusText.isEmpty());
}

TEST_F(LabelWindowsTest, CancelAsksAndThrowsThePrinterDocumentAway)
{
    OpenNumbered(300);
    AddLayout(Avery5160());
    mDataSet.GoTo(4);
    auto screen = Open();
    clickCancelWhilePrinting = true;
    mResponder.QueueAnswer(true);
    screen->PrintButton()->click();
    EXPECT_EQ(mResponder.Texts(), QStringList("Cancel Label Printing?"));
    EXPECT_EQ(statusText, "\nLabel Print Canceled!");
    EXPECT_FALSE(QFile::exists(mHome.Path("labels.pdf")));
    EXPECT_EQ(mDataSet.RecNo(), 4u);
    EXPECT_EQ(mApollo->Query(), "!ISDEL");
}

TEST_F(LabelWindowsTest, StartFromCurrentRecordOutsideTheFilterStartsAtTheFirst)
{
    OpenNumbered(6);
    AddLayout(Avery5160());
    mApollo->SetQuery("LNAME>\"R003\" .and. !ISDEL");
    mDataSet.GoTo(2); // not one of the filter's
    auto screen = Open();
    screen->StartFromCurrentCheck()->click();
    screen->PreviewButton()->click();
    EXPECT_EQ(mResponder.Texts(),
              QStringList("Current record is out of range. Starting with first record"));
    const QStringList drawn = Drawn(*screen);
    ASSERT_EQ(drawn.size(), 3);
    EXPECT_TRUE(drawn[0].endsWith("R004"));
    EXPECT_EQ(mDataSet.RecNo(), 2u);
    EXPECT_EQ(mApollo->Query(), "LNAME>\"R003\" .and. !ISDEL");

    mDataSet.GoTo(5);
    screen->PreviewButton()->click();
    EXPECT_EQ(Drawn(*screen).size(), 2); // R005, R006
    EXPECT_EQ(mResponder.Texts().size(), 1);
}

TEST_F(LabelWindowsTest, OnlyCurrentRecordPrintsItTimesTheNumberPerRecord)
{
    OpenNumbered(6);
    AddLayout(Avery5160());
    mDataSet.GoTo(3);
    auto screen = Open();
    screen->CurrentChoice()->click();
    onSelect = [](TSelectSpecificLabels& d) {
        EXPECT_TRUE(d.CopiesEdit()->isVisibleTo(&d));
        d.CopiesEdit()->setValue(3);
        d.OkButton()->click();
    };
    screen->PreviewButton()->click();
    EXPECT_EQ(Drawn(*screen),
              QStringList(3, Drawn(*screen).value(0)).mid(0, 1) + Drawn(*screen).mid(1));
    const QStringList drawn = Drawn(*screen);
    ASSERT_EQ(drawn.size(), 3);
    for (const QString& line : drawn)
        EXPECT_TRUE(line.endsWith("R003"));
}

TEST_F(LabelWindowsTest, AMissingLayoutFileIsReported)
{
    OpenNumbered(2);
    AddLayout(Avery5160(), false);
    auto screen = Open();
    screen->PreviewButton()->click();
    EXPECT_EQ(mResponder.Texts(),
              QStringList("Label definition file has been removed from the sysdata directory"));
    EXPECT_EQ(opened, QStringList("TSelectSpecificLabels"));
}

TEST_F(LabelWindowsTest, PresortRunsOnceReportsRecordsLeftOutAndPrintsMarkers)
{
    std::vector<test::TPerson> people;
    for (int i = 0; i < 10; ++i)
        people.push_back({QStringLiteral("A%1").arg(i), "12345"});
    people.push_back({"B", "58001"});
    people.push_back({"C", ""});
    people.push_back({"D", "X1234"});
    OpenFile(people);
    AddLayout(Avery5160());
    xbase::EngineSettings().exact = true;
    auto screen = Open();
    screen->PresortCheck()->click();
    onSelect = [](TSelectSpecificLabels& d) {
        EXPECT_FALSE(d.CopiesEdit()->isVisibleTo(&d));
        EXPECT_FALSE(d.CopiesLabel()->isVisibleTo(&d));
        d.OkButton()->click();
    };
    onSort = [](TSortBulkMail& sort) { EXPECT_EQ(sort.windowTitle(), "Bulk Mail Presorting"); };
    screen->PreviewButton()->click();
    EXPECT_EQ(opened, QStringList({"TSelectSpecificLabels", "TSortBulkMail", "TPrintStatusWindow",
                                   "TPreviewForm"}));
    EXPECT_EQ(mResponder.Texts(),
              QStringList({"2 record(s) have no valid ZIP code and are not printed at all in a "
                           "presorted job.",
                           "Labels will print/preview in the following order:\r\n  1. 5-Digit "
                           "presort\r\n  2. 3-Digit presort\r\n  3. ADC presort"}));
    // Each record's address block draws its name and its ZIP line.
    QStringList drawn;
    for (const QString& line : Drawn(*screen))
        if (line.contains("text=**") || !line.contains(QRegularExpression("text= ?[0-9]")))
            drawn << line;
    ASSERT_EQ(drawn.size(), 13) << drawn.join("\n").toStdString();
    EXPECT_TRUE(drawn[0].endsWith("** 5-digit 12345"));
    EXPECT_TRUE(drawn[11].endsWith("** ADC FARGO ND  580"));
    EXPECT_TRUE(drawn[12].endsWith("text=B"));
    EXPECT_TRUE(xbase::EngineSettings().exact);
    EXPECT_EQ(mApollo->IndexOrd(), mApollo->TagArea("LNAME"));
    if (const QByteArray keep = qgetenv("QM_LABEL_PRESORT_PDF"); !keep.isEmpty())
        print::RenderPdf(screen->LastPreviewStream(), QString::fromLocal8Bit(keep));

    // The list of this visit is used again until a record choice is clicked.
    opened.clear();
    screen->PreviewButton()->click();
    EXPECT_FALSE(opened.contains("TSortBulkMail"));
    screen->FilterChoice()->click();
    opened.clear();
    screen->PreviewButton()->click();
    EXPECT_TRUE(opened.contains("TSortBulkMail"));
}

TEST_F(LabelWindowsTest, CancelDuringThePresortScanPrintsNothingAndLeavesNoList)
{
    OpenNumbered(450, "12345");
    AddLayout(Avery5160());
    mDataSet.GoTo(7);
    auto screen = Open();
    screen->PresortCheck()->click();
    mResponder.QueueAnswer(true);
    QStringList statuses;
    onSort = [&statuses](TSortBulkMail& sort) {
        auto* poll = new QTimer(&sort);
        QObject::connect(poll, &QTimer::timeout, &sort, [&statuses, &sort, poll] {
            // Runs whenever the scan lets window messages run.
            statuses << sort.StatusLabel()->text();
            if (sort.StatusLabel()->text() == "Reading record 100")
                test::SaveScreenshot(sort, "bulk-mail-presorting");
            if (sort.StatusLabel()->text() == "Reading record 200") {
                poll->stop();
                sort.CancelButton()->click();
            }
        });
        poll->start(0);
    };
    screen->PreviewButton()->click();
    EXPECT_EQ(opened, QStringList({"TSelectSpecificLabels", "TSortBulkMail"}));
    EXPECT_EQ(mResponder.Texts(), QStringList("Cancel PRESORT?"));
    EXPECT_FALSE(QFile::exists(screen->PresortPath()));
    EXPECT_FALSE(screen->Choices().PresortDone());
    EXPECT_EQ(mDataSet.RecNo(), 7u);
    EXPECT_EQ(mApollo->IndexOrd(), mApollo->TagArea("LNAME"));
    EXPECT_TRUE(statuses.contains("Reading record 100")) << statuses.join(",").toStdString();
    EXPECT_FALSE(statuses.contains("Reading record 300"));
}

TEST_F(LabelWindowsTest, APaperThePrinterMayNotTakeIsAskedAboutAndNoEndsTheCommand)
{
    OpenNumbered(3);
    TLabelGeometry user = Avery5160("Odd sheet");
    user.MakeUserDefined();
    user.paperSize = "USERP";
    user.sheetWidth = 4;
    user.sheetDepth = 6;
    user.across = 1;
    user.down = 5;
    AddLayout(user);
    // A device name with HPFDJ in any letter case is never asked for a size.
    print::TRPDevice::Instance().ReloadWith({print::TRPDeviceItem(
        print::TRPDeviceItem::TKind::System, "Office hpFDJ 500", "driver", "LPT1:")});
    print::TRPDevice::Instance().SetPrinterIndex(0);
    auto screen = Open();
    mResponder.QueueAnswer(false);
    screen->PreviewButton()->click();
    EXPECT_EQ(mResponder.Texts(),
              QStringList("Unable to confirm that the paper size was set to\r\n\r\n4.00\" by "
                          "6.00\"\r\n\r\n(you may have the wrong printer selected)\r\n\r\n"
                          "Would you like to try printing anyways?"));
    EXPECT_EQ(opened, QStringList("TSelectSpecificLabels"));
    EXPECT_EQ(mApollo->Query(), "!ISDEL");
}

TEST_F(LabelWindowsTest, ALandscapeLetterSheetIsTakenWithoutAQuestion)
{
    OpenNumbered(3);
    TLabelGeometry g = Avery5160("Landscape");
    g.paperSize = "LTRL";
    g.sheetWidth = 11;
    g.sheetDepth = 8.5;
    AddLayout(g);
    auto screen = Open();
    screen->PreviewButton()->click();
    EXPECT_TRUE(mResponder.Messages().empty());
    EXPECT_EQ(opened, QStringList({"TSelectSpecificLabels", "TPrintStatusWindow", "TPreviewForm"}));
    EXPECT_EQ(print::TRPDevice::Instance().Setup().orientation, print::TOrientation::poLandScape);
}

TEST_F(LabelWindowsTest, WithoutAnyPrinterPrintingSaysSoAndPreviewStillWorks)
{
    OpenNumbered(4);
    AddLayout(Avery5160());
    qputenv("QUILLMARK_NO_PDF_PRINTER", "1");
    print::TRPDevice::Instance().ReloadWith({});
    QStringList errors;
    print::TBaseReport::SetErrorReporter([&errors](const QString& text) { errors << text; });
    auto screen = Open();
    screen->PrintButton()->click();
    EXPECT_EQ(errors, QStringList("No printers are defined, aborting print job."));
    EXPECT_EQ(statusText, "\nLabel Print Canceled!");
    screen->PreviewButton()->click();
    EXPECT_EQ(Drawn(*screen).size(), 4);
    print::TBaseReport::SetErrorReporter({});
    qunsetenv("QUILLMARK_NO_PDF_PRINTER");
}

} // namespace
