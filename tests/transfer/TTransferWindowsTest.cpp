// The import and export windows driven offscreen from the main window's commands, with scripted
// answers: the hand-overs, the matching windows, stops, refusals and the closing messages.

#include "TScreenshot.h"
#include "TScriptedResponder.h"
#include "TTestHome.h"
#include "TTransferTestSupport.h"
#include "addressbook/ui/TAddressMain.h"
#include "data/TAddressFile.h"
#include "data/TSettingsFile.h"
#include "data/ui/THelpWindow.h"
#include "transfer/ui/TAsciiImport.h"
#include "transfer/ui/TAsciiMatch.h"
#include "transfer/ui/TCopyOut.h"
#include "transfer/ui/TDBFImport.h"
#include "transfer/ui/TDBFMatch.h"
#include "transfer/ui/TImportOlder.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace qm::transfer;
using namespace qm::transfer::test;
using qm::addressbook::TAddressMain;

namespace {

// Fits a screen of 960 x 540 logical pixels (1080p at 200 %) with room for a title bar, at the
// size it opens with and at its least size.
void ExpectFitsSmallScreen(QWidget& window)
{
    for (const QSize size :
         {window.size(), window.minimumSize().expandedTo(window.minimumSizeHint())}) {
        EXPECT_LE(size.width(), 960) << window.objectName().toStdString();
        EXPECT_LE(size.height() + 40, 540) << window.objectName().toStdString();
    }
}

class TransferWindows : public ::testing::Test {
protected:
    void SetUp() override
    {
        qm::data::TSettingsFile settings(mHome.Home().SettingsPath());
        settings.WriteBool("Misc", "GettingStarted", true);
        QDir().mkpath(mHome.Path("DATA"));
        mAddress = mHome.Path("DATA/ADD0001.DBF");
        ASSERT_EQ(qm::data::TAddressFile::Create(mAddress, {}), QString());
        auto t = qm::xbase::TTable::Open(mAddress.toStdString());
        for (const char* name : {"Young", "Adams"}) {
            t->AppendBlank();
            t->PutString(0, name);
            t->Post();
        }
        t->Close();
    }

    void Start()
    {
        mWindow = std::make_unique<TAddressMain>();
        mWindow->show();
        QTest::qWait(20);
        QCoreApplication::processEvents();
    }

    // Runs a menu command; drive(dialog) runs once the command's window is showing.
    template <typename TWindow>
    void Command(const char* action, const std::function<void(TWindow&)>& drive)
    {
        mWindow->SetDialogHook([drive](QDialog& dialog) {
            auto* window = dynamic_cast<TWindow*>(&dialog);
            ASSERT_NE(window, nullptr);
            QTimer::singleShot(0, window, [window, drive] {
                drive(*window);
                if (window->isVisible())
                    window->done(QDialog::Rejected);
            });
        });
        mWindow->findChild<QAction*>(QLatin1String(action))->trigger();
        QCoreApplication::processEvents();
    }

    QString Path(const QString& name) const { return mHome.Path(name); }

    qm::test::TTestHome mHome;
    qm::test::TScriptedResponder mResponder;
    QString mAddress;
    std::unique_ptr<TAddressMain> mWindow;
};

} // namespace

