#include "letters/TLetterRun.h"
#include "TTestHome.h"
#include "letters/TLetterBounds.h"
#include "letters/TLetterPageSink.h"
#include "letters/TLetterRecords.h"
#include "letters/TLetterSource.h"
#include "letters/TPdfPageSink.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <stdexcept>

namespace qm::letters {
namespace {

// Records 1..count; Next moves past the last one.
class TCountedRecords : public TLetterRecords {
public:
    explicit TCountedRecords(int count) : mCount(count) {}
    bool AtEnd() const override { return mCurrent > mCount; }
    void Next() override { ++mCurrent; }
    int Current() const { return mCurrent; }

private:
    int mCount;
    int mCurrent = 1;
};

// A letter of pagesPerLetter pages; each drawing is noted as "r<record>p<page>".
class TPagedSource : public TLetterSource {
public:
    TPagedSource(TCountedRecords& records, int pagesPerLetter)
        : mRecords(records), mPagesPerLetter(pagesPerLetter)
    {
    }
    void MergeCurrent() override
    {
        if (mRecords.Current() == mFailAt)
            throw std::runtime_error("merge failed");
        ++merges;
    }
    int DrawPage(QPainter&, const QRect& rect, int start) override
    {
        lastRect = rect;
        drawn.push_back(QStringLiteral("r%1p%2").arg(mRecords.Current()).arg(start + 1));
        return start + 1 < mPagesPerLetter ? (stuck ? std::max(start, 1) : start + 1) : 0;
    }
    void FailAt(int record) { mFailAt = record; }

    int merges = 0;
    bool stuck = false;
    QRect lastRect;
    QStringList drawn;

private:
    TCountedRecords& mRecords;
    int mPagesPerLetter;
    int mFailAt = 0;
};

// Notes the page events; the drawings land on one image.
class TRecordingSink : public TLetterPageSink {
public:
    TLetterDevice Device() const override { return device; }
    QPainter& Begin() override
    {
        events << "begin";
        mPainter.begin(&mImage);
        return mPainter;
    }
    void NewPage() override { events << "page"; }
    void End() override
    {
        events << "end";
        mPainter.end();
    }
    void Abort() override
    {
        events << "abort";
        if (mPainter.isActive())
            mPainter.end();
    }

