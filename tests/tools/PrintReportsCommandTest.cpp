// "quillmark-tool print report|zipcount|record", run in-process: page streams and PDFs of the
// report jobs, the shared record options, and bad input refused with nothing written.

#include "tools/TToolCommand.h"

#include "TMembersReport.h"
#include "TTestHome.h"
#include "data/TAddressFile.h"
#include "data/TDataSet.h"
#include "design/core/TGDataPanel.h"
#include "design/core/TGOwner.h"
#include "design/objects/TGPDLabel.h"
#include "design/objects/TGPLabel.h"
#include "design/text/TDesignUnits.h"
#include "print/TPageStreamDump.h"
#include "reports/TReportFile.h"
#include "reports/TReportStore.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sstream>

namespace {

class PrintReportsCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mDir.isValid());
        mTable = mDir.filePath("ADD0001.DBF").toStdString();
        const QString table = QString::fromStdString(mTable);
        ASSERT_TRUE(qm::data::TAddressFile::Create(table, {}).isEmpty());
        qm::data::TDataSet dataSet;
        qm::data::TAddressFile::DeclareFieldObjects(dataSet);
        dataSet.Open(table);
        const auto add = [&](const QString& last, const QString& zip, bool deleted = false) {
            dataSet.Append();
            dataSet.SetAsString("LNAME", last);
            dataSet.SetAsString("FNAME", "Pat");
            dataSet.SetAsString("ZIP", zip);
            dataSet.SetAsString("MEMO", "Call in May");
            if (deleted)
                dataSet.SetAsBoolean("ISDEL", true);
            dataSet.Post();
        };
        add("Smith", "97301");       // 1
        add("", "97301-1234");       // 2: sorts before "0"
        add("Adams", "K1A 0B1");     // 3
        add("Baker", "02134", true); // 4: deleted
        add("Young", "");            // 5
        dataSet.Close();
    }

    int Run(std::vector<std::string> args)
    {
        args.insert(args.begin(), "print");
        mOut.str({});
        mErr.str({});
        return qm::tools::RunTool(args, mOut, mErr);
    }

    std::string Out(const char* name) const { return mDir.filePath(name).toStdString(); }

    // The texts drawn in a page stream file.
    QStringList Texts(const std::string& path) const
    {
        QFile file(QString::fromStdString(path));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        const qm::print::TPageStreamDump dump = qm::print::DumpPageStream(file.readAll());
        EXPECT_TRUE(dump.error.isEmpty());
        static const QRegularExpression text(QStringLiteral("text-\\S+ .*text=\"([^\"]*)\""));
        QStringList texts;
        for (const QString& line : dump.lines)
            if (const auto m = text.match(line); m.hasMatch())
                texts << m.captured(1);
        return texts;
    }

    QStringList Written() const
    {
        QStringList files = QDir(mDir.path()).entryList(QDir::Files | QDir::Hidden);
        files.removeIf([](const QString& f) { return f.startsWith(QLatin1String("ADD0001")); });
        return files;
    }

    qm::test::TTestHome mHome;
    QTemporaryDir mDir;
    std::string mTable;
    std::ostringstream mOut, mErr;
};

TEST_F(PrintReportsCommandTest, ReportOneToAStreamSkipsKeysBeforeZeroAndDeletedRecords)
{
    ASSERT_EQ(Run({"report", "--table", mTable, "--builtin", "1", "--stream", Out("r.qps")}), 0)
        << mErr.str();
    EXPECT_EQ(mOut.str(), "3 record(s), 1 page(s)\n");
    const QStringList texts = Texts(Out("r.qps"));
    EXPECT_EQ(texts.first(), "Report 1");
    EXPECT_EQ(texts.filter(", Pat ").join('|'), "Adams, Pat |Smith, Pat |Young, Pat ");
    EXPECT_EQ(Written(), QStringList{"r.qps"});
}

