// A DBF and a text copy out over an earlier one, with the K-th changing file operation failing,
// for every K: as a one-time error the failure is reported and the earlier file (a table with its
// memo and index) is there byte for byte, with nothing left beside it; as a crash the next open
// finds the whole earlier file or the whole new one, never a table beside another's memo, and the
// next copy to the same name leaves nothing behind.

#include "transfer/TCopyOutRun.h"
#include "xbase/TCursor.h"
#include "xbase/TFileIoFaulty.h"
#include "xbase/TFileIoSystem.h"
#include "xbase/TTable.h"
#include "xbase/TXbaseError.h"

#include "TTransferTestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>

using namespace qm;
using namespace qm::transfer;

namespace {

// Sweeps make and drop hundreds of files: in memory where the system offers a folder for that.
QString SweepFolderTemplate()
{
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    return shm.isDir() && shm.isWritable() ? QStringLiteral("/dev/shm/qm-sweep-XXXXXX")
                                           : QDir::tempPath() + QStringLiteral("/qm-sweep-XXXXXX");
}

// A plain copy (QFile::copy flushes every copy to the disk, which costs more than a run).
bool CopyFile(const QString& from, const QString& to)
{
    std::error_code error;
    return std::filesystem::copy_file(from.toStdString(), to.toStdString(), error);
}

// An address file of count records "prefix0".., every third with a memo.
QString MakeSource(const QTemporaryDir& dir, const QString& name, const char* prefix, int count)
{
    const QString path = test::MakeAddressFile(dir, name);
    auto t = xbase::TTable::Open(path.toStdString());
    for (int i = 0; i < count; ++i) {
        t->AppendBlank();
        t->PutString(t->FieldIndex("LNAME"), prefix + std::to_string(i));
        if (i % 3 == 0)
            t->PutMemo(t->FieldIndex("MEMO"), std::string(prefix) + " memo " + std::to_string(i));
        t->Post();
    }
    t->Close();
    return path;
}

TCopyOutOutcome Copy(const QString& source, const QString& target, TCopyTargetKind kind)
{
    xbase::TTableOptions options;
    options.mode = xbase::TOpenMode::ReadOnly;
    auto table = xbase::TTable::Open(source.toStdString(), options);
    xbase::TCursor cursor(*table);
    cursor.SetQuery("!ISDEL");
    return kind == TCopyTargetKind::Dbf ? TCopyOutRun::CopyDbf(cursor, target, 0, {})
                                        : TCopyOutRun::CopyText(cursor, target, true, 0, {});
}

// A copied table's records as "LNAME|MEMO".
std::vector<std::string> Rows(const QString& path)
{
    auto t = xbase::TTable::Open(path.toStdString());
    std::vector<std::string> rows;
    for (uint32_t r = 1; r <= t->RecordCount(); ++r) {
        t->Go(r);
        rows.push_back(std::string(t->GetTrimmed(t->FieldIndex("LNAME"))) + "|" +
                       t->GetMemo(t->FieldIndex("MEMO")));
    }
    t->Close();
    return rows;
}

// Every file of the folder but the sources, with its bytes.
std::map<QString, QByteArray> Outputs(const QTemporaryDir& dir)
{
    std::map<QString, QByteArray> files;
    for (const QString& name : QDir(dir.path()).entryList(QDir::Files | QDir::Hidden))
        if (!name.startsWith(QStringLiteral("SRC")) && !name.startsWith(QStringLiteral("OLD")))
            files[name] = test::ReadFile(QDir(dir.path()).filePath(name));
    return files;
}

// Installs files as the process default for the engine, and puts back the one before.
struct TFaultyDefault {
    explicit TFaultyDefault(xbase::TFileIoSystem& files) : mBefore(&xbase::TFileIoSystem::Default())
    {
        xbase::TFileIoSystem::SetDefault(&files);
    }
    ~TFaultyDefault() { xbase::TFileIoSystem::SetDefault(mBefore); }
    xbase::TFileIoSystem* mBefore;
};

// The engine without flushes to the disk, for preparing and checking files quickly (nothing here
// survives a power cut anyway).
struct TQuietFiles {
    TQuietFiles() : files(xbase::TFileIoSystem::Native()), installed(files)
    {
        files.SetSyncs(false);
    }
    xbase::TFileIoFaulty files;
    TFaultyDefault installed;
};

class TCopyOutSweep : public ::testing::TestWithParam<TCopyTargetKind> {
protected:
    bool Dbf() const { return GetParam() == TCopyTargetKind::Dbf; }
    QString Target(const QTemporaryDir& dir) const
    {
        return QDir(dir.path())
            .filePath(Dbf() ? QStringLiteral("OUT.DBF") : QStringLiteral("OUT.TXT"));
    }
    // The sources and the earlier output (for a table, with an index of its own), made once and
    // copied for every run.
    void Prepare(const QTemporaryDir& dir) const
    {
        static std::map<TCopyTargetKind, QTemporaryDir*> made;
        QTemporaryDir*& original = made[GetParam()];
        if (!original) {
            original = new QTemporaryDir(SweepFolderTemplate());
            MakeSource(*original, QStringLiteral("SRC.DBF"), "new", 40);
            const QString old = MakeSource(*original, QStringLiteral("OLD.DBF"), "old", 7);
            ASSERT_TRUE(Copy(old, Target(*original), GetParam()).error.isEmpty());
            if (Dbf()) {
                auto t = xbase::TTable::Open(Target(*original).toStdString());
                t->AddTag("LNAME", "LNAME");
                t->Close();
            }
        }
        for (const QString& name : QDir(original->path()).entryList(QDir::Files | QDir::Hidden))
            ASSERT_TRUE(
                CopyFile(QDir(original->path()).filePath(name), QDir(dir.path()).filePath(name)));
    }
    QString Source(const QTemporaryDir& dir) const
    {
        return QDir(dir.path()).filePath(QStringLiteral("SRC.DBF"));
    }
};

} // namespace

