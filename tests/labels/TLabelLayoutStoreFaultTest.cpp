// A label layout saved from the designer, and one cloned, while the disk fails at each
// write-like step in turn (LABEL.DBF's and the layout files' alike), and the label saved while
// the "Print Labels" window keeps the table open: the earlier layout stays whole, the new one is
// there whole or not at all, no file is left that no row names, and the index on disk is in step.

#include "labels/TLabelLayoutStore.h"

#include "TFaultInjection.h"
#include "TScriptedResponder.h"
#include "data/TSystemTables.h"
#include "design/core/TGLabelObjectFiler.h"
#include "xbase/TTable.h"
#include "xbase/TTableCheck.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <map>

namespace qm::labels {
namespace {

// description -> the bytes of its layout file
using TLayouts = std::map<QString, QByteArray>;

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

TLayouts Listed(const QString& sysdata, QStringList* strays)
{
    TLabelLayoutStore store;
    EXPECT_EQ(store.Open(sysdata), QString());
    TLayouts layouts;
    QStringList named;
    for (int i = 0; i < int(store.Rows().size()); ++i) {
        layouts[store.Rows()[size_t(i)].geometry.description] = ReadFile(store.LayoutPath(i));
        named << store.Rows()[size_t(i)].geometry.layoutFile.toUpper();
    }
    store.Close();
    *strays = QDir(sysdata).entryList(QDir::Files | QDir::Hidden | QDir::System);
    strays->removeIf([&named](const QString& name) {
        return name.startsWith(QLatin1String("LABEL.")) || named.contains(name.toUpper());
    });
    return layouts;
}

// What the designer writes: a layout stream of one byte list per design.
std::function<void(const QString&)> Design(const QByteArray& bytes)
{
    return [bytes](const QString& path) { design::TGLabelObjectFiler::WriteFile(path, bytes); };
}

const QByteArray kShipping = QByteArray("\x01", 1) + QByteArray(2000, 's') + QByteArray(1, '\0');
const QByteArray kChanged = QByteArray("\x01", 1) + QByteArray(5000, 'c') + QByteArray(1, '\0');

class TLabelLayoutStoreFaultTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mBase = QDir(mDir.path()).filePath("base");
        QDir().mkpath(mBase);
        TLabelLayoutStore store;
        ASSERT_EQ(store.Open(mBase), QString());
        for (const char* name : {"Shipping", "Return address"}) {
            TLabelGeometry g = TLabelGeometry::NewLayout();
            g.description = QString::fromLatin1(name);
            QString error;
            ASSERT_GE(store.SaveDesign(-1, g, Design(kShipping + name), &error), 0)
                << error.toStdString();
        }
        store.Close();
        QStringList strays;
        mBefore = Listed(mBase, &strays);
        ASSERT_EQ(mBefore.size(), 2u);
        ASSERT_TRUE(strays.isEmpty());
    }

    using TChange = std::function<bool(TLabelLayoutStore&)>;

    bool RunFailing(std::uint64_t failAt, const QString& folder, const TChange& change,
                    std::uint64_t* steps = nullptr)
    {
        CopyFolder(mBase, folder);
        bool failed = false;
        test::TFaultInjection faults(failAt);
        {
            TLabelLayoutStore store;
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

    void Sweep(const TChange& change, const TLayouts& after)
    {
        std::uint64_t steps = 0;
        const QString counted = QDir(mDir.path()).filePath("count");
        ASSERT_FALSE(RunFailing(0, counted, change, &steps));
        RecordProperty("steps", int(steps));
        QStringList strays;
        ASSERT_EQ(Listed(counted, &strays), after);
        ASSERT_TRUE(strays.isEmpty());
        for (std::uint64_t k = 1; k <= steps; ++k) {
            SCOPED_TRACE("failing from step " + std::to_string(k) + " of " + std::to_string(steps));
            const QString folder = QDir(mDir.path()).filePath(QStringLiteral("k%1").arg(k));
            EXPECT_TRUE(RunFailing(k, folder, change)) << "a failed save reported as done";
            const TLayouts now = Listed(folder, &strays);
            EXPECT_TRUE(now == mBefore || now == after);
            EXPECT_TRUE(strays.isEmpty()) << strays.join(", ").toStdString();
            const auto check =
                xbase::TTableCheck::Run(QDir(folder).filePath("LABEL.DBF").toStdString());
            EXPECT_TRUE(check.ok) << check.problem;
            QDir(folder).removeRecursively();
        }
    }

    QTemporaryDir mDir;
    QString mBase;
    TLayouts mBefore;
    test::TScriptedResponder mResponder;
};

TEST_F(TLabelLayoutStoreFaultTest, DesignerSaveAtEveryStep)
{
    TLayouts after = mBefore;
    after.erase("Shipping");
    after["Shipping, wide"] = kChanged;
    Sweep(
        [](TLabelLayoutStore& store) {
            const int row = store.Find("Shipping");
            TLabelGeometry g = store.Rows()[size_t(row)].geometry;
            g.description = "Shipping, wide";
            QString error;
            const bool done = store.SaveDesign(row, g, Design(kChanged), &error) >= 0;
            EXPECT_EQ(done, error.isEmpty());
            return done;
        },
        after);
}

TEST_F(TLabelLayoutStoreFaultTest, CloneAtEveryStep)
{
    TLayouts after = mBefore;
    after["Clone of :Return address"] = mBefore.at("Return address");
    Sweep(
        [this](TLabelLayoutStore& store) {
            mResponder.QueueAnswer(true);
            return store.Clone(store.Find("Return address")) >= 0;
        },
        after);
}

TEST_F(TLabelLayoutStoreFaultTest, ASaveWhileTheTableStaysOpenIsInTheIndexOnDisk)
{
    // The "Print Labels" window keeps LABEL.DBF open while the designer saves; what the save
    // wrote must be found through the index on disk at once, not when the window closes.
    TLabelLayoutStore store;
    ASSERT_EQ(store.Open(mBase), QString());
    TLabelGeometry g = TLabelGeometry::NewLayout();
    g.description = "Added while open";
    QString error;
    ASSERT_GE(store.SaveDesign(-1, g, Design(kChanged), &error), 0);
    const QString copy = QDir(mDir.path()).filePath("copy");
    CopyFolder(mBase, copy); // what another reader (or a crash now) finds
    const auto check = xbase::TTableCheck::Run(QDir(copy).filePath("LABEL.DBF").toStdString());
    EXPECT_TRUE(check.ok) << check.problem;
    QStringList strays;
    EXPECT_EQ(Listed(copy, &strays).count("Added while open"), 1u);
    xbase::TTableOptions readOnly;
    readOnly.mode = xbase::TOpenMode::ReadOnly;
    EXPECT_FALSE(xbase::TTable::Open(QDir(copy).filePath("LABEL.DBF").toStdString(), readOnly)
                     ->IndexStale());
}

} // namespace
} // namespace qm::labels
