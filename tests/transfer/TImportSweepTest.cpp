// An import of 200 records into a 2,000-record address file with its K-th changing file operation
// (create, write, truncate, flush, rename, remove) failing, for every K: as a crash (that operation
// and every later one fail, as if the process died), as a one-time error (ENOSPC or EIO, later
// operations go through), and at spread points as a real kill of a child process. Afterwards the
// 2,000 records are there byte for byte, the imported ones are whole and in order, the failure was
// reported, and the files check clean: after an error at once, after a crash once the index it
// left marked out of date is rebuilt (as the main window offers and "table reindex" does).

#include "data/TAddressFile.h"
#include "data/TAddressFileLayout.h"
#include "data/TNewFileFieldLengths.h"
#include "transfer/TCsvImportSource.h"
#include "transfer/TCsvSample.h"
#include "transfer/TImportRun.h"
#include "xbase/TFileIoFaulty.h"
#include "xbase/TFileIoSystem.h"
#include "xbase/TTable.h"
#include "xbase/TTableCheck.h"
#include "xbase/TXbaseError.h"

#include "TTransferTestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

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

constexpr uint32_t kExisting = 2000;
constexpr int kImported = 200;
constexpr int kKilledExit = 77;

const char* const kFiles[] = {"ADD0001.DBF", "ADD0001.CDX", "ADD0001.FPT"};

QString ImportedName(int i)
{
    return QStringLiteral("Imported%1").arg(i, 3, 10, QLatin1Char('0'));
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

// The address file as it was before every run (built once), its records' bytes and memos, and
// the text file imported.
struct TTemplate {
    QTemporaryDir dir{SweepFolderTemplate()};
    QString csv;
    std::vector<std::string> records;
    std::vector<std::string> memos;
};

const TTemplate& Template()
{
    static TTemplate* t = [] {
        auto* made = new TTemplate;
        const QString address = QDir(made->dir.path()).filePath(kFiles[0]);
        EXPECT_TRUE(data::TAddressFile::Create(address, data::TNewFileFieldLengths()).isEmpty());
        auto table = xbase::TTable::Open(address.toStdString());
        for (uint32_t i = 0; i < kExisting; ++i) {
            table->AppendBlank();
            table->PutString(table->FieldIndex("LNAME"), "Existing" + std::to_string(i));
            table->PutString(table->FieldIndex("FNAME"), "Ann");
            table->PutString(table->FieldIndex("ZIP"), std::to_string(10000 + i));
            if (i % 10 == 0)
                table->PutMemo(table->FieldIndex("MEMO"), "note of " + std::to_string(i));
            table->Post();
        }
        table->Close();
        table = xbase::TTable::Open(address.toStdString());
        for (uint32_t r = 1; r <= kExisting; ++r) {
            table->Go(r);
            made->records.emplace_back(table->Record().bytes);
            made->memos.push_back(table->GetMemo(table->FieldIndex("MEMO")));
        }
        table->Close();
        QByteArray csv;
        for (int i = 0; i < kImported; ++i)
            csv += ImportedName(i).toLatin1() + ",Bob,Springfield," +
                   QByteArray::number(20000 + i) + "\r\n";
        made->csv = QDir(made->dir.path()).filePath(QStringLiteral("in.csv"));
        test::WriteFile(made->csv, csv);
        return made;
    }();
    return *t;
}

QString CopyTemplate(const QTemporaryDir& dir)
{
    for (const char* name : kFiles)
        EXPECT_TRUE(CopyFile(QDir(Template().dir.path()).filePath(QString::fromLatin1(name)),
                             QDir(dir.path()).filePath(QString::fromLatin1(name))));
    return QDir(dir.path()).filePath(QString::fromLatin1(kFiles[0]));
}

// The import as the tool runs it, through whatever file system is the default. Returns whether a
// failure was reported (the closing message, the rebuild's message or an error thrown).
bool RunImport(const QString& address)
{
    bool reported = false;
    try {
        auto table = xbase::TTable::Open(address.toStdString());
        const TCsvSample sample = TCsvSample::FromFile(Template().csv);
        TFieldMatch match(TFieldMatch::StandardTargets(*table, false),
                          TFieldMatch::TextSources(sample.FieldCount()));
        EXPECT_TRUE(
            match.ApplyMap(QStringLiteral("1=Last Name,2=First Name,3=City,4=ZIP")).isEmpty());
        TCsvImportSource source(Template().csv, match, *table, sample.FieldCount());
        TImportRun run(*table, source);
        const TImportOutcome outcome = run.Import({});
        reported = outcome.failure != TImportOutcome::TFailure::None;
        const QString rebuilt = run.Rebuild({});
        reported = reported || !rebuilt.isEmpty();
        table->Close();
    } catch (const xbase::TXbaseError&) {
        reported = true;
    }
    return reported;
}

uint64_t ImportOperations()
{
    static const uint64_t total = [] {
        QTemporaryDir dir(SweepFolderTemplate());
        const QString address = CopyTemplate(dir);
        xbase::TFileIoFaulty counting(xbase::TFileIoSystem::Native());
        counting.SetSyncs(false);
        {
            TFaultyDefault installed(counting);
            EXPECT_FALSE(RunImport(address));
        }
        return counting.Operations();
    }();
    return total;
}

enum class TOutcome { Clean, RepairedAfterCrash };

// What the run left, checked with the operating system's files. Returns how it was found.
TOutcome Verify(const QString& address, bool crashed)
{
    {
        // Opening for writing settles what a crash left (a record count behind, a file
        // half-built beside the index).
        auto table = xbase::TTable::Open(address.toStdString());
        const uint32_t count = table->RecordCount();
        EXPECT_GE(count, kExisting);
        EXPECT_LE(count, kExisting + kImported);
        const int memo = table->FieldIndex("MEMO");
        for (uint32_t r = 1; r <= std::min(count, kExisting); ++r) {
            table->Go(r);
            EXPECT_EQ(std::string(table->Record().bytes), Template().records[r - 1])
                << "record " << r;
            EXPECT_EQ(table->GetMemo(memo), Template().memos[r - 1]) << "record " << r;
        }
        for (uint32_t r = kExisting + 1; r <= count; ++r) {
            table->Go(r);
            const int i = int(r - kExisting - 1);
            EXPECT_EQ(table->GetTrimmed(table->FieldIndex("LNAME")), ImportedName(i).toStdString());
            EXPECT_EQ(table->GetTrimmed(table->FieldIndex("ZIP")), std::to_string(20000 + i));
        }
        table->Close();
    }
    const QDir dir = QFileInfo(address).dir();
    EXPECT_FALSE(dir.exists(QStringLiteral("ADD0001.CX$")));
    EXPECT_TRUE(dir.exists(QStringLiteral("ADD0001.CDX"))) << "the address file lost its index";
    xbase::TTableCheckResult check = xbase::TTableCheck::Run(address.toStdString());
    if (check.ok)
        return TOutcome::Clean;
    EXPECT_TRUE(crashed) << "after an error: " << check.problem;
    EXPECT_NE(check.problem.find("out of date"), std::string::npos) << check.problem;
    auto table = xbase::TTable::Open(address.toStdString());
    table->Reindex();
    EXPECT_EQ(table->TagCount(), data::TAddressFileLayout::kTagCount);
    table->Close();
    check = xbase::TTableCheck::Run(address.toStdString());
    EXPECT_TRUE(check.ok) << check.problem;
    return TOutcome::RepairedAfterCrash;
}

} // namespace

