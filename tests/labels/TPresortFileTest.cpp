// The presort file: its bytes, a round trip through the print loop's reader, replacement and
// cancelled runs.

#include "labels/TPresortFile.h"
#include "labels/TLabelPrintLoop.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qm::labels;

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(PresortFile, LinesEndInCrLfAfterAByteOrderMarkAndReadBackUnchanged)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(TPresortFile::FileName());
    const QStringList lines{"** 5-digit 12345", "12345", "** ADC FARGO ND  580", "58001",
                            QString::fromUtf8("1234É")};
    QString error;
    ASSERT_TRUE(TPresortFile::Write(path, lines, &error)) << error.toStdString();
    EXPECT_EQ(ReadAll(path), QByteArray("\xEF\xBB\xBF** 5-digit 12345\r\n12345\r\n** ADC FARGO "
                                        "ND  580\r\n58001\r\n1234\xC3\x89\r\n"));
    EXPECT_EQ(TLabelPrintLoop::ReadPresortList(path, &error), lines);

    // An empty list is an empty file apart from its mark, and reads back as no lines.
    ASSERT_TRUE(TPresortFile::Write(path, {}, &error));
    EXPECT_EQ(ReadAll(path), QByteArray("\xEF\xBB\xBF"));
    EXPECT_EQ(TLabelPrintLoop::ReadPresortList(path, &error), QStringList());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{TPresortFile::FileName()});
}

TEST(PresortFile, CancelledRunLeavesNoListOfItsOwn)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(TPresortFile::FileName());
    std::atomic<bool> cancel = true;
    QString error;
    EXPECT_FALSE(TPresortFile::Write(path, {"12345"}, &error, &cancel));
    EXPECT_TRUE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST(PresortFile, CancelAnsweredAfterTheListWasWrittenRemovesIt)
{
    // The question is answered Yes only after the new list is in place: it goes again, and the
    // earlier list it replaced is not brought back (the run's failure rule: no list of its own).
    QTemporaryDir dir;
    const QString path = dir.filePath(TPresortFile::FileName());
    ASSERT_TRUE(TPresortFile::Write(path, {"00100"}, nullptr));
    int asked = 0;
    QString error;
    EXPECT_FALSE(TPresortFile::Write(path, {"12345"}, &error, [&] { return ++asked == 2; }));
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST(PresortFile, FailureNamesTheFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("missing/PRESORT.PSL");
    QString error;
    EXPECT_FALSE(TPresortFile::Write(path, {"12345"}, &error));
    EXPECT_TRUE(error.contains("PRESORT.PSL")) << error.toStdString();
}
