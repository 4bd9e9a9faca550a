#include "data/TIniText.h"

#include <gtest/gtest.h>

using qm::data::TIniText;

TEST(TIniText, FindsSectionsAndKeysInAnyLetterCase)
{
    const TIniText ini("[Adding]\r\nPlugDate=1\r\n[MRU]\r\nItem1=/a/b.dbf\r\n");
    EXPECT_EQ(ini.Value("adding", "PLUGDATE"), "1");
    EXPECT_EQ(ini.Value("mru", "item1"), "/a/b.dbf");
    EXPECT_FALSE(ini.Value("MRU", "Item2"));
    EXPECT_FALSE(ini.Value("Missing", "Item1"));
}

TEST(TIniText, TrimsBlanksAndMatchingQuotesAndIgnoresComments)
{
    const TIniText ini(
        "  [ Misc ]  \n;GlobalTagId=X\n  GlobalTagId =  \"Q7 \"  \nOther= 'a\nTab=\tv\t\n");
    EXPECT_EQ(ini.Value("Misc", "GlobalTagId"), "Q7 ");
    EXPECT_EQ(ini.Value("Misc", "Other"), "'a");
    EXPECT_EQ(ini.Value("Misc", "Tab"), "v");
}

TEST(TIniText, FirstSectionAndFirstKeyWin)
{
    const TIniText ini("[A]\nk=1\nk=2\n[a]\nk=3\nj=4\n");
    EXPECT_EQ(ini.Value("A", "k"), "1");
    EXPECT_FALSE(ini.Value("A", "j")); // the second [a] is never read
}

TEST(TIniText, ReplacingAValueKeepsEveryOtherByte)
{
    const std::string before = "; my notes\r\n[Unknown]\r\nx = 1\r\n\r\n[Adding]\r\n  PlugDate = 0 "
                               "; not a comment\r\nTail=9";
    TIniText ini(before);
    ini.SetValue("adding", "plugdate", "1");
    EXPECT_EQ(ini.Bytes(),
              "; my notes\r\n[Unknown]\r\nx = 1\r\n\r\n[Adding]\r\n  PlugDate =1\r\nTail=9");
}

TEST(TIniText, NewKeyGoesAfterTheSectionsLastLineBeforeBlankLines)
{
    TIniText ini("[A]\r\nk=1\r\n\r\n[B]\r\nm=2\r\n");
    ini.SetValue("A", "n", "x");
    EXPECT_EQ(ini.Bytes(), "[A]\r\nk=1\r\nn=x\r\n\r\n[B]\r\nm=2\r\n");
    ini.SetValue("B", "o", "y");
    EXPECT_EQ(ini.Bytes(), "[A]\r\nk=1\r\nn=x\r\n\r\n[B]\r\nm=2\r\no=y\r\n");
}

TEST(TIniText, NewSectionIsAppendedWithTheFilesLineEnding)
{
    TIniText ini("[A]\nk=1");
    ini.SetValue("Z", "q", "v");
    EXPECT_EQ(ini.Bytes(), "[A]\nk=1\n\n[Z]\nq=v\n");
    TIniText empty;
    empty.SetValue("S", "k", "v");
    EXPECT_EQ(empty.Bytes(), "[S]\nk=v\n");
    TIniText lastLineOpen("[S]\na=1");
    lastLineOpen.SetValue("S", "b", "2");
    EXPECT_EQ(lastLineOpen.Bytes(), "[S]\na=1\nb=2\n");
}

TEST(TIniText, RemoveKeyDropsOnlyItsLine)
{
    TIniText ini("[Misc]\nGlobalTagId=AB\nGettingStarted=1\n");
    EXPECT_TRUE(ini.RemoveKey("MISC", "globaltagid"));
    EXPECT_EQ(ini.Bytes(), "[Misc]\nGettingStarted=1\n");
    EXPECT_FALSE(ini.RemoveKey("Misc", "GlobalTagId"));
}

TEST(TIniText, BinaryGarbageNeverBreaksReadingOrWriting)
{
    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage.push_back(char((i * 7919) & 0xFF));
    garbage += std::string("\0[S]\0=\n", 7);
    TIniText ini(garbage);
    (void)ini.Value("S", "");
    ini.SetValue("Adding", "PlugDate", "1");
    EXPECT_EQ(ini.Value("Adding", "PlugDate"), "1");
    EXPECT_EQ(ini.Bytes().substr(0, garbage.size()), garbage);
}
