// Envelope layouts saved from the designer and cloned while the disk fails at each write-like
// step in turn (ENVELOPE.DBF's and the layout files' alike): the earlier layouts stay whole, the
// new one is there whole or not at all, no layout file is left that no row names, the table
// checks clean, and the failure is reported.

#include "envelopes/TEnvelopeLayoutStore.h"

#include "TFaultInjection.h"
#include "TScriptedResponder.h"
#include "design/core/TGClassRegistry.h"
#include "design/core/TGDataPanel.h"
#include "design/objects/TGLabelShapes.h"
#include "xbase/TTableCheck.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <map>

namespace qm::envelopes {
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

// What the "Print Envelope" window would list, through a fresh store; *strays are the files of
// the folder that are neither the table's nor named by a row.
TLayouts Listed(const QString& sysdata, QStringList* strays)
{
    TEnvelopeLayoutStore store;
    EXPECT_EQ(store.Open(sysdata), QString());
    TLayouts layouts;
    QStringList named;
    for (int i = 0; i < int(store.Rows().size()); ++i) {
        layouts[store.Rows()[size_t(i)].description] = ReadFile(store.LayoutPath(i));
        named << store.Rows()[size_t(i)].layoutFile.trimmed().toUpper();
    }
    store.Close();
    *strays = QDir(sysdata).entryList(QDir::Files | QDir::Hidden | QDir::System);
    strays->removeIf([&named](const QString& name) {
        return name.startsWith(QLatin1String("ENVELOPE.")) || named.contains(name.toUpper());
    });
    return layouts;
}

// A designer surface holding `shapes` rectangles.
std::unique_ptr<design::TGDataPanel> Panel(int shapes)
{
    auto panel = std::make_unique<design::TGDataPanel>();
    panel->SetSize(912, 396);
    for (int i = 0; i < shapes; ++i) {
        auto shape = std::make_unique<design::TGLabelShapes>();
        shape->SetBounds(10 + 20 * i, 10, 100, 50);
        panel->AddObject(std::move(shape));
    }
    return panel;
}

class TEnvelopeLayoutStoreFaultTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        design::TGClassRegistry::Instance().RegisterHostKinds(design::TGHostKind::Envelope);
        mBase = QDir(mDir.path()).filePath("base");
        QDir().mkpath(mBase);
        TEnvelopeLayoutStore store;
        ASSERT_EQ(store.Open(mBase), QString());
        for (const char* name : {"Home", "Work"}) {
            TEnvelopeLayout values = store.NewLayout(20);
            values.description = QString::fromLatin1(name);
            QString error;
            ASSERT_GE(store.Save(values, *Panel(1), &error), 0) << error.toStdString();
        }
        store.Close();
        QStringList strays;
        mBefore = Listed(mBase, &strays);
        ASSERT_EQ(mBefore.size(), 2u);
        ASSERT_TRUE(strays.isEmpty());
    }

    using TChange = std::function<bool(TEnvelopeLayoutStore&)>;

    // Runs change on a copy of the base folder while every step from failAt on fails; true when
    // the change reported its failure.
    bool RunFailing(std::uint64_t failAt, const QString& folder, const TChange& change,
                    std::uint64_t* steps = nullptr)
    {
        CopyFolder(mBase, folder);
        bool failed = false;
        test::TFaultInjection faults(failAt);
        {
            TEnvelopeLayoutStore store; // its destructor runs with the disk still failing
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

    // Every step of change fails in turn; afterwards the layouts are those before or `after`.
    void Sweep(const TChange& change, const std::function<void(TLayouts&)>& expectAfter)
    {
        std::uint64_t steps = 0;
        const QString counted = QDir(mDir.path()).filePath("count");
        ASSERT_FALSE(RunFailing(0, counted, change, &steps));
        RecordProperty("steps", int(steps));
        ASSERT_GT(steps, 3u);
        QStringList strays;
        const TLayouts after = Listed(counted, &strays);
        TLayouts expected = mBefore;
        expectAfter(expected);
        ASSERT_EQ(after.size(), expected.size());
        for (const auto& [description, bytes] : expected)
            ASSERT_EQ(after.count(description), 1u) << description.toStdString();
        ASSERT_TRUE(strays.isEmpty());
        for (std::uint64_t k = 1; k <= steps; ++k) {
            SCOPED_TRACE("failing from step " + std::to_string(k) + " of " + std::to_string(steps));
            const QString folder = QDir(mDir.path()).filePath(QStringLiteral("k%1").arg(k));
            EXPECT_TRUE(RunFailing(k, folder, change)) << "a failed save reported as done";
            const TLayouts now = Listed(folder, &strays);
            EXPECT_TRUE(now == mBefore || now == after);
            EXPECT_TRUE(strays.isEmpty()) << strays.join(", ").toStdString();
            const auto check =
                xbase::TTableCheck::Run(QDir(folder).filePath("ENVELOPE.DBF").toStdString());
            EXPECT_TRUE(check.ok) << check.problem;
            QDir(folder).removeRecursively();
        }
    }

    QTemporaryDir mDir;
    QString mBase;
    TLayouts mBefore;
    test::TScriptedResponder mResponder;
};

TEST_F(TEnvelopeLayoutStoreFaultTest, DesignerSaveAtEveryStep)
{
    Sweep(
        [](TEnvelopeLayoutStore& store) {
            TEnvelopeLayout values = store.WorkingValues(store.Find("Home"));
            store.PrepareModify(values);
            values.description = "Home, wide";
            QString error;
            const bool done = store.Save(values, *Panel(3), &error) >= 0;
            EXPECT_EQ(done, error.isEmpty());
            return done;
        },
        [](TLayouts& expected) {
            expected.erase("Home");
            expected["Home, wide"];
        });
}

TEST_F(TEnvelopeLayoutStoreFaultTest, CloneAtEveryStep)
{
    Sweep(
        [this](TEnvelopeLayoutStore& store) {
            mResponder.QueueAnswer(true);
            return store.Clone(store.Find("Work")) >= 0;
        },
        [this](TLayouts& expected) { expected["Clone of Work"] = mBefore.at("Work"); });
}

} // namespace
} // namespace qm::envelopes
