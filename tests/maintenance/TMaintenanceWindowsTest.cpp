// The Utilities menu's maintenance windows, opened from the main window and driven offscreen
// through their controls, with scripted answers.

#include "TScreenshot.h"
#include "TScriptedResponder.h"
#include "TTestHome.h"
#include "addressbook/ui/TAddressMain.h"
#include "data/TAddressFile.h"
#include "data/TProgramHome.h"
#include "data/TSettingsFile.h"
#include "data/TSystemTables.h"
#include "maintenance/ui/TConvertCaseDialog.h"
#include "maintenance/ui/TDeleteRecordsDialog.h"
#include "maintenance/ui/TDuplicateCheckDialog.h"
#include "maintenance/ui/TEditGridModel.h"
#include "maintenance/ui/TGridPanel.h"
#include "maintenance/ui/TSearchReplaceDialog.h"
#include "maintenance/ui/TStateZipCheckDialog.h"
#include "xbase/TCursor.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <map>

using namespace qm::maintenance;
using qm::addressbook::TAddressMain;

namespace {

using TValues = std::map<QString, QString>;

class MaintenanceWindowsTest : public ::testing::Test {
protected:
    void Start(const std::vector<TValues>& records)
    {
        qm::data::TSettingsFile settings(mHome.Home().SettingsPath());
        settings.WriteBool("Misc", "GettingStarted", true);
        mHome.Home().Prepare(QStringLiteral(QM_BUILD_DIR "/share/quillmark"));
        QDir().mkpath(mHome.Path("DATA"));
        const QString path = mHome.Path("DATA/ADD0001.DBF");
        ASSERT_EQ(qm::data::TAddressFile::Create(path, {}), QString());
        {
            qm::data::TDataSet ds;
            qm::data::TAddressFile::DeclareFieldObjects(ds);
            ASSERT_TRUE(qm::data::TAddressFile::Open(ds, path).opened);
            for (const TValues& record : records) {
                ds.Append();
                for (const auto& [field, value] : record)
                    ds.SetAsString(field, value);
                ds.Post();
            }
        }
        mWindow = std::make_unique<TAddressMain>();
        mWindow->show();
        QTest::qWait(20);
        QCoreApplication::processEvents();
        ASSERT_TRUE(mWindow->Book().IsOpen());
    }

    void TearDown() override
    {
        if (mWindow)
            mWindow->SetDialogHook({});
        mWindow.reset();
    }

    // Runs work on the next window of type T once its own event loop runs, then closes it.
    template <typename T> void Run(const char* action, std::function<void(T&)> work)
    {
        bool ran = false;
        mWindow->SetDialogHook([&ran, work](QDialog& dialog) {
            auto* window = dynamic_cast<T*>(&dialog);
            if (!window) {
                // Another window opened from it (the Tagging window): closed once it has run.
                QTimer::singleShot(50, &dialog, [&dialog] { dialog.accept(); });
                return;
            }
            QTimer::singleShot(0, window, [window, work, &ran] {
                QApplication::setActiveWindow(window);
                work(*window);
                ran = true;
                if (window->isVisible())
                    static_cast<QDialog*>(window)->done(QDialog::Rejected);
            });
        });
        mWindow->Action(QString::fromLatin1(action))->trigger();
        mWindow->SetDialogHook({});
        EXPECT_TRUE(ran) << action;
    }