TEST_F(PrintReportsCommandTest, ReportFourWithQueryMemoAndTitle)
{
    ASSERT_EQ(Run({"report", "--table", mTable, "--builtin", "4", "--memo", "--title", "",
                   "--query", "ZIP=\"97301\"", "--stream", Out("r.qps")}),
              0)
        << mErr.str();
    EXPECT_EQ(mOut.str(), "2 record(s), 1 page(s)\n");
    const QStringList texts = Texts(Out("r.qps"));
    EXPECT_EQ(texts.first(), "Page 1");
    EXPECT_EQ(texts.count("Call in May"), 2);
}

TEST_F(PrintReportsCommandTest, RecordAndStartRecordOptions)
{
    // The one record prints even though its key sorts before "0".
    ASSERT_EQ(Run({"report", "--table", mTable, "--builtin", "2", "--record", "2", "--stream",
                   Out("r.qps")}),
              0)
        << mErr.str();
    EXPECT_EQ(mOut.str(), "1 record(s), 1 page(s)\n");
    EXPECT_TRUE(Texts(Out("r.qps")).contains(", Pat "));
    ASSERT_EQ(Run({"report", "--table", mTable, "--builtin", "1", "--start-record", "1", "--stream",
                   Out("r.qps")}),
              0);
    EXPECT_EQ(mOut.str(), "2 record(s), 1 page(s)\n");
    ASSERT_EQ(Run({"report", "--table", mTable, "--builtin", "1", "--start-record", "4", "--stream",
                   Out("r.qps")}),
              0);
    EXPECT_EQ(mErr.str(), "Current record is out of range. Starting with first record\n");
    EXPECT_EQ(mOut.str(), "3 record(s), 1 page(s)\n");
}

TEST_F(PrintReportsCommandTest, ZipCountTextAndPdf)
{
    ASSERT_EQ(Run({"zipcount", "--table", mTable, "--text"}), 0) << mErr.str();
    EXPECT_EQ(mOut.str(), "97301     2\n\n\nK1A 0     1\nBLANK     1\n");
    ASSERT_EQ(Run({"zipcount", "--table", mTable, "--pdf", Out("z.pdf")}), 0) << mErr.str();
    EXPECT_EQ(mOut.str(), "4 record(s), 3 key(s), 1 page(s)\n");
    QFile pdf(QString::fromStdString(Out("z.pdf")));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");
    EXPECT_EQ(Written(), QStringList{"z.pdf"});
}

TEST_F(PrintReportsCommandTest, ZipCountsReadTheSameInEveryLocale)
{
    // The count's "#,##0" is fixed: no locale's separator (a narrow no-break space in French,
    // Arabic digits) may reach the Windows-1252 report. The tool runs as a process so that it
    // takes the locale from its environment as a user's would.
    {
        qm::data::TDataSet dataSet;
        qm::data::TAddressFile::DeclareFieldObjects(dataSet);
        dataSet.Open(QString::fromStdString(mTable));
        for (int i = 0; i < 1234; ++i) {
            dataSet.Append();
            dataSet.SetAsString("ZIP", "12345");
            dataSet.Post();
        }
    }
    for (const char* locale : {"C", "fr_FR.UTF-8", "ar_EG.UTF-8", "de_DE.UTF-8"}) {
        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LC_ALL", locale);
        env.insert("LANG", locale);
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("QUILLMARK_HOME", mDir.path());
        tool.setProcessEnvironment(env);
        tool.start(QStringLiteral(QM_BUILD_DIR "/bin/quillmark-tool"),
                   {"print", "zipcount", "--table", QString::fromStdString(mTable), "--text"});
        ASSERT_TRUE(tool.waitForFinished(60000)) << locale;
        EXPECT_EQ(tool.exitCode(), 0) << locale;
        const QByteArray out = tool.readAllStandardOutput();
        EXPECT_TRUE(out.startsWith("12345     1,234\n97301     2\n"))
            << locale << ": " << out.left(40).toStdString();
    }
}

