// The writer's block buffering: fields patched after their block went out, operands larger
// than a block, and a stream that starts in the middle of its device.

#include "print/TPageStreamWriter.h"

#include "TFileSizeLimit.h"
#include "TPrintTestSupport.h"
#include "print/TPageRender.h"
#include "print/TPageReplay.h"
#include "print/TPrintError.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace qm::print {
namespace {

TEST(TPageStreamWriterTest, PatchesReachFieldsAlreadyHandedToTheDevice)
{
    QByteArray bytes("prefix");
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    buffer.seek(6);
    {
        TPageStreamWriter w(&buffer);
        w.Int32(0);
        const QByteArray filler(int(stream::kBufferSize) * 2 + 7, 'x');
        w.Bytes(filler.constData(), std::size_t(filler.size())); // larger than a block: direct
        w.Int16(0);
        for (int i = 0; i < 20000; ++i) // crosses a block boundary through the buffer
            w.Byte(std::uint8_t(i));
        w.PatchInt32(0, 0x01020304);
        w.PatchInt16(4 + filler.size(), 0x0506);
        EXPECT_EQ(w.Position(), 4 + filler.size() + 2 + 20000);
        w.Flush();
    }
    EXPECT_TRUE(bytes.startsWith("prefix\x04\x03\x02\x01xxx"));
    EXPECT_EQ(bytes.mid(6 + 4 + int(stream::kBufferSize) * 2 + 7, 2), QByteArray("\x06\x05"));
    EXPECT_EQ(bytes.size(), 6 + 4 + int(stream::kBufferSize) * 2 + 7 + 2 + 20000);
}

TEST(TPageStreamWriterTest, LargeJobsKeepTheirLinksAcrossBlocks)
{
    test::UseNoPrinter();
    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    const QByteArray bytes = test::Record([&](TBaseReport& r) {
        for (int page = 1; page <= 40; ++page) {
            if (page > 1)
                r.NewPage();
            for (int line = 0; line < 30; ++line)
                r.PrintLine(QStringLiteral("Line %1 of page %2").arg(line).arg(page));
            if (page % 10 == 0)
                r.DrawBitmap(1, 8, 4, 10, picture);
        }
    });
    ASSERT_GT(bytes.size(), qsizetype(stream::kBufferSize) * 4);
    TPageReplay replay(bytes);
    EXPECT_EQ(replay.PageCount(), 40);
    replay.Validate();
    ASSERT_TRUE(replay.GotoPage(40));
    ASSERT_TRUE(replay.GotoPage(17));
}

TEST(TPageRenderTest, PagesBecomePngAndPdfPages)
{
    test::UseNoPrinter();
    const QByteArray bytes = test::Record([](TBaseReport& r) {
        r.SetPen(kBlack, TPenStyle::psSolid, TPenMode::pmCopy, -5);
        r.DrawRectangle(1, 1, 7.5, 10);
        r.NewPage();
        r.TextLeft(QStringLiteral("second"), 1);
    });
    QTemporaryDir dir;
    const QStringList files = RenderPng(bytes, dir.filePath(QStringLiteral("p-%d.png")), 50);
    ASSERT_EQ(files.size(), 2);
    const QImage first(files[0]);
    EXPECT_EQ(first.size(), QSize(425, 550));
    // The rectangle's left edge at 1 in is 50 pixels in and dark; the page around it is white.
    EXPECT_LT(qGray(first.pixel(50, 200)), 100);
    EXPECT_EQ(qGray(first.pixel(20, 200)), 255);
    // The PDF replaces an earlier file whole; a folder that is not there fails with nothing made.
    const QString pdf = dir.filePath(QStringLiteral("all.pdf"));
    {
        QFile earlier(pdf);
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write(QByteArray(4 << 20, 'x'));
    }
    EXPECT_EQ(RenderPdf(bytes, pdf), 2);
    QFile written(pdf);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray content = written.readAll();
    EXPECT_TRUE(content.startsWith("%PDF-"));
    EXPECT_TRUE(content.trimmed().endsWith("%%EOF"));
    EXPECT_LT(content.size(), 1 << 20);
    const QString missing = dir.filePath(QStringLiteral("none/all.pdf"));
    EXPECT_THROW(RenderPdf(bytes, missing), TPrintError);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("none"))));
}

TEST(TPageRenderTest, APdfThatCannotBeWrittenWholeFailsAndKeepsTheEarlierFile)
{
    test::UseNoPrinter();
    const QByteArray bytes = test::Record([](TBaseReport& r) {
        for (int page = 0; page < 20; ++page) {
            if (page > 0)
                r.NewPage();
            for (int line = 0; line < 40; ++line)
                r.TextLeft(QStringLiteral("line %1 of page %2, long enough to fill the page")
                               .arg(line)
                               .arg(page),
                           0.5 + line * 0.25);
        }
    });
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("all.pdf"));
    {
        QFile earlier(pdf);
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier");
    }
    {
        // As a full disk: no file may grow past 16 KB.
        qm::test::TFileSizeLimit limit(16 * 1024);
        if (!limit.Available())
            GTEST_SKIP() << "no file size limit on this platform";
        EXPECT_THROW(RenderPdf(bytes, pdf), TPrintError);
    }
    QFile kept(pdf);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "earlier");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

} // namespace
} // namespace qm::print
