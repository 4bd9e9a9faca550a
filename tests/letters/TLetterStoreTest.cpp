#include "letters/TLetterStore.h"

#include "TTestHome.h"
#include "data/TSystemTables.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace qm::letters {
namespace {

class TLetterStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QDir().mkpath(home.Path("sysdata"));
        ASSERT_EQ(store.Open(home.Path("sysdata")), QString());
    }
    test::TTestHome home;
    TLetterStore store;
};

TEST_F(TLetterStoreTest, MissingTableIsCreatedEmpty)
{
    EXPECT_TRUE(store.IsEmpty());
    EXPECT_TRUE(QFileInfo::exists(
        data::TSystemTables::FilePath(data::TSystemTable::Letter, home.Path("sysdata"))));
}

TEST_F(TLetterStoreTest, ListedByDescriptionAndFound)
{
    store.Append("Zeta", "{\\rtf1 z}");
    store.Append("alpha", "{\\rtf1 a}");
    store.Append("Beta", "{\\rtf1 b}");
    ASSERT_EQ(store.Rows().size(), 3u);
    EXPECT_EQ(store.Rows()[0].description, "alpha");
    EXPECT_EQ(store.Rows()[1].description, "Beta");
    EXPECT_EQ(store.Find("Beta"), 1);
    EXPECT_EQ(store.Find("BETA"), 1);
    EXPECT_EQ(store.Find("Gamma"), -1);
    store.Delete(0);
    EXPECT_EQ(store.Rows().size(), 2u);
    EXPECT_EQ(store.Rows()[0].description, "Beta");
}

TEST_F(TLetterStoreTest, StoredMemoRuleAtFourKAndOneMore)
{
    // Lengths counted with CR LF line breaks: a multiple of 4 gets a blank on its last line.
    const QByteArray four(4096, 'x');
    const QByteArray fourPlusOne(4097, 'x');
    EXPECT_EQ(TLetterStore::StoredText(four), four + ' ');
    EXPECT_EQ(TLetterStore::StoredText(fourPlusOne), fourPlusOne);
    // A final line break keeps its place behind the blank; lone line feeds count as CR LF.
    EXPECT_EQ(TLetterStore::StoredText("ab\r\n"), QByteArray("ab \r\n"));
    EXPECT_EQ(TLetterStore::StoredText("abcd\nef"), QByteArray("abcd\r\nef "));
    EXPECT_EQ(TLetterStore::StoredText("abc\r\n"), QByteArray("abc\r\n"));
    const int row = store.Append("Letter", four);
    EXPECT_EQ(store.Rtf(row), four + ' ');
}

TEST_F(TLetterStoreTest, CloneCopiesTheStoredBytes)
{
    // Bytes no editor would write back as they are: a control word it does not know, 8-bit
    // text and lone line feeds.
    QByteArray odd("{\\rtf1\\ansi{\\*\\unknown keep me}\xe9\x81\x9d\n\\par}");
    const QString fifty = QString(50, QLatin1Char('D'));
    const int row = store.Append(fifty, odd);
    const QByteArray stored = store.Rtf(row);
    const int clone = store.Clone(row);
    ASSERT_GE(clone, 0);
    EXPECT_EQ(store.Rows()[size_t(clone)].description, "Clone of " + fifty.left(41));
    EXPECT_EQ(store.Rtf(clone), stored);
    EXPECT_EQ(TLetterStore::CloneQuestion("A"), "Clone \"A\"?");
    EXPECT_EQ(TLetterStore::DeleteQuestion("A"), "Delete \"A\"?");
}

TEST_F(TLetterStoreTest, RewriteKeepsTheRow)
{
    const int row = store.Append("Old", "{\\rtf1 old}");
    store.Rewrite(row, "New", "{\\rtf1 new}");
    ASSERT_EQ(store.Rows().size(), 1u);
    EXPECT_EQ(store.Rows()[0].description, "New");
    EXPECT_EQ(store.Rtf(0), QByteArray("{\\rtf1 new}"));
    // A description the table cannot hold writes nothing.
    EXPECT_ANY_THROW(store.Append(QString::fromUtf8("\u4e2d"), "{\\rtf1 x}"));
    EXPECT_EQ(store.Rows().size(), 1u);
}

} // namespace
} // namespace qm::letters