TEST_F(TransferWindows, AsciiImportMatchesImportsAndReopensTheFile)
{
    WriteFile(Path("in.csv"), "\"Brown, Jr.\",Boston\r\nCole\r\nDay,Cork,extra\r\n");
    Start();
    bool matched = false;
    Command<TAsciiImport>("ImportAsciiItem", [&](TAsciiImport& w) {
        EXPECT_EQ(w.windowTitle(), QStringLiteral("ASCII File Import"));
        EXPECT_EQ(w.FileNameText(), QStringLiteral("(none)"));
        EXPECT_FALSE(w.MatchButton()->isEnabled());
        qm::test::SaveScreenshot(w, QStringLiteral("ascii-import"));
        w.SetFileChooser([&] { return Path("in.csv"); });
        w.SelectFileClick();
        EXPECT_EQ(w.FileNameText(), QStringLiteral("in.csv"));
        EXPECT_TRUE(w.MatchButton()->isEnabled());
        EXPECT_FALSE(w.ImportButton()->isEnabled());
        w.SetMatchHook([&](TAsciiMatch& m) {
            m.show();
            qm::test::SaveScreenshot(m, QStringLiteral("ascii-match"));
            ExpectFitsSmallScreen(m);
            EXPECT_EQ(m.SampleGrid()->columnCount(), 3); // the largest line, not the first
            EXPECT_EQ(m.SampleGrid()->item(0, 0)->text(), QStringLiteral("Brown, Jr."));
            EXPECT_EQ(m.MatchGrid()->horizontalHeaderItem(1)->text(),
                      QStringLiteral("Import from Field (in in.csv)"));
            EXPECT_EQ(m.PopupEntries(), (QStringList{"(none)", "Field 1", "Field 2", "Field 3"}));
            m.MatchGrid()->setCurrentCell(8, 0); // City
            m.ChoosePopupEntry(1);
            m.MatchGrid()->setCurrentCell(0, 0); // Last Name takes Field 1 away from City
            m.ChoosePopupEntry(1);
            EXPECT_EQ(m.MatchGrid()->item(8, 1)->text(), QString());
            m.MatchGrid()->setCurrentCell(8, 0);
            m.ChoosePopupEntry(2);
            matched = true;
            return int(QDialog::Accepted);
        });
        w.MatchButton()->click();
        EXPECT_TRUE(w.ImportButton()->isEnabled());
        w.ImportButton()->click();
    });
    EXPECT_TRUE(matched);
    EXPECT_EQ(mResponder.Texts(), QStringList{"Import complete. Imported 3 records.\r\n"
                                              "3 lines read formed 3 records."});
    // The main window has its file again, sorted by last name, the first record shown.
    EXPECT_TRUE(mWindow->Book().IsOpen());
    EXPECT_EQ(mWindow->Book().DataSet().AsString("LNAME"), QStringLiteral("Adams"));
    mWindow.reset();
    EXPECT_EQ(Column(mAddress, "LNAME"),
              (std::vector<std::string>{"Young", "Adams", "Brown, Jr.", "Cole", "Day"}));
    EXPECT_EQ(Column(mAddress, "CITY"), (std::vector<std::string>{"", "", "Boston", "", "Cork"}));
    qm::data::TDataSet check;
    qm::data::TAddressFile::DeclareFieldObjects(check);
    ASSERT_TRUE(qm::data::TAddressFile::Open(check, mAddress).opened);
    EXPECT_TRUE(qm::data::TAddressFile::TagsValid(check));
}

TEST_F(TransferWindows, AsciiImportStopsAfterFortyOfAHundred)
{
    QByteArray bytes;
    for (int i = 1; i <= 100; ++i)
        bytes += "N" + QByteArray::number(i) + "\r\n";
    WriteFile(Path("many.csv"), bytes);
    Start();
    Command<TAsciiImport>("ImportAsciiItem", [&](TAsciiImport& w) {
        w.SetFileChooser([&] { return Path("many.csv"); });
        w.SelectFileClick();
        w.SetMatchHook([](TAsciiMatch& m) {
            m.ChoosePopupEntry(1); // the first row (Last Name) is current
            return int(QDialog::Accepted);
        });
        w.MatchButton()->click();
        w.SetAfterRecordHook([&](int64_t n) {
            EXPECT_TRUE(w.Importing());
            EXPECT_FALSE(w.MatchButton()->isVisible());
            if (n == 40)
                w.CancelButton()->click();
        });
        w.ImportButton()->click();
    });
    EXPECT_EQ(mResponder.Texts(), QStringList{"Import cancelled after importing 40 records.\r\n"
                                              "40 lines read formed 40 records."});
    mWindow.reset();
    EXPECT_EQ(Column(mAddress, "LNAME").size(), 42u);
}

