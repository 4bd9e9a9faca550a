// The PDF job: pages of the job's paper size, written into the file while the job runs, and the
// file appearing only when the job completes.

#include "print/TPdfReport.h"

#include "TPrintTestSupport.h"
#include "data/TOutputFile.h"
#include "print/TPrintError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRectF>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <stdexcept>
#include <vector>

namespace qm::print {
namespace {

class TPdfReportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::UseNoPrinter();
        ASSERT_TRUE(mDir.isValid());
        mPath = mDir.filePath("out.pdf");
    }

    QByteArray Read() const
    {
        QFile file(mPath);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Bytes in the folder's files other than the target: the pages written so far. The file being
    // written may have no name yet (an unnamed temporary file linked in at the end), so the
    // process's open files in the folder count too.
    qint64 Pending() const
    {
        qint64 bytes = 0;
        for (const QFileInfo& info : QDir(mDir.path()).entryInfoList(QDir::Files | QDir::Hidden))
            if (info.fileName() != QLatin1String("out.pdf"))
                bytes += info.size();
        const QDir fds(QStringLiteral("/proc/self/fd"));
        for (const QString& fd : fds.entryList(QDir::Files | QDir::System)) {
            const QFileInfo link(fds.filePath(fd));
            if (link.symLinkTarget().startsWith(mDir.path() + QLatin1Char('/')) &&
                !link.symLinkTarget().endsWith(QLatin1String("/out.pdf")))
                bytes += link.size();
        }
        return bytes;
    }

    QTemporaryDir mDir;
    QString mPath;
};

TEST_F(TPdfReportTest, PagesGoIntoTheFileWhileTheJobRuns)
{
    TPdfReport pdf;
    pdf.SetFileName(mPath);
    pdf.SetPaperSize(0, 4, 6);
    std::vector<qint64> pending;
    pdf.OnPrint = [&](TBaseReport& r) {
        for (int page = 1; page <= 300; ++page) {
            if (page > 1)
                r.NewPage();
            for (int line = 0; line < 20; ++line)
                r.TextLeft(QStringLiteral("Page %1 line %2").arg(page).arg(line), 0.5);
            if (page % 100 == 0)
                pending.push_back(Pending());
        }
        EXPECT_FALSE(QFile::exists(mPath)) << "the target appears only when complete";
    };
    pdf.RunJob();
    ASSERT_EQ(pending.size(), 3u);
    EXPECT_GT(pending[0], 0);
    EXPECT_GT(pending[1], pending[0]);
    EXPECT_GT(pending[2], pending[1]);

    const QByteArray bytes = Read();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_TRUE(bytes.trimmed().endsWith("%%EOF"));
    EXPECT_EQ(bytes.count("/Type /Page\n"), 300);
    EXPECT_TRUE(bytes.contains("/MediaBox [0 0 288.000000 432.000000]"));
    EXPECT_EQ(Pending(), 0) << "no temporary file left";
}

// The page's content stream, inflated: the one stream of a page without pictures or fonts.
QByteArray PageContent(const QByteArray& pdf)
{
    const qsizetype start = pdf.indexOf("stream\n");
    const qsizetype end = pdf.indexOf("endstream", start);
    if (start < 0 || end < 0)
        return {};
    QByteArray deflated = pdf.mid(start + 7, end - start - 7);
    // qUncompress takes the inflated size first, big-endian; a generous bound will do.
    const quint32 bound = quint32(deflated.size()) * 64 + 4096;
    deflated.prepend(char(bound & 0xFF));
    deflated.prepend(char((bound >> 8) & 0xFF));
    deflated.prepend(char((bound >> 16) & 0xFF));
    deflated.prepend(char((bound >> 24) & 0xFF));
    return qUncompress(deflated);
}

// A run of filled rectangles (a barcode's bars) is one path and one fill on the page, with one
// colour for the run, not a colour and a fill per rectangle; a shape after it has its pen again.
TEST_F(TPdfReportTest, ARunOfFilledRectanglesIsOneFill)
{
    TPdfReport pdf;
    pdf.SetFileName(mPath);
    pdf.SetPaperSize(0, 4, 6);
    pdf.OnPrint = [&](TBaseReport& r) {
        r.SetPen(kBlack, TPenStyle::psSolid, TPenMode::pmCopy, 3);
        r.SetBrush(kBlack, TBrushStyle::bsSolid);
        std::vector<QRectF> bars;
        for (int i = 0; i < 65; ++i)
            bars.emplace_back(QPointF(0.5 + i / 22.0, 1.0), QPointF(0.52 + i / 22.0, 1.145));
        r.FillRects(bars);
        r.SetBrush(kBlack, TBrushStyle::bsClear);
        r.DrawRectangle(0.5, 2.0, 3.5, 3.0);
    };
    pdf.RunJob();
    const QByteArray content = PageContent(Read());
    ASSERT_FALSE(content.isEmpty());
    const qsizetype firstBar = content.indexOf(" re\n");
    const qsizetype fill = content.indexOf("\nf\n", firstBar);
    ASSERT_GE(firstBar, 0) << content.constData();
    ASSERT_GT(fill, firstBar) << content.constData();
    const QByteArray run = content.mid(firstBar, fill + 1 - firstBar);
    EXPECT_EQ(run.count(" re\n"), 65) << content.constData();
    EXPECT_FALSE(run.contains("scn")) << "no colour change inside the run";
    EXPECT_EQ(content.count(" re\n"), 65) << content.constData();
    EXPECT_EQ(content.count("\nf\n"), 1) << content.constData();
    // The frame after the run is drawn with its pen: a ring, filled even-odd.
    EXPECT_GT(content.indexOf("f*\n", fill), fill) << content.constData();
}

TEST_F(TPdfReportTest, AnAbortedOrFailedJobLeavesTheEarlierFile)
{
    {
        QFile file(mPath);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("earlier");
    }
    TPdfReport aborted;
    aborted.SetFileName(mPath);
    aborted.OnPrint = [](TBaseReport& r) {
        r.TextLeft(QStringLiteral("never"), 1);
        r.AbortJob();
    };
    aborted.RunJob();
    EXPECT_EQ(Read(), "earlier");

    TPdfReport failed;
    failed.SetFileName(mPath);
    failed.OnPrint = [](TBaseReport& r) {
        r.TextLeft(QStringLiteral("half"), 1);
        r.NewPage();
        throw std::runtime_error("the handler failed");
    };
    EXPECT_THROW(failed.RunJob(), std::runtime_error);
    EXPECT_EQ(Read(), "earlier");
    EXPECT_EQ(Pending(), 0);
}

TEST_F(TPdfReportTest, AJobOverAnEarlierPdfFailingAtAnyStepKeepsItAndSaysWhy)
{
    // Every write, the flush of the buffered tail, the flush to the disk and the rename fail in
    // turn (and every step after, as on a disk that stays full): the job reports the system's
    // reason, the earlier PDF stays, and no temporary is left.
    const auto job = [this] {
        TPdfReport pdf;
        pdf.SetFileName(mPath);
        pdf.SetPaperSize(0, 4, 6);
        pdf.OnPrint = [](TBaseReport& r) {
            for (int page = 1; page <= 2; ++page) {
                if (page > 1)
                    r.NewPage();
                r.TextLeft(QStringLiteral("Page %1").arg(page), 0.5);
                r.DrawRectangle(0.5, 1, 3, 2);
            }
        };
        pdf.RunJob();
    };
    int steps = 0;
    data::TOutputFile::SetFaultHook([&steps](data::TOutputFile::TStep, const QString&) {
        ++steps;
        return 0;
    });
    job();
    const QByteArray complete = Read();
    ASSERT_TRUE(complete.trimmed().endsWith("%%EOF"));
    ASSERT_GT(steps, 4);
    RecordProperty("steps", steps);
    for (int k = 1; k <= steps; ++k) {
        SCOPED_TRACE("failing from step " + std::to_string(k) + " of " + std::to_string(steps));
        {
            QFile file(mPath);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("earlier");
        }
        const int error = k % 2 ? ENOSPC : EIO;
        int step = 0;
        data::TOutputFile::SetFaultHook(
            [&step, k, error](data::TOutputFile::TStep, const QString&) {
                return ++step >= k ? error : 0;
            });
        try {
            job();
            ADD_FAILURE() << "a failed job reported as done";
        } catch (const TPrintError& e) {
            EXPECT_TRUE(e.Message().endsWith(QString::fromLocal8Bit(std::strerror(error))))
                << e.Message().toStdString();
        }
        EXPECT_EQ(Read(), "earlier");
        EXPECT_EQ(Pending(), 0) << "a temporary was left";
    }
    data::TOutputFile::SetFaultHook({});
    job();
    EXPECT_TRUE(Read().trimmed().endsWith("%%EOF"));
}

TEST_F(TPdfReportTest, AFileThatCannotBeWrittenIsNamed)
{
    TPdfReport pdf;
    pdf.SetFileName(mDir.filePath("missing/out.pdf"));
    pdf.OnPrint = [](TBaseReport& r) { r.TextLeft(QStringLiteral("x"), 1); };
    try {
        pdf.RunJob();
        FAIL() << "no error";
    } catch (const TPrintError& e) {
        EXPECT_EQ(e.Kind(), TPrintErrorKind::Stream);
        EXPECT_TRUE(
            e.Message().contains(QDir::toNativeSeparators(mDir.filePath("missing/out.pdf"))))
            << e.Message().toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(mDir.filePath("missing")));
}

} // namespace
} // namespace qm::print
