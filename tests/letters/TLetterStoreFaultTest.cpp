// Letters saved while the disk fails at each write-like step in turn, and while the process is
// killed at each of them: the earlier letters stay whole, a new or changed letter is there whole
// or not at all, the table checks clean, and the failure is reported.

#include "letters/TLetterStore.h"

#include "TFaultInjection.h"
#include "TKillingFiles.h"
#include "TTestHome.h"
#include "data/TSystemTables.h"
#include "xbase/TTableCheck.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <map>
#include <sys/wait.h>
#include <unistd.h>

namespace qm::letters {
namespace {

using TLetters = std::map<QString, QByteArray>; // description -> stored text

const QByteArray kOldText = "{\\rtf1\\ansi Dear [Full Name], the old text.\\par}";
const QByteArray kNewText = "{\\rtf1\\ansi Dear [Full Name], " + QByteArray(3000, 'n') + "\\par}";

void CopyFolder(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    for (const QString& name : QDir(from).entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(QDir(from).filePath(name), QDir(to).filePath(name)));
}

// What the letters window would list, read through a fresh store (which rebuilds an index a
// failure left out of step).
TLetters Listed(const QString& sysdata, QString* notice = nullptr)
{
    TLetterStore store;
    const QString failure = store.Open(sysdata);
    EXPECT_EQ(failure, QString());
    TLetters letters;
    for (size_t i = 0; i < store.Rows().size(); ++i)
        letters[store.Rows()[i].description] = store.Rtf(int(i));
    if (notice)
        *notice = store.Notice();
    return letters;
}

std::string Check(const QString& sysdata)
{
    const auto result = xbase::TTableCheck::Run(
        data::TSystemTables::FilePath(data::TSystemTable::Letter, sysdata).toStdString());
    return result.ok ? std::string() : result.problem;
}

class TLetterStoreFaultTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mBase = mHome.Path("base");
        TLetterStore store;
        ASSERT_EQ(store.Open(mBase), QString());
        for (const char* name : {"Alpha", "Beta", "Gamma"})
            store.Append(QString::fromLatin1(name), kOldText + name);
        store.Close();
        mBefore = Listed(mBase);
        ASSERT_EQ(mBefore.size(), 3u);
    }

    // Runs change on a copy of the base letters through the fault injection failing at step
    // failAt; returns whether it threw (the failure reported), and the copy's folder.
    bool RunFailing(std::uint64_t failAt, const QString& folder,
                    const std::function<void(TLetterStore&)>& change,
                    std::uint64_t* steps = nullptr)
    {
        CopyFolder(mBase, folder);
        bool threw = false;
        test::TFaultInjection faults(failAt);
        {
            TLetterStore store; // its destructor runs with the disk still failing
            EXPECT_EQ(store.Open(folder), QString());
            try {
                change(store);
            } catch (const std::exception&) {
                threw = true;
            }
        }
        if (steps)
            *steps = faults.Steps();
        return threw;
    }

    // Sweeps every step of change; after each the letters must be before or after, whole.
    void Sweep(const std::function<void(TLetterStore&)>& change, const TLetters& after)
    {
        std::uint64_t steps = 0;
        ASSERT_FALSE(RunFailing(0, mHome.Path("count"), change, &steps));
        ASSERT_EQ(Listed(mHome.Path("count")), after);
        ASSERT_GT(steps, 3u);
        RecordProperty("steps", int(steps));
        for (std::uint64_t k = 1; k <= steps; ++k) {
            SCOPED_TRACE("failing from step " + std::to_string(k) + " of " + std::to_string(steps));
            const QString folder = mHome.Path(QStringLiteral("k%1").arg(k));
            EXPECT_TRUE(RunFailing(k, folder, change)) << "a failed save reported as done";
            const TLetters now = Listed(folder);
            EXPECT_TRUE(now == mBefore || now == after);
            EXPECT_EQ(Check(folder), "");
            QDir(folder).removeRecursively();
        }
    }

    test::TTestHome mHome;
    QString mBase;
    TLetters mBefore;
};

TEST_F(TLetterStoreFaultTest, AppendAtEveryStep)
{
    TLetters after = mBefore;
    after["New"] = TLetterStore::StoredText(kNewText);
    Sweep([](TLetterStore& store) { store.Append("New", kNewText); }, after);
}

TEST_F(TLetterStoreFaultTest, RewriteAtEveryStep)
{
    // The row and its text change together or not at all: never a new description over the old
    // text, never an empty text.
    TLetters after = mBefore;
    after.erase("Beta");
    after["Beta, changed"] = TLetterStore::StoredText(kNewText);
    Sweep([](TLetterStore& store) { store.Rewrite(store.Find("Beta"), "Beta, changed", kNewText); },
          after);
}

TEST_F(TLetterStoreFaultTest, CloneAtEveryStep)
{
    TLetters after = mBefore;
    after["Clone of Gamma"] = mBefore.at("Gamma");
    Sweep([](TLetterStore& store) { store.Clone(store.Find("Gamma")); }, after);
}

TEST_F(TLetterStoreFaultTest, KilledAtEveryStepOfASave)
{
    // A process killed half-way: the next open finds the earlier letters or the saved one, and
    // lists every row the table holds (an index left behind is rebuilt, and it says so).
    TLetters after = mBefore;
    after.erase("Alpha");
    after["Alpha, changed"] = TLetterStore::StoredText(kNewText);
    after["Added"] = TLetterStore::StoredText(kOldText);
    const auto save = [](TLetterStore& store) {
        store.Rewrite(store.Find("Alpha"), "Alpha, changed", kNewText);
        store.Append("Added", kOldText);
    };
    // The steps the killing layer counts (it leaves out the disk flushes the sweeps count too).
    std::uint64_t steps = 0;
    {
        const QString folder = mHome.Path("count");
        CopyFolder(mBase, folder);
        test::TKillingFiles counter(0);
        xbase::TFileIoSystem* previous = data::TSystemTables::UseFiles(&counter);
        {
            TLetterStore store;
            EXPECT_EQ(store.Open(folder), QString());
            save(store);
        }
        data::TSystemTables::UseFiles(previous);
        steps = counter.Steps();
    }
    ASSERT_GT(steps, 3u);
    RecordProperty("steps", int(steps));
    int rebuilt = 0;
    for (std::uint64_t k = 1; k <= steps; k += (k < 8 ? 1 : 3)) {
        SCOPED_TRACE("killed at step " + std::to_string(k) + " of " + std::to_string(steps));
        const QString folder = mHome.Path(QStringLiteral("kill%1").arg(k));
        CopyFolder(mBase, folder);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            test::TKillingFiles killer(k);
            data::TSystemTables::UseFiles(&killer);
            TLetterStore store;
            store.Open(folder);
            try {
                save(store);
            } catch (...) {
                ::_exit(2);
            }
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "status " << status;
        QString notice;
        const TLetters now = Listed(folder, &notice);
        rebuilt += notice.isEmpty() ? 0 : 1;
        // Either save may have gone through: the first alone, both, or none.
        TLetters firstOnly = mBefore;
        firstOnly.erase("Alpha");
        firstOnly["Alpha, changed"] = TLetterStore::StoredText(kNewText);
        EXPECT_TRUE(now == mBefore || now == firstOnly || now == after);
        EXPECT_EQ(Check(folder), "");
        QDir(folder).removeRecursively();
    }
    EXPECT_GT(rebuilt, 0) << "no kill left an index to rebuild";
}

} // namespace
} // namespace qm::letters