TEST_F(PrintReportsCommandTest, RecordSheetWithChosenFields)
{
    ASSERT_EQ(Run({"record", "--table", mTable, "--record", "3", "--fields",
                   "Last,Zip/Postal Code,Memo", "--stream", Out("s.qps")}),
              0)
        << mErr.str();
    const QStringList texts = Texts(Out("s.qps"));
    EXPECT_EQ(texts.mid(2), (QStringList{"Last", "Adams", "Zip/Postal", "K1A 0B1", "Call in May"}));
    EXPECT_EQ(Run({"record", "--table", mTable, "--record", "3", "--fields", "Zip", "--stream",
                   Out("s.qps")}),
              2);
    EXPECT_EQ(Run({"record", "--table", mTable, "--record", "9", "--stream", Out("s.qps")}), 1);
    EXPECT_EQ(Run({"record", "--table", mTable, "--stream", Out("s.qps")}), 2);
}

TEST_F(PrintReportsCommandTest, BadInputWritesNothing)
{
    QFile::remove(QString::fromStdString(Out("s.qps")));
    EXPECT_EQ(Run({"report", "--table", mTable, "--builtin", "1", "--query", "LNAME=(", "--pdf",
                   Out("q.pdf")}),
              2);
    EXPECT_NE(mErr.str().find("--query \"LNAME=(\""), std::string::npos) << mErr.str();
    EXPECT_EQ(Run({"report", "--table", mTable, "--builtin", "5", "--pdf", Out("q.pdf")}), 2);
    EXPECT_EQ(Run({"report", "--table", mTable, "--builtin", "1", "--pdf", mTable}), 2);
    EXPECT_EQ(Run({"report", "--table", mTable, "--builtin", "1", "--stream",
                   mDir.filePath("add0001.fpt").toStdString()}),
              2);
    EXPECT_EQ(Run({"report", "--table", mTable, "--builtin", "1", "--order", "ZIP", "--pdf",
                   Out("q.pdf")}),
              2);
    EXPECT_EQ(Run({"zipcount", "--table", mTable}), 2);
    EXPECT_TRUE(Written().isEmpty()) << Written().join(',').toStdString();
}

// A user-designed report: "Members" in the header, the last name in the detail band.
class PrintUserReportCommandTest : public PrintReportsCommandTest {
protected:
    void SetUp() override
    {
        PrintReportsCommandTest::SetUp();
        qm::design::TDesignUnits::SetPpiOverride(96);
        mLayout = Out("BIN00001.R");
        mSettings = qm::test::SaveMembersReport(QString::fromStdString(mLayout), 2); // A4 portrait
    }
    void TearDown() override { qm::design::TDesignUnits::SetPpiOverride(0); }

    QStringList Written() const
    {
        QStringList files = PrintReportsCommandTest::Written();
        files.removeAll(QStringLiteral("BIN00001.R"));
        return files;
    }

    std::string mLayout;
    qm::reports::TReportSettings mSettings;
};

