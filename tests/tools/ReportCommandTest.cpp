// "quillmark-tool report", run in-process on a fresh home: list, show (settings by name with both
// units, what bad values load as, the bands' objects), clone and delete.

#include "tools/TToolCommand.h"

#include "TFaultInjection.h"
#include "TTestHome.h"
#include "design/core/TGDataPanel.h"
#include "design/objects/TGPLabel.h"
#include "design/objects/Trpshapes.h"
#include "design/stream/TLayoutWriter.h"
#include "design/text/TDesignUnits.h"
#include "reports/TReportStore.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sstream>

using qm::reports::TReportSettings;
using qm::reports::TReportStore;

namespace {

class ReportCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir().mkpath(mHome.Path("sysdata")));
        qm::design::TDesignUnits::SetPpiOverride(96);
    }
    void TearDown() override { qm::design::TDesignUnits::SetPpiOverride(0); }

    int Run(std::vector<std::string> args)
    {
        args.insert(args.begin(), "report");
        mOut.str({});
        mErr.str({});
        return qm::tools::RunTool(args, mOut, mErr);
    }
    QString Sysdata(const QString& name) const { return mHome.Path("sysdata/" + name); }

    // Saves a report with a text in the header and a rectangle in the detail band.
    void AddReport(const QString& description, const TReportSettings& settings)
    {
        TReportStore store;
        ASSERT_EQ(store.Open(mHome.Path("sysdata")), QString());
        qm::design::TGOwner owner;
        qm::design::TGDataPanel header(&owner), detail(&owner), footer(&owner);
        auto text = std::make_unique<qm::design::TGPLabel>();
        text->SetCaption("Title");
        header.AddObject(std::move(text));
        detail.AddObject(std::make_unique<qm::design::Trpshapes>());
        qm::reports::TReportRow row = TReportStore::NewRow();
        row.description = description;
        QString error;
        ASSERT_GE(store.Save(row, {&header, &detail, &footer}, settings, &error), 0)
            << error.toStdString();
    }

    qm::test::TTestHome mHome;
    std::ostringstream mOut;
    std::ostringstream mErr;
};

} // namespace

TEST_F(ReportCommandTest, ListsReportsWithTheirFiles)
{
    EXPECT_EQ(Run({"list"}), 0); // no REPORT.DBF yet: nothing, and none is made
    EXPECT_EQ(mOut.str(), "");
    EXPECT_FALSE(QFile::exists(Sysdata("REPORT.DBF")));

    TReportSettings a4 = TReportSettings::NewReport();
    a4.SetLayout(TReportSettings::Layouts()[3]);
    AddReport("Sales", a4);
    AddReport("Contacts", TReportSettings::NewReport());
    QFile::remove(Sysdata("BIN00002.R"));
    EXPECT_EQ(Run({"list"}), 0);
    EXPECT_EQ(mOut.str(), "Contacts\tLetter Size, Portrait\tBIN00002.R\tmissing\n"
                          "Sales\tA4 Size, Landscape\tBIN00001.R\tpresent\n");
    EXPECT_EQ(Run({"list", "extra"}), 2);
}

TEST_F(ReportCommandTest, ShowsEverySettingByNameAndTheBands)
{
    TReportSettings settings = TReportSettings::NewReport();
    settings.useFooter = true;
    settings.Frame(qm::reports::TReportBand::Footer).shadeColor = qm::design::kclAqua;
    AddReport("Sales", settings);

    for (const char* which : {"Sales", "BIN00001.R"}) {
        ASSERT_EQ(Run({"show", which}), 0) << mErr.str();
        const std::string out = mOut.str();
        EXPECT_NE(out.find("layout: Letter Size, Portrait\n"), std::string::npos);
        EXPECT_NE(out.find("page width: 8500 thousandths, 816 px at 96 PPI\n"), std::string::npos);
        EXPECT_NE(out.find("header height: 344 thousandths, 33 px at 96 PPI\n"), std::string::npos);
        EXPECT_NE(out.find("use footer: True\n"), std::string::npos);
        EXPECT_NE(out.find("memo font name: 'Arial'\n"), std::string::npos);
        EXPECT_NE(out.find("footer shade colour: 16776960 (0x00ffff00)\n"), std::string::npos);
        EXPECT_NE(out.find("header band: 1 object(s)\n  object TGPLabel"), std::string::npos);
        EXPECT_NE(out.find("    Caption = 'Title'\n"), std::string::npos);
        EXPECT_NE(out.find("detail band: 1 object(s)\n  object Trpshapes"), std::string::npos);
        EXPECT_NE(out.find("footer band: 0 object(s)\n"), std::string::npos);
    }
}

