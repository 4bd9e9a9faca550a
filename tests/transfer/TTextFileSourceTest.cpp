// The text file's encoding is decided once for the whole file: UTF-8, UTF-16 with a byte-order
// mark, else Windows-1252; unreadable text is refused with a reason.

#include "transfer/TTextFileSource.h"
#include "data/TWin1252.h"
#include "transfer/TCsvSample.h"
#include "transfer/TTransferError.h"

#include "TTransferTestSupport.h"

#include <QStringEncoder>
#include <gtest/gtest.h>

using namespace qm::transfer;
using namespace qm::transfer::test;

namespace {

QByteArray Utf16(const QString& text, bool little)
{
    QStringEncoder encoder(little ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
    return (little ? QByteArray("\xFF\xFE", 2) : QByteArray("\xFE\xFF", 2)) +
           QByteArray(encoder(text));
}

} // namespace

TEST(TTextFileSource, EveryEncodingGivesTheSameSample)
{
    QTemporaryDir dir;
    const QString text = QStringLiteral("\"M\u00FCller, Jos\u00E9\",\u20AC5\r\nZ\u00FCrich,x\r\n");
    const std::vector<QByteArray> files = {
        text.toUtf8(),
        QByteArray("\xEF\xBB\xBF") + text.toUtf8(),
        *qm::data::TWin1252::Encode(text),
        Utf16(text, true),
        Utf16(text, false),
    };
    for (size_t i = 0; i < files.size(); ++i) {
        const QString path = QDir(dir.path()).filePath(QStringLiteral("f%1.csv").arg(i));
        WriteFile(path, files[i]);
        const TCsvSample sample = TCsvSample::FromFile(path);
        ASSERT_TRUE(sample.Usable()) << i << sample.Error().toStdString();
        EXPECT_EQ(sample.Rows()[0][0], QStringLiteral("M\u00FCller, Jos\u00E9")) << i;
        EXPECT_EQ(sample.Rows()[0][1], QStringLiteral("\u20AC5")) << i;
        EXPECT_EQ(sample.Rows()[1][0], QStringLiteral("Z\u00FCrich")) << i;
    }
}

TEST(TTextFileSource, TheWholeFileDecidesNotTheFirstLines)
{
    // Plain ASCII for many lines, one Windows-1252 byte at the end: the whole file is 1252.
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("late.csv"));
    QByteArray bytes;
    for (int i = 0; i < 20000; ++i)
        bytes += "plain,line\r\n";
    bytes += "caf\xE9,x\r\n";
    WriteFile(path, bytes);
    TTextFileSource source(path);
    EXPECT_EQ(source.Kind(), TTextFileSource::TKind::Windows1252);
}

TEST(TTextFileSource, UnreadableTextIsRefusedWithItsReason)
{
    QTemporaryDir dir;
    const auto refusal = [&](const QByteArray& bytes) {
        const QString path = QDir(dir.path()).filePath(QStringLiteral("bad.csv"));
        WriteFile(path, bytes);
        try {
            TTextFileSource source(path);
            char buffer[256];
            while (source.Read(buffer, sizeof buffer) > 0) {
            }
        } catch (const TTransferError& error) {
            return error.Message();
        }
        return QString();
    };
    EXPECT_TRUE(refusal(QByteArray("\xEF\xBB\xBF"
                                   "caf\xE9\r\n"))
                    .contains(QStringLiteral("not valid UTF-8")));
    EXPECT_TRUE(refusal(QByteArray("a,b\r\nc\0d\r\n", 10)).contains(QStringLiteral("NUL")));
    EXPECT_TRUE(refusal(QByteArray("\xFF\xFE"
                                   "a\0\0\0",
                                   6))
                    .contains(QStringLiteral("UTF-16")));
    EXPECT_TRUE(refusal(QByteArray("\xFF\xFE"
                                   "\x00\xD8"
                                   "a\0",
                                   6))
                    .contains(QStringLiteral("UTF-16")));
    EXPECT_TRUE(refusal(QByteArray("ok,fine\r\n")).isEmpty());
}

