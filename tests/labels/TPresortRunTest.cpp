// One presort run over the address table: the file, the counts, cancel, and the table put back.

#include "labels/TPresortRun.h"

#include "TLabelPrintFixture.h"
#include "labels/TLabelPrintLoop.h"

#include <QFile>

using namespace qm;
using namespace qm::labels;

namespace {

class PresortRunTest : public test::LabelPrintFixture {
protected:
    QString Path() const { return mHome.Path("PRESORT.PSL"); }

    void OpenExample()
    {
        std::vector<test::TPerson> people;
        const auto add = [&](int n, const QString& zip) {
            for (int i = 0; i < n; ++i)
                people.push_back({QStringLiteral("P%1").arg(people.size()), zip});
        };
        add(12, "12345");
        add(4, "12301");
        add(6, "12302-0001");
        add(1, "12001");
        add(1, "00100");
        add(2, "");        // left out
        add(1, "K1A 0B1"); // left out
        OpenFile(people);
    }
};

TEST_F(PresortRunTest, WritesTheListAndCountsTheRecordsLeftOut)
{
    OpenExample();
    mDataSet.GoTo(5);
    const int order = mApollo->IndexOrd();
    std::atomic<bool> cancel{false};
    QStringList statuses;
    TPresortRun run(*mApollo, Path());
    EXPECT_EQ(run.Run(cancel, [&](const QString& s) { statuses << s; }),
              TPresortRun::TOutcome::Finished);
    EXPECT_EQ(statuses.first(), "Reading database records...");
    EXPECT_EQ(statuses.last(), "Sorting Zip Codes...");
    EXPECT_EQ(run.Counts().recordsLeftOut, 3u);
    EXPECT_EQ(TPresortRun::LeftOutMessage(3),
              "3 record(s) have no valid ZIP code and are not printed at all in a presorted "
              "job.");
    QString error;
    const auto lines = TLabelPrintLoop::ReadPresortList(Path(), &error);
    ASSERT_TRUE(lines) << error.toStdString();
    EXPECT_EQ(*lines, QStringList({"** 5-digit 12345", "12345", "** 3-digit 123", "12301", "12302",
                                   "** ADC ALBANY NY 120", "12001", "** Unknown", "00100"}));
    // The table is as it was: order, record, turbo read off (a seek works on the order again).
    EXPECT_EQ(mApollo->IndexOrd(), order);
    EXPECT_EQ(mDataSet.RecNo(), 5u);
    EXPECT_FALSE(mDataSet.Table().TurboRead());
}

TEST_F(PresortRunTest, ProgressEveryHundredRecordsAndCancelDuringTheScanWritesNothing)
{
    OpenNumbered(250, "12345");
    QFile old(Path());
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old\r\n");
    old.close();
    std::atomic<bool> cancel{false};
    QStringList statuses;
    TPresortRun run(*mApollo, Path());
    const auto outcome = run.Run(cancel,
                                 [&](const QString& s) {
                                     statuses << s;
                                     if (s == "Reading record 100")
                                         cancel = true;
                                 },
                                 {});
    EXPECT_EQ(outcome, TPresortRun::TOutcome::Cancelled);
    EXPECT_EQ(statuses, QStringList({"Reading database records...", "Reading record 100"}));
    EXPECT_EQ(run.Counts().recordsRead, 100u); // the flag is seen after the next record
    QFile kept(Path());
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("old\r\n")); // this run wrote nothing
    EXPECT_FALSE(mDataSet.Table().TurboRead());
    EXPECT_EQ(mApollo->IndexOrd(), mApollo->TagArea("LNAME"));
}

TEST_F(PresortRunTest, AnErrorWhileReadingPutsTheOrderBackAndTurboReadOff)
{
    OpenNumbered(150, "12345");
    std::atomic<bool> cancel{false};
    TPresortRun run(*mApollo, Path());
    const auto outcome = run.Run(cancel, [&](const QString& s) {
        if (s == "Reading record 100") {
            EXPECT_TRUE(mDataSet.Table().TurboRead());
            throw std::runtime_error("the disk went away");
        }
    });
    EXPECT_EQ(outcome, TPresortRun::TOutcome::Failed);
    EXPECT_EQ(run.Error(), "the disk went away");
    EXPECT_FALSE(mDataSet.Table().TurboRead());
    EXPECT_EQ(mApollo->IndexOrd(), mApollo->TagArea("LNAME"));
    EXPECT_FALSE(QFile::exists(Path()));
}

TEST_F(PresortRunTest, CancelAnsweredAfterTheListWasWrittenRemovesIt)
{
    OpenNumbered(20, "12345");
    std::atomic<bool> cancel{false};
    bool written = false;
    TPresortRun run(*mApollo, Path());
    const auto outcome = run.Run(cancel, {}, [&] {
        if (QFile::exists(Path()) && !written) {
            written = true;
            cancel = true;
        }
    });
    EXPECT_TRUE(written);
    EXPECT_EQ(outcome, TPresortRun::TOutcome::Cancelled);
    EXPECT_FALSE(QFile::exists(Path()));
}

TEST_F(PresortRunTest, AnEmptyScopeWritesAnEmptyList)
{
    OpenNumbered(3, "12345");
    mApollo->SetQuery("ZIP=\"9\"");
    std::atomic<bool> cancel{false};
    TPresortRun run(*mApollo, Path());
    EXPECT_EQ(run.Run(cancel), TPresortRun::TOutcome::Finished);
    QFile file(Path());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray());
}

} // namespace
