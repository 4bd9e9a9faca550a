// The filter form, Save and Restore Filter, Tag All, the search box and the browse grid, driven
// offscreen through the main window's commands and the windows' own controls, with scripted
// answers to every question.

#include "TScreenshot.h"
#include "TScriptedResponder.h"
#include "TTestHome.h"
#include "addressbook/TColumnOrder.h"
#include "addressbook/TRecordFormLayout.h"
#include "addressbook/ui/TAddressBrowseDialog.h"
#include "addressbook/ui/TAddressFilterDialog.h"
#include "addressbook/ui/TAddressMain.h"
#include "addressbook/ui/TDBEdit.h"
#include "addressbook/ui/TSearchDialog.h"
#include "addressbook/ui/TTaggingDialog.h"
#include "data/TAddressFile.h"
#include "data/TGridModel.h"
#include "data/TSettingsFile.h"
#include "data/ui/THelpWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace qm::addressbook;
using namespace qm::data;
using qm::data::TSettingsFile;

namespace {

struct TPerson {
    const char* last;
    const char* city;
};

const std::vector<TPerson> kPeople = {
    {"Adams", "Springfield"}, {"Baker", "Shelbyville"}, {"Brown", "Springdale"},
    {"Jones", "Ogdenville"},  {"Smith", "Springfield"}, {"Smythe", "Capital City"},
};

class FilterWindowsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TSettingsFile settings(mHome.Home().SettingsPath());
        settings.WriteBool("Misc", "GettingStarted", true);
        QDir().mkpath(mHome.Path("DATA"));
        const QString path = mHome.Path("DATA/ADD0001.DBF");
        ASSERT_EQ(qm::data::TAddressFile::Create(path, {}), QString());
        {
            qm::data::TDataSet ds;
            qm::data::TAddressFile::DeclareFieldObjects(ds);
            ASSERT_TRUE(qm::data::TAddressFile::Open(ds, path).opened);
            for (const TPerson& p : kPeople) {
                ds.Append();
                ds.SetAsString("LNAME", p.last);
                ds.SetAsString("CITY", p.city);
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
        mWindow->SetDialogHook({});
        mWindow.reset();
    }

    // Runs work on the next window of type T once its own event loop runs.
    template <typename T> void OnWindow(std::function<void(T&)> work)
    {
        mWindow->SetDialogHook([this, work](QDialog& dialog) {
            auto* window = dynamic_cast<T*>(&dialog);
            ASSERT_NE(window, nullptr);
            QTimer::singleShot(0, window, [window, work] {
                // Offscreen the main window keeps the activation; hand it to the window under test
                // so that focus moves inside it.
                QApplication::setActiveWindow(window);
                work(*window);
                if (window->isVisible())
                    static_cast<QDialog*>(window)->reject();
            });
        });
    }

    static QPushButton* Button(QWidget& window, const char* name)
    {
        auto* button = window.findChild<QPushButton*>(name);
        EXPECT_NE(button, nullptr) << name;
        return button;
    }
    static void Click(QWidget& window, const char* name)
    {
        QTest::mouseClick(Button(window, name), Qt::LeftButton);
    }
    static void TypeInto(QLineEdit* edit, const QString& text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }

    QString Query() { return mWindow->Book().Apollo().Query(); }
    QString Shown() { return mWindow->Edit("LNAME")->text(); }

    // Sets a filter on the last name through the form.
    void FilterLastName(const QString& text)
    {
        OnWindow<TAddressFilterDialog>([text](TAddressFilterDialog& form) {
            TypeInto(form.Entry(0), text);
            Click(form, "OKButton");
        });
        QTest::mouseClick(mWindow->Button("FilterButton"), Qt::LeftButton);
    }

    qm::test::TTestHome mHome;
    qm::test::TScriptedResponder mResponder;
    std::unique_ptr<TAddressMain> mWindow;
};

} // namespace

