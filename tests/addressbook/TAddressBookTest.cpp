// The main window's record operations on real address files, with scripted answers.

#include "addressbook/TAddressBook.h"
#include "TFileSizeLimit.h"
#include "TScriptedResponder.h"
#include "TTestHome.h"
#include "data/TAddressFile.h"
#include "data/TRecordText.h"
#include "data/TSettingsFile.h"
#include "xbase/TCursor.h"
#include "xbase/TTable.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace qm::addressbook;
using namespace qm::data;
using qm::data::TSettingsFile;

namespace {

struct TPerson {
    const char* last;
    const char* first;
    const char* city = "";
    const char* state = "";
    const char* zip = "";
    const char* country = "";
};

class AddressBookTest : public ::testing::Test {
protected:
    TSettingsFile Settings() { return TSettingsFile(mHome.Home().SettingsPath()); }

    QString MakeFile(const QString& name, const std::vector<TPerson>& people, int lnameWidth = 30)
    {
        TSettingsFile settings = Settings();
        settings.WriteInteger("NewFileFieldLengths", "FieldLNAME", lnameWidth);
        QDir().mkpath(mHome.Path("DATA"));
        const QString path = mHome.Path("DATA/" + name);
        EXPECT_EQ(
            qm::data::TAddressFile::Create(path, qm::data::TNewFileFieldLengths::Load(settings)),
            QString());
        qm::data::TDataSet ds;
        qm::data::TAddressFile::DeclareFieldObjects(ds);
        EXPECT_TRUE(qm::data::TAddressFile::Open(ds, path).opened);
        for (const TPerson& p : people) {
            ds.Append();
            ds.SetAsString("LNAME", p.last);
            ds.SetAsString("FNAME", p.first);
            ds.SetAsString("CITY", p.city);
            ds.SetAsString("STATE", p.state);
            ds.SetAsString("ZIP", p.zip);
            ds.SetAsString("COUNTRY", p.country);
            ds.Post();
        }
        return path;
    }

    void Open(const QString& path)
    {
        mBook.LoadPreferences();
        ASSERT_TRUE(mBook.OpenAddressFile(path));
    }

    qm::test::TTestHome mHome;
    qm::test::TScriptedResponder mResponder;
    TAddressBook mBook;
};

} // namespace

TEST_F(AddressBookTest, StartUpWithNothingCreatesTheDefaultFileSortedByLastName)
{
    mBook.LoadPreferences();
    mBook.OpenAtStartUp();
    ASSERT_TRUE(mBook.IsOpen());
    EXPECT_TRUE(QFile::exists(mHome.Path("DATA/ADD0001.DBF")));
    EXPECT_EQ(mBook.SortStatus(), "Sorted by Last Name");
    EXPECT_EQ(mBook.Caption(), "Quillmark - " + mHome.Path("DATA/ADD0001.DBF"));
    EXPECT_EQ(mBook.CountStatus(), "No records");
    EXPECT_EQ(mBook.RecentFiles(), QStringList{mHome.Path("DATA/ADD0001.DBF")});
    EXPECT_EQ(mBook.DataSet().FieldByName("ZIP").Size(), 10);
    EXPECT_TRUE(mResponder.Texts().isEmpty());
}

TEST_F(AddressBookTest, MissingRecentFileLeavesTheEmptyStateWithBothMessages)
{
    const QString gone = mHome.Path("DATA/GONE.DBF");
    TSettingsFile settings = Settings();
    settings.WriteString("MRU", "Item1", gone);
    mBook.LoadPreferences();
    mBook.OpenAtStartUp();
    EXPECT_FALSE(mBook.IsOpen());
    EXPECT_EQ(mResponder.Texts(), (QStringList{"File " + gone + " not found",
                                               qm::data::TAddressFile::OpenFailureText(gone)}));
    EXPECT_EQ(mBook.CurrentPath(), QString());
    EXPECT_EQ(mBook.SortStatus(), QString());
    EXPECT_FALSE(mBook.Commands().Add());

    const QString good = MakeFile("ADD0001.DBF", {{"Smith", "John"}});
    ASSERT_TRUE(mBook.OpenAddressFile(good));
    EXPECT_EQ(mBook.RecentFiles().first(), good);
    EXPECT_EQ(mBook.CountStatus(), "1 records (no filter)");
}