    TLetterDevice device{600, 600, QPoint(0, 0)};
    QStringList events;

private:
    QImage mImage{8, 8, QImage::Format_RGB32};
    QPainter mPainter;
};

struct TRun {
    TRun(int records, int pages) : set(records), source(set, pages) {}
    TLetterRunOutcome Go(const TLetterRunOptions& options,
                         const TLetterRun::TAfterRecord& after = {})
    {
        return TLetterRun(set, source, sink).Run(options, after);
    }
    TCountedRecords set;
    TPagedSource source;
    TRecordingSink sink;
};

TEST(TLetterRunTest, OnlyCurrentWithThreeCopies)
{
    TRun run(5, 1);
    TLetterRunOptions options;
    options.copies = 3;
    options.onlyCurrent = true;
    const TLetterRunOutcome outcome = run.Go(options);
    EXPECT_EQ(run.source.merges, 1); // one merge serves every copy
    EXPECT_EQ(run.source.drawn, QStringList({"r1p1", "r1p1", "r1p1"}));
    EXPECT_EQ(run.sink.events, QStringList({"begin", "page", "page", "end"}));
    EXPECT_EQ(outcome.pages, 3);
    EXPECT_EQ(outcome.StatusText(), "Letter Print Completed!");
}

TEST(TLetterRunTest, TwoPageLettersForTwoRecords)
{
    TRun run(2, 2);
    QStringList statuses;
    const TLetterRunOutcome outcome = run.Go({}, [&](const QString& status, int) {
        statuses << status;
        return false;
    });
    EXPECT_EQ(run.source.drawn, QStringList({"r1p1", "r1p2", "r2p1", "r2p2"}));
    // No page after the last record.
    EXPECT_EQ(run.sink.events, QStringList({"begin", "page", "page", "page", "end"}));
    EXPECT_EQ(statuses, QStringList({"Printing page 2", "Printing page 4"}));
    EXPECT_EQ(outcome.pages, 4);
    EXPECT_EQ(outcome.records, 2);
}

TEST(TLetterRunTest, CancelAbortsTheJob)
{
    TRun run(5, 1);
    const TLetterRunOutcome outcome =
        run.Go({}, [](const QString&, int pages) { return pages == 2; });
    EXPECT_TRUE(outcome.cancelled);
    EXPECT_EQ(outcome.StatusText(), "Letter Print Canceled!");
    EXPECT_EQ(run.sink.events.last(), "abort");
    EXPECT_FALSE(run.sink.events.contains("end"));
}

TEST(TLetterRunTest, AnErrorFailsTheRunAndAbortsTheSink)
{
    TRun run(3, 1);
    run.source.FailAt(2);
    const TLetterRunOutcome outcome = run.Go({});
    EXPECT_TRUE(outcome.failed);
    EXPECT_EQ(outcome.error, "merge failed");
    EXPECT_EQ(outcome.StatusText(), "Letter Print Failed!");
    EXPECT_EQ(run.sink.events.last(), "abort");

    // A page that does not move on ends the run instead of printing forever.
    TRun stuck(1, 3);
    stuck.source.stuck = true;
    EXPECT_TRUE(stuck.Go({}).failed);

    // A page without text area never starts drawing.
    TRun empty(1, 1);
    TLetterRunOptions options;
    options.page.left = 7000;
    options.page.right = 7000;
    EXPECT_TRUE(empty.Go(options).failed);
    EXPECT_TRUE(empty.source.drawn.isEmpty());
}

TEST(TLetterRunTest, EmptySetStartsNoDocument)
{
    TRun run(0, 1);
    const TLetterRunOutcome outcome = run.Go({});
    EXPECT_EQ(outcome.pages, 0);
    EXPECT_TRUE(run.source.drawn.isEmpty());
    EXPECT_TRUE(run.sink.events.isEmpty());
}

TEST(TLetterBoundsTest, TextRectangleInDevicePixels)
{
    TLetterPageTwips page; // Letter, 1 in margins
    EXPECT_EQ(TLetterBounds::DeterminePrinterBounds(page, {600, 600, QPoint(0, 0)}),
              QRect(600, 600, 3900, 5400));
    EXPECT_EQ(TLetterBounds::DeterminePrinterBounds(page, {300, 300, QPoint(25, 30)}),
              QRect(275, 270, 1975, 2730));
    // Products beyond 32 bits still come out right.
    TLetterPageTwips huge{2000000000, 2000000000, 0, 0, 0, 0};
    const QRect r = TLetterBounds::DeterminePrinterBounds(huge, {2400, 2400, QPoint(0, 0)});
    EXPECT_EQ(r.left(), 0);
    EXPECT_EQ(r.width(), std::numeric_limits<int>::max());
}

TEST(TPdfPageSinkTest, WritesTheFileOnlyWhenComplete)
{
    test::TTestHome home;
    const QString path = home.Path("out.pdf");
    {
        TPdfPageSink sink(path, TLetterPageTwips{});
        QPainter& painter = sink.Begin();
        painter.drawText(100, 100, "Hello");
        sink.NewPage();
        EXPECT_FALSE(QFile::exists(path));
        sink.End();
        EXPECT_EQ(sink.Pages(), 2);
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5).startsWith("%PDF-"));
    file.close();

    // An aborted job leaves the earlier file as it was, and no other file.
    const QByteArray before = [&] {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    {
        TPdfPageSink sink(path, TLetterPageTwips{});
        sink.Begin();
        sink.NewPage();
        sink.Abort();
    }
    QFile again(path);
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), before);
    EXPECT_EQ(QDir(home.Dir()).entryList(QDir::Files), QStringList({"out.pdf"}));

    // A folder that cannot hold the file: an error naming it, nothing written.
    TPdfPageSink bad(home.Path("missing/dir/x.pdf"), TLetterPageTwips{});
    EXPECT_THROW(bad.Begin(), std::runtime_error);
}

} // namespace
} // namespace qm::letters
