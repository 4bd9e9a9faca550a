#include "TPdfFileAnswer.h"
#include "TScreenshot.h"
#include "TScriptedResponder.h"
#include "TTestHome.h"
#include "data/TAddressFile.h"
#include "data/TDataSet.h"
#include "data/TSettingsFile.h"
#include "data/ui/TWindowPlacement.h"
#include "letters/TLetterPageSink.h"
#include "letters/TPdfPageSink.h"
#include "letters/ui/TLetterDesign.h"
#include "letters/ui/TLetterPrint.h"
#include "letters/ui/TPagePropertiesDialog.h"
#include "letters/ui/TPrinterLetterSink.h"
#include "letters/ui/TRTFPreviewForm.h"
#include "letters/ui/TqMLetters.h"
#include "print/TPdfOutputName.h"
#include "print/TRPDevice.h"
#include "richtext/TRichDocument.h"
#include "xbase/TCursor.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QToolButton>
#include <gtest/gtest.h>

namespace qm::letters {
namespace {

// Notes page events and what was drawn on each page.
class TRecordingSink : public TLetterPageSink {
public:
    TLetterDevice Device() const override { return {300, 300, QPoint(0, 0)}; }
    QPainter& Begin() override
    {
        events << "begin";
        mPainter.begin(&mImage);
        return mPainter;
    }
    void NewPage() override
    {
        events << "page";
        if (onNewPage)
            onNewPage();
    }
    void End() override
    {
        events << "end";
        mPainter.end();
    }
    void Abort() override
    {
        events << "abort";
        if (mPainter.isActive())
            mPainter.end();
    }
    QStringList events;
    std::function<void()> onNewPage;

private:
    QImage mImage{64, 64, QImage::Format_RGB32};
    QPainter mPainter;
};

// Hands the window a sink that stays with the test (the window frees what it is given).
class TForwardingSink : public TLetterPageSink {
public:
    explicit TForwardingSink(TLetterPageSink& to) : mTo(to) {}
    TLetterDevice Device() const override { return mTo.Device(); }
    QPainter& Begin() override { return mTo.Begin(); }
    void NewPage() override { mTo.NewPage(); }
    void End() override { mTo.End(); }
    void Abort() override { mTo.Abort(); }

private:
    TLetterPageSink& mTo;
};

std::unique_ptr<TLetterPageSink> Forward(TLetterPageSink& to)
{
    return std::make_unique<TForwardingSink>(to);
}

QByteArray LetterRtf(const QString& text, int pages)
{
    richtext::TRichDocument letter;
    QTextCursor cursor(&letter.Document());
    cursor.insertText(text);
    for (int p = 1; p < pages; ++p) {
        cursor.insertBlock();
        cursor.insertText(QStringLiteral("Page %1 of the letter").arg(p + 1));
        letter.SetPageBreakBefore(cursor.position(), true);
    }
    return letter.SaveRtf();
}

class TLetterWindowsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString path = home.Path("ADDR.DBF");
        ASSERT_EQ(data::TAddressFile::Create(path, {}), QString());
        data::TAddressFile::DeclareFieldObjects(addresses);
        ASSERT_TRUE(data::TAddressFile::Open(addresses, path).opened);
        for (const char* last : {"Avery", "Baker", "Cole"}) {
            addresses.Append();
            addresses.SetAsString("LNAME", QString::fromLatin1(last));
            addresses.SetAsString("FNAME", QStringLiteral("Pat"));
            addresses.SetAsString("STREET", QStringLiteral("1 Main Street"));
            addresses.SetAsString("CITY", QStringLiteral("Springfield"));
            addresses.SetAsString("STATE", QStringLiteral("IL"));
            addresses.SetAsString("ZIP", QStringLiteral("62701"));
            addresses.SetAsString("CITY", last[0] == 'C' ? "Elsewhere" : "Springfield");
            addresses.Post();
        }
        addresses.Cursor().SelectTag("LNAME");
        addresses.Cursor().SetQuery("!ISDEL");
        addresses.First();
        sysdata = home.Path("sysdata");
        QDir().mkpath(sysdata);
    }