TEST_F(TransferWindows, AsciiImportRefusesUnusableFilesAndChangesNothing)
{
    WriteFile(Path("one.csv"), "just one line\r\n");
    WriteFile(Path("open.csv"), "a\r\nb\r\n\"never\r\nclosed\r\n");
    const QByteArray before = ReadFile(mAddress);
    Start();
    Command<TAsciiImport>("ImportAsciiItem", [&](TAsciiImport& w) {
        w.SetFileChooser([&] { return Path("one.csv"); });
        w.SelectFileClick();
        EXPECT_FALSE(w.MatchButton()->isEnabled());
        w.SetFileChooser([&] { return Path("open.csv"); });
        w.SelectFileClick();
        EXPECT_FALSE(w.MatchButton()->isEnabled());
    });
    EXPECT_EQ(
        mResponder.Texts(),
        (QStringList{
            "Unable to import from this file",
            "Unable to import from this file\r\n\r\nLine 3: a quoted value is never closed."}));
    mWindow.reset();
    EXPECT_EQ(ReadFile(mAddress), before);
}

TEST_F(TransferWindows, AsciiImportFindsColumnNamesAndTheUserDecides)
{
    // As a spreadsheet saves it: the first line names the columns.
    WriteFile(Path("people.csv"), "First Name,Last Name,Shoe size,City\r\n"
                                  "Ann,Bell,7,Oslo\r\n"
                                  "Bob,Crane,9,Rome\r\n");
    Start();
    Command<TAsciiImport>("ImportAsciiItem", [&](TAsciiImport& w) {
        w.SetFileChooser([&] { return Path("people.csv"); });
        w.SelectFileClick();
        EXPECT_TRUE(w.HeaderLine());
        EXPECT_EQ(w.StatusText(),
                  QStringLiteral("The first line holds column names; 3 of 4 matched by name."));
        EXPECT_FALSE(w.ImportButton()->isEnabled()); // the user sees the matches first
        // First look, then untick: the first line is data again, the matches stay.
        w.SetMatchHook([&](TAsciiMatch& m) {
            m.show();
            qm::test::SaveScreenshot(m, QStringLiteral("ascii-match-header"));
            ExpectFitsSmallScreen(m);
            EXPECT_TRUE(m.HeaderCheck()->isChecked());
            EXPECT_EQ(m.HeaderCheck()->text(), QStringLiteral("First line holds column names"));
            EXPECT_TRUE(m.SampleGrid()->isRowHidden(0));
            EXPECT_EQ(m.SampleGrid()->horizontalHeaderItem(1)->text(),
                      QStringLiteral("Field 2\nLast Name"));
            EXPECT_EQ(m.MatchGrid()->item(0, 1)->text(), QStringLiteral("Field 2 (Last Name)"));
            EXPECT_EQ(m.MatchGrid()->item(8, 1)->text(), QStringLiteral("Field 4 (City)"));
            EXPECT_EQ(m.PopupEntries()[3], QStringLiteral("Field 3 (Shoe size)"));
            m.HeaderCheck()->setChecked(false);
            EXPECT_FALSE(m.SampleGrid()->isRowHidden(0));
            EXPECT_EQ(m.SampleGrid()->horizontalHeaderItem(1)->text(), QStringLiteral("Field 2"));
            EXPECT_EQ(m.MatchGrid()->item(0, 1)->text(), QStringLiteral("Field 2"));
            return int(QDialog::Accepted);
        });
        w.MatchButton()->click();
        EXPECT_FALSE(w.HeaderLine());
        // Tick it again: the first line is left out once more.
        w.SetMatchHook([&](TAsciiMatch& m) {
            EXPECT_FALSE(m.HeaderCheck()->isChecked());
            QTest::keyClick(m.HeaderCheck(), Qt::Key_Space);
            EXPECT_TRUE(m.HeaderCheck()->isChecked());
            m.MatchGrid()->setCurrentCell(1, 0); // First Name: (none)
            m.ChoosePopupEntry(0);
            return int(QDialog::Accepted);
        });
        w.MatchButton()->click();
        EXPECT_TRUE(w.HeaderLine());
        w.ImportButton()->click();
    });
    EXPECT_EQ(mResponder.Texts(),
              QStringList{"Import complete. Imported 2 records.\r\n"
                          "3 lines read formed 2 records after the line of column names."});
    mWindow.reset();
    EXPECT_EQ(Column(mAddress, "LNAME"),
              (std::vector<std::string>{"Young", "Adams", "Bell", "Crane"}));
    EXPECT_EQ(Column(mAddress, "FNAME"), (std::vector<std::string>{"", "", "", ""}));
    EXPECT_EQ(Column(mAddress, "CITY"), (std::vector<std::string>{"", "", "Oslo", "Rome"}));
}