TEST_F(AddressBookTest, TitleNamesOnlyTheFileThatIsOpen)
{
    const QString good = MakeFile("ADD0001.DBF", {{"Smith", "John"}});
    QFile junk(mHome.Path("DATA/JUNK.DBF"));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(300, 'x'));
    junk.close();
    QStringList captions;
    QObject::connect(&mBook, &TAddressBook::CaptionChanged,
                     [&](const QString& caption) { captions << caption; });
    Open(good);
    EXPECT_EQ(mBook.Caption(), "Quillmark - " + good);

    // A failed open leaves no file open: the title names none, the message gives the reason.
    EXPECT_FALSE(mBook.OpenAddressFile(mHome.Path("DATA/JUNK.DBF")));
    EXPECT_EQ(mBook.Caption(), "Quillmark");
    ASSERT_EQ(mResponder.Texts().size(), 1);
    const QStringList lines = mResponder.Texts().front().split("\r\n");
    EXPECT_EQ(lines[0], "Unable to open " + mHome.Path("DATA/JUNK.DBF"));
    EXPECT_TRUE(lines[1].startsWith("JUNK.DBF: ")) << lines[1].toStdString();

    // A recent file that fails puts the previous file back, and the title with it.
    ASSERT_TRUE(mBook.OpenAddressFile(good));
    EXPECT_FALSE(mBook.OpenRecentFile(mHome.Path("DATA/JUNK.DBF")));
    EXPECT_TRUE(mBook.IsOpen());
    EXPECT_EQ(mBook.Caption(), "Quillmark - " + good);

    // A creation that fails closes the old file: the title follows.
    EXPECT_FALSE(mBook.CreateAndOpen(mHome.Path("NO/SUCH/FOLDER/ADD0002.DBF"), {}));
    EXPECT_FALSE(mBook.IsOpen());
    EXPECT_EQ(mBook.Caption(), "Quillmark");
    EXPECT_EQ(captions.last(), "Quillmark");
}

TEST_F(AddressBookTest, IndexFailureOfANewFileShowsBothMessagesInOrder)
{
    mBook.LoadPreferences();
    QDir().mkpath(mHome.Path("DATA"));
    {
        // A disk that fills up while the tags are built.
        qm::test::TFileSizeLimit fullDisk(4096);
        if (!fullDisk.Available())
            GTEST_SKIP() << "no file-size limit on this platform";
        mBook.OpenAtStartUp();
    }
    EXPECT_FALSE(mBook.IsOpen());
    ASSERT_EQ(mResponder.Texts().size(), 2) << mResponder.Texts().join(" | ").toStdString();
    EXPECT_TRUE(mResponder.Texts()[0].startsWith("Unable to create index files\r\n"));
    EXPECT_EQ(mResponder.Texts()[1], "File creation failed");
    EXPECT_EQ(mBook.Caption(), "Quillmark");
}

TEST_F(AddressBookTest, CountAfterADuplicateCheckFollowsTheFiltersOwnMatchingRule)
{
    // The filter's "=" matches a prefix; the duplicate check seeks with exact matching on. A
    // record changed in between must be counted by the filter's rule afterwards.
    Open(MakeFile("ADD0001.DBF", {{"Smith", "John"}, {"Smyth", "Ann"}, {"Jones", "Bob"}}));
    mBook.Filter().entries[0] = "SM";
    EXPECT_EQ(mBook.ApplyFilter(), 2);
    qm::xbase::TTable& table = mBook.DataSet().Table();
    table.Go(3);
    table.PutString(table.FieldIndex("LNAME"), "Smart");
    table.Post();
    mBook.FindDuplicate("Smith", "John");
    EXPECT_EQ(mBook.DataSet().Cursor().Count(), 3u);
    QStringList shown;
    for (mBook.DataSet().First(); !mBook.DataSet().Eof(); mBook.DataSet().Next())
        shown << mBook.DataSet().AsString("LNAME");
    EXPECT_EQ(shown, (QStringList{"Smart", "Smith", "Smyth"}));
}

