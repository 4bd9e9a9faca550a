// The presort file: its bytes (Windows-1252, CR LF, no mark), a round trip through the print
// loop's reader, the older form with a UTF-8 mark, replacement and cancelled runs.

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

TEST(PresortFile, LinesAreWindows1252EndingInCrLfWithoutAMarkAndReadBackUnchanged)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(TPresortFile::FileName());
    const QStringList lines{"** 5-digit 12345", "12345", "** ADC FARGO ND  580", "58001",
                            QString::fromUtf8("1234É")};
    QString error;
    ASSERT_TRUE(TPresortFile::Write(path, lines, &error)) << error.toStdString();
    // The key holds the ZIP field's own byte (0xC9), as the address file stores it.
    EXPECT_EQ(ReadAll(path), QByteArray("** 5-digit 12345\r\n12345\r\n** ADC FARGO "
                                        "ND  580\r\n58001\r\n1234\xC9\r\n"));
    EXPECT_EQ(TLabelPrintLoop::ReadPresortList(path, &error), lines);

    // An empty list is an empty file, and reads back as no lines.
    ASSERT_TRUE(TPresortFile::Write(path, {}, &error));
    EXPECT_EQ(ReadAll(path), QByteArray());
    EXPECT_EQ(TLabelPrintLoop::ReadPresortList(path, &error), QStringList());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{TPresortFile::FileName()});
}

TEST(PresortFile, ListsWithAUtf8MarkAsEarlierVersionsWroteThemStillRead)
{
    EXPECT_EQ(TPresortFile::Decode("\xEF\xBB\xBF** 5-digit 12345\r\n12345\r\n1234\xC3\x89\r\n"),
              (QStringList{"** 5-digit 12345", "12345", QString::fromUtf8("1234É")}));
    EXPECT_EQ(TPresortFile::Decode("\xEF\xBB\xBF"), QStringList());
    // Without the mark the bytes are Windows-1252, even where they happen to be valid UTF-8.
    EXPECT_EQ(TPresortFile::Decode("12\xC3\x89\r\n"),
              QStringList{QStringLiteral("12") + QChar(0xC3) + QChar(0x2030)});
    // A bare LF and a missing last line end are taken.
    EXPECT_EQ(TPresortFile::Decode("12345\n00100"), (QStringList{"12345", "00100"}));
}

TEST(PresortFile, ALineWindows1252CannotHoldIsRefusedAndTheOldListKept)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(TPresortFile::FileName());
    ASSERT_TRUE(TPresortFile::Write(path, {"00100"}, nullptr));
    QString error;
    EXPECT_FALSE(TPresortFile::Write(path, {"12345", QString::fromUtf8("1234\u0141")}, &error));
    EXPECT_TRUE(error.contains("PRESORT.PSL")) << error.toStdString();
    EXPECT_TRUE(error.contains("U+0141")) << error.toStdString();
    EXPECT_EQ(ReadAll(path), QByteArray("00100\r\n"));
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
