// Where the dictionary comes from, the user's words, and the words the check passes over.

#include "spelling/TSpellChecker.h"
#include "TSpellTestSupport.h"
#include "TTestHome.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace qm::spelling;
using namespace qm::spelling::test;

TEST(TSpellCheckerTest, TheHomesDictionaryComesBeforeTheSystems)
{
    qm::test::TTestHome home;
    WriteHomeDictionary(home.Dir(), {"hello", "world"});
    TSpellChecker checker(home.Dir());
    ASSERT_TRUE(checker.IsLoaded());
    EXPECT_TRUE(checker.DictionaryPath().endsWith("quillm.dic"));
    EXPECT_TRUE(checker.IsCorrect("hello"));
    EXPECT_FALSE(checker.IsCorrect("house")); // in en_US, not in the home's list
    EXPECT_TRUE(checker.Suggestions("helo").contains("hello"));
}

TEST(TSpellCheckerTest, WithoutTheHomesDictionaryTheSystemsEnglishIsUsed)
{
    qm::test::TTestHome home;
    if (!QFileInfo::exists("/usr/share/hunspell/en_US.dic"))
        GTEST_SKIP() << "hunspell-en-us is not installed (scripts/setup installs it)";
    // Only one of the two home files: not a dictionary.
    QFile aff(home.Path("quillm.aff"));
    aff.open(QIODevice::WriteOnly);
    aff.close();
    TSpellChecker checker(home.Dir());
    ASSERT_TRUE(checker.IsLoaded());
    EXPECT_TRUE(checker.DictionaryPath().endsWith("en_US.dic"));
    EXPECT_TRUE(checker.IsCorrect("house"));
    EXPECT_TRUE(checker.IsCorrect(QString::fromUtf16(u"don\u2019t")));
    EXPECT_FALSE(checker.IsCorrect("housse"));
}

TEST(TSpellCheckerTest, NoDictionaryAnywhereMeansNotLoadedAndEveryWordPasses)
{
    qm::test::TTestHome home;
    TSpellChecker checker(home.Dir(), {home.Path("nowhere")});
    EXPECT_FALSE(checker.IsLoaded());
    EXPECT_TRUE(checker.DictionaryPath().isEmpty());
    EXPECT_TRUE(checker.IsCorrect("qwxzv"));
    EXPECT_TRUE(checker.Suggestions("qwxzv").isEmpty());
}

TEST(TSpellCheckerTest, AddedWordsAreKeptInTheUsersFileAsUtf8AndReadNextTime)
{
    qm::test::TTestHome home;
    WriteHomeDictionary(home.Dir(), {"hello"});
    {
        TSpellChecker checker(home.Dir());
        EXPECT_FALSE(checker.IsCorrect(QString::fromUtf16(u"Zoë")));
        ASSERT_TRUE(checker.AddWord(QString::fromUtf16(u"Zoë")));
        ASSERT_TRUE(checker.AddWord("Quillmark"));
        EXPECT_TRUE(checker.IsCorrect(QString::fromUtf16(u"Zoë")));
    }
    QFile file(home.Path("quillmu.dct"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QString::fromUtf16(u"Zoë\nQuillmark\n").toUtf8());
    TSpellChecker again(home.Dir());
    EXPECT_TRUE(again.IsCorrect(QString::fromUtf16(u"Zoë")));
    EXPECT_TRUE(again.IsCorrect("Quillmark"));
}

TEST(TSpellCheckerTest, AnUnwritableUsersFileIsReportedAndTheWordKeptForTheSession)
{
    qm::test::TTestHome home;
    WriteHomeDictionary(home.Dir(), {"hello"});
    QDir(home.Dir()).mkdir("quillmu.dct"); // a folder where the file should be
    TSpellChecker checker(home.Dir());
    EXPECT_FALSE(checker.AddWord("Quillmark"));
    EXPECT_TRUE(checker.Error().contains("quillmu.dct"));
    EXPECT_TRUE(checker.IsCorrect("Quillmark"));
}

TEST(TSpellCheckerTest, WordsWithDigitsArePassedOver)
{
    qm::test::TTestHome home;
    WriteHomeDictionary(home.Dir(), {"hello"});
    TSpellChecker checker(home.Dir());
    EXPECT_TRUE(TSpellChecker::IsSkipped("B2B"));
    EXPECT_TRUE(TSpellChecker::IsSkipped("4th"));
    EXPECT_FALSE(TSpellChecker::IsSkipped("fourth"));
    EXPECT_TRUE(checker.IsCorrect("x9q"));
}