TEST_F(AddressBookTest, RecentFilesKeepFourWithoutDuplicates)
{
    QStringList paths;
    for (int i = 1; i <= 5; ++i)
        paths << MakeFile(QStringLiteral("ADD000%1.DBF").arg(i), {});
    mBook.LoadPreferences();
    for (const QString& p : paths)
        ASSERT_TRUE(mBook.OpenAddressFile(p));
    ASSERT_TRUE(mBook.OpenAddressFile(paths[3]));
    EXPECT_EQ(mBook.RecentFiles(), (QStringList{paths[3], paths[4], paths[2], paths[1]}));
}

TEST_F(AddressBookTest, MovingBeepsAtEitherEnd)
{
    Open(MakeFile("ADD0001.DBF", {{"Baker", "A"}, {"Adams", "B"}, {"Carter", "C"}}));
    EXPECT_EQ(mBook.DataSet().AsString("LNAME"), "Adams");
    mBook.Prior();
    EXPECT_EQ(mResponder.Beeps(), 1);
    mBook.Last();
    EXPECT_EQ(mBook.DataSet().AsString("LNAME"), "Carter");
    mBook.Next();
    EXPECT_EQ(mResponder.Beeps(), 2);
    EXPECT_EQ(mBook.DataSet().AsString("LNAME"), "Carter");
    EXPECT_TRUE(mBook.Commands().idle);
}

TEST_F(AddressBookTest, DuplicateNameQuestionAndDeclining)
{
    TSettingsFile settings = Settings();
    settings.WriteBool("Adding", "AutoDupCheck", true);
    const QString path =
        MakeFile("ADD0001.DBF", {{"Adams", "Ann"}, {"Smith", "John", "Boston", "MA", "02101"}}, 25);
    Open(path);
    mBook.First(); // Adams
    mBook.PrepareAdd();
    EXPECT_TRUE(mBook.AddAsksNames());
    mResponder.QueueAnswer(false);
    EXPECT_FALSE(mBook.StartNewRecord({"smith", "john", {}}, QDate(2026, 12, 9)));
    ASSERT_EQ(mResponder.Messages().size(), 1u);
    const auto& question = mResponder.Messages().front();
    EXPECT_EQ(question.caption, "Possible Duplicate");
    EXPECT_FALSE(question.defaultYes);
    EXPECT_EQ(question.text, "Possible duplicate: \r\n\r\nJohn Smith\r\n\r\nBoston,MA 02101\r\n\r\n"
                             "Continue adding?");
    EXPECT_EQ(mResponder.Beeps(), 1);
    EXPECT_EQ(mBook.DataSet().AsString("LNAME"), "Smith");
    EXPECT_FALSE(mBook.DataSet().Editing());
    EXPECT_EQ(mBook.DataSet().Table().RecordCount(), 2u);

    // Only a last name: nothing is asked.
    EXPECT_TRUE(mBook.StartNewRecord({"smith", {}, {}}, QDate(2026, 12, 9)));
    EXPECT_EQ(mResponder.Messages().size(), 1u);
    mBook.Cancel();
}

TEST_F(AddressBookTest, ZipLookupFindsUpperCaseZipFromLowerCaseInput)
{
    TSettingsFile settings = Settings();
    settings.WriteBool("Adding", "PlugCityState", true);
    Open(MakeFile("ADD0001.DBF", {{"Brown", "Bo", "Ottawa", "ON", "K1A 0B1"}, {"Adams", "Al"}}));
    mBook.PrepareAdd();
    ASSERT_TRUE(mBook.StartNewRecord({{}, {}, "k1a"}, QDate(2026, 12, 9)));
    EXPECT_EQ(mBook.DataSet().AsString("CITY"), "Ottawa");
    EXPECT_EQ(mBook.DataSet().AsString("STATE"), "ON");
    EXPECT_EQ(mBook.DataSet().AsString("ZIP"), "k1a");
    mBook.Save({});
    EXPECT_EQ(mBook.DataSet().Table().RecordCount(), 3u);
}

