// Where a print on the "PDF file" printer goes: the name made from the job, the folder used last,
// the save dialog with its question before replacing a file, the print dialog's output file, and
// the status window naming the file written.

#include "print/ui/TPdfFileDialog.h"

#include "TPdfFileAnswer.h"
#include "TPrintTestSupport.h"
#include "TScriptedResponder.h"
#include "TTestHome.h"
#include "data/TSettingsFile.h"
#include "print/TPdfOutputName.h"
#include "print/TReportPrinter.h"
#include "print/ui/TPrintStatusWindow.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace qm::print {
namespace {

TEST(TPdfOutputNameTest, TheJobsNameBecomesAFileName)
{
    EXPECT_EQ(TPdfOutputName::FileName("Labels - Avery 5160"), "Labels - Avery 5160.pdf");
    // Characters no file name may hold become dashes; blanks are tidied.
    EXPECT_EQ(TPdfOutputName::FileName("Letters - A/B: \"Q*?\" <x>|y\\z"),
              "Letters - A-B- -Q--- -x--y-z.pdf");
    EXPECT_EQ(TPdfOutputName::FileName("Labels - Avery 5160  Address\t"),
              "Labels - Avery 5160 Address.pdf");
    // No hidden file, no trailing dot, never an empty name.
    EXPECT_EQ(TPdfOutputName::FileName(" ..secret. "), "secret.pdf");
    EXPECT_EQ(TPdfOutputName::FileName(""), "Quillmark.pdf");
    EXPECT_EQ(TPdfOutputName::FileName(" . "), "Quillmark.pdf");
    EXPECT_EQ(TPdfOutputName::FileName(QString(300, QLatin1Char('x'))),
              QString(100, QLatin1Char('x')) + ".pdf");
    EXPECT_EQ(TPdfOutputName::FileName(QString::fromUtf8("Envelopes - Café")),
              QString::fromUtf8("Envelopes - Café.pdf"));
}

TEST(TPdfOutputNameTest, TheFolderUsedLastIsOfferedWhileItExists)
{
    qm::test::TTestHome home;
    EXPECT_NE(TPdfOutputName::LastFolder(), QString());
    QDir().mkpath(home.Path("out/pdfs"));
    TPdfOutputName::RememberFolder(home.Path("out/pdfs/a.pdf"));
    EXPECT_EQ(TPdfOutputName::LastFolder(), home.Path("out/pdfs"));
    EXPECT_EQ(TPdfOutputName::Suggested("Zip Code Count"),
              home.Path("out/pdfs/Zip Code Count.pdf"));
    const data::TSettingsFile settings(home.Home().SettingsPath());
    EXPECT_EQ(settings.ReadString("Printing", "PdfFolder"), home.Path("out/pdfs"));
    // A folder removed since is not offered.
    QDir(home.Path("out")).removeRecursively();
    EXPECT_NE(TPdfOutputName::LastFolder(), home.Path("out/pdfs"));
    EXPECT_EQ(TPdfOutputName::WrittenLine("/tmp/a b.pdf"),
              "Written to " + QDir::toNativeSeparators("/tmp/a b.pdf"));
}

class TPdfFileDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::UsePdfPrinter();
        QDir().mkpath(mHome.Path("pdfs"));
        TPdfOutputName::RememberFolder(mHome.Path("pdfs/x.pdf"));
        TRPDevice::Instance().SetPdfOutputPath(mHome.Path("Quillmark.pdf"));
    }
    void TearDown() override { TRPDevice::Instance().SetPdfOutputPath(QString()); }

    static void Touch(const QString& path)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("old");
    }

    qm::test::TTestHome mHome;
    qm::test::TScriptedResponder mResponder;
};