TEST_P(TCopyOutSweep, EveryFailingOperationKeepsTheEarlierFileOrPutsTheWholeNewOne)
{
    const TQuietFiles quiet;
    // What the copy writes when nothing fails, and how many operations that takes.
    std::map<QString, QByteArray> before, after;
    std::vector<std::string> newRows;
    uint64_t total = 0;
    {
        QTemporaryDir dir(SweepFolderTemplate());
        Prepare(dir);
        before = Outputs(dir);
        xbase::TFileIoFaulty counting(xbase::TFileIoSystem::Native());
        counting.SetSyncs(false);
        {
            TFaultyDefault installed(counting);
            ASSERT_TRUE(Copy(Source(dir), Target(dir), GetParam()).error.isEmpty());
        }
        total = counting.Operations();
        after = Outputs(dir);
        if (Dbf())
            newRows = Rows(Target(dir));
    }
    ASSERT_GE(total, Dbf() ? 20u : 4u);
    std::map<std::string, int> seen;
    for (const auto mode :
         {xbase::TFileIoFaulty::TMode::Kill, xbase::TFileIoFaulty::TMode::Error}) {
        const bool crash = mode == xbase::TFileIoFaulty::TMode::Kill;
        for (uint64_t k = 1; k <= total; ++k) {
            SCOPED_TRACE((crash ? "crash at " : "error at ") + std::to_string(k));
            QTemporaryDir dir(SweepFolderTemplate());
            Prepare(dir);
            xbase::TFileIoFaulty faulty(xbase::TFileIoSystem::Native());
            faulty.SetMode(mode);
            faulty.SetError(k % 2 ? ENOSPC : EIO);
            faulty.SetTornWrites(true);
            faulty.SetSyncs(false);
            faulty.SetFailAt(k);
            TCopyOutOutcome outcome;
            {
                TFaultyDefault installed(faulty);
                outcome = Copy(Source(dir), Target(dir), GetParam());
            }
            ASSERT_TRUE(faulty.Failed());
            const QString failed = QString::fromStdString(faulty.FailedOperation());
            if (!crash && !outcome.error.isEmpty()) {
                EXPECT_TRUE(outcome.error.startsWith(QStringLiteral("There was an error copying")));
                // Reported: the earlier output is there as it was and nothing is left beside it.
                EXPECT_EQ(Outputs(dir), before) << failed.toStdString();
                ++seen["error reported, earlier file kept"];
                continue;
            }
            if (!crash) {
                // Only clearing up after the new file was in place failed: nothing is lost.
                EXPECT_EQ(outcome.copied, 40);
                ++seen["error while clearing up, new file in place"];
            }
            // The next open settles a table swap cut short; then the whole earlier file or the
            // whole new one is there.
            if (Dbf()) {
                const std::vector<std::string> rows = Rows(Target(dir));
                if (rows == newRows) {
                    if (crash)
                        ++seen["crash, new file"];
                } else {
                    ++seen["crash, earlier file"];
                    for (const QString& name :
                         {QStringLiteral("OUT.DBF"), QStringLiteral("OUT.FPT"),
                          QStringLiteral("OUT.CDX")})
                        EXPECT_EQ(test::ReadFile(QDir(dir.path()).filePath(name)), before[name])
                            << name.toStdString() << " after " << failed.toStdString();
                }
            } else {
                const QByteArray text = test::ReadFile(Target(dir));
                EXPECT_TRUE(text == before[QStringLiteral("OUT.TXT")] ||
                            text == after[QStringLiteral("OUT.TXT")])
                    << failed.toStdString();
                if (crash)
                    ++seen[text == before[QStringLiteral("OUT.TXT")] ? "crash, earlier file"
                                                                     : "crash, new file"];
            }
            // The next copy to the name uses again what a crash left, and leaves nothing.
            ASSERT_TRUE(Copy(Source(dir), Target(dir), GetParam()).error.isEmpty());
            std::map<QString, QByteArray> now = Outputs(dir);
            std::map<QString, QByteArray> expected = after;
            if (Dbf()) {
                // The table's header carries the day it was written; compare the names and rows.
                EXPECT_EQ(Rows(Target(dir)), newRows);
                for (auto* files : {&now, &expected})
                    for (auto& [name, bytes] : *files)
                        bytes.clear();
            }
            EXPECT_EQ(now, expected) << failed.toStdString();
            if (HasFailure())
                return;
        }
    }
    std::string counts;
    for (const auto& [what, n] : seen)
        counts += "  " + what + ": " + std::to_string(n) + "\n";
    std::printf("%s copy sweep over %llu operations:\n%s", Dbf() ? "DBF" : "text",
                static_cast<unsigned long long>(total), counts.c_str());
}

INSTANTIATE_TEST_SUITE_P(Kinds, TCopyOutSweep,
                         ::testing::Values(TCopyTargetKind::Dbf, TCopyTargetKind::Text),
                         [](const ::testing::TestParamInfo<TCopyTargetKind>& kind) {
                             return kind.param == TCopyTargetKind::Dbf ? "Dbf" : "Text";
                         });