TEST_F(PrintUserReportCommandTest, LayoutPrintsInTheMainWindowsOrderOnItsOwnPaper)
{
    ASSERT_EQ(Run({"report", "--table", mTable, "--layout", mLayout, "--stream", Out("r.qps")}), 0)
        << mErr.str();
    // Every record not deleted, the empty last name too (no seek), in LNAME order.
    EXPECT_EQ(mOut.str(), "4 record(s), 1 page(s)\n");
    EXPECT_EQ(Texts(Out("r.qps")), (QStringList{"Members", "Adams", "Smith", "Young"}));
    QFile file(QString::fromStdString(Out("r.qps")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList pages = qm::print::DumpPageStream(file.readAll())
                                  .lines.filter(QRegularExpression(QStringLiteral("^page ")));
    ASSERT_EQ(pages.size(), 1);
    EXPECT_TRUE(pages[0].contains(QStringLiteral("size=8.26772x11.69"))) << pages[0].toStdString();
    EXPECT_EQ(Written(), QStringList{"r.qps"});

    // --order plays another sort order; --one-per-page a page per record.
    ASSERT_EQ(Run({"report", "--table", mTable, "--layout", mLayout, "--order", "ZIP",
                   "--one-per-page", "--query", "RECNO()<>2", "--stream", Out("r.qps")}),
              0)
        << mErr.str();
    EXPECT_EQ(mOut.str(), "3 record(s), 3 page(s)\n");
    EXPECT_EQ(Texts(Out("r.qps")),
              (QStringList{"Members", "Young", "Members", "Smith", "Members", "Adams"}));

    // One record, and a PDF.
    ASSERT_EQ(Run({"report", "--table", mTable, "--layout", mLayout, "--record", "2", "--pdf",
                   Out("r.pdf")}),
              0)
        << mErr.str();
    EXPECT_EQ(mOut.str(), "1 record(s), 1 page(s)\n");
    EXPECT_TRUE(QFile::exists(QString::fromStdString(Out("r.pdf"))));
}

TEST_F(PrintUserReportCommandTest, DamagedLayoutEndsBeforeTheFirstPageAndWritesNothing)
{
    QFile file(QString::fromStdString(mLayout));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    file.resize(file.size() / 2);
    file.close();
    EXPECT_EQ(Run({"report", "--table", mTable, "--layout", mLayout, "--pdf", Out("r.pdf")}), 3);
    EXPECT_NE(mErr.str().find("BIN00001.R: "), std::string::npos) << mErr.str();
    EXPECT_TRUE(mOut.str().empty());
    EXPECT_TRUE(Written().isEmpty()) << Written().join(',').toStdString();
}

TEST_F(PrintUserReportCommandTest, BadCombinationsAreRefused)
{
    const std::vector<std::vector<std::string>> bad = {
        {"--layout", mLayout, "--builtin", "1"},
        {"--layout", mLayout, "--memo"},
        {"--layout", mLayout, "--paper", "a4"},
        {"--builtin", "1", "--one-per-page"},
        {"--layout", Out("r.pdf")},
        {"--layout", mLayout, "--order", "NOSUCHTAG"},
        {"--layout", mLayout, "--stream", mLayout},
    };
    for (std::vector<std::string> args : bad) {
        args.insert(args.begin(), {"report", "--table", mTable});
        if (std::find(args.begin(), args.end(), "--stream") == args.end())
            args.insert(args.end(), {"--stream", Out("r.qps")});
        EXPECT_EQ(Run(args), 2) << args[4] << " " << args[5];
    }
    EXPECT_EQ(
        Run({"report", "--table", mTable, "--layout", Out("BIN00002.R"), "--stream", Out("r.qps")}),
        3);
    EXPECT_TRUE(Written().isEmpty()) << Written().join(',').toStdString();
}

TEST_F(PrintUserReportCommandTest, DesignIsFoundByDescriptionInTheHomesReportTable)
{
    EXPECT_EQ(Run({"report", "--table", mTable, "--design", "Members", "--stream", Out("r.qps")}),
              3);
    EXPECT_NE(mErr.str().find("REPORT.DBF"), std::string::npos) << mErr.str();

    // A report whose detail band shows the full name, a calculated field.
    const QString sysdata = mHome.Path("sysdata");
    ASSERT_TRUE(QDir().mkpath(sysdata));
    {
        qm::reports::TReportStore store;
        ASSERT_TRUE(store.Open(sysdata).isEmpty());
        qm::design::TGOwner owner;
        qm::design::TGBasePanel header(&owner);
        qm::design::TGDataPanel detail(&owner);
        qm::design::TGBasePanel footer(&owner);
        auto field = std::make_unique<qm::design::TGPDLabel>();
        field->Bind(QStringLiteral("FullName"), QStringLiteral("Full Name"));
        detail.AddObject(std::move(field));
        qm::reports::TReportRow row = qm::reports::TReportStore::NewRow();
        row.description = QStringLiteral("Members");
        QString error;
        ASSERT_GE(store.Save(row, {&header, &detail, &footer}, mSettings, &error), 0)
            << error.toStdString();
    }
    ASSERT_EQ(Run({"report", "--table", mTable, "--design", "Members", "--record", "1", "--stream",
                   Out("r.qps")}),
              0)
        << mErr.str();
    EXPECT_EQ(Texts(Out("r.qps")), QStringList{"Pat Smith"});

    EXPECT_EQ(Run({"report", "--table", mTable, "--design", "Nobody", "--stream", Out("r.qps")}),
              2);
    EXPECT_NE(mErr.str().find("no such report"), std::string::npos) << mErr.str();
}

} // namespace