    // Runs modal windows without their event loop: shows them, lets the status window's run
    // finish, then closes them.
    int RunShown(QDialog& dialog)
    {
        dialog.show();
        for (int i = 0; i < 200; ++i) {
            QApplication::processEvents();
            if (auto* status = dynamic_cast<TLetterPrint*>(&dialog); !status || status->Finished())
                break;
            QTest::qWait(5);
        }
        if (auto* status = dynamic_cast<TLetterPrint*>(&dialog)) {
            lastStatus = status->StatusLabel()->text();
            lastButton = status->CancelButton()->text();
        }
        if (onShown)
            onShown(dialog);
        const int result = dialog.result();
        dialog.hide();
        return result;
    }

    test::TTestHome home;
    test::TScriptedResponder responder;
    data::TDataSet addresses;
    QString sysdata;
    QString lastStatus;
    QString lastButton;
    std::function<void(QDialog&)> onShown;
};

TEST_F(TLetterWindowsTest, ButtonsFollowTheListAndCloneNamesTheCopy)
{
    TqMLetters window(addresses, QString(), sysdata);
    ASSERT_EQ(window.OpenFailure(), QString());
    window.show();
    QApplication::processEvents();
    EXPECT_FALSE(window.Button("ModifyButton")->isEnabled());
    EXPECT_FALSE(window.Button("PrintButton")->isEnabled());
    EXPECT_TRUE(window.CurrentButton()->isChecked());
    EXPECT_FALSE(window.FilterButton()->isEnabled()); // no filter in the main window
    EXPECT_FALSE(window.StartFromCurrentBox()->isChecked());

    // New: the designer starts "{untitled}"; Ok adds the letter.
    window.SetRunHook([&](QDialog& dialog) {
        auto& designer = dynamic_cast<TLetterDesign&>(dialog);
        designer.show();
        EXPECT_EQ(designer.Description(), "{untitled}");
        designer.DescriptionEdit()->setText(QString(50, QLatin1Char('L')));
        designer.Editor()->insertPlainText("Dear [First],");
        designer.OkButtonClick();
        return int(designer.result());
    });
    window.NewButtonClick();
    ASSERT_EQ(window.Store().Rows().size(), 1u);
    EXPECT_TRUE(window.Button("ModifyButton")->isEnabled());
    EXPECT_TRUE(window.LetterList()->isEnabled());

    responder.QueueAnswer(true);
    window.CloneButtonClick();
    ASSERT_EQ(window.Store().Rows().size(), 2u);
    EXPECT_EQ(responder.Messages().back().caption, "CLONE");
    EXPECT_EQ(window.Store().Rows()[0].description, "Clone of " + QString(41, QLatin1Char('L')));
    EXPECT_EQ(window.Store().Rtf(0), window.Store().Rtf(1));

    // Deleting the last letters turns the buttons off again.
    for (int i = 0; i < 2; ++i) {
        responder.QueueAnswer(true);
        window.FillList(0);
        window.DeleteButtonClick();
    }
    EXPECT_EQ(responder.Messages().back().caption, "DELETE");
    EXPECT_TRUE(window.Store().IsEmpty());
    for (const char* name :
         {"ModifyButton", "CloneButton", "PrintButton", "PreviewButton", "DeleteButton"})
        EXPECT_FALSE(window.Button(name)->isEnabled()) << name;
}