TEST_F(ReportCommandTest, ShowsWhatBadSettingsLoadAs)
{
    QByteArray bytes("\x01\x00\x01\x00\x01\x00", 6);
    qm::design::TLayoutWriter out(bytes);
    out.WriteListStart();
    out.WriteInteger(8260); // A4 stored by truncation
    out.WriteInteger(11677);
    out.WriteInteger(100); // a margin below 0.5 in
    out.WriteString("wrong");
    out.WriteListEnd();
    const QString path = mHome.Path("odd.R");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();

    ASSERT_EQ(Run({"show", path.toStdString()}), 0) << mErr.str();
    const std::string shown = mOut.str();
    EXPECT_NE(shown.find("layout: A4 Size, Portrait\n"), std::string::npos);
    EXPECT_NE(shown.find("page width: 8260 thousandths, 794 px at 96 PPI (adjusted on loading)\n"),
              std::string::npos)
        << shown;
    EXPECT_NE(shown.find("page height: 11677 thousandths, 1121 px at 96 PPI\n"), std::string::npos);
    EXPECT_NE(shown.find("left margin: 100 thousandths, 48 px at 96 PPI (adjusted"),
              std::string::npos);
    EXPECT_NE(shown.find("top margin: 'wrong', loads as 48 px"), std::string::npos);
    EXPECT_NE(shown.find("memo font size: missing, loads as 10\n"), std::string::npos);

    // A damaged file: what was read, then the reader's message.
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes.left(bytes.size() - 4));
    file.close();
    EXPECT_EQ(Run({"show", path.toStdString()}), 1);
    EXPECT_NE(mErr.str().find("Stream read error"), std::string::npos) << mErr.str();

    EXPECT_EQ(Run({"show", "Nothing"}), 1);
    EXPECT_EQ(Run({"show"}), 2);
}

TEST_F(ReportCommandTest, ClonesAndDeletes)
{
    AddReport("Sales", TReportSettings::NewReport());
    ASSERT_EQ(Run({"clone", "Sales"}), 0) << mErr.str();
    EXPECT_EQ(mOut.str(), "BIN00002.R\n");
    QFile a(Sysdata("BIN00001.R")), b(Sysdata("BIN00002.R"));
    ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    EXPECT_EQ(a.readAll(), b.readAll());

    ASSERT_EQ(Run({"delete", "Sales"}), 0) << mErr.str();
    EXPECT_FALSE(QFile::exists(Sysdata("BIN00001.R")));
    ASSERT_EQ(Run({"list"}), 0);
    EXPECT_EQ(mOut.str(), "Clone of Sales\tLetter Size, Portrait\tBIN00002.R\tpresent\n");

    EXPECT_EQ(Run({"delete", "Sales"}), 1);
    EXPECT_NE(mErr.str().find("no report \"Sales\""), std::string::npos);
    EXPECT_EQ(Run({"clone"}), 2);
    EXPECT_EQ(Run({"rename", "x"}), 2);
}

TEST_F(ReportCommandTest, ACloneFailingAtAnyStepSaysSoAndLeavesNoFileBehind)
{
    // Before: the tool ended on SIGABRT or printed the copy's name with exit 0 and an empty or
    // unnamed BIN file. Now each failing step is an error (exit 3), and what is listed afterwards
    // is the report alone or with a whole clone, with no layout file that no row names.
    AddReport("Sales", TReportSettings::NewReport());
    const QString saved = mHome.Path("saved");
    QDir().mkpath(saved);
    for (const QString& name : QDir(mHome.Path("sysdata")).entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(Sysdata(name), QDir(saved).filePath(name)));
    const auto restore = [&] {
        QDir(mHome.Path("sysdata")).removeRecursively();
        QDir().mkpath(mHome.Path("sysdata"));
        for (const QString& name : QDir(saved).entryList(QDir::Files))
            QFile::copy(QDir(saved).filePath(name), Sysdata(name));
    };
    std::uint64_t steps = 0;
    {
        qm::test::TFaultInjection count(0);
        ASSERT_EQ(Run({"clone", "Sales"}), 0) << mErr.str();
        steps = count.Steps();
    }
    ASSERT_GT(steps, 3u);
    RecordProperty("steps", int(steps));
    for (std::uint64_t k = 1; k <= steps; ++k) {
        SCOPED_TRACE("failing from step " + std::to_string(k));
        restore();
        int code = 0;
        {
            qm::test::TFaultInjection faults(k);
            code = Run({"clone", "Sales"});
        }
        EXPECT_EQ(code, 3);
        EXPECT_EQ(mOut.str(), "");
        EXPECT_FALSE(mErr.str().empty());
        ASSERT_EQ(Run({"list"}), 0);
        const std::string listed = mOut.str();
        EXPECT_TRUE(listed == "Sales\tLetter Size, Portrait\tBIN00001.R\tpresent\n" ||
                    listed == "Clone of Sales\tLetter Size, Portrait\tBIN00002.R\tpresent\n"
                              "Sales\tLetter Size, Portrait\tBIN00001.R\tpresent\n")
            << listed;
        QStringList files = QDir(mHome.Path("sysdata")).entryList(QDir::Files | QDir::Hidden);
        files.removeIf([](const QString& f) { return f.startsWith(QLatin1String("REPORT.")); });
        EXPECT_EQ(files.size(), listed.find("Clone") == 0 ? 2 : 1)
            << files.join(", ").toStdString();
    }
}