TEST_F(TPdfFileDialogTest, SaveDialogOffersTheJobsNameInTheLastFolderAndSetsTheOutput)
{
    qm::test::TPdfFileAnswer answer; // takes the name offered
    EXPECT_TRUE(TPdfFileDialog::Choose(nullptr, "Labels - Avery 5160"));
    EXPECT_EQ(answer.offered, QStringList{mHome.Path("pdfs/Labels - Avery 5160.pdf")});
    EXPECT_EQ(TRPDevice::Instance().PdfOutputPath(), mHome.Path("pdfs/Labels - Avery 5160.pdf"));
    EXPECT_TRUE(mResponder.Texts().isEmpty());

    // Another folder chosen is the one offered next time.
    QDir().mkpath(mHome.Path("other"));
    qm::test::TPdfFileAnswer elsewhere(mHome.Path("other/mine.pdf"));
    EXPECT_TRUE(TPdfFileDialog::Choose(nullptr, "Envelopes - #10"));
    EXPECT_EQ(TRPDevice::Instance().PdfOutputPath(), mHome.Path("other/mine.pdf"));
    EXPECT_EQ(TPdfOutputName::LastFolder(), mHome.Path("other"));
}

TEST_F(TPdfFileDialogTest, AnExistingFileIsReplacedOnlyAfterYes)
{
    const QString taken = mHome.Path("pdfs/Report 1.pdf");
    Touch(taken);
    {
        // No: the dialog comes again, and cancelling it cancels the print.
        qm::test::TPdfFileAnswer answer;
        mResponder.QueueAnswer(false);
        EXPECT_FALSE(TPdfFileDialog::Choose(nullptr, "Report 1"));
        EXPECT_EQ(answer.offered.size(), 2);
        ASSERT_EQ(mResponder.Messages().size(), 1u);
        EXPECT_EQ(mResponder.Messages()[0].caption, "Warning!");
        EXPECT_EQ(mResponder.Messages()[0].text,
                  QDir::toNativeSeparators(taken) +
                      " already exists.\r\nDo you want to overwrite it?");
        EXPECT_EQ(TRPDevice::Instance().PdfOutputPath(), mHome.Path("Quillmark.pdf"));
    }
    qm::test::TPdfFileAnswer answer;
    mResponder.QueueAnswer(true);
    EXPECT_TRUE(TPdfFileDialog::Choose(nullptr, "Report 1"));
    EXPECT_EQ(TRPDevice::Instance().PdfOutputPath(), taken);
}

TEST_F(TPdfFileDialogTest, ANameThatIsNoFileIsRefusedAndAskedAgain)
{
    QDir().mkpath(mHome.Path("pdfs/folder.pdf"));
    qm::test::TPdfFileAnswer answer(mHome.Path("pdfs/folder.pdf"));
    answer.Queue(mHome.Path("pdfs/fine.pdf"));
    EXPECT_TRUE(TPdfFileDialog::Choose(nullptr, "Labels"));
    ASSERT_EQ(mResponder.Texts().size(), 1);
    EXPECT_TRUE(mResponder.Texts()[0].startsWith("The PDF cannot be written to"))
        << mResponder.Texts()[0].toStdString();
    EXPECT_EQ(TRPDevice::Instance().PdfOutputPath(), mHome.Path("pdfs/fine.pdf"));
}

TEST_F(TPdfFileDialogTest, OtherPrintersAskNothing)
{
    TRPDevice::Instance().ReloadWith(
        {TRPDeviceItem(TRPDeviceItem::TKind::System, "Office", "CUPS", "CUPS")});
    TRPDevice::Instance().SetPrinterIndex(0);
    qm::test::TPdfFileAnswer answer;
    EXPECT_TRUE(TPdfFileDialog::Choose(nullptr, "Labels"));
    EXPECT_TRUE(answer.offered.isEmpty());
    EXPECT_TRUE(TPdfFileDialog::Take(nullptr, QString(), "Labels"));
    EXPECT_TRUE(answer.offered.isEmpty());
}