TEST_F(TLetterWindowsTest, AltKeysAreUniqueAndThePlacementIsKept)
{
    QRect placed;
    {
        TqMLetters window(addresses, QString(), sysdata);
        window.show();
        QApplication::processEvents();
        // Every mnemonic of the window names one control.
        QStringList keys;
        for (QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
            const QString text = button->text();
            const qsizetype amp = text.indexOf(QLatin1Char('&'));
            if (amp >= 0 && amp + 1 < text.size())
                keys << text.mid(amp + 1, 1).toUpper();
        }
        for (QLabel* label : window.findChildren<QLabel*>())
            if (const qsizetype amp = label->text().indexOf(QLatin1Char('&')); amp >= 0)
                keys << label->text().mid(amp + 1, 1).toUpper();
        QStringList unique = keys;
        unique.removeDuplicates();
        EXPECT_EQ(keys.size(), unique.size()) << keys.join(' ').toStdString();
        // Alt+S ticks "Start from current record" at once (a clash would only move the focus).
        QApplication::setActiveWindow(&window);
        window.LetterList()->setFocus();
        QTest::keyClick(window.LetterList(), Qt::Key_S, Qt::AltModifier);
        QTest::qWait(250); // a mnemonic clicks the button after a short press animation
        EXPECT_TRUE(window.StartFromCurrentBox()->isChecked());
        EXPECT_EQ(window.Button("PrinterSetupButton")->text(), "Printer Se&tup");

        window.setGeometry(QRect(QPoint(120, 90), window.minimumSize() + QSize(40, 30)));
        QApplication::processEvents();
        placed = window.geometry();
        window.accept();
    }
    TqMLetters again(addresses, QString(), sysdata);
    again.show();
    QApplication::processEvents();
    data::TSettingsFile settings(home.Home().SettingsPath());
    EXPECT_TRUE(settings.HasKey(
        data::TWindowPlacement::SectionFor(again, QString::fromLatin1(TqMLetters::kClassName)),
        QStringLiteral("Right")));
    EXPECT_EQ(again.geometry(), placed);
}

TEST_F(TLetterWindowsTest, PrintTwoTwoPageRecordsWithTheirStatusTexts)
{
    TqMLetters window(addresses, QStringLiteral("CITY = \"Springfield\""), sysdata);
    window.Store().Append("Two pages", LetterRtf("Dear [Full Name]", 2));
    window.FillList(0);
    auto sink = std::make_unique<TRecordingSink>();
    window.SetSinkFactory([&](const TLetterPageTwips&) { return Forward(*sink); });
    window.SetRunHook([&](QDialog& dialog) { return RunShown(dialog); });
    addresses.Cursor().SetQuery("CITY = \"Springfield\" .and. !ISDEL");
    addresses.First();
    window.FilterButton()->setChecked(true);
    window.PrintNowClick();
    EXPECT_EQ(sink->events, QStringList({"begin", "page", "page", "page", "end"}));
    EXPECT_EQ(lastStatus, "Letter Print Completed!");
    EXPECT_EQ(lastButton, "OK");
    // The filter and the record are back.
    EXPECT_EQ(addresses.Cursor().Query(), "CITY = \"Springfield\" .and. !ISDEL");
    EXPECT_EQ(addresses.AsString("LNAME"), "Avery");
}

TEST_F(TLetterWindowsTest, AllRecordsUnderAFilterAndStartOutside)
{
    TqMLetters window(addresses, QStringLiteral("CITY = \"Springfield\""), sysdata);
    window.Store().Append("One page", LetterRtf("Dear [Full Name]", 1));
    window.FillList(0);
    auto sink = std::make_unique<TRecordingSink>();
    window.SetSinkFactory([&](const TLetterPageTwips&) {
        sink = std::make_unique<TRecordingSink>();
        return Forward(*sink);
    });
    window.SetRunHook([&](QDialog& dialog) { return RunShown(dialog); });
    addresses.Cursor().SetQuery("CITY = \"Springfield\" .and. !ISDEL");
    addresses.First();
    window.AllRecordsButton()->setChecked(true);
    window.PrintNowClick();
    EXPECT_EQ(sink->events.count("page"), 2); // three records
    EXPECT_EQ(addresses.Cursor().Query(), "CITY = \"Springfield\" .and. !ISDEL");

    // The current record outside the filter: the message, then from the first record.
    addresses.GoTo(3); // Cole, elsewhere
    window.FilterButton()->setChecked(true);
    window.StartFromCurrentBox()->setChecked(true);
    window.PrintNowClick();
    EXPECT_TRUE(
        responder.Texts().contains("Current record is out of range. Starting with first record"));
    EXPECT_EQ(sink->events, QStringList({"begin", "page", "end"}));
    EXPECT_EQ(addresses.RecNo(), 3u);
}