TEST_F(FilterWindowsTest, TheFilterFormHasTheRecordFormsLabelsInItsTabOrder)
{
    bool ran = false;
    OnWindow<TAddressFilterDialog>([&](TAddressFilterDialog& form) {
        ran = true;
        EXPECT_EQ(form.windowTitle(), "Address Filter");
        QStringList formOrder, mainOrder;
        for (const auto& block : {TRecordFormLayout::NameBlock(), TRecordFormLayout::AddressPage()})
            for (const TFormCell& cell : block) {
                if (cell.filterEntry < 0)
                    continue;
                QLineEdit* entry = form.Entry(cell.filterEntry);
                EXPECT_EQ(entry->objectName(), TFilterBuilder::ControlName(cell.filterEntry));
                for (QLabel* label : form.findChildren<QLabel*>())
                    if (label->buddy() == entry) {
                        formOrder << label->text();
                        // Beside its entry, its text at the entry's height, as on the record form.
                        const QRect l(label->mapTo(&form, QPoint()), label->size());
                        const QRect e(entry->mapTo(&form, QPoint()), entry->size());
                        EXPECT_LE(std::abs(l.center().y() - e.center().y()), 1) << cell.label;
                        EXPECT_EQ(label->alignment() & Qt::AlignVertical_Mask, Qt::AlignVCenter);
                        EXPECT_LT(l.right(), e.left()) << cell.label;
                    }
                for (QLabel* label : mWindow->findChildren<QLabel*>())
                    if (label->buddy() == mWindow->Edit(cell.field))
                        mainOrder << label->text();
            }
        EXPECT_EQ(formOrder.size(), TFilterEntries::kCount);
        EXPECT_EQ(formOrder, mainOrder);
        // Tab walks the entries in the record form's order.
        QStringList walked;
        form.Entry(0)->setFocus();
        for (int i = 0; i < 4; ++i) {
            walked << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        EXPECT_EQ(walked, (QStringList{"qLName", "qFName", "qTitle", "qOrg"}));
        EXPECT_TRUE(form.findChild<QLabel*>("HintPanel")
                        ->text()
                        .startsWith("Hint: to look for only part of a value, first type in a $"));
        qm::test::SaveScreenshot(form, "address-filter");
    });
    QTest::keyClick(mWindow->Edit("LNAME"), Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(ran);
}

TEST_F(FilterWindowsTest, EnterMovesOnAndTheDateEntryShowsItsHint)
{
    OnWindow<TAddressFilterDialog>([](TAddressFilterDialog& form) {
        form.Entry(0)->setFocus();
        QTest::keyClick(form.Entry(0), Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), form.Entry(1));
        EXPECT_TRUE(form.isVisible()); // Enter is no Ok
        EXPECT_FALSE(form.DateHintLabel()->isVisible());
        form.Entry(14)->setFocus();
        EXPECT_TRUE(form.DateHintLabel()->isVisible());
        EXPECT_EQ(form.DateHintLabel()->text(), "(YYYYMMDD)");
        EXPECT_EQ(form.Entry(14)->objectName(), "qDate");
        EXPECT_EQ(TAddressFilterDialog::kDateHint,
                  "Note: enter dates in the form: YYYYMMDD\r(i.e. 19970428 for April 28, 1997)");
        EXPECT_TRUE(
            form.Entry(14)->toolTip().startsWith("Note: enter dates in the form: YYYYMMDD"));
        qm::test::SaveScreenshot(form, "address-filter-date-hint");
        QTest::keyClick(form.Entry(14), Qt::Key_Return);
        EXPECT_FALSE(form.DateHintLabel()->isVisible());
    });
    mWindow->Action("SetFilterItem")->trigger();
}

TEST_F(FilterWindowsTest, TestShowsMatchesAndOkKeepsTheFilter)
{
    OnWindow<TAddressFilterDialog>([this](TAddressFilterDialog& form) {
        TypeInto(form.Entry(0), "a");
        TypeInto(form.Entry(7), "$spring");
        Click(form, "TestButton");
        EXPECT_EQ(form.MatchText(), "1 matches");
        EXPECT_EQ(Query(), R"(UPPER(LNAME)="A" and "SPRING"$UPPER(CITY+STATE).and. !ISDEL)");
        EXPECT_EQ(Shown(), "Adams"); // the main window shows the match at once
        Click(form, "OKButton");
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(form.result(), QDialog::Accepted);
    });
    mWindow->Action("SetFilterItem")->trigger();
    EXPECT_EQ(mWindow->CountStatusText(), "1 filter matches");
    EXPECT_TRUE(mWindow->Button("ClearFilterButton")->isVisible());
    EXPECT_TRUE(mWindow->Action("SaveFilterItem")->isEnabled());
    EXPECT_TRUE(mWindow->Action("TagAllItem")->isEnabled());

    QTest::mouseClick(mWindow->Button("ClearFilterButton"), Qt::LeftButton);
    EXPECT_EQ(Query(), "!ISDEL");
    EXPECT_EQ(mWindow->CountStatusText(), "6 records (no filter)");
    EXPECT_FALSE(mWindow->Button("ClearFilterButton")->isVisible());
    EXPECT_TRUE(mResponder.Texts().isEmpty());
}

TEST_F(FilterWindowsTest, CancelPutsThePreviousFilterBackEvenAfterTest)
{
    FilterLastName("sm");
    EXPECT_EQ(mWindow->CountStatusText(), "2 filter matches");
    OnWindow<TAddressFilterDialog>([this](TAddressFilterDialog& form) {
        EXPECT_EQ(form.Entry(0)->text(), "sm"); // starts with the filter in force
        TypeInto(form.Entry(0), "");
        TypeInto(form.Entry(7), "$spring");
        Click(form, "TestButton");
        EXPECT_EQ(form.MatchText(), "3 matches");
        Click(form, "CancelButton");
    });
    mWindow->Action("SetFilterItem")->trigger();
    EXPECT_EQ(Query(), R"(UPPER(LNAME)="SM".and. !ISDEL)");
    EXPECT_EQ(mWindow->Book().Filter().entries[7], QString());
    EXPECT_EQ(mWindow->CountStatusText(), "2 filter matches");
}

TEST_F(FilterWindowsTest, NoMatchesOrClearLeaveNoFilterAndOkCloses)
{
    FilterLastName("sm");
    OnWindow<TAddressFilterDialog>([](TAddressFilterDialog& form) {
        Click(form, "ClearButton");
        EXPECT_EQ(form.Entry(0)->text(), QString());
        EXPECT_EQ(form.MatchText(), "No filter set");
        TypeInto(form.Entry(0), "zz");
        Click(form, "TestButton"); // nothing matches: the line says so, not "No filter set"
        EXPECT_EQ(form.MatchText(), "No record matches this filter");
        Click(form, "ClearButton");
        EXPECT_EQ(form.MatchText(), "No filter set");
        TypeInto(form.Entry(0), "zz");
        Click(form, "OKButton"); // the filter is dropped and the form closes
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(form.MatchText(), "No record matches this filter");
    });
    mWindow->Action("SetFilterItem")->trigger();
    EXPECT_EQ(Query(), "!ISDEL");
    EXPECT_EQ(mWindow->CountStatusText(), "6 records (no filter)");
    EXPECT_TRUE(mResponder.Texts().isEmpty());
}

TEST_F(FilterWindowsTest, AnEntryThatCannotBeQuotedKeepsTheFormOpen)
{
    FilterLastName("sm");
    OnWindow<TAddressFilterDialog>([this](TAddressFilterDialog& form) {
        TypeInto(form.Entry(0), R"(a"b'c]d)");
        const int beeps = mResponder.Beeps();
        Click(form, "OKButton");
        EXPECT_TRUE(form.isVisible());
        EXPECT_EQ(mResponder.Beeps(), beeps + 1);
        ASSERT_EQ(mResponder.Texts().size(), 1);
        EXPECT_EQ(Query(), R"(UPPER(LNAME)="SM".and. !ISDEL)");
        Click(form, "CancelButton");
    });
    mWindow->Action("SetFilterItem")->trigger();
    EXPECT_EQ(mWindow->CountStatusText(), "2 filter matches");
}

TEST_F(FilterWindowsTest, SaveAndRestoreFilterFiles)
{
    FilterLastName("sm");
    QStringList dirs;
    QString answer;
    mWindow->SetFileChooser([&](bool, const QString&, const QString& dir, const QString&) {
        dirs << dir;
        return answer;
    });
    answer = mHome.Path("list.txt");
    mWindow->Action("SaveFilterItem")->trigger();
    EXPECT_EQ(mResponder.Texts().last(), "Must have a .FLT extension");
    EXPECT_FALSE(QFile::exists(mHome.Path("list.txt")));
    EXPECT_EQ(dirs.first(), mHome.Dir()); // the program folder on first use

    answer = mHome.Path("list");
    mWindow->Action("SaveFilterItem")->trigger();
    ASSERT_TRUE(QFile::exists(mHome.Path("list.FLT")));
    // Saving again starts where the last save went; restoring always in the program folder.
    QDir().mkpath(mHome.Path("keep"));
    answer = mHome.Path("keep/other");
    mWindow->Action("SaveFilterItem")->trigger();
    EXPECT_TRUE(QFile::exists(mHome.Path("keep/other.FLT")));
    answer.clear();
    mWindow->Action("SaveFilterItem")->trigger();
    mWindow->Action("RestoreFilterItem")->trigger();
    EXPECT_EQ(dirs.mid(dirs.size() - 2), (QStringList{mHome.Path("keep"), mHome.Dir()}));
    answer = mHome.Path("list");

    // An existing file is overwritten only on Yes; No is the default.
    const qint64 size = QFileInfo(mHome.Path("list.FLT")).size();
    mWindow->Book().Filter().entries[1] = "x";
    mWindow->Action("SaveFilterItem")->trigger();
    EXPECT_EQ(mResponder.Messages().back().caption, "Warning!");
    EXPECT_EQ(mResponder.Texts().last(),
              mHome.Path("list.FLT") + " already exists.\r\nDo you want to overwrite it?");
    EXPECT_FALSE(mResponder.Messages().back().defaultYes);
    EXPECT_EQ(QFileInfo(mHome.Path("list.FLT")).size(), size);
    mWindow->Book().Filter().entries[1].clear();

    mWindow->Action("ClearFilterItem")->trigger();
    EXPECT_EQ(Query(), "!ISDEL");
    answer = mHome.Path("list.txt");
    mWindow->Action("RestoreFilterItem")->trigger();
    EXPECT_EQ(mResponder.Texts().last(), "Must be a Filter (.FLT) file");
    answer = mHome.Path("list.FLT");
    mWindow->Action("RestoreFilterItem")->trigger();
    EXPECT_EQ(Query(), R"(UPPER(LNAME)="SM".and. !ISDEL)");
    EXPECT_EQ(mWindow->CountStatusText(), "2 filter matches");

    // A filter file of one line: the other entries are empty.
    QFile shortFile(mHome.Path("short.FLT"));
    ASSERT_TRUE(shortFile.open(QIODevice::WriteOnly));
    shortFile.write("$sm");
    shortFile.close();
    mWindow->Book().Filter().entries[7] = "$x";
    answer = mHome.Path("short.FLT");
    mWindow->Action("RestoreFilterItem")->trigger();
    EXPECT_EQ(Query(), R"("SM"$UPPER(LNAME).and. !ISDEL)");
    EXPECT_EQ(mWindow->Book().Filter().entries[7], QString());
    // Cancel in the dialog changes nothing.
    answer.clear();
    const int messages = int(mResponder.Messages().size());
    mWindow->Action("RestoreFilterItem")->trigger();
    EXPECT_EQ(int(mResponder.Messages().size()), messages);
}

TEST_F(FilterWindowsTest, TagAllCancelledAfterThreeRecords)
{
    FilterLastName("$"); // every record: "" occurs in every name
    ASSERT_EQ(mWindow->Book().FilterExpression(), QString()); // a bare "$" is no filter
    FilterLastName(">=a");
    ASSERT_EQ(mWindow->CountStatusText(), "6 filter matches");
    QString status;
    int tagged = -1;
    mWindow->SetDialogHook([&](QDialog& dialog) {
        auto* tagging = dynamic_cast<TTaggingDialog*>(&dialog);
        ASSERT_NE(tagging, nullptr);
        EXPECT_EQ(tagging->windowTitle(), "Tagging");
        tagging->SetAfterRecordHook([tagging](int n) {
            if (n == 3)
                QTest::mouseClick(tagging->findChild<QPushButton*>("CancelButton"), Qt::LeftButton);
        });
        auto* poll = new QTimer(tagging);
        QObject::connect(poll, &QTimer::timeout, tagging, [&, tagging] {
            if (tagging->Running() || tagging->Tagged() == 0)
                return;
            status = tagging->StatusText();
            tagged = tagging->Tagged();
            EXPECT_FALSE(tagging->findChild<QPushButton*>("CancelButton")->isVisible());
            qm::test::SaveScreenshot(*tagging, "tagging");
            QTest::mouseClick(tagging->findChild<QPushButton*>("OKButton"), Qt::LeftButton);
        });
        poll->start(5);
    });
    mWindow->Book().Last();
    mWindow->Action("TagAllItem")->trigger();
    ASSERT_GE(mResponder.Messages().size(), 2u);
    EXPECT_EQ(mResponder.Messages()[0].caption, "TAG ALL");
    EXPECT_EQ(mResponder.Messages()[0].text, "Tag all records matching filter?");
    EXPECT_EQ(mResponder.Messages()[1].caption, "CANCEL");
    EXPECT_EQ(mResponder.Messages()[1].text, "Cancel Tagging?");
    EXPECT_EQ(status, "Cancelled before completion");
    EXPECT_EQ(tagged, 3);
    EXPECT_EQ(Shown(), "Adams"); // the first record afterwards
    EXPECT_TRUE(mWindow->TaggedCheck()->isChecked());
    EXPECT_TRUE(mWindow->Edit("LNAME")->isEnabled());
    EXPECT_TRUE(mWindow->Book().Busy());

    // Exactly three records carry the tag.
    OnWindow<TAddressFilterDialog>([](TAddressFilterDialog& form) {
        Click(form, "ClearButton");
        QTest::mouseClick(form.TaggedCheck(), Qt::LeftButton, {},
                          QPoint(6, form.TaggedCheck()->height() / 2));
        Click(form, "OKButton");
    });
    mWindow->Action("SetFilterItem")->trigger();
    EXPECT_EQ(mWindow->CountStatusText(), "3 filter matches");
}

TEST_F(FilterWindowsTest, TagAllToTheEndSaysComplete)
{
    using qm::data::THelpWindow;
    FilterLastName("b");
    QString status;
    QString helpPage;
    mWindow->SetDialogHook([&](QDialog& dialog) {
        auto* tagging = dynamic_cast<TTaggingDialog*>(&dialog);
        auto* poll = new QTimer(tagging);
        QObject::connect(poll, &QTimer::timeout, tagging, [&, tagging, poll] {
            if (tagging->Running() || tagging->StatusText().isEmpty())
                return;
            poll->stop();
            status = tagging->StatusText();
            // The window has its Help button, as every window with a help page.
            if (auto* help = tagging->findChild<QPushButton*>("HelpButton")) {
                EXPECT_TRUE(help->isVisible());
                QTest::mouseClick(help, Qt::LeftButton);
                helpPage =
                    THelpWindow::Instance() ? THelpWindow::Instance()->CurrentPage() : QString();
            }
            QTest::mouseClick(tagging->findChild<QPushButton*>("OKButton"), Qt::LeftButton);
        });
        poll->start(5);
    });
    mResponder.QueueAnswer(true);
    mWindow->Action("TagAllItem")->trigger();
    EXPECT_EQ(status, "Complete");
    EXPECT_EQ(helpPage, "tagging.html");
    if (THelpWindow::Instance())
        THelpWindow::Instance()->close();
    EXPECT_EQ(mWindow->CountStatusText(), "2 filter matches");

    // No on the question tags nothing.
    mWindow->SetDialogHook([](QDialog&) { ADD_FAILURE() << "no window after No"; });
    mResponder.QueueAnswer(false);
    mWindow->Action("TagAllItem")->trigger();
}

TEST_F(FilterWindowsTest, SearchFindsAPrefixOrLeavesTheRecord)
{
    mWindow->Book().Next(); // Baker
    OnWindow<TSearchDialog>([](TSearchDialog& search) {
        EXPECT_EQ(search.windowTitle(), "Search");
        EXPECT_EQ(search.OrderList()->count(), 14);
        EXPECT_EQ(search.OrderList()->currentItem()->text(), "Last Name");
        EXPECT_EQ(search.EntryLabelText(), "Search Last Name starting with...");
        QTest::keyClicks(search.Entry(), "zz");
        qm::test::SaveScreenshot(search, "search");
        Click(search, "OKButton");
    });
    QTest::mouseClick(mWindow->Button("SearchButton"), Qt::LeftButton);
    EXPECT_EQ(Shown(), "Baker");
    EXPECT_EQ(mWindow->SortStatusText(), "Sorted by Last Name");

    OnWindow<TSearchDialog>([](TSearchDialog& search) {
        const auto items = search.OrderList()->findItems("City", Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1);
        search.OrderList()->setCurrentItem(items.first());
        EXPECT_EQ(search.EntryLabelText(), "Search City starting with...");
        QTest::keyClicks(search.Entry(), "ogd");
        QTest::keyClick(search.Entry(), Qt::Key_Return);
    });
    mWindow->Action("SearchItem")->trigger();
    EXPECT_EQ(Shown(), "Jones");
    EXPECT_EQ(mWindow->SortStatusText(), "Sorted by City");
    EXPECT_TRUE(mWindow->Action("SortCITYItem")->isChecked());

    // Cancel does nothing, not even with a text typed.
    OnWindow<TSearchDialog>([](TSearchDialog& search) {
        search.OrderList()->setCurrentRow(0);
        QTest::keyClicks(search.Entry(), "a");
        Click(search, "CancelButton");
    });
    mWindow->Action("SearchItem")->trigger();
    EXPECT_EQ(Shown(), "Jones");
    EXPECT_EQ(mWindow->SortStatusText(), "Sorted by City");
}

TEST_F(FilterWindowsTest, TheBrowseGridMovesTheMainWindowAndTags)
{
    OnWindow<TAddressBrowseDialog>([this](TAddressBrowseDialog& browse) {
        EXPECT_EQ(browse.windowTitle(), "Address Browse");
        QTableView* grid = browse.Grid();
        EXPECT_EQ(grid->model()->rowCount(), 6);
        EXPECT_EQ(grid->currentIndex().row(), 0);
        Click(browse, "NextButton");
        EXPECT_EQ(Shown(), "Baker");
        Click(browse, "LastButton");
        EXPECT_EQ(Shown(), "Smythe");
        const int beeps = mResponder.Beeps();
        Click(browse, "NextButton");
        EXPECT_EQ(mResponder.Beeps(), beeps + 1);
        Click(browse, "FirstButton");
        Click(browse, "PriorButton");
        EXPECT_EQ(mResponder.Beeps(), beeps + 2);
        EXPECT_EQ(Shown(), "Adams");

        // Clicking a row moves the main window; double-clicking it toggles its tag.
        const QRect row3 = grid->visualRect(grid->model()->index(3, 0));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, row3.center());
        EXPECT_EQ(Shown(), "Jones");
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, row3.center());
        EXPECT_TRUE(mWindow->TaggedCheck()->isChecked());
        Click(browse, "TagButton");
        EXPECT_FALSE(mWindow->TaggedCheck()->isChecked());
        Click(browse, "TagButton");
        const int tagged = browse.Model().Columns().indexOf("Tagged");
        ASSERT_GE(tagged, 0);
        EXPECT_EQ(grid->model()->data(grid->model()->index(3, tagged)).toString(), "Yes");
        // No editing in the grid.
        EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
        qm::test::SaveScreenshot(browse, "address-browse");

        // Move the city column to the front.
        const int city = browse.Model().Columns().indexOf("CITY");
        grid->horizontalHeader()->moveSection(grid->horizontalHeader()->visualIndex(city), 0);
        Click(browse, "OKButton");
    });
    QTest::keyClick(mWindow->Edit("LNAME"), Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(Shown(), "Jones");

    // Every field is written, the moved one first; the next grid starts with it.
    const QStringList lines = TColumnOrder::Read(TColumnOrder::FilePath());
    EXPECT_EQ(lines.size(), int(mWindow->Book().DataSet().Fields().size()));
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.first(), "CITY");
    EXPECT_TRUE(lines.contains("MEMO"));
    OnWindow<TAddressBrowseDialog>([](TAddressBrowseDialog& browse) {
        EXPECT_EQ(browse.Model().Columns().first(), "CITY");
        EXPECT_EQ(browse.Grid()->model()->headerData(0, Qt::Horizontal).toString(), "City");
        EXPECT_EQ(browse.Grid()->currentIndex().row(), 3); // on the main window's record
    });
    mWindow->Action("BrowseItem")->trigger();
    // The grid's placement is kept under the name other copies of the program read.
    QFile settings(mHome.Home().SettingsPath());
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    const QByteArray text = settings.readAll();
    EXPECT_TRUE(text.contains("[TAddressBrowseForm_Placement")) << text.toStdString();
    EXPECT_FALSE(text.contains("[TAddressBrowseDialog_Placement"));
}