TEST_F(TransferWindows, VCardsComeInThroughTheImportAndGoOutThroughTheCopy)
{
    WriteFile(Path("cards.vcf"), "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Berg;Anna;;;\r\n"
                                 "NOTE:Likes tea\r\nEND:VCARD\r\n");
    Start();
    Command<TAsciiImport>("ImportAsciiItem", [&](TAsciiImport& w) {
        w.SetFileChooser([&] { return Path("cards.vcf"); });
        w.SelectFileClick();
        EXPECT_TRUE(w.VCardFile());
        EXPECT_FALSE(w.MatchButton()->isEnabled());
        EXPECT_TRUE(w.ImportButton()->isEnabled());
        EXPECT_EQ(w.StatusText(),
                  QStringLiteral("A vCard file: each card fills the fields by itself."));
        w.ImportButton()->click();
    });
    EXPECT_EQ(mResponder.Texts().join('|').toStdString(),
              "Import complete. Imported 1 records.\r\n5 lines read formed 1 record.");
    EXPECT_EQ(mWindow->Book().DataSet().AsString("LNAME"), QStringLiteral("Adams"));

    Command<TCopyOut>("ExportItem", [&](TCopyOut& w) {
        EXPECT_FALSE(w.VCardVersionChoice()->isEnabled());
        w.VCardOption()->click();
        EXPECT_TRUE(w.VCardVersionChoice()->isEnabled());
        EXPECT_FALSE(w.EncodingChoice()->isEnabled());
        w.VCardVersionChoice()->setCurrentIndex(1);
        EXPECT_EQ(w.VCardVersion(), TVCardVersion::V40);
        qm::test::SaveScreenshot(w, QStringLiteral("copy-out-vcard"));
        ExpectFitsSmallScreen(w);
        w.SetFileChooser([&](TCopyTargetKind kind) {
            EXPECT_EQ(kind, TCopyTargetKind::VCard);
            return Path("out.vcf");
        });
        w.SaveAsButtonClick();
    });
    const QByteArray out = ReadFile(Path("out.vcf"));
    EXPECT_EQ(out.count("BEGIN:VCARD\r\nVERSION:4.0\r\n"), 3); // in the main window's order
    EXPECT_TRUE(out.contains("N:Berg;Anna;;;\r\nFN:Anna Berg\r\nNOTE:Likes tea\r\n"))
        << out.toStdString();
}

TEST_F(TransferWindows, DbfImportPresetsOnFirstOpeningAndRefusesItself)
{
    const QString src = Path("other.dbf");
    {
        auto t = qm::xbase::TTable::Create(src.toStdString(),
                                           {{"CITY", qm::xbase::TFieldType::Character, 20, 0},
                                            {"NOTES", qm::xbase::TFieldType::Memo, 10, 0}});
        t->AppendBlank();
        t->PutString(0, "Paris");
        t->PutMemo(1, "12345678");
        t->Post();
        t->Close();
    }
    Start();
    Command<TDBFImport>("ImportDbfItem", [&](TDBFImport& w) {
        EXPECT_EQ(w.windowTitle(), QStringLiteral("DBF File Import"));
        w.SetFileChooser([&] { return mAddress; });
        w.SelectFileClick();
        EXPECT_EQ(w.FileNameText(), QStringLiteral("(none)"));
        w.SetFileChooser([&] { return src; });
        w.SelectFileClick();
        w.SetMatchHook([&](TDBFMatch& m) {
            m.show();
            qm::test::SaveScreenshot(m, QStringLiteral("dbf-match"));
            ExpectFitsSmallScreen(m);
            EXPECT_EQ(m.BrowseGrid()->model()->rowCount(), 1);
            EXPECT_EQ(m.MatchGrid()->item(8, 1)->text(), QStringLiteral("CITY"));
            EXPECT_EQ(m.MatchGrid()->item(19, 0)->text(), QStringLiteral("Memo"));
            EXPECT_EQ(m.MatchGrid()->item(19, 1)->text(), QStringLiteral("NOTES"));
            m.MatchGrid()->setCurrentCell(19, 0);
            EXPECT_EQ(m.PopupEntries(), (QStringList{"(none)", "NOTES"}));
            return int(QDialog::Accepted);
        });
        w.MatchButton()->click();
        w.ImportButton()->click();
    });
    EXPECT_EQ(mResponder.Texts(), (QStringList{"Cannot import a file to itself",
                                               "Import complete. Imported 1 records."}));
    mWindow.reset();
    EXPECT_EQ(Column(mAddress, "CITY").back(), "Paris");
    EXPECT_EQ(Column(mAddress, "MEMO").back(), "12345678 ");
}