TEST_F(TLetterWindowsTest, CancelAndFailure)
{
    TqMLetters window(addresses, QString(), sysdata);
    window.Store().Append("One page", LetterRtf("Dear [Full Name]", 1));
    window.FillList(0);
    window.AllRecordsButton()->setChecked(true);
    auto sink = std::make_unique<TRecordingSink>();
    TLetterPrint* running = nullptr;
    window.SetSinkFactory([&](const TLetterPageTwips&) {
        sink->onNewPage = [&] {
            if (running)
                running->CancelButtonClick();
        };
        return Forward(*sink);
    });
    window.SetRunHook([&](QDialog& dialog) {
        running = dynamic_cast<TLetterPrint*>(&dialog);
        return RunShown(dialog);
    });
    responder.QueueAnswer(true); // "Cancel print job?"
    window.PrintNowClick();
    EXPECT_TRUE(responder.Texts().contains("Cancel print job?"));
    EXPECT_EQ(lastStatus, "Letter Print Canceled!");
    EXPECT_EQ(sink->events.last(), "abort");

    // A PDF that cannot be finished: "Letter Print Failed!", the error, no file left.
    const QString pdf = home.Path("letters.pdf");
    window.SetSinkFactory([&](const TLetterPageTwips& page) -> std::unique_ptr<TLetterPageSink> {
        class TFailingPdf : public TPdfPageSink {
        public:
            using TPdfPageSink::TPdfPageSink;
            void NewPage() override { throw std::runtime_error("The disk is full"); }
        };
        return std::make_unique<TFailingPdf>(pdf, page);
    });
    running = nullptr;
    window.PrintNowClick();
    EXPECT_EQ(lastStatus, "Letter Print Failed!");
    EXPECT_TRUE(responder.Texts().contains("The disk is full"));
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(TLetterWindowsTest, PrintToAFileGoesWhereThePrintDialogsOutputFileSays)
{
    qunsetenv("QUILLMARK_NO_PDF_PRINTER");
    print::TRPDevice::Instance().ReloadWith({}); // the "PDF file" printer only
    QDir().mkpath(home.Path("pdfs"));
    print::TPdfOutputName::RememberFolder(home.Path("pdfs/x.pdf"));
    test::TPdfFileAnswer answer; // fails the test below if a save dialog came as well
    answer.CancelAll();
    TqMLetters window(addresses, QString(), sysdata);
    window.Store().Append("Welcome", LetterRtf("Dear [Full Name]", 2));
    window.FillList(0);
    window.SetRunHook([&](QDialog& dialog) { return RunShown(dialog); });
    const QString typed = home.Path("pdfs/typed.pdf");
    QString offered;
    window.SetPrintDialogHook([&](QPrinter* printer) {
        offered = printer->outputFileName();
        printer->setOutputFileName(typed);
        return true;
    });
    window.PrintNowClick();
    // The dialog offered the letter's name in the folder used last, and the typed name won.
    EXPECT_EQ(offered, home.Path("pdfs/Letters - Welcome.pdf"));
    EXPECT_TRUE(answer.offered.isEmpty());
    EXPECT_EQ(lastStatus, "Letter Print Completed!\nWritten to " + QDir::toNativeSeparators(typed));
    QFile pdf(typed);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.readAll().startsWith("%PDF"));
    EXPECT_FALSE(QFile::exists(home.Path("pdfs/Letters - Welcome.pdf")));
    EXPECT_EQ(print::TPdfOutputName::LastFolder(), home.Path("pdfs"));
}