TEST_F(FilterWindowsTest, BrowseColumnsFitTheirFieldsAndKeepTheUsersWidths)
{
    int lastNameWidth = 0;
    OnWindow<TAddressBrowseDialog>([&](TAddressBrowseDialog& browse) {
        const QHeaderView* header = browse.Grid()->horizontalHeader();
        const QStringList columns = browse.Model().Columns();
        const auto width = [&](const char* field) {
            return header->sectionSize(int(columns.indexOf(field)));
        };
        const int digit = browse.Grid()->fontMetrics().horizontalAdvance(QLatin1Char('0'));
        // Last name holds 30 characters, the state 20, the ZIP 10: each column shows them all.
        lastNameWidth = width("LNAME");
        EXPECT_GE(lastNameWidth, 30 * digit);
        EXPECT_GE(width("STATE"), 20 * digit);
        EXPECT_LT(width("STATE"), lastNameWidth);
        EXPECT_GE(width("ZIP"), 10 * digit);
        // Address 1 holds 40: capped at 30 like the last name.
        EXPECT_EQ(width("STREET"), lastNameWidth);
        // "Tagged" holds one character but its heading is wider.
        EXPECT_GE(width("Tagged"), header->fontMetrics().horizontalAdvance("Tagged"));
        qm::test::SaveScreenshot(browse, "address-browse-columns");
        // The user narrows the city column.
        QHeaderView* resizable = browse.Grid()->horizontalHeader();
        resizable->resizeSection(int(columns.indexOf("CITY")), 61);
    });
    mWindow->Action("BrowseItem")->trigger();
    OnWindow<TAddressBrowseDialog>([&](TAddressBrowseDialog& browse) {
        const QHeaderView* header = browse.Grid()->horizontalHeader();
        const QStringList columns = browse.Model().Columns();
        EXPECT_EQ(header->sectionSize(int(columns.indexOf("CITY"))), 61); // kept for the session
        EXPECT_EQ(header->sectionSize(int(columns.indexOf("LNAME"))), lastNameWidth);
    });
    mWindow->Action("BrowseItem")->trigger();
}

