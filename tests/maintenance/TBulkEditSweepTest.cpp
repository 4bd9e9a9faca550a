// Delete Records and Search and Replace on a 120-record address file with the K-th changing file
// operation failing, for every K, as a crash and as a one-time error (ENOSPC or EIO). Afterwards
// the records the run had changed are a prefix of its matches (in record order) and every other
// record is as it was, byte for byte; an error is reported with the number of records it had
// changed, which is the number found changed; and the files check clean (after a crash once the
// index it left marked out of date is rebuilt). Also: the last commit's failure is the run's.

#include "data/TAddressFile.h"
#include "data/TDataSet.h"
#include "data/TNewFileFieldLengths.h"
#include "maintenance/TCommitPacer.h"
#include "maintenance/TDeleteRecordsRun.h"
#include "maintenance/TMaintenanceError.h"
#include "maintenance/TSearchReplaceRun.h"
#include "xbase/TFileIoFaulty.h"
#include "xbase/TFileIoSystem.h"
#include "xbase/TTable.h"
#include "xbase/TTableCheck.h"
#include "xbase/TXbaseError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <map>

using namespace qm;
using namespace qm::maintenance;

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

constexpr uint32_t kRecords = 120;
const char* const kFiles[] = {"ADD0001.DBF", "ADD0001.CDX", "ADD0001.FPT"};

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

// Records "Name000".. in Boston (even) and Salem (odd), a memo on every fifth; built once.
struct TTemplate {
    QTemporaryDir dir{SweepFolderTemplate()};
    std::vector<std::string> records;
};