TEST_F(TLetterWindowsTest, OnlyCurrentRecordThreeCopies)
{
    TqMLetters window(addresses, QString(), sysdata);
    window.Store().Append("One page", LetterRtf("Dear [Full Name]", 1));
    window.FillList(0);
    window.CopiesEdit()->setValue(3);
    addresses.GoTo(2); // Baker, between the other two
    auto sink = std::make_unique<TRecordingSink>();
    // The record each new page goes on with: three copies of Baker's letter, not the others.
    QStringList records;
    sink->onNewPage = [&] { records << addresses.AsString("LNAME"); };
    window.SetSinkFactory([&](const TLetterPageTwips&) { return Forward(*sink); });
    window.SetRunHook([&](QDialog& dialog) { return RunShown(dialog); });
    window.PrintNowClick();
    EXPECT_EQ(sink->events, QStringList({"begin", "page", "page", "end"}));
    EXPECT_EQ(records, QStringList({"Baker", "Baker"}));
    EXPECT_EQ(addresses.RecNo(), 2u);
}

TEST_F(TLetterWindowsTest, DesignerFieldsWrapFontAndDiscard)
{
    TLetterDesign designer(addresses);
    designer.SetNewDocument(true);
    designer.SetDescription("{untitled}");
    designer.show();
    QApplication::processEvents();
    EXPECT_EQ(designer.windowTitle(), "Letter Designer");
    EXPECT_EQ(designer.InsertFieldList()->count(), 22);
    EXPECT_EQ(designer.InsertFieldList()->currentText(), "Full Name");
    // Each choice inserts, the one shown too.
    designer.InsertField(0);
    designer.InsertField(0);
    designer.InsertField(1);
    EXPECT_EQ(designer.Document().Document().toPlainText(),
              "[Full Name][Full Name][Name and Address]");

    EXPECT_EQ(designer.Action("WordWrapItem")->text(), "&Word Wrap is OFF");
    designer.WordWrapClick();
    EXPECT_EQ(designer.Action("WordWrapItem")->text(), "&Word Wrap is ON");
    EXPECT_EQ(designer.Action("DefaultFontItem")->text(), "&Default Font: Arial, 10 pt ");
    designer.SetFontChooser([](QFont& font) {
        font = QFont("Times New Roman", 12);
        font.setBold(true);
        font.setItalic(true);
        return true;
    });
    designer.DefaultFontClick();
    EXPECT_EQ(designer.Action("DefaultFontItem")->text(),
              "&Default Font: Times New Roman, 12 pt , bold, italic");
    EXPECT_EQ(TLetterDesign::StoredDefaultFont().family(), "Times New Roman");

    responder.QueueAnswer(true); // "Insert a page break?"
    designer.InsertPageBreakClick();
    EXPECT_TRUE(designer.Document().PageBreakBefore(designer.Editor()->textCursor().position()));

    // After a change, Cancel asks first; No keeps the designer open.
    responder.QueueAnswer(false);
    designer.reject();
    EXPECT_EQ(responder.Messages().back().text, "Discard the changes to this letter?");
    EXPECT_TRUE(designer.isVisible());
    responder.QueueAnswer(true);
    designer.reject();
    EXPECT_FALSE(designer.isVisible());
    test::SaveScreenshot(designer, "letter-designer");
}

TEST_F(TLetterWindowsTest, OkRefusesATextTooLargeToOpenAgainAndStaysOpen)
{
    // Stored, this text would be more RTF than the letter reader accepts: the letter could never
    // be opened, printed or checked again. Ok says so and the designer keeps it.
    TLetterDesign designer(addresses);
    designer.SetDescription("Big");
    // Short paragraphs: the editor lays each one out, and one long one would take minutes.
    const QString line = QString(59, QChar(0xE9)) + QLatin1Char('\n');
    designer.Editor()->document()->setPlainText(line.repeated(76000));
    designer.OkButtonClick();
    EXPECT_NE(designer.result(), int(QDialog::Accepted));
    ASSERT_FALSE(responder.Messages().empty());
    EXPECT_TRUE(
        responder.Messages().back().text.contains("a letter holds at most 16,777,216 bytes"))
        << responder.Messages().back().text.toStdString();
}