TEST_F(TPdfFileDialogTest, ThePrintDialogsOutputFileIsOfferedAndTaken)
{
    QPrinter* printer = TRPDevice::Instance().Printer();
    ASSERT_NE(printer, nullptr);
    TPdfFileDialog::Offer(*printer, "Letters - Welcome");
    EXPECT_EQ(printer->docName(), "Letters - Welcome");
    EXPECT_EQ(printer->outputFileName(), mHome.Path("pdfs/Letters - Welcome.pdf"));
    EXPECT_EQ(TPdfFileDialog::DialogOutput(*printer), mHome.Path("pdfs/Letters - Welcome.pdf"));

    // What the user typed in the dialog's "Output file" is where the print goes.
    QDir().mkpath(mHome.Path("typed"));
    qm::test::TPdfFileAnswer answer;
    EXPECT_TRUE(TPdfFileDialog::Take(nullptr, mHome.Path("typed/mine.pdf"), "Letters - Welcome"));
    EXPECT_TRUE(answer.offered.isEmpty());
    EXPECT_EQ(TRPDevice::Instance().PdfOutputPath(), mHome.Path("typed/mine.pdf"));
    EXPECT_EQ(TRPDevice::Instance().Printer()->outputFileName(), mHome.Path("typed/mine.pdf"));
    // No name there: the save dialog asks.
    EXPECT_TRUE(TPdfFileDialog::Take(nullptr, QString(), "Letters - Welcome"));
    EXPECT_EQ(answer.offered, QStringList{mHome.Path("typed/Letters - Welcome.pdf")});
}

TEST_F(TPdfFileDialogTest, TheFinalStatusNamesTheFileWritten)
{
    const QString file = mHome.Path("pdfs/100% done.pdf");
    TRPDevice::Instance().SetPdfOutputPath(file);
    TReportPrinter job;
    job.OnBeforePrint = [](TBaseReport& r) {
        r.SetStatusFormat(QStringLiteral("Printing Page %p\r%0\r%1"));
        r.StatusText() << QString() << QString();
    };
    job.OnPrint = [](TBaseReport& r) { r.TextLeft(QStringLiteral("Hello"), 1); };
    TPrintStatusTexts texts;
    texts.printCompleted = QStringLiteral("\rLabel Print Completed!");
    TPrintStatusWindow window(job, TPrintStatusMode::Print, texts);
    window.show();
    for (int i = 0; i < 100 && !window.Finished(); ++i)
        QTest::qWait(10);
    ASSERT_TRUE(window.Finished());
    EXPECT_EQ(job.OutputFile(), file);
    EXPECT_TRUE(QFile::exists(file));
    // The '%' of the path stays as it is.
    EXPECT_EQ(window.StatusLabel()->text(),
              "\nLabel Print Completed!\nWritten to " + QDir::toNativeSeparators(file));
}

TEST_F(TPdfFileDialogTest, APdfThatCannotBeWrittenIsAFailureNotACompletion)
{
    // The folder is gone by the time the job runs.
    TRPDevice::Instance().SetPdfOutputPath(mHome.Path("gone/x.pdf"));
    TReportPrinter job;
    job.OnPrint = [](TBaseReport& r) { r.TextLeft(QStringLiteral("Hello"), 1); };
    TPrintStatusTexts texts;
    TPrintStatusWindow window(job, TPrintStatusMode::Print, texts);
    window.show();
    for (int i = 0; i < 100 && !window.Finished(); ++i)
        QTest::qWait(10);
    ASSERT_TRUE(window.Finished());
    EXPECT_TRUE(job.OutputFile().isEmpty());
    EXPECT_FALSE(window.StatusLabel()->text().contains("Written to"));
    EXPECT_FALSE(window.StatusLabel()->text().contains("Completed"));
    ASSERT_FALSE(mResponder.Messages().empty());
    EXPECT_EQ(mResponder.Messages()[0].caption, "Error");
}

} // namespace
} // namespace qm::print
