// Files written whole under a name the user chose: what may be replaced and what is refused.

#include "data/TOutputFile.h"

#include "TFileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>

#if defined(Q_OS_UNIX)
#include <sys/stat.h>
#endif

namespace qm::data {
namespace {

QByteArray Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool WriteWhole(const QString& path, const QByteArray& bytes, QString* why = nullptr)
{
    TOutputFile file(path);
    const bool done =
        file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
    if (why)
        *why = file.errorString();
    return done;
}

TEST(TOutputFile, ReplacesFilesAndFollowsLinksToThem)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("out.pdf");
    EXPECT_TRUE(TOutputFile::Refusal(path).isEmpty()) << "a new file";
    ASSERT_TRUE(WriteWhole(path, "first"));
    ASSERT_TRUE(WriteWhole(path, "second"));
    EXPECT_EQ(Read(path), "second");

    // A link to a file: the file gets the new contents and the link stays a link.
    const QString link = dir.filePath("link.pdf");
    ASSERT_TRUE(QFile::link(path, link));
    ASSERT_TRUE(WriteWhole(link, "third"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(Read(path), "third");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 2);
}

TEST(TOutputFile, WhatIsNoRegularFileIsRefusedAndKept)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("folder");
    ASSERT_TRUE(QDir().mkdir(folder));
    QString why;
    EXPECT_FALSE(WriteWhole(folder, "x", &why));
    EXPECT_TRUE(why.contains("not a regular file")) << why.toStdString();
    EXPECT_TRUE(QFileInfo(folder).isDir());
#if defined(Q_OS_UNIX)
    // A named pipe (as /dev/null is a device): renaming a finished file over it would replace it.
    const QString pipe = dir.filePath("pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    EXPECT_FALSE(TOutputFile::Refusal(pipe).isEmpty());
    EXPECT_FALSE(WriteWhole(pipe, "x", &why));
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(pipe).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    const QString linkToPipe = dir.filePath("pipe.pdf");
    ASSERT_TRUE(QFile::link(pipe, linkToPipe));
    EXPECT_FALSE(WriteWhole(linkToPipe, "x"));
    ASSERT_EQ(::stat(QFile::encodeName(pipe).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
#endif
}

QStringList Entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

// Makes the step'th step of one kind fail with error; the count is kept in *count.
struct TFailStep {
    TOutputFile::TStep step;
    int error;
    int* count;
    int at = 1;
    int operator()(TOutputFile::TStep s, const QString&) const
    {
        return s == step && ++*count == at ? error : 0;
    }
};

class TOutputFileFaults : public ::testing::Test {
protected:
    void TearDown() override { TOutputFile::SetFaultHook({}); }
    QTemporaryDir mDir;
};

TEST_F(TOutputFileFaults, AFailureAtAnyStepKeepsTheEarlierFileAndSaysWhy)
{
    const QString path = mDir.filePath("out.pdf");
    ASSERT_TRUE(WriteWhole(path, "earlier"));
    const struct {
        TOutputFile::TStep step;
        int error;
    } cases[] = {{TOutputFile::TStep::Write, ENOSPC},
                 {TOutputFile::TStep::Flush, ENOSPC},
                 {TOutputFile::TStep::Sync, EIO},
                 {TOutputFile::TStep::Rename, EIO}};
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.step));
        int count = 0;
        TOutputFile::SetFaultHook(TFailStep{c.step, c.error, &count});
        QString why;
        EXPECT_FALSE(WriteWhole(path, QByteArray(100000, 'x'), &why));
        EXPECT_EQ(why, QString::fromLocal8Bit(std::strerror(c.error)));
        EXPECT_EQ(Read(path), "earlier");
        EXPECT_EQ(Entries(mDir.path()), QStringList{"out.pdf"}) << "a temporary was left";
    }
}

TEST_F(TOutputFileFaults, AWriteThatFailedRefusesTheRestAndTheCommit)
{
    // The third write of many fails: later ones are refused, so no bytes land out of place, and
    // the commit reports the first failure.
    const QString path = mDir.filePath("pages.qmp");
    int count = 0;
    TOutputFile::SetFaultHook(TFailStep{TOutputFile::TStep::Write, ENOSPC, &count, 3});
    TOutputFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    EXPECT_EQ(file.write("one"), 3);
    EXPECT_EQ(file.write("two"), 3);
    EXPECT_EQ(file.write("three"), -1);
    EXPECT_EQ(file.write("four"), -1);
    EXPECT_FALSE(file.commit());
    EXPECT_EQ(file.errorString(), QString::fromLocal8Bit(std::strerror(ENOSPC)));
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_TRUE(Entries(mDir.path()).isEmpty());
}

TEST_F(TOutputFileFaults, AFullDiskUnderTheBufferedTailIsReported)
{
    // Every byte is still in the file's buffer when commit() comes: the write that fails is the
    // flush of that tail (Qt's own commit lets it pass and renames a short file over the target).
    const QString path = mDir.filePath("out.pdf");
    ASSERT_TRUE(WriteWhole(path, "earlier"));
    QString why;
    bool written = true;
    {
        test::TFileSizeLimit fullDisk(64);
        if (!fullDisk.Available())
            GTEST_SKIP() << "no file size limit on this platform";
        written = WriteWhole(path, QByteArray(1000, 'x'), &why);
    }
    EXPECT_FALSE(written);
    EXPECT_EQ(why, QString::fromLocal8Bit(std::strerror(EFBIG)));
    EXPECT_EQ(Read(path), "earlier");
    EXPECT_EQ(Entries(mDir.path()), QStringList{"out.pdf"});
}

TEST_F(TOutputFileFaults, TemporariesAKilledRunLeftGoAtTheNextOpen)
{
    const QString path = mDir.filePath("OUT.PDF");
    for (const char* name : {"OUT.PDF.qm-tmp-a1B2c3", "OUT.PDF.qm-tmp-ZZZZZZ", "OUT.PDF.backup",
                             "OUT.PDF.qm-tmp-toolong", "OTHER.PDF.qm-tmp-a1B2c3"}) {
        QFile file(mDir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    TOutputFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    EXPECT_TRUE(TOutputFile::IsTemporaryName(QFileInfo(file.fileName()).fileName()));
    file.cancelWriting();
    EXPECT_EQ(Entries(mDir.path()),
              (QStringList{"OTHER.PDF.qm-tmp-a1B2c3", "OUT.PDF.backup", "OUT.PDF.qm-tmp-toolong"}));
}

TEST_F(TOutputFileFaults, UnfinishedFilesLeaveNothingAndReplacedOnesKeepTheirPermissions)
{
    const QString path = mDir.filePath("list.txt");
    {
        TOutputFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("never committed");
    }
    EXPECT_TRUE(Entries(mDir.path()).isEmpty());
    ASSERT_TRUE(WriteWhole(path, "first"));
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
    ASSERT_TRUE(WriteWhole(path, "second"));
    EXPECT_EQ(QFile::permissions(path) & (QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther),
              QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(Read(path), "second");
}

} // namespace
} // namespace qm::data