TEST(TImportSweep, EveryFailingWriteFlushOrRenameOfAnImportLosesNothingAndIsReported)
{
    const TQuietFiles quiet;
    const uint64_t total = ImportOperations();
    ASSERT_GT(total, 200u);
    std::map<std::string, int> seen;
    for (const auto mode :
         {xbase::TFileIoFaulty::TMode::Kill, xbase::TFileIoFaulty::TMode::Error}) {
        const bool crash = mode == xbase::TFileIoFaulty::TMode::Kill;
        for (uint64_t k = 1; k <= total; ++k) {
            SCOPED_TRACE((crash ? "crash at " : "error at ") + std::to_string(k));
            QTemporaryDir dir(SweepFolderTemplate());
            const QString address = CopyTemplate(dir);
            xbase::TFileIoFaulty faulty(xbase::TFileIoSystem::Native());
            faulty.SetMode(mode);
            faulty.SetError(k % 2 ? ENOSPC : EIO);
            faulty.SetTornWrites(true);
            faulty.SetSyncs(false);
            faulty.SetFailAt(k);
            bool reported = false;
            {
                TFaultyDefault installed(faulty);
                reported = RunImport(address);
            }
            ASSERT_TRUE(faulty.Failed());
            EXPECT_TRUE(reported) << "not reported: " << faulty.FailedOperation();
            const TOutcome outcome = Verify(address, crash);
            ++seen[std::string(crash ? "crash, " : "error, ") +
                   (outcome == TOutcome::Clean ? "clean" : "marked out of date, rebuilt")];
            if (HasFailure()) {
                ADD_FAILURE() << "at " << faulty.FailedOperation();
                return;
            }
        }
    }
    std::string counts;
    for (const auto& [what, n] : seen)
        counts += "  " + what + ": " + std::to_string(n) + "\n";
    std::printf("import sweep over %llu operations:\n%s", static_cast<unsigned long long>(total),
                counts.c_str());
}

TEST(TImportSweep, AKilledImportAtSpreadPointsLeavesFilesTheNextOpenRepairs)
{
    const TQuietFiles quiet;
    const uint64_t total = ImportOperations();
    constexpr int kPoints = 12;
    int killed = 0;
    for (int p = 0; p < kPoints; ++p) {
        const uint64_t k = 1 + (total - 1) * uint64_t(p) / (kPoints - 1);
        SCOPED_TRACE("killed at " + std::to_string(k));
        QTemporaryDir dir(SweepFolderTemplate());
        const QString address = CopyTemplate(dir);
        std::fflush(nullptr);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            xbase::TFileIoFaulty faulty(xbase::TFileIoSystem::Native());
            faulty.SetMode(xbase::TFileIoFaulty::TMode::Exit);
            faulty.SetExitCode(kKilledExit);
            faulty.SetSyncs(false);
            faulty.SetFailAt(k);
            xbase::TFileIoSystem::SetDefault(&faulty);
            RunImport(address);
            std::_Exit(0);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        ASSERT_EQ(WEXITSTATUS(status), kKilledExit);
        ++killed;
        Verify(address, true);
    }
    EXPECT_EQ(killed, kPoints);
}
