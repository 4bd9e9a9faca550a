// The tool's surroundings as a real run of quillmark-tool has them: the program home known only
// from QUILLMARK_HOME, no current home set. Every verb that takes --tagged reads the settings
// file's tag identifier from that home and prints the records carrying it.

#include "tools/TToolEnvironment.h"
#include "tools/TToolCommand.h"

#include "TTestHome.h"
#include "data/TAddressFile.h"
#include "data/TDataSet.h"
#include "data/TProgramHome.h"
#include "data/TSettingsFile.h"
#include "design/core/TGClassRegistry.h"
#include "design/core/TGDataPanel.h"
#include "design/core/TGLabelObjectFiler.h"
#include "design/objects/TGDMultiLineAddressLabel.h"
#include "design/text/TDesignUnits.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sstream>

namespace {

const QString kTagId = QStringLiteral("ABC");

class ToolEnvironmentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("QM_DATA_DIR", QM_BUILD_DIR "/share/quillmark");
        QDir().mkpath(mHome.Path("sysdata"));
        qm::data::TSettingsFile(mHome.Home().SettingsPath())
            .WriteString("Misc", "GlobalTagId", kTagId);
        mTable = mHome.Path("ADD0001.DBF").toStdString();
        const QString table = QString::fromStdString(mTable);
        ASSERT_TRUE(qm::data::TAddressFile::Create(table, {}).isEmpty());
        qm::data::TDataSet dataSet;
        qm::data::TAddressFile::DeclareFieldObjects(dataSet);
        dataSet.Open(table);
        // Records 2, 5 and 9 carry the identifier; record 7 an older one.
        for (int i = 1; i <= 10; ++i) {
            dataSet.Append();
            dataSet.SetAsString("FNAME", QStringLiteral("First%1").arg(i));
            dataSet.SetAsString("LNAME", QStringLiteral("Name%1").arg(i + 10));
            dataSet.SetAsString("STREET", QStringLiteral("%1 Main St").arg(i));
            dataSet.SetAsString("CITY", "Salem");
            dataSet.SetAsString("STATE", "OR");
            dataSet.SetAsString("ZIP", "97301");
            dataSet.SetAsString("TAG", i == 2 || i == 5 || i == 9 ? kTagId
                                       : i == 7                   ? QStringLiteral("OLD")
                                                                  : QString());
            dataSet.Post();
        }
        dataSet.Close();
        // What a run of the tool starts with: QUILLMARK_HOME set, no current home.
        qm::data::TProgramHome::SetCurrent(qm::data::TProgramHome());
    }

    void TearDown() override { qm::data::TProgramHome::SetCurrent(mHome.Home()); }

    int Run(std::vector<std::string> args)
    {
        mOut.str({});
        mErr.str({});
        return qm::tools::RunTool(args, mOut, mErr);
    }

    std::string LastLine() const
    {
        std::string text = mOut.str();
        while (!text.empty() && text.back() == '\n')
            text.pop_back();
        return text.substr(text.rfind('\n') + 1);
    }

    QString Path(const char* name) const { return mHome.Path(QString::fromLatin1(name)); }

    qm::test::TTestHome mHome;
    std::string mTable;
    std::ostringstream mOut, mErr;
};

TEST_F(ToolEnvironmentTest, TagIdentifierComesFromTheHomeTheToolFinds)
{
    ASSERT_TRUE(qm::data::TProgramHome::Current().Dir().isEmpty());
    EXPECT_EQ(qm::tools::TToolEnvironment::ProgramHome().Dir(), mHome.Dir());
    EXPECT_EQ(qm::tools::TToolEnvironment::StoredTagIdentifier(), kTagId);
}

TEST_F(ToolEnvironmentTest, EveryVerbWithTaggedPrintsTheTaggedRecords)
{
    // Labels: the list names records 2, 5 and 9 in last-name order.
    ASSERT_EQ(Run({"print", "labels", "--table", mTable, "--template", "Avery 5160  Address",
                   "--tagged", "--list"}),
              0)
        << mErr.str();
    EXPECT_EQ(LastLine(), "3 record(s), 3 label(s), 1 page(s)") << mOut.str();
    EXPECT_EQ(mOut.str().substr(0, mOut.str().find('\n')), "1 1 0.156 0.500 2");

    // The presort reads the three of them.
    ASSERT_EQ(Run({"presort", "--table", mTable, "--tagged"}), 0) << mErr.str();
    EXPECT_NE(mErr.str().find("records read: 3\n"), std::string::npos) << mErr.str();

    // Envelopes, from a layout file with an address block.
    const QString layout = Path("sysdata/BIN00001.E");
    {
        using namespace qm::design;
        TDesignUnits::SetPpiOverride(96);
        TGClassRegistry::Instance().RegisterHostKinds(TGHostKind::Envelope);
        TGDataPanel panel;
        panel.SetSize(912, 396);
        auto address = std::make_unique<TGDMultiLineAddressLabel>();
        address->SetBounds(384, 192, 384, 96);
        panel.AddObject(std::move(address));
        TGLabelObjectFiler::SaveToFile(panel, layout);
        TDesignUnits::SetPpiOverride(0);
    }
    ASSERT_EQ(Run({"print", "envelopes", "--table", mTable, "--layout", layout.toStdString(),
                   "--size", "20", "--tagged", "--list"}),
              0)
        << mErr.str();
    EXPECT_EQ(LastLine().substr(0, 28), "3 record(s), 3 envelope(s), ") << mOut.str();

    // Letters: one merged text per tagged record.
    const QString rtf = Path("letter.rtf");
    {
        QFile file(rtf);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("{\\rtf1\\ansi Dear [First],\\par}");
    }
    const QString text = Path("letters.txt");
    ASSERT_EQ(Run({"print", "letters", "--table", mTable, "--rtf", rtf.toStdString(), "--tagged",
                   "--text", text.toStdString()}),
              0)
        << mErr.str();
    EXPECT_EQ(LastLine().substr(0, 13), "3 record(s), ") << mOut.str();
    QFile merged(text);
    ASSERT_TRUE(merged.open(QIODevice::ReadOnly));
    const QByteArray letters = merged.readAll();
    for (const char* name : {"Dear First2,", "Dear First5,", "Dear First9,"})
        EXPECT_TRUE(letters.contains(name)) << name;
    EXPECT_FALSE(letters.contains("Dear First7,"));

    // Reports: a built-in list report and the ZIP code count.
    const QString stream = Path("report.qps");
    ASSERT_EQ(Run({"print", "report", "--table", mTable, "--builtin", "1", "--tagged", "--stream",
                   stream.toStdString()}),
              0)
        << mErr.str();
    EXPECT_EQ(LastLine().substr(0, 13), "3 record(s), ") << mOut.str();
    ASSERT_EQ(
        Run({"print", "zipcount", "--table", mTable, "--tagged", "--stream", stream.toStdString()}),
        0)
        << mErr.str();
    EXPECT_EQ(LastLine().substr(0, 21), "3 record(s), 1 key(s)") << mOut.str();
}

} // namespace