TEST_F(AddressBookTest, CarryForwardAndDefaultCountry)
{
    TSettingsFile settings = Settings();
    settings.WriteString("Adding", "DefaultCountry", "Canada ");
    settings.WriteBool("Adding", "CarryCity", true);
    settings.WriteBool("Adding", "PlugDate", true);
    Open(MakeFile("ADD0001.DBF",
                  {{"Adams", "Al", "Paris", "", "", "France"}, {"Brown", "Bo", "Rome"}}));
    mBook.First(); // Adams, France
    mBook.PrepareAdd();
    ASSERT_TRUE(mBook.StartNewRecord({}, QDate(2026, 12, 9)));
    EXPECT_EQ(mBook.DataSet().AsString("CITY"), "Paris");
    EXPECT_EQ(mBook.Preferences().defaultCountry, "Canada ");  // kept as typed
    EXPECT_EQ(mBook.DataSet().AsString("COUNTRY"), "Canada "); // CarryCountry off
    EXPECT_EQ(mBook.DataSet().AsString("DATE"), "20261209");
    mBook.Cancel();

    settings.WriteBool("Adding", "CarryCountry", true);
    mBook.LoadPreferences();
    mBook.First();
    mBook.PrepareAdd();
    ASSERT_TRUE(mBook.StartNewRecord({}, QDate(2026, 12, 9)));
    EXPECT_EQ(mBook.DataSet().AsString("COUNTRY"), "France");
    mBook.Cancel();
    mBook.Last(); // Brown, no country
    mBook.PrepareAdd();
    ASSERT_TRUE(mBook.StartNewRecord({}, QDate(2026, 12, 9)));
    EXPECT_EQ(mBook.DataSet().AsString("COUNTRY"), "Canada ");
    mBook.Save({});
    EXPECT_EQ(mBook.DataSet().AsString("COUNTRY"), "Canada"); // stored, read without blanks
}

TEST_F(AddressBookTest, MemoGetsABlankWhenItsLengthIsAMultipleOfFour)
{
    Open(MakeFile("ADD0001.DBF", {{"Adams", "Al"}}));
    mBook.Edit();
    mBook.Save("12345678");
    EXPECT_EQ(mBook.DataSet().AsString("MEMO"), "12345678 ");
    mBook.Edit();
    mBook.Save("1234567");
    EXPECT_EQ(mBook.DataSet().AsString("MEMO"), "1234567");
    mBook.Edit();
    mBook.Save("ab\ncd"); // 2 + CR LF + 2 = 6
    EXPECT_EQ(mBook.DataSet().AsString("MEMO"), "ab\r\ncd");
    mBook.Edit();
    mBook.Save("a\nb");
    EXPECT_EQ(mBook.DataSet().AsString("MEMO"), "a\r\nb ");
}

TEST_F(AddressBookTest, ClearTagsUntagsWithoutRewriting)
{
    Open(MakeFile("ADD0001.DBF", {{"Adams", "Al"}}));
    mBook.ToggleTag();
    EXPECT_EQ(mBook.DataSet().AsString("Tagged"), "Yes");
    const QString oldId = mBook.TagIdentifier();
    EXPECT_EQ(mBook.DataSet().AsString("TAG"), oldId);
    mBook.ClearTags(QDateTime(QDate(2027, 1, 2), QTime(3, 4, 5)));
    EXPECT_NE(mBook.TagIdentifier(), oldId);
    EXPECT_EQ(Settings().ReadString("Misc", "GlobalTagId"), mBook.TagIdentifier());
    EXPECT_EQ(mBook.DataSet().AsString("Tagged"), "No");
    EXPECT_EQ(mBook.DataSet().AsString("TAG"), oldId);
    mBook.ToggleTag();
    mBook.ToggleTag();
    EXPECT_EQ(mBook.DataSet().AsString("TAG"), "");
}

TEST_F(AddressBookTest, DeleteMarksTheRecordTwiceAndHidesIt)
{
    Open(MakeFile("ADD0001.DBF", {{"Adams", "Al"}, {"Brown", "Bo"}}));
    mBook.Last();
    mResponder.QueueAnswer(false);
    EXPECT_FALSE(mBook.Delete());
    EXPECT_EQ(mBook.CountStatus(), "2 records (no filter)");
    mResponder.QueueAnswer(true);
    EXPECT_TRUE(mBook.Delete());
    EXPECT_EQ(mResponder.Messages().back().caption, "DELETE");
    EXPECT_EQ(mBook.DataSet().AsString("LNAME"), "Adams");
    EXPECT_EQ(mBook.CountStatus(), "1 records (no filter)");
    auto& table = mBook.DataSet().Table();
    table.Go(2);
    EXPECT_TRUE(table.Deleted());
    EXPECT_TRUE(table.GetLogical(table.FieldIndex("ISDEL")));
}