TEST_F(TransferWindows, OlderImportWorksOnTheMainTableAndChecksTheVersion)
{
    const QString old = Path("old2.dbf");
    {
        std::vector<qm::xbase::TFieldDef> defs;
        for (const char* name :
             {"LNAME", "FNAME", "MIDDLE", "TITLE",   "ORG",   "STREET", "STREET2",
              "CITY",  "STATE", "ZIP",    "COUNTRY", "PHONE", "PHONE2", "EMAIL",
              "FAX",   "CODES", "PREFIX", "DATE",    "USER1", "USER2"})
            defs.push_back({name, qm::xbase::TFieldType::Character, 20, 0});
        defs.push_back({"ISDEL", qm::xbase::TFieldType::Logical, 1, 0});
        defs.push_back({"MEMO", qm::xbase::TFieldType::Memo, 10, 0});
        defs.push_back({"TAG", qm::xbase::TFieldType::Character, 8, 0});
        auto t = qm::xbase::TTable::Create(old.toStdString(), defs);
        t->AppendBlank();
        t->PutString(0, "Baker");
        t->AppendBlank();
        t->PutString(0, "Gone");
        t->PutLogical(20, true);
        t->Close();
    }
    Start();
    Command<TImportOlder>("Import1xItem", [&](TImportOlder& w) {
        EXPECT_EQ(w.windowTitle(), QStringLiteral("Import Quillmark 1.x DBF"));
        w.SetFileChooser([&] { return old; });
        w.SelectFileClick();
        EXPECT_FALSE(w.ImportButton()->isEnabled());
    });
    Command<TImportOlder>("Import2xItem", [&](TImportOlder& w) {
        qm::test::SaveScreenshot(w, QStringLiteral("import-older"));
        w.SetFileChooser([&] { return mAddress; });
        w.SelectFileClick();
        w.SetFileChooser([&] { return old; });
        w.SelectFileClick();
        EXPECT_TRUE(w.ImportButton()->isEnabled());
        w.ImportButton()->click();
    });
    EXPECT_EQ(mResponder.Texts(), (QStringList{old + " does not appear to be a Quillmark 1.x DBF",
                                               "Cannot import a file to itself",
                                               "Import complete. Imported 2 records."}));
    // Three records show: the deleted 2.x record stays hidden.
    auto& book = mWindow->Book();
    EXPECT_EQ(book.Apollo().QueryRecCount(), 3u);
    EXPECT_EQ(book.SortTag(), QStringLiteral("LNAME"));
}

TEST_F(TransferWindows, CopyOutChecksTheNameAndStopsWhenAsked)
{
    {
        auto t = qm::xbase::TTable::Open(mAddress.toStdString());
        for (int i = 0; i < 998; ++i) {
            t->AppendBlank();
            t->PutString(0, "R" + std::to_string(i));
        }
        t->Close();
    }
    Start();
    Command<TCopyOut>("ExportItem", [&](TCopyOut& w) {
        EXPECT_TRUE(w.DbfOption()->isChecked());
        qm::test::SaveScreenshot(w, QStringLiteral("copy-out"));
        w.SetFileChooser([&](TCopyTargetKind) { return Path("wrong.txt"); });
        w.SaveAsButtonClick();
        w.SetFileChooser([&](TCopyTargetKind) { return mAddress; });
        w.SaveAsButtonClick();
        EXPECT_TRUE(w.isVisible());
        w.SetFileChooser([&](TCopyTargetKind kind) {
            EXPECT_EQ(kind, TCopyTargetKind::Dbf);
            return Path("part.DBF");
        });
        mResponder.QueueAnswer(true); // "Cancel copy?"
        w.SetAfterRecordHook([&](int64_t n) {
            EXPECT_TRUE(w.ProgressText().startsWith("Copying to "));
            if (n == 250)
                w.CancelButtonClick();
        });
        w.SaveAsButtonClick();
    });
    EXPECT_EQ(mResponder.Texts(), (QStringList{"Must have a .DBF extension",
                                               "Cannot copy a file to itself!", "Cancel copy?"}));
    EXPECT_EQ(Column(Path("part.DBF"), "LNAME").size(), 250u);
    EXPECT_EQ(mWindow->Book().DataSet().AsString("LNAME"),
              QStringLiteral("Adams")); // back where it was
}