TEST_F(TLetterWindowsTest, PagePropertiesRefusesNoTextArea)
{
    TPagePropertiesDialog dialog(TLetterPageTwips{});
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Page Properties");
    EXPECT_EQ(dialog.Edit(0)->text(), "8.50");
    dialog.UnitList()->setCurrentText("Twips");
    EXPECT_EQ(dialog.Edit(0)->text(), "12240");
    QTest::keyClicks(dialog.Edit(4), "0"); // left margin 14400 twips
    EXPECT_EQ(dialog.Page().left, 14400);
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(responder.Texts().back().startsWith("The left margin 14400 twips"));
    // Text that is not a number: a message and the value kept.
    dialog.Edit(5)->selectAll();
    QTest::keyClicks(dialog.Edit(5), "x");
    EXPECT_EQ(dialog.Page().right, 1440);
    EXPECT_EQ(dialog.Edit(5)->text(), "1440");
    dialog.Edit(4)->selectAll();
    QTest::keyClicks(dialog.Edit(4), "1440");
    dialog.accept();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(TPagePropertiesDialog::RememberedUnit(), TPageUnit::Twips);
}

TEST_F(TLetterWindowsTest, PreviewPagesZoomAndRecords)
{
    richtext::TRichDocument letter;
    ASSERT_TRUE(letter.LoadRtf(LetterRtf("Dear [Last]", 2)).ok);
    TRTFPreviewForm preview(letter, addresses);
    // The page's width on the screen at 100 %.
    const int dpi = preview.logicalDpiX() > 0 ? preview.logicalDpiX() : 96;
    const int pageWidth = letter.PageLayout().paperWidth * dpi / 1440;
    const int pageHeight = letter.PageLayout().paperHeight * dpi / 1440;
    // The first zoom: the new window's width over the page's.
    EXPECT_EQ(preview.State().Zoom(), preview.width() * 100 / pageWidth);
    const int firstZoom = preview.State().Zoom();
    preview.resize(400, 500); // narrower than the page
    preview.show();
    QApplication::processEvents();
    EXPECT_EQ(preview.State().Zoom(), firstZoom);
    EXPECT_TRUE(preview.Final().Document().toPlainText().startsWith("Dear Avery"));
    preview.PriorPageClick(); // nothing on page 1
    EXPECT_EQ(preview.State().PageNumber(), 1);
    preview.NextPageClick();
    EXPECT_EQ(preview.State().PageNumber(), 2);
    EXPECT_EQ(preview.windowTitle(), "Preview Letters Page 2");
    preview.NextPageClick(); // nothing on the last page
    EXPECT_EQ(preview.State().PageNumber(), 2);
    preview.NextRecordClick();
    EXPECT_EQ(preview.State().PageNumber(), 1);
    EXPECT_TRUE(preview.Final().Document().toPlainText().startsWith("Dear Baker"));
    EXPECT_EQ(addresses.AsString("LNAME"), "Baker");
    preview.LastRecordClick();
    EXPECT_TRUE(preview.Final().Document().toPlainText().startsWith("Dear Cole"));

    // Page width: the scroll box's width over the page's width on the screen.
    auto* scrollBox = preview.findChild<QScrollArea*>();
    ASSERT_NE(scrollBox, nullptr);
    preview.PageWidthClick();
    int zoom = scrollBox->viewport()->width() * 100 / pageWidth;
    ASSERT_GT(zoom, 10);
    ASSERT_LT(zoom, 150); // the window is narrower than the page
    auto* zoomLabel = preview.findChild<QLabel*>(QStringLiteral("ZoomLabel"));
    auto* zoomIn = preview.findChild<QToolButton*>(QStringLiteral("ZoomInButton"));
    auto* zoomOut = preview.findChild<QToolButton*>(QStringLiteral("ZoomOutButton"));
    ASSERT_TRUE(zoomLabel && zoomIn && zoomOut);
    // What the window shows at a zoom: the number, the page panel's size, the buttons.
    const auto expectShown = [&](int expected) {
        SCOPED_TRACE("zoom " + std::to_string(expected));
        EXPECT_EQ(preview.State().Zoom(), expected);
        EXPECT_EQ(zoomLabel->text().toStdString(), std::to_string(expected) + "%");
        EXPECT_EQ(preview.PagePanel()->size(),
                  QSize(pageWidth * expected / 100, pageHeight * expected / 100));
        EXPECT_EQ(zoomIn->isEnabled(), expected < 150);
        EXPECT_EQ(zoomOut->isEnabled(), expected > 50);
    };
    expectShown(zoom);
    // Zoom in: a quarter more each time, fraction dropped, until 150 is passed.
    while (zoom < 150) {
        zoom = zoom * 5 / 4;
        zoomIn->click();
        expectShown(zoom);
    }
    preview.ZoomInClick(); // nothing above 150
    expectShown(zoom);
    test::SaveScreenshot(preview, "letter-preview");
    // Zoom out: a quarter less each time, until 50 is passed.
    while (zoom > 50) {
        zoom = zoom * 3 / 4;
        zoomOut->click();
        expectShown(zoom);
    }
    preview.ZoomOutClick(); // nothing below 50
    expectShown(zoom);
}