    // Clicks a check box or radio button on its indicator (a laid-out button is wider than its
    // text).
    static void Press(QAbstractButton* button)
    {
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
    }
    static void Click(QWidget& window, const char* name)
    {
        auto* button = window.findChild<QPushButton*>(QString::fromLatin1(name));
        ASSERT_NE(button, nullptr) << name;
        QTest::mouseClick(button, Qt::LeftButton);
    }
    template <typename W> static W* Child(QWidget& window, const char* name)
    {
        auto* child = window.findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    QString Stored(uint32_t recNo, const QString& field)
    {
        qm::data::TDataSet& ds = mWindow->Book().DataSet();
        const uint32_t here = ds.RecNo();
        ds.GoTo(recNo);
        const QString value = ds.AsString(field);
        ds.GoTo(here);
        return value;
    }
    // Sets a grid cell as typing into it does and leaves the cell.
    static void TypeIntoCell(TGridPanel& panel, int row, const QString& field, const QString& text)
    {
        const int column = int(panel.Model().Columns().indexOf(field));
        ASSERT_GE(column, 0) << field.toStdString();
        const QModelIndex index = panel.Model().index(row, column);
        panel.Grid()->setCurrentIndex(index);
        panel.Grid()->edit(index);
        auto* editor = panel.Grid()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
    }

    qm::test::TTestHome mHome;
    qm::test::TScriptedResponder mResponder;
    std::unique_ptr<TAddressMain> mWindow;
};

} // namespace

TEST_F(MaintenanceWindowsTest, DuplicateCheckListsEditsDeletesAndTags)
{
    Start({{{"LNAME", "Brown"}, {"FNAME", "Ann"}, {"STREET", "1 Oak"}},
           {{"LNAME", "BROWN"}, {"FNAME", "ANN"}, {"STREET", "2 Elm"}},
           {{"LNAME", "Brown"}, {"FNAME", "Ann"}, {"STREET", "3 Ash"}},
           {{"LNAME", "Smith"}, {"FNAME", "Al"}}});
    const QString sortTag = mWindow->Book().SortTag();
    Run<TDuplicateCheckDialog>("CheckDuplicatesItem", [&](TDuplicateCheckDialog& dialog) {
        EXPECT_FALSE(dialog.StreetChars()->isVisible());
        Press(dialog.StreetRadio());
        EXPECT_TRUE(dialog.StreetChars()->isVisible());
        Press(dialog.NameRadio());
        Click(dialog, "PerformButton");
        EXPECT_EQ(dialog.CountText(), "Found 2 possible duplicates");
        EXPECT_FALSE(dialog.PerformButton()->isVisible());
        TGridPanel& panel = *dialog.Panel();
        ASSERT_TRUE(panel.isVisible());
        EXPECT_EQ(panel.Model().rowCount(), 3); // the middle of the run listed once
        EXPECT_TRUE(QFile::exists(mHome.Path("_chkdup.idx")));
        qm::test::SaveScreenshot(dialog, "duplicate-check");

        // Edit in place, then Save.
        TypeIntoCell(panel, 0, "STREET", "9 Pine");
        Click(dialog, "SaveButton");
        const uint32_t edited = panel.Model().RecNoOfRow(0);
        EXPECT_EQ(Stored(edited, "STREET"), "9 Pine");
        // Undo drops a pending edit.
        TypeIntoCell(panel, 1, "FNAME", "Zed");
        Click(dialog, "UndoButton");
        EXPECT_EQ(Stored(panel.Model().RecNoOfRow(1), "FNAME").toUpper(), "ANN");
        // Tag toggles the current record.
        panel.Grid()->setCurrentIndex(panel.Model().index(1, 0));
        const uint32_t tagged = panel.Model().RecNoOfRow(1);
        Click(dialog, "TagButton");
        EXPECT_EQ(Stored(tagged, "TAG"), mWindow->Book().TagIdentifier());
        // Delete asks and takes the record out of the list at once.
        mResponder.QueueAnswer(true);
        Click(dialog, "DeleteButton");
        EXPECT_EQ(mResponder.Texts().last(), "Delete this record?");
        EXPECT_EQ(panel.Model().rowCount(), 2);
        Click(dialog, "OKButton");
    });
    EXPECT_FALSE(QFile::exists(mHome.Path("_chkdup.idx")));
    EXPECT_EQ(mWindow->Book().Apollo().Query(), "!ISDEL");
    EXPECT_EQ(mWindow->Book().DataSet().Cursor().SingleIndexOrder(), nullptr);
    EXPECT_EQ(mWindow->Book().SortTag(), sortTag);
}

TEST_F(MaintenanceWindowsTest, StreetCheckShowsTheStreetSecondAndPutsItBackOnClose)
{
    Start({{{"LNAME", "Ames"}, {"STREET", "12 Oak Street"}},
           {{"LNAME", "Bell"}, {"STREET", "12 Oak Str."}},
           {{"LNAME", "Cole"}, {"STREET", "9 Elm"}}});
    Run<TDuplicateCheckDialog>("CheckDuplicatesItem", [&](TDuplicateCheckDialog& dialog) {
        Press(dialog.StreetRadio());
        dialog.StreetChars()->setValue(10);
        Click(dialog, "PerformButton");
        TGridPanel& panel = *dialog.Panel();
        ASSERT_EQ(panel.Model().rowCount(), 2);
        const int street = int(panel.Model().Columns().indexOf("STREET"));
        ASSERT_GT(street, 1);
        QHeaderView* header = panel.Grid()->horizontalHeader();
        EXPECT_EQ(header->visualIndex(street), 1);
        Click(dialog, "OKButton");
        EXPECT_EQ(header->visualIndex(street), street);
    });
}

TEST_F(MaintenanceWindowsTest, TagAllAndDoubleClickTagTheListedRecords)
{
    Start({{{"LNAME", "Lee"}, {"FNAME", "Al"}},
           {{"LNAME", "Lee"}, {"FNAME", "Al"}},
           {{"LNAME", "Ng"}}});
    Run<TDuplicateCheckDialog>("CheckDuplicatesItem", [&](TDuplicateCheckDialog& dialog) {
        Press(dialog.InitialRadio());
        Click(dialog, "PerformButton");
        TGridPanel& panel = *dialog.Panel();
        ASSERT_EQ(panel.Model().rowCount(), 2);
        mResponder.QueueAnswer(true);
        Click(dialog, "TagAllButton");
        EXPECT_TRUE(mResponder.Texts().contains("Tag all possible duplicates?"));
        const QString id = mWindow->Book().TagIdentifier();
        EXPECT_EQ(Stored(1, "TAG"), id);
        EXPECT_EQ(Stored(2, "TAG"), id);
        EXPECT_NE(Stored(3, "TAG"), id); // not listed, not tagged
        // A double click on the Tagged column toggles the record.
        const int tagged = int(panel.Model().Columns().indexOf("Tagged"));
        ASSERT_GE(tagged, 0);
        const QModelIndex cell = panel.Model().index(1, tagged);
        const uint32_t recNo = panel.Model().RecNoOfRow(1);
        const QRect rect = panel.Grid()->visualRect(cell);
        // The view takes a double click only after a press on the same cell, as a real one has.
        QTest::mousePress(panel.Grid()->viewport(), Qt::LeftButton, {}, rect.center());
        QTest::mouseDClick(panel.Grid()->viewport(), Qt::LeftButton, {}, rect.center());
        EXPECT_NE(Stored(recNo, "TAG"), id);
        EXPECT_EQ(panel.Model().rowCount(), 2);
    });
}

TEST_F(MaintenanceWindowsTest, CancelDuringTheCheckAsksAndStops)
{
    std::vector<TValues> records;
    for (int i = 0; i < 40; ++i)
        records.push_back({{"LNAME", "Lee"}, {"FNAME", "Al"}});
    Start(records);
    Run<TDuplicateCheckDialog>("CheckDuplicatesItem", [&](TDuplicateCheckDialog& dialog) {
        dialog.SetAfterRecordHook([&](const TRunStep& step) {
            if (step.done == 5) {
                mResponder.QueueAnswer(true);
                Click(dialog, "CancelButton");
            }
        });
        Click(dialog, "PerformButton");
        EXPECT_TRUE(mResponder.Texts().contains("Cancel operation?"));
        EXPECT_EQ(dialog.Outcome().duplicates, 4u);
        EXPECT_TRUE(dialog.Outcome().cancelled);
        EXPECT_EQ(dialog.Panel()->Model().rowCount(), 5);
    });
}

TEST_F(MaintenanceWindowsTest, StateZipCheckAndTheStateTableEditor)
{
    Start({{{"LNAME", "Good"}, {"STATE", "NY"}, {"ZIP", "00501"}},
           {{"LNAME", "Bad"}, {"STATE", "NY"}, {"ZIP", "99999"}},
           {{"LNAME", "Blank"}}});
    Run<TStateZipCheckDialog>("CheckStateZipItem", [&](TStateZipCheckDialog& dialog) {
        // The editor first, from the set-up panel: a reversed range is refused, naming the row.
        Click(dialog, "EditTableButton");
        ASSERT_TRUE(dialog.Editing());
        EXPECT_EQ(dialog.EditTableButton()->text(), "Stop &Editing");
        TGridPanel& editor = *dialog.EditorPanel();
        EXPECT_GT(editor.Model().rowCount(), 50);
        qm::test::SaveScreenshot(dialog, "state-table-editor");
        const int row = 0;
        const QString name = editor.Model().index(row, 0).data().toString();
        TypeIntoCell(editor, row, "LOW_ZIP", "99999");
        Click(dialog, "EditorSaveButton");
        EXPECT_TRUE(mResponder.Texts().last().startsWith("The row \"" + name + "\""))
            << mResponder.Texts().last().toStdString();
        Click(dialog, "EditorUndoButton");
        Click(dialog, "EditTableButton");
        EXPECT_FALSE(dialog.Editing());

        Press(dialog.BlanksCheck());
        Click(dialog, "PerformButton");
        EXPECT_EQ(dialog.CountText(), "Found 2 records with questionable state or zipcodes");
        EXPECT_EQ(dialog.Panel()->Model().rowCount(), 2);
        qm::test::SaveScreenshot(dialog, "state-zip-check");
        // The result index lies beside the address file, not in the program's folder.
        EXPECT_TRUE(QFile::exists(mHome.Path("DATA/_chksz.idx")));
        EXPECT_FALSE(QFile::exists(mHome.Path("_chksz.idx")));
        Click(dialog, "CloseButton");
    });
    EXPECT_FALSE(QFile::exists(mHome.Path("DATA/_chksz.idx")));
    EXPECT_EQ(mWindow->Book().Apollo().Query(), "!ISDEL");
}

TEST_F(MaintenanceWindowsTest, AStateZipCheckThatFailsLeavesNoResultIndex)
{
    std::vector<TValues> records;
    for (int i = 0; i < 40; ++i)
        records.push_back(
            {{"LNAME", QStringLiteral("N%1").arg(i)}, {"STATE", "NY"}, {"ZIP", "99999"}});
    Start(records);
    const QString address = mHome.Path("DATA/ADD0001.DBF");
    Run<TStateZipCheckDialog>("CheckStateZipItem", [&](TStateZipCheckDialog& dialog) {
        // The file loses its later records under the running check: reading them fails.
        dialog.SetAfterRecordHook([&](const TRunStep& step) {
            if (step.done == 3) {
                QFile file(address);
                ASSERT_TRUE(file.open(QIODevice::ReadWrite));
                ASSERT_TRUE(file.resize(file.size() / 2));
            }
        });
        Click(dialog, "PerformButton");
        EXPECT_FALSE(mResponder.Texts().isEmpty()) << "the failure is reported";
        EXPECT_FALSE(QFile::exists(mHome.Path("DATA/_chksz.idx")));
    });
    EXPECT_FALSE(QFile::exists(mHome.Path("DATA/_chksz.idx")));
    EXPECT_FALSE(QFile::exists(mHome.Path("_chksz.idx")));
}

TEST_F(MaintenanceWindowsTest, AMissingStateTableStopsBeforeTheWindow)
{
    Start({{{"LNAME", "A"}}});
    QFile::remove(qm::data::TSystemTables::FilePath(qm::data::TSystemTable::StateZip,
                                                    mHome.Home().SysDataDir()));
    QStringList opened;
    mWindow->SetDialogHook([&opened](QDialog& dialog) {
        opened << dialog.objectName();
        QTimer::singleShot(0, &dialog, [&dialog] { dialog.reject(); });
    });
    mWindow->Action("CheckStateZipItem")->trigger();
    mWindow->SetDialogHook({});
    EXPECT_EQ(mResponder.Texts(),
              QStringList{"The file CSZ.DBF has been removed from the SYSDATA directory. Unable "
                          "to continue."});
    EXPECT_TRUE(opened.isEmpty()) << opened.join(' ').toStdString();
}

TEST_F(MaintenanceWindowsTest, ConvertCaseOfAllRecords)
{
    Start(
        {{{"LNAME", "o'NEILL"}, {"FNAME", "mcDONALD"}}, {{"LNAME", "élodie"}, {"CITY", "paris"}}});
    Run<TConvertCaseDialog>("ConvertCaseItem", [&](TConvertCaseDialog& dialog) {
        EXPECT_FALSE(dialog.FilterRadio()->isEnabled());
        Press(dialog.AllFieldsCheck());
        Click(dialog, "ConvertButton");
        EXPECT_EQ(mResponder.Texts().last(), "No fields checked for conversion");
        Press(dialog.FieldCheck("LNAME"));
        Press(dialog.FieldCheck("FNAME"));
        Press(dialog.ProperRadio());
        Press(dialog.AllRadio());
        qm::test::SaveScreenshot(dialog, "convert-case");
        mResponder.QueueAnswer(true);
        Click(dialog, "ConvertButton");
        EXPECT_FALSE(mResponder.Messages().back().defaultYes);
    });
    EXPECT_EQ(Stored(1, "LNAME"), "O'neill");
    EXPECT_EQ(Stored(1, "FNAME"), "Mcdonald");
    EXPECT_EQ(Stored(2, "LNAME"), "Élodie");
    EXPECT_EQ(Stored(2, "CITY"), "paris");
}

TEST_F(MaintenanceWindowsTest, DeleteRecordsWithoutAFilterEmptiesTheFile)
{
    Start({{{"LNAME", "A"}}, {{"LNAME", "B"}}});
    Run<TDeleteRecordsDialog>("DeleteRecordsItem", [&](TDeleteRecordsDialog& dialog) {
        EXPECT_FALSE(dialog.DeleteFilter()->isEnabled());
        EXPECT_FALSE(dialog.DeleteNotFilter()->isEnabled());
        qm::test::SaveScreenshot(dialog, "delete-records");
        mResponder.QueueAnswer(false);
        Click(dialog, "DeleteButton");
        EXPECT_EQ(mResponder.Texts().last(), "Are you sure?");
        EXPECT_FALSE(mResponder.Messages().back().defaultYes);
        EXPECT_EQ(mWindow->Book().DataSet().Table().RecordCount(), 2u);
        mResponder.QueueAnswer(true);
        Click(dialog, "DeleteButton");
        EXPECT_EQ(dialog.Deleted(), 2u);
    });
    EXPECT_EQ(mResponder.Texts().last(),
              "For optimum space usage, please select\r\n[Rebuild Indexes] from the File menu");
    EXPECT_EQ(mWindow->Book().DataSet().Table().RecordCount(), 0u);
}

TEST_F(MaintenanceWindowsTest, SearchAndReplaceThroughItsControls)
{
    Start({{{"LNAME", "A"}, {"STREET", "1 Main st"}}, {{"LNAME", "B"}, {"STREET", "2 Oak Road"}}});
    Run<TSearchReplaceDialog>("SearchReplaceItem", [&](TSearchReplaceDialog& dialog) {
        EXPECT_FALSE(dialog.ReplaceFilter()->isEnabled());
        dialog.FieldChoice()->setCurrentIndex(dialog.FieldChoice()->findText("Address 1"));
        Press(dialog.ContainsRadio());
        QTest::keyClicks(dialog.FindEdit(), "St");
        Press(dialog.CaseCheck());
        Press(dialog.PartialRadio());
        QTest::keyClicks(dialog.ReplaceEdit(), "Street");
        qm::test::SaveScreenshot(dialog, "search-replace");
        mResponder.QueueAnswer(true);
        Click(dialog, "ReplaceButton");
    });
    const QStringList texts = mResponder.Texts();
    ASSERT_GE(texts.size(), 2);
    EXPECT_EQ(texts[texts.size() - 2],
              "Find records where field Address 1\rcontains: \"St\" (not case "
              "sensitive)\rand replace only the matching text with \"Street\"");
    EXPECT_EQ(texts.last(), "Replacement done");
    EXPECT_EQ(Stored(1, "STREET"), "1 Main Street");
    EXPECT_EQ(Stored(2, "STREET"), "2 Oak Road");
}

TEST_F(MaintenanceWindowsTest, EntriesAreLimitedToTheFieldsWidth)
{
    Start({{{"LNAME", "A"}}});
    Run<TSearchReplaceDialog>("SearchReplaceItem", [&](TSearchReplaceDialog& dialog) {
        dialog.FieldChoice()->setCurrentIndex(dialog.FieldChoice()->findText("Address 1"));
        const int wide = dialog.FindEdit()->maxLength();
        dialog.FindEdit()->setText(QString(wide, QLatin1Char('x')));
        dialog.FieldChoice()->setCurrentIndex(dialog.FieldChoice()->findText("State"));
        EXPECT_LT(dialog.FindEdit()->maxLength(), wide);
        EXPECT_EQ(dialog.FindEdit()->text().size(), dialog.FindEdit()->maxLength());
        // Text an address file cannot store is refused, naming the character.
        dialog.ReplaceEdit()->setText(QStringLiteral("✓"));
        Click(dialog, "ReplaceButton");
        EXPECT_TRUE(mResponder.Texts().last().contains(QStringLiteral("✓")));
    });
}