TEST_F(TransferWindows, CopyOutWritesTheChosenEncodingAndRemembersIt)
{
    {
        auto t = qm::xbase::TTable::Open(mAddress.toStdString());
        t->Go(1);
        t->PutString(0, "M\xFCller"); // Windows-1252, as the address file holds it
        t->Post();
        t->Close();
    }
    Start();
    const auto copy = [&](const QString& name, std::optional<TCopyTextEncoding> choose) {
        TCopyTextEncoding shown = TCopyTextEncoding::Utf8;
        Command<TCopyOut>("ExportItem", [&](TCopyOut& w) {
            shown = w.Encoding();
            EXPECT_FALSE(w.EncodingChoice()->isEnabled()) << "only a text copy has an encoding";
            w.TextOption()->click();
            EXPECT_TRUE(w.EncodingChoice()->isEnabled());
            if (choose)
                w.EncodingChoice()->setCurrentIndex(w.EncodingChoice()->findData(int(*choose)));
            w.SetFileChooser([&](TCopyTargetKind) { return Path(name); });
            w.SaveAsButtonClick();
        });
        return shown;
    };
    const QString settings = mHome.Home().SettingsPath();

    // Windows-1252 at first: the address file's own bytes, no mark.
    EXPECT_EQ(copy("plain.txt", std::nullopt), TCopyTextEncoding::Windows1252);
    QByteArray text = ReadFile(Path("plain.txt"));
    EXPECT_TRUE(text.startsWith("\"\",\"\",\"\",\"Adams\"")) << text.left(20).toStdString();
    EXPECT_TRUE(text.contains("\"M\xFCller\""));
    EXPECT_EQ(qm::data::TSettingsFile(settings).ReadString("Export", "Encoding"), "windows-1252");

    // UTF-8 with its mark once chosen, and the next window opens on it.
    EXPECT_EQ(copy("utf8.txt", TCopyTextEncoding::Utf8), TCopyTextEncoding::Windows1252);
    text = ReadFile(Path("utf8.txt"));
    EXPECT_TRUE(text.startsWith("\xEF\xBB\xBF\"")) << text.left(20).toStdString();
    EXPECT_TRUE(text.contains("\"M\xC3\xBCller\""));
    EXPECT_EQ(qm::data::TSettingsFile(settings).ReadString("Export", "Encoding"), "utf-8");
    EXPECT_EQ(copy("again.txt", std::nullopt), TCopyTextEncoding::Utf8);
    EXPECT_TRUE(ReadFile(Path("again.txt")).startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(mResponder.Texts().isEmpty()) << mResponder.Texts().join('|').toStdString();
}

TEST(TransferHelp, EveryWindowHasItsPage)
{
    for (const auto& [context, page] :
         std::vector<std::pair<int, QString>>{{TAsciiImport::kHelpContext, "ascii-import.html"},
                                              {TAsciiMatch::kHelpContext, "match-fields.html"},
                                              {TDBFImport::kHelpContext, "dbf-import.html"},
                                              {TDBFMatch::kHelpContext, "match-fields.html"},
                                              {TImportOlder::kHelpContext, "import-older.html"},
                                              {TCopyOut::kHelpContext, "copy-out.html"}}) {
        EXPECT_EQ(qm::data::THelpWindow::PageFor(context), page);
        EXPECT_TRUE(QFile::exists(":/help/" + page)) << page.toStdString();
    }
}
