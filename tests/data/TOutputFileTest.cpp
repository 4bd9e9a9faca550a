// Files written whole under a name the user chose: what may be replaced and what is refused.

#include "data/TOutputFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
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

} // namespace
} // namespace qm::data