TEST(TTextFileSource, Utf16WithoutAByteOrderMarkIsNamedWithTheWayToSaveIt)
{
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("NoMark.csv"));
    const QString text = QStringLiteral("M\u00FCller,Z\u00FCrich\r\nSmith,Boston\r\n");
    for (const bool little : {true, false}) {
        const QByteArray bytes = Utf16(text, little).mid(2); // without its mark
        WriteFile(path, bytes);
        QString message;
        try {
            TTextFileSource source(path);
        } catch (const TTransferError& error) {
            message = error.Message();
        }
        const QString order =
            little ? QStringLiteral("little-endian") : QStringLiteral("big-endian");
        EXPECT_EQ(message,
                  QStringLiteral("NoMark.csv looks like UTF-16 text (") + order +
                      QStringLiteral(") without a byte-order mark, which the import needs "
                                     "to tell UTF-16 apart. Save the file again as UTF-16 "
                                     "with a byte-order mark (often called \"Unicode\"), or "
                                     "as UTF-8, and import it again."));
        QString refusal;
        TTextFileSource::Decide(bytes, &refusal, nullptr);
        EXPECT_TRUE(refusal.startsWith(QStringLiteral("The file looks like UTF-16 text (") + order))
            << refusal.toStdString();
        // The sample the window takes gives the same reason.
        EXPECT_EQ(TCsvSample::FromFile(path).Error(), message);
    }
    // Binary data with NUL bytes here and there is no UTF-16 text.
    QByteArray binary;
    for (int i = 0; i < 512; ++i)
        binary += char(i % 7 == 0 ? 0 : 'a' + i % 26);
    WriteFile(path, binary);
    try {
        TTextFileSource source(path);
        FAIL() << "NUL bytes were read";
    } catch (const TTransferError& error) {
        EXPECT_EQ(error.Message(),
                  QStringLiteral("NoMark.csv does not hold readable text: it contains NUL bytes."));
    }
}

TEST(TCsvSample, TakesTheLargestFieldCountAndNeedsTwoRecords)
{
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("s.csv"));
    WriteFile(path, "a,b\r\nlonger value,2,3,4\r\n\"x\r\ny\"\r\n");
    const TCsvSample sample = TCsvSample::FromFile(path);
    ASSERT_TRUE(sample.Usable());
    EXPECT_EQ(sample.FieldCount(), 4);
    EXPECT_EQ(sample.Longest(0), 12);
    EXPECT_EQ(sample.Longest(3), 1);
    EXPECT_EQ(sample.Rows()[0], (QStringList{"a", "b", "", ""}));
    EXPECT_EQ(sample.Rows()[2][0], QStringLiteral("x y")); // a line break shows as one blank
    EXPECT_EQ(TCsvSample::FieldName(3), QStringLiteral("Field 4"));

    // A record whose quote runs over line breaks does not set the count while records on one
    // line each are there; when every record spans lines, they do.
    WriteFile(path, "a,b\r\n\"open,c,d\r\ne,f,g\"h,i,j\r\nk,l\r\n");
    EXPECT_EQ(TCsvSample::FromFile(path).FieldCount(), 2);
    WriteFile(path, "\"a\nb\",1,2\r\n\"c\nd\",3,4\r\n");
    EXPECT_EQ(TCsvSample::FromFile(path).FieldCount(), 3);

    WriteFile(path, "only one line\r\n");
    EXPECT_FALSE(TCsvSample::FromFile(path).Usable());
    WriteFile(path, "");
    EXPECT_FALSE(TCsvSample::FromFile(path).Usable());
    WriteFile(path, "a\r\n\"never closed\r\nb\r\n");
    const TCsvSample broken = TCsvSample::FromFile(path);
    EXPECT_FALSE(broken.Usable());
    EXPECT_EQ(broken.Error(), QStringLiteral("Line 2: a quoted value is never closed."));
}