TEST_F(TLetterWindowsTest, NoScratchFileIsWrittenOrRemoved)
{
    // A user's file of the old scratch name in the current folder stays as it is.
    const QString previous = QDir::currentPath();
    QDir::setCurrent(home.Dir());
    {
        QFile mine(QStringLiteral("eraseme.rtf"));
        ASSERT_TRUE(mine.open(QIODevice::WriteOnly));
        mine.write("my own notes");
    }
    TqMLetters window(addresses, QString(), sysdata);
    window.Store().Append("Letter", LetterRtf("Dear [First]", 1));
    window.FillList(0);
    window.SetRunHook([&](QDialog& dialog) {
        auto& designer = dynamic_cast<TLetterDesign&>(dialog);
        designer.show();
        designer.Editor()->insertPlainText("More. ");
        designer.OkButtonClick();
        return int(designer.result());
    });
    window.ModifyButtonClick();
    responder.QueueAnswer(true);
    window.CloneButtonClick();
    EXPECT_EQ(window.Store().Rows().size(), 2u);
    QFile mine(QStringLiteral("eraseme.rtf"));
    ASSERT_TRUE(mine.open(QIODevice::ReadOnly));
    EXPECT_EQ(mine.readAll(), "my own notes");
    QDir::setCurrent(previous);
}

TEST_F(TLetterWindowsTest, PrinterGetsTheLettersPaperAndOneCopy)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(home.Path("p.pdf"));
    printer.setPageSize(QPageSize(QPageSize::Letter));
    printer.setCopyCount(5);
    // An A4 letter (11906 x 16838 twips).
    TPrinterLetterSink::PreparePrinter(printer, {11906, 16838, 1440, 1440, 1440, 1440});
    EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::A4);
    EXPECT_EQ(printer.copyCount(), 1);
}

// A window as the user sees it: the whole frame on the screen's free area.
void ExpectFitsTheScreen(QWidget& window)
{
    SCOPED_TRACE(window.objectName().toStdString() + " " + window.windowTitle().toStdString());
    ASSERT_NE(window.screen(), nullptr);
    const QRect free = window.screen()->availableGeometry();
    EXPECT_LE(window.frameGeometry().width(), free.width());
    EXPECT_LE(window.frameGeometry().height(), free.height());
    EXPECT_TRUE(free.contains(window.frameGeometry()))
        << "frame " << window.frameGeometry().x() << "," << window.frameGeometry().y() << " "
        << window.frameGeometry().width() << "x" << window.frameGeometry().height() << " on "
        << free.width() << "x" << free.height();
}

