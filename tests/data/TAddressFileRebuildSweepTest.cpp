// The main window's "Rebuild now?" (pack, then the 26 tags) on an address file of 200 records
// with its K-th changing file operation failing, for every K: as a crash (that operation and every
// later one fail, as if the process died) and as a one-time error (ENOSPC or EIO). Afterwards the
// address file opens (never refused for a half-built index), its live records are there in order
// with their memos (packed or not), it has its index file, the failure was reported, and once the
// rebuild is asked for again (as the window does when the index is out of date) it checks clean.

#include "data/TAddressFile.h"
#include "data/TAddressFileRebuild.h"
#include "data/TDataSet.h"
#include "data/TNewFileFieldLengths.h"
#include "xbase/TFileIoFaulty.h"
#include "xbase/TFileIoSystem.h"
#include "xbase/TTable.h"
#include "xbase/TTableCheck.h"
#include "xbase/TXbaseError.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>

using namespace qm;
using namespace qm::data;

namespace {

constexpr uint32_t kRecords = 200;
const char* const kFiles[] = {"ADD0001.DBF", "ADD0001.CDX", "ADD0001.FPT"};

QString SweepFolderTemplate()
{
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    return shm.isDir() && shm.isWritable() ? QStringLiteral("/dev/shm/qm-sweep-XXXXXX")
                                           : QDir::tempPath() + QStringLiteral("/qm-sweep-XXXXXX");
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

// The engine without flushes to the disk, for preparing and checking files quickly.
struct TQuietFiles {
    TQuietFiles() : files(xbase::TFileIoSystem::Native()), installed(files)
    {
        files.SetSyncs(false);
    }
    xbase::TFileIoFaulty files;
    TFaultyDefault installed;
};

// "LNAME|MEMO" of every live record in record order, and how many records there are.
struct TRows {
    std::vector<std::string> live;
    uint32_t count = 0;
};

TRows RowsOf(xbase::TTable& table)
{
    TRows rows;
    rows.count = table.RecordCount();
    for (uint32_t r = 1; r <= rows.count; ++r) {
        table.Go(r);
        if (!table.Deleted())
            rows.live.push_back(std::string(table.GetTrimmed(table.FieldIndex("LNAME"))) + "|" +
                                table.GetMemo(table.FieldIndex("MEMO")));
    }
    return rows;
}

// Records "Name100".. with a memo on every fifth and the deletion mark on every seventh; built
// once.
struct TTemplate {
    QTemporaryDir dir{SweepFolderTemplate()};
    TRows rows;
};

const TTemplate& Template()
{
    static TTemplate* t = [] {
        auto* made = new TTemplate;
        const QString path = QDir(made->dir.path()).filePath(QString::fromLatin1(kFiles[0]));
        EXPECT_TRUE(TAddressFile::Create(path, TNewFileFieldLengths()).isEmpty());
        auto table = xbase::TTable::Open(path.toStdString());
        for (uint32_t i = 0; i < kRecords; ++i) {
            table->AppendBlank();
            table->PutString(table->FieldIndex("LNAME"), "Name" + std::to_string(100 + i));
            if (i % 5 == 0)
                table->PutMemo(table->FieldIndex("MEMO"), "memo " + std::to_string(i));
            table->Post();
            if (i % 7 == 3)
                table->SetDeleted(true);
        }
        made->rows = RowsOf(*table);
        table->Close();
        return made;
    }();
    return *t;
}

QString CopyTemplate(const QTemporaryDir& dir)
{
    for (const char* name : kFiles) {
        std::error_code error;
        EXPECT_TRUE(std::filesystem::copy_file(
            QDir(Template().dir.path()).filePath(QString::fromLatin1(name)).toStdString(),
            QDir(dir.path()).filePath(QString::fromLatin1(name)).toStdString(), error));
    }
    return QDir(dir.path()).filePath(QString::fromLatin1(kFiles[0]));
}

// Opens the address file as the main window does and rebuilds it; whether a failure was reported
// (a message from the rebuild, or an error).
bool RunRebuild(const QString& path)
{
    bool reported = false;
    try {
        TDataSet dataSet;
        TAddressFile::DeclareFieldObjects(dataSet);
        const TAddressOpenResult opened = TAddressFile::Open(dataSet, path);
        if (!opened.opened)
            return true;
        reported = !TAddressFileRebuild::Run(dataSet, {}).isEmpty();
        dataSet.Close();
    } catch (const std::exception&) {
        reported = true;
    }
    return reported;
}

uint64_t RebuildOperations()
{
    static const uint64_t total = [] {
        QTemporaryDir dir(SweepFolderTemplate());
        const QString path = CopyTemplate(dir);
        xbase::TFileIoFaulty counting(xbase::TFileIoSystem::Native());
        counting.SetSyncs(false);
        {
            TFaultyDefault installed(counting);
            EXPECT_FALSE(RunRebuild(path));
        }
        return counting.Operations();
    }();
    return total;
}

} // namespace

TEST(TAddressFileRebuildSweep, EveryFailingOperationLeavesAFileThatOpensAndIsRebuiltOnRequest)
{
    const TQuietFiles quiet;
    const uint64_t total = RebuildOperations();
    ASSERT_GT(total, 30u);
    std::map<std::string, int> seen;
    for (const auto mode :
         {xbase::TFileIoFaulty::TMode::Kill, xbase::TFileIoFaulty::TMode::Error}) {
        const bool crash = mode == xbase::TFileIoFaulty::TMode::Kill;
        for (uint64_t k = 1; k <= total; ++k) {
            SCOPED_TRACE((crash ? "crash at " : "error at ") + std::to_string(k));
            QTemporaryDir dir(SweepFolderTemplate());
            const QString path = CopyTemplate(dir);
            xbase::TFileIoFaulty faulty(xbase::TFileIoSystem::Native());
            faulty.SetMode(mode);
            faulty.SetError(k % 2 ? ENOSPC : EIO);
            faulty.SetTornWrites(true);
            faulty.SetSyncs(false);
            faulty.SetFailAt(k);
            bool reported = false;
            {
                TFaultyDefault installed(faulty);
                reported = RunRebuild(path);
            }
            ASSERT_TRUE(faulty.Failed());
            const std::string failed = faulty.FailedOperation();

            // The window opens the file again: it is never refused, and holds every live record.
            bool packed = false;
            bool inStep = false;
            {
                TDataSet dataSet;
                TAddressFile::DeclareFieldObjects(dataSet);
                const TAddressOpenResult opened = TAddressFile::Open(dataSet, path);
                ASSERT_TRUE(opened.opened) << opened.message.toStdString() << " after " << failed;
                EXPECT_TRUE(QFileInfo::exists(QDir(dir.path()).filePath("ADD0001.CDX")))
                    << "the address file lost its index after " << failed;
                const TRows rows = RowsOf(dataSet.Table());
                EXPECT_EQ(rows.live, Template().rows.live) << failed;
                packed = rows.count == Template().rows.live.size();
                EXPECT_TRUE(packed || rows.count == Template().rows.count) << rows.count;
                inStep = TAddressFile::TagsValid(dataSet);
                if (!inStep) {
                    // "Rebuild now?" answered with yes.
                    EXPECT_EQ(TAddressFileRebuild::Run(dataSet, {}), QString()) << failed;
                    EXPECT_TRUE(TAddressFile::TagsValid(dataSet));
                    EXPECT_EQ(RowsOf(dataSet.Table()).live, Template().rows.live);
                }
                dataSet.Close();
            }
            const QStringList left =
                QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
            EXPECT_EQ(left, (QStringList{"ADD0001.CDX", "ADD0001.DBF", "ADD0001.FPT"})) << failed;
            const xbase::TTableCheckResult check = xbase::TTableCheck::Run(path.toStdString());
            EXPECT_TRUE(check.ok) << check.problem << " after " << failed;
            if (!reported) {
                // Only clearing up after the new files were in place failed: nothing is lost, and
                // the next open removes what was left.
                EXPECT_EQ(failed.rfind("remove ", 0), 0u) << "not reported: " << failed;
                EXPECT_TRUE(packed && inStep) << failed;
            }
            ++seen[std::string(crash ? "crash, " : "error, ") +
                   (packed ? "packed, " : "unpacked, ") +
                   (inStep ? "index in step" : "index out of date, rebuilt on request") +
                   (reported ? "" : ", failure while clearing up not reported")];
            if (HasFailure())
                return;
        }
    }
    std::string counts;
    for (const auto& [what, n] : seen)
        counts += "  " + what + ": " + std::to_string(n) + "\n";
    std::printf("address file rebuild sweep over %llu operations:\n%s",
                static_cast<unsigned long long>(total), counts.c_str());
}
