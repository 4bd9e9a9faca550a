// Reports cloned, saved and deleted while the disk fails at each write-like step in turn (the
// table's and the layout files' alike): the earlier reports and their files stay whole, a new one
// is there whole or not at all, no file is left that no row names, and the failure is reported.

#include "reports/TReportStore.h"

#include "TFaultInjection.h"
#include "data/TSystemTables.h"
#include "design/core/TGDataPanel.h"
#include "design/objects/Trpshapes.h"
#include "design/text/TDesignUnits.h"
#include "xbase/TTableCheck.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <map>

namespace qm::reports {
namespace {

struct TBands {
    design::TGOwner owner;
    design::TGDataPanel header{&owner};
    design::TGDataPanel detail{&owner};
    design::TGDataPanel footer{&owner};
    std::array<design::TGBasePanel*, 3> All() { return {&header, &detail, &footer}; }
};

// description -> the bytes of its layout file (empty when it has none)
using TReports = std::map<QString, QByteArray>;

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void CopyFolder(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    for (const QString& name : QDir(from).entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(QDir(from).filePath(name), QDir(to).filePath(name)));
}

// The reports a fresh store lists (its open settles what a failure left), and whether every file
// in the folder is the table's or a layout a row names.
TReports Listed(const QString& sysdata, QStringList* strays)
{
    TReportStore store;
    EXPECT_EQ(store.Open(sysdata), QString());
    TReports reports;
    QStringList named;
    for (const TReportRow& row : store.Rows()) {
        reports[row.description] = ReadFile(store.LayoutPath(row));
        named << row.layoutFile.toUpper();
    }
    store.Close();
    *strays = QDir(sysdata).entryList(QDir::Files | QDir::Hidden | QDir::System);
    strays->removeIf([&named](const QString& name) {
        return name.startsWith(QLatin1String("REPORT.")) || named.contains(name.toUpper());
    });
    return reports;
}

class TReportStoreFaultTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        design::TDesignUnits::SetPpiOverride(96);
        mBase = QDir(mDir.path()).filePath("base");
        QDir().mkpath(mBase);
        TReportStore store;
        ASSERT_EQ(store.Open(mBase), QString());
        for (const char* name : {"Members", "Phone list"}) {
            TReportRow row = TReportStore::NewRow();
            row.description = QString::fromLatin1(name);
            TBands bands;
            AddShapes(bands, 3);
            QString error;
            ASSERT_GE(store.Save(row, bands.All(), TReportSettings::NewReport(), &error), 0)
                << error.toStdString();
        }
        store.Close();
        QStringList strays;
        mBefore = Listed(mBase, &strays);
        ASSERT_EQ(mBefore.size(), 2u);
        ASSERT_TRUE(strays.isEmpty());
    }
    void TearDown() override { design::TDesignUnits::SetPpiOverride(0); }

    static void AddShapes(TBands& bands, int count)
    {
        for (int i = 0; i < count; ++i) {
            auto shape = std::make_unique<design::Trpshapes>();
            shape->SetBounds(10 * i, 5, 40, 20);
            bands.detail.AddObject(std::move(shape));
        }
    }

    // change returns false when it reports a failure (or throws).
    using TChange = std::function<bool(TReportStore&)>;

    bool RunFailing(std::uint64_t failAt, const QString& folder, const TChange& change,
                    std::uint64_t* steps = nullptr)
    {
        CopyFolder(mBase, folder);
        bool failed = false;
        test::TFaultInjection faults(failAt);
        {
            TReportStore store;
            EXPECT_EQ(store.Open(folder), QString());
            try {
                failed = !change(store);
            } catch (const std::exception&) {
                failed = true;
            }
        }
        if (steps)
            *steps = faults.Steps();
        return failed;
    }

    void Sweep(const TChange& change, const TReports& after)
    {
        std::uint64_t steps = 0;
        const QString counted = QDir(mDir.path()).filePath("count");
        ASSERT_FALSE(RunFailing(0, counted, change, &steps));
        RecordProperty("steps", int(steps));
        QStringList strays;
        ASSERT_EQ(Listed(counted, &strays), after);
        ASSERT_TRUE(strays.isEmpty()) << strays.join(", ").toStdString();
        for (std::uint64_t k = 1; k <= steps; ++k) {
            SCOPED_TRACE("failing from step " + std::to_string(k) + " of " + std::to_string(steps));
            const QString folder = QDir(mDir.path()).filePath(QStringLiteral("k%1").arg(k));
            EXPECT_TRUE(RunFailing(k, folder, change)) << "a failed change reported as done";
            const TReports now = Listed(folder, &strays);
            EXPECT_TRUE(now == mBefore || now == after);
            EXPECT_TRUE(strays.isEmpty()) << strays.join(", ").toStdString();
            const auto check =
                xbase::TTableCheck::Run(QDir(folder).filePath("REPORT.DBF").toStdString());
            EXPECT_TRUE(check.ok) << check.problem;
            QDir(folder).removeRecursively();
        }
    }

    QTemporaryDir mDir;
    QString mBase;
    TReports mBefore;
};

TEST_F(TReportStoreFaultTest, CloneAtEveryStep)
{
    TReports after = mBefore;
    after["Clone of Members"] = mBefore.at("Members");
    Sweep(
        [](TReportStore& store) {
            QString error;
            const bool done = store.Clone(store.Find("Members"), &error) >= 0;
            EXPECT_EQ(done, error.isEmpty());
            return done;
        },
        after);
}

TEST_F(TReportStoreFaultTest, ModifyAtEveryStep)
{
    // The changed design and its row come together or not at all.
    TReports after = mBefore;
    TBands changedBands;
    AddShapes(changedBands, 5);
    {
        // The file a changed report gets, made once the ordinary way to compare with.
        const QString folder = QDir(mDir.path()).filePath("expected");
        CopyFolder(mBase, folder);
        TReportStore store;
        ASSERT_EQ(store.Open(folder), QString());
        TReportRow row = store.Rows()[std::size_t(store.Find("Phone list"))];
        row.description = "Phone list, wide";
        QString error;
        ASSERT_GE(store.Save(row, changedBands.All(), TReportSettings::NewReport(), &error), 0);
        after.erase("Phone list");
        after["Phone list, wide"] = ReadFile(store.LayoutPath(row));
        ASSERT_NE(after["Phone list, wide"], mBefore.at("Phone list"));
    }
    Sweep(
        [&changedBands](TReportStore& store) {
            TReportRow row = store.Rows()[std::size_t(store.Find("Phone list"))];
            row.description = "Phone list, wide";
            QString error;
            return store.Save(row, changedBands.All(), TReportSettings::NewReport(), &error) >= 0;
        },
        after);
}

TEST_F(TReportStoreFaultTest, DeleteAtEveryStep)
{
    TReports after = mBefore;
    after.erase("Members");
    Sweep(
        [](TReportStore& store) {
            QString note;
            return store.Delete(store.Find("Members"), &note);
        },
        after);
}

} // namespace
} // namespace qm::reports