TEST_F(FilterWindowsTest, FilterAndBrowseBeepWhileEditing)
{
    FilterLastName("sm"); // the filter command stays enabled while editing when a filter is set
    mWindow->Action("EditItem")->trigger();
    ASSERT_TRUE(mWindow->Book().DataSet().Editing());
    mWindow->SetDialogHook([](QDialog&) { ADD_FAILURE() << "no window while editing"; });
    const int beeps = mResponder.Beeps();
    mWindow->Action("SetFilterItem")->trigger();
    EXPECT_EQ(mResponder.Beeps(), beeps + 1);
    QApplication::setActiveWindow(mWindow.get()); // the filter form had it
    QTest::keyClick(mWindow->Edit("FNAME"), Qt::Key_B, Qt::ControlModifier);
    QTest::keyClick(mWindow->Edit("FNAME"), Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(mResponder.Beeps(), beeps + 3);
    EXPECT_TRUE(mWindow->Book().DataSet().Editing());
    mWindow->Action("CancelItem")->trigger();
}

TEST_F(FilterWindowsTest, HelpOpensEachWindowsOwnPage)
{
    using qm::data::THelpWindow;
    const auto page = [] {
        return THelpWindow::Instance() ? THelpWindow::Instance()->CurrentPage() : QString();
    };
    QStringList pages;
    OnWindow<TAddressFilterDialog>([&](TAddressFilterDialog& form) {
        Click(form, "HelpButton");
        pages << page();
        THelpWindow::ShowContext(THelpWindow::kContentsContext);
        // "Right click on any field ... for more helpful tips".
        QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(4, 4),
                                     form.Entry(7)->mapToGlobal(QPoint(4, 4)));
        QApplication::sendEvent(form.Entry(7), &rightClick);
        pages << page();
    });
    mWindow->Action("SetFilterItem")->trigger();
    OnWindow<TSearchDialog>([&](TSearchDialog& search) {
        Click(search, "HelpButton");
        pages << page();
    });
    mWindow->Action("SearchItem")->trigger();
    OnWindow<TAddressBrowseDialog>([&](TAddressBrowseDialog& browse) {
        Click(browse, "HelpButton");
        pages << page();
    });
    mWindow->Action("BrowseItem")->trigger();
    EXPECT_EQ(pages, (QStringList{"address-filter.html", "address-filter.html", "search.html",
                                  "address-browse.html"}));
    EXPECT_EQ(THelpWindow::PageFor(TTaggingDialog::kHelpContext), "tagging.html");
    if (THelpWindow::Instance())
        THelpWindow::Instance()->close();
}