const TTemplate& Template()
{
    static TTemplate* t = [] {
        auto* made = new TTemplate;
        const QString path = QDir(made->dir.path()).filePath(QString::fromLatin1(kFiles[0]));
        EXPECT_TRUE(data::TAddressFile::Create(path, data::TNewFileFieldLengths()).isEmpty());
        auto table = xbase::TTable::Open(path.toStdString());
        for (uint32_t i = 0; i < kRecords; ++i) {
            table->AppendBlank();
            table->PutString(table->FieldIndex("LNAME"), "Name" + std::to_string(100 + i));
            table->PutString(table->FieldIndex("CITY"), i % 2 ? "Salem" : "Boston");
            if (i % 5 == 0)
                table->PutMemo(table->FieldIndex("MEMO"), "memo " + std::to_string(i));
            table->Post();
        }
        table->Close();
        table = xbase::TTable::Open(path.toStdString());
        for (uint32_t r = 1; r <= kRecords; ++r) {
            table->Go(r);
            made->records.emplace_back(table->Record().bytes);
        }
        table->Close();
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

struct TEdit {
    const char* name;
    std::function<void(data::TDataSet&)> run;
    // Whether a record's bytes show the edit (the others must be as they were).
    std::function<bool(const xbase::TTable&)> done;
    uint32_t matches;
};

std::vector<TEdit> Edits()
{
    return {
        {"delete",
         [](data::TDataSet& ds) {
             TDeleteRecordsRun(ds, TDeleteScope::Matching, QStringLiteral("CITY = \"Boston\""))
                 .Run();
         },
         [](const xbase::TTable& t) { return t.Deleted() && t.GetLogical(t.FieldIndex("ISDEL")); },
         kRecords / 2},
        {"replace",
         [](data::TDataSet& ds) {
             TReplaceOptions options;
             options.field = QStringLiteral("CITY");
             options.find = QStringLiteral("Salem");
             options.replacement = QStringLiteral("Marblehead");
             TSearchReplaceRun(ds, options).Run();
         },
         [](const xbase::TTable& t) { return t.GetTrimmed(t.FieldIndex("CITY")) == "Marblehead"; },
         kRecords / 2},
    };
}

// Runs the edit as the tool does; returns the message of a reported failure ("" when none).
QString RunEdit(const TEdit& edit, const QString& path, bool& reported)
{
    reported = false;
    QString message;
    try {
        data::TDataSet ds;
        data::TAddressFile::DeclareFieldObjects(ds);
        const data::TAddressOpenResult opened = data::TAddressFile::Open(ds, path);
        if (!opened.opened) {
            reported = true;
            return opened.message;
        }
        edit.run(ds);
        ds.Close();
    } catch (const TMaintenanceError& e) {
        reported = true;
        message = e.Message();
    } catch (const xbase::TXbaseError& e) {
        reported = true;
        message = QString::fromStdString(e.what());
    }
    return message;
}

// How many records show the edit, checking that they are the first ones of its matches and that
// every other record is as it was. -1 when they are not.
int ChangedPrefix(const TEdit& edit, const QString& path)
{
    auto t = xbase::TTable::Open(path.toStdString());
    EXPECT_EQ(t->RecordCount(), kRecords);
    int changed = 0;
    bool gap = false;
    uint32_t matchesSeen = 0;
    for (uint32_t r = 1; r <= t->RecordCount(); ++r) {
        t->Go(r);
        const bool isMatch = edit.matches == kRecords / 2 &&
                             (std::string(edit.name) == "delete" ? (r - 1) % 2 == 0 : (r - 1) % 2);
        if (isMatch)
            ++matchesSeen;
        if (isMatch && edit.done(*t)) {
            if (gap)
                return -1;
            ++changed;
            continue;
        }
        if (isMatch)
            gap = true;
        EXPECT_EQ(std::string(t->Record().bytes), Template().records[r - 1]) << "record " << r;
    }
    EXPECT_EQ(matchesSeen, edit.matches);
    t->Close();
    return changed;
}

} // namespace

TEST(TBulkEditSweep, EveryFailingOperationOfDeleteAndReplaceIsReportedWithItsCount)
{
    const TQuietFiles quiet;
    for (const TEdit& edit : Edits()) {
        uint64_t total = 0;
        {
            QTemporaryDir dir(SweepFolderTemplate());
            const QString path = CopyTemplate(dir);
            xbase::TFileIoFaulty counting(xbase::TFileIoSystem::Native());
            counting.SetSyncs(false);
            bool reported = false;
            {
                TFaultyDefault installed(counting);
                EXPECT_EQ(RunEdit(edit, path, reported), QString());
            }
            EXPECT_FALSE(reported);
            EXPECT_EQ(ChangedPrefix(edit, path), int(edit.matches));
            total = counting.Operations();
        }
        ASSERT_GT(total, edit.matches);
        std::map<std::string, int> seen;
        for (const auto mode :
             {xbase::TFileIoFaulty::TMode::Kill, xbase::TFileIoFaulty::TMode::Error}) {
            const bool crash = mode == xbase::TFileIoFaulty::TMode::Kill;
            for (uint64_t k = 1; k <= total; ++k) {
                SCOPED_TRACE(std::string(edit.name) + (crash ? ", crash at " : ", error at ") +
                             std::to_string(k));
                QTemporaryDir dir(SweepFolderTemplate());
                const QString path = CopyTemplate(dir);
                xbase::TFileIoFaulty faulty(xbase::TFileIoSystem::Native());
                faulty.SetMode(mode);
                faulty.SetError(k % 2 ? ENOSPC : EIO);
                faulty.SetSyncs(false);
                faulty.SetFailAt(k);
                bool reported = false;
                QString message;
                {
                    TFaultyDefault installed(faulty);
                    message = RunEdit(edit, path, reported);
                }
                ASSERT_TRUE(faulty.Failed());
                const std::string failed = faulty.FailedOperation();
                EXPECT_TRUE(reported) << "not reported: " << failed;
                const int changed = ChangedPrefix(edit, path);
                EXPECT_GE(changed, 0) << "the changed records are not a prefix: " << failed;
                if (!crash) {
                    const QRegularExpressionMatch count =
                        QRegularExpression(QStringLiteral("^Stopped by an error after \\w+ (\\d+) "
                                                          "records\\.\r\n\\S"))
                            .match(message);
                    ASSERT_TRUE(count.hasMatch()) << message.toStdString();
                    EXPECT_EQ(count.captured(1).toInt(), changed) << failed;
                }
                xbase::TTableCheckResult check = xbase::TTableCheck::Run(path.toStdString());
                if (check.ok) {
                    ++seen[crash ? "crash, clean" : "error, clean"];
                } else {
                    EXPECT_TRUE(crash) << check.problem << " after " << failed;
                    auto t = xbase::TTable::Open(path.toStdString());
                    EXPECT_TRUE(t->IndexStale()) << check.problem;
                    t->Reindex();
                    t->Close();
                    check = xbase::TTableCheck::Run(path.toStdString());
                    EXPECT_TRUE(check.ok) << check.problem;
                    ++seen["crash, marked out of date, rebuilt"];
                }
                if (HasFailure())
                    return;
            }
        }
        std::string counts;
        for (const auto& [what, n] : seen)
            counts += "  " + what + ": " + std::to_string(n) + "\n";
        std::printf("%s sweep over %llu operations:\n%s", edit.name,
                    static_cast<unsigned long long>(total), counts.c_str());
    }
}

TEST(TBulkEditSweep, ThePacersLastCommitReportsItsFailure)
{
    const TQuietFiles quiet;
    // The pacer used to commit the rest in its destructor and swallow the error, so that a run
    // said "Deleted 60 records" while the file never got them whole.
    QTemporaryDir dir(SweepFolderTemplate());
    const QString path = CopyTemplate(dir);
    xbase::TFileIoFaulty faulty(xbase::TFileIoSystem::Native());
    xbase::TTableOptions options;
    options.files = &faulty;
    auto table = xbase::TTable::Open(path.toStdString(), options);
    table->Go(1);
    table->PutString(table->FieldIndex("CITY"), "Lynn");
    table->Post();
    faulty.SetMode(xbase::TFileIoFaulty::TMode::Error);
    faulty.SetCounted(xbase::kFaultSync);
    faulty.SetFailAt(faulty.Operations() + 1);
    {
        TCommitPacer pacer(*table);
        pacer.Wrote();
        EXPECT_THROW(pacer.Finish(), xbase::TXbaseError);
        EXPECT_TRUE(faulty.Failed());
    }
    // Nothing committed it behind the caller's back afterwards.
    EXPECT_TRUE(table->WriteFailed());
    table->RecoverAfterFailure();
    table->Close();
    EXPECT_TRUE(xbase::TTableCheck::Run(path.toStdString()).ok);
}