// Controls (by object name) shown whole inside their window, with room to be seen.
void ExpectShownWhole(QWidget& window, std::initializer_list<const char*> names)
{
    for (const char* name : names) {
        SCOPED_TRACE(name);
        auto* control = window.findChild<QWidget*>(QString::fromLatin1(name));
        ASSERT_NE(control, nullptr);
        EXPECT_TRUE(control->isVisible());
        EXPECT_GT(control->width(), 0);
        EXPECT_GT(control->height(), 0);
        const QRect inWindow(control->mapTo(&window, QPoint(0, 0)), control->size());
        EXPECT_TRUE(window.rect().contains(inWindow))
            << inWindow.x() << "," << inWindow.y() << " " << inWindow.width() << "x"
            << inWindow.height() << " in " << window.width() << "x" << window.height();
    }
}

TEST_F(TLetterWindowsTest, LetterWindowsFitTheScreenAndShowTheirControls)
{
    TqMLetters window(addresses, QStringLiteral("CITY = \"Springfield\""), sysdata);
    window.Store().Append("Thank you letter", LetterRtf("Dear [Full Name]", 1));
    window.Store().Append("Renewal reminder", LetterRtf("Dear [First]", 1));
    window.FillList(0);
    window.show();
    QApplication::processEvents();
    test::SaveScreenshot(window, "print-letters");
    ExpectFitsTheScreen(window);
    ASSERT_EQ(window.LetterList()->rowCount(), 2);
    EXPECT_EQ(window.LetterList()->item(0, 0)->text().toStdString(), "Renewal reminder");
    EXPECT_EQ(window.LetterList()->item(1, 0)->text().toStdString(), "Thank you letter");
    EXPECT_TRUE(window.FilterButton()->isEnabled());
    ExpectShownWhole(window, {"LetterList", "ModifyButton", "NewButton", "DeleteButton",
                              "CloneButton", "rbQAll", "rbQFilter", "rbQCurrent",
                              "StartFromCurrentBox", "CopiesEdit", "PrinterLabel", "OkButton",
                              "PrintButton", "PreviewButton", "PrinterSetupButton", "HelpButton"});

    TLetterDesign designer(addresses);
    ASSERT_TRUE(designer.LoadRtf(LetterRtf("Dear [Full Name]", 2)).ok);
    designer.SetDescription("Thank you letter");
    designer.show();
    QApplication::processEvents();
    test::SaveScreenshot(designer, "letter-designer");
    ExpectFitsTheScreen(designer);
    ExpectShownWhole(designer, {"ToolBar", "Ruler", "Editor", "DescriptionEdit", "InsertFieldList",
                                "OkButton", "CancelButton", "PreviewButton", "HelpButton"});

    richtext::TRichDocument letter;
    ASSERT_TRUE(letter.LoadRtf(LetterRtf("Dear [Full Name]", 1)).ok);
    TRecordingSink sink;
    TLetterPrint status(letter, addresses, sink, 1, true);
    RunShown(status);
    status.show();
    QApplication::processEvents();
    test::SaveScreenshot(status, "letter-print-status");
    ExpectFitsTheScreen(status);
    EXPECT_TRUE(status.StatusLabel()->isVisible());
    EXPECT_FALSE(status.StatusLabel()->text().isEmpty());
    EXPECT_TRUE(status.CancelButton()->isVisible());

    TPagePropertiesDialog page(TLetterPageTwips{});
    page.show();
    QApplication::processEvents();
    test::SaveScreenshot(page, "page-properties");
    ExpectFitsTheScreen(page);
    EXPECT_TRUE(page.UnitList()->isVisible());
    for (int edit = 0; edit < 6; ++edit)
        EXPECT_TRUE(page.Edit(edit)->isVisible()) << edit;
}

} // namespace
} // namespace qm::letters