TEST_F(AddressBookTest, CloneCopiesEverythingButTheTag)
{
    Open(MakeFile("ADD0001.DBF", {{"Adams", "Al", "Paris"}}));
    mBook.Edit();
    mBook.Save("notes");
    mBook.ToggleTag();
    ASSERT_TRUE(mBook.Clone());
    const auto& messages = mResponder.Messages();
    ASSERT_GE(messages.size(), 2u);
    EXPECT_EQ(messages[messages.size() - 2].caption, "Clone"); // the record's own question
    EXPECT_EQ(messages[messages.size() - 2].text, "Clone this record?");
    EXPECT_EQ(mResponder.Texts().back(), "Clone completed. Current record is an exact copy");
    EXPECT_EQ(mBook.DataSet().RecNo(), 2u);
    EXPECT_EQ(mBook.DataSet().AsString("CITY"), "Paris");
    EXPECT_EQ(mBook.DataSet().AsString("MEMO"), "notes");
    EXPECT_EQ(mBook.DataSet().AsString("TAG"), "");
    EXPECT_EQ(mBook.DataSet().AsString("Tagged"), "No");
}

TEST_F(AddressBookTest, ClipboardTextWithAMiddleInitial)
{
    Open(MakeFile("ADD0001.DBF", {{"Smith", "John", "Boston", "MA", "02101"}}));
    mBook.Edit();
    mBook.DataSet().SetAsString("MIDDLE", "Q");
    mBook.DataSet().SetAsString("PHONE", "555-1234");
    mBook.Save({});
    EXPECT_EQ(mBook.ClipboardText({}),
              "John Q. Smith \r\nBoston  MA 02101\r\nPhone  :555-1234\r\n");
    TClipboardParts onlyNames;
    onlyNames.address = onlyNames.phones = false;
    EXPECT_EQ(mBook.ClipboardText(onlyNames), "John Q. Smith \r\n");
}

TEST_F(AddressBookTest, MemoSearchFindsOrReturnsAndBeeps)
{
    Open(MakeFile("ADD0001.DBF", {{"Adams", "Al"}, {"Brown", "Bo"}, {"Clark", "Cy"}}));
    mBook.Last();
    mBook.Edit();
    mBook.Save("Met at the Garden Show");
    mBook.First();
    mBook.Next(); // Brown
    EXPECT_TRUE(mBook.SearchMemo("garden", true, {}));
    EXPECT_EQ(mBook.DataSet().AsString("LNAME"), "Clark");
    EXPECT_TRUE(mBook.MemoFound());
    EXPECT_FALSE(mBook.SearchMemo("garden", false, {})); // nothing after the last record
    EXPECT_EQ(mBook.DataSet().AsString("LNAME"), "Clark");

    mBook.First();
    const int beeps = mResponder.Beeps();
    EXPECT_FALSE(mBook.SearchMemo("orchid", true, {}));
    EXPECT_EQ(mBook.DataSet().AsString("LNAME"), "Adams");
    EXPECT_EQ(mResponder.Beeps(), beeps + 1);
    EXPECT_FALSE(mBook.MemoFound());
}

TEST_F(AddressBookTest, FilterAppliesWithCountsAndDropsWhenNothingMatches)
{
    Open(MakeFile("ADD0001.DBF", {{"Adams", "Al", "Springfield"}, {"Brown", "Bo", "Shelbyville"}}));
    mBook.Filter().entries[7] = "$spring";
    EXPECT_EQ(mBook.ApplyFilter(), 1);
    EXPECT_EQ(mBook.CountStatus(), "1 filter matches");
    EXPECT_TRUE(mBook.Commands().filtered);
    mBook.Filter().entries[0] = "zz";
    EXPECT_EQ(mBook.ApplyFilter(), 0);
    EXPECT_TRUE(mBook.Filter().IsEmpty());
    EXPECT_EQ(mBook.CountStatus(), "2 records (no filter)");
    EXPECT_TRUE(mResponder.Texts().isEmpty());
}
