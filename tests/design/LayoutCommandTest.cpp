#include "tools/TToolCommand.h"

#include "data/TAddressFile.h"
#include "data/TDataSet.h"
#include "design/TDesignUnits.h"
#include "design/TGClassRegistry.h"
#include "design/TGDataPanel.h"
#include "design/TGLabelObjectFiler.h"
#include "design/TGPDLabel.h"
#include "design/TGPLabel.h"
#include "print/TPageStreamDump.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sstream>

namespace qm::design {
namespace {

class LayoutCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mDir.isValid());
        qputenv("QUILLMARK_NO_PDF_PRINTER", "1");
        TGClassRegistry::Instance().RegisterHostKinds(TGHostKind::Label);
        mTable = mDir.filePath("ADD0001.DBF");
        ASSERT_TRUE(data::TAddressFile::Create(mTable, {}).isEmpty());
        data::TDataSet dataSet;
        data::TAddressFile::DeclareFieldObjects(dataSet);
        dataSet.Open(mTable);
        for (const char* name : {"Smith", "Jones"}) {
            dataSet.Append();
            dataSet.SetAsString("LNAME", QString::fromLatin1(name));
            dataSet.Post();
        }
        dataSet.Close();

        TDesignUnits::SetPpiOverride(96);
        TGDataPanel panel;
        auto fixed = std::make_unique<TGPLabel>();
        fixed->SetName("Special1");
        fixed->SetCaption("Dear");
        fixed->SetBounds(96, 48, 142, 33);
        panel.AddObject(std::move(fixed));
        auto field = std::make_unique<TGPDLabel>();
        field->SetName("Special2");
        field->Bind("LNAME", "Last Name");
        field->SetBounds(96, 96, 142, 33);
        panel.AddObject(std::move(field));
        mLayout = mDir.filePath("BIN00001.L");
        panel.SaveToFile(mLayout);
        TDesignUnits::SetPpiOverride(0);
    }

    int Run(const std::vector<std::string>& args)
    {
        mOut.str({});
        mErr.str({});
        return tools::RunLayoutCommand(args, mOut, mErr);
    }

    QStringList PageTexts(const QString& path)
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        const print::TPageStreamDump dump = print::DumpPageStream(file.readAll());
        EXPECT_TRUE(dump.error.isEmpty()) << dump.error.toStdString();
        return dump.lines;
    }

    QTemporaryDir mDir;
    QString mTable, mLayout;
    std::ostringstream mOut, mErr;
};

TEST_F(LayoutCommandTest, DumpListsObjectsWithoutRecordValues)
{
    ASSERT_EQ(Run({"dump", mLayout.toStdString()}), 0) << mErr.str();
    const std::string text = mOut.str();
    EXPECT_NE(text.find("object TGPLabel Special1\n  Left = 96\n  Top = 48\n"), std::string::npos)
        << text;
    EXPECT_NE(text.find("  Caption = 'Dear'\n"), std::string::npos);
    EXPECT_NE(text.find("object TGPDLabel Special2\n"), std::string::npos);
    EXPECT_NE(text.find("  DataFieldDescript = 'Last Name'\n"), std::string::npos);
    EXPECT_EQ(text.find("Smith"), std::string::npos);
}

TEST_F(LayoutCommandTest, DumpOfADamagedFileShowsWhatItReadAndFails)
{
    QFile file(mLayout);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.resize(file.size() - 20);
    file.close();
    EXPECT_EQ(Run({"dump", mLayout.toStdString()}), 1);
    EXPECT_NE(mOut.str().find("object TGPLabel Special1"), std::string::npos);
    EXPECT_NE(mErr.str().find("Stream read error"), std::string::npos) << mErr.str();
}

TEST_F(LayoutCommandTest, PrintFillsTheFieldsFromTheChosenRecord)
{
    const QString out = mDir.filePath("page.qps");
    ASSERT_EQ(Run({"print", mLayout.toStdString(), "--table", mTable.toStdString(), "--record",
                   "2", "--out", out.toStdString()}),
              0)
        << mErr.str();
    const QString lines = PageTexts(out).join('\n');
    EXPECT_TRUE(lines.contains("Dear")) << lines.toStdString();
    EXPECT_TRUE(lines.contains("Jones")) << lines.toStdString();
    EXPECT_FALSE(lines.contains("Smith"));

    ASSERT_EQ(Run({"print", mLayout.toStdString(), "--table", mTable.toStdString(), "--out",
                   out.toStdString()}),
              0);
    EXPECT_TRUE(PageTexts(out).join('\n').contains("Smith")) << "record 1 by default";
}

TEST_F(LayoutCommandTest, PrintRefusesBadArguments)
{
    const std::string out = mDir.filePath("page.qps").toStdString();
    EXPECT_EQ(Run({"print", mLayout.toStdString(), "--table", mTable.toStdString(), "--record",
                   "3", "--out", out}),
              1);
    EXPECT_NE(mErr.str().find("no record 3"), std::string::npos) << mErr.str();
    EXPECT_EQ(Run({"print", mLayout.toStdString(), "--table", mTable.toStdString(), "--record",
                   "x", "--out", out}),
              2);
    EXPECT_EQ(Run({"print", mLayout.toStdString(), "--out", out}), 2);
    const QString report = mDir.filePath("BIN00001.R");
    QFile::copy(mLayout, report);
    EXPECT_EQ(Run({"print", report.toStdString(), "--table", mTable.toStdString(), "--out", out}), 2);
    EXPECT_NE(mErr.str().find("label (.L) or envelope (.E)"), std::string::npos);
}

} // namespace
} // namespace qm::design
