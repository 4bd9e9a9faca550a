// A copy of the program killed outright (no chance to close or flush) between two saves, with
// an edit pending: every saved change and every clone made before the kill is in the address
// file afterwards, the pending edit is not, and the file opens with its tags in step (no rebuild
// question).

#include "TScriptedResponder.h"
#include "TTestHome.h"
#include "addressbook/TAddressBook.h"
#include "data/TAddressFile.h"

#include <QDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace qm::addressbook;
using qm::data::TAddressFile;
using qm::data::TDataSet;

TEST(KilledBetweenSaves, EverySavedRecordSurvivesAndTheTagsStayInStep)
{
    qm::test::TTestHome home;
    QDir().mkpath(home.Path("DATA"));
    const QString path = home.Path("DATA/ADD0001.DBF");
    ASSERT_EQ(TAddressFile::Create(path, {}), QString());
    {
        TDataSet ds;
        TAddressFile::DeclareFieldObjects(ds);
        ASSERT_TRUE(TAddressFile::Open(ds, path).opened);
        ds.Append();
        ds.SetAsString("LNAME", QStringLiteral("Name000"));
        ds.Post();
    }

    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    constexpr int kSaves = 12;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Saves and clones, telling the parent after each, then waits with an edit pending.
        close(ready[0]);
        qm::test::TScriptedResponder responder; // answers Yes to "Clone this record?"
        TAddressBook book;
        book.LoadPreferences();
        if (!book.OpenAddressFile(path))
            _exit(2);
        for (int i = 1; i <= kSaves; ++i) {
            book.Clone();
            book.Edit();
            book.DataSet().SetAsString("LNAME",
                                       QStringLiteral("Name%1").arg(i, 3, 10, QLatin1Char('0')));
            book.Save(QStringLiteral("memo %1").arg(i));
            const char byte = 1;
            if (write(ready[1], &byte, 1) != 1)
                _exit(3);
        }
        book.Edit();
        book.DataSet().SetAsString("LNAME", QStringLiteral("Unsaved"));
        for (;;)
            pause();
    }
    close(ready[1]);
    int saves = 0;
    char byte = 0;
    while (saves < kSaves && read(ready[0], &byte, 1) == 1)
        ++saves;
    close(ready[0]);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_EQ(saves, kSaves);
    ASSERT_TRUE(WIFSIGNALED(status));

    TDataSet ds;
    TAddressFile::DeclareFieldObjects(ds);
    ASSERT_TRUE(TAddressFile::Open(ds, path).opened);
    EXPECT_TRUE(TAddressFile::TagsValid(ds)); // no rebuild question after the kill
    EXPECT_EQ(ds.Table().RecordCount(), unsigned(kSaves + 1));
    ds.First(); // last-name order
    for (int i = 0; i <= kSaves; ++i) {
        ASSERT_FALSE(ds.Eof());
        EXPECT_EQ(ds.AsString("LNAME"), QStringLiteral("Name%1").arg(i, 3, 10, QLatin1Char('0')));
        if (i > 0) {
            EXPECT_EQ(ds.AsString("MEMO"), QStringLiteral("memo %1").arg(i));
        }
        ds.Next();
    }
    EXPECT_TRUE(ds.Eof());
}
