// "quillmark-tool print labels", run in-process: the list, the page streams and the PDF of a
// job, and bad input refused with nothing written.

#include "tools/TToolCommand.h"

#include "TTestHome.h"
#include "data/TAddressFile.h"
#include "data/TDataSet.h"
#include "data/TFilterBuilder.h"
#include "data/TFilterFiles.h"
#include "data/TOutputFile.h"
#include "data/TProgramHome.h"
#include "data/TSettingsFile.h"
#include "design/core/TGClassRegistry.h"
#include "design/core/TGDataPanel.h"
#include "design/core/TGLabelObjectFiler.h"
#include "design/objects/TGIMBarCode.h"
#include "design/objects/TGPDLabel.h"
#include "design/objects/TImbSettings.h"
#include "design/text/TDesignUnits.h"
#include "labels/TLabelLayoutStore.h"
#include "labels/TNewLabelDesign.h"
#include "print/TPageStreamDump.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <sstream>

#if defined(Q_OS_UNIX)
#include <sys/stat.h>
#endif

namespace {

const std::string kSheet = "Avery 5160  Address"; // 3 across, 10 down
const QString kTagId = QStringLiteral("QMTAG01");

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class PrintLabelsCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mDir.isValid());
        qputenv("QM_DATA_DIR", QM_BUILD_DIR "/share/quillmark");
        mTable = mDir.filePath("ADD0001.DBF").toStdString();
        const QString table = QString::fromStdString(mTable);
        ASSERT_TRUE(qm::data::TAddressFile::Create(table, {}).isEmpty());
        qm::data::TDataSet dataSet;
        qm::data::TAddressFile::DeclareFieldObjects(dataSet);
        dataSet.Open(table);
        // Last names in reverse record order, so LNAME order reverses the records.
        for (int i = 1; i <= 31; ++i) {
            dataSet.Append();
            dataSet.SetAsString("FNAME", QStringLiteral("First%1").arg(i));
            dataSet.SetAsString("LNAME", QStringLiteral("Name%1").arg(99 - i));
            dataSet.SetAsString("CITY", i % 2 ? QStringLiteral("Salem") : QStringLiteral("Bend"));
            dataSet.SetAsString("STATE", "OR");
            dataSet.SetAsString("ZIP", "97301");
            dataSet.SetAsString("TAG", i % 5 == 0 ? kTagId : QString());
            dataSet.Post();
        }
        dataSet.Close();
    }

    int Run(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"print", "labels", "--table", mTable});
        mOut.str({});
        mErr.str({});
        return qm::tools::RunTool(args, mOut, mErr);
    }

    // The page stream dump's lines that begin a page.
    int Pages(const QString& path)
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        const qm::print::TPageStreamDump dump = qm::print::DumpPageStream(file.readAll());
        EXPECT_TRUE(dump.error.isEmpty()) << dump.error.toStdString();
        mDump = dump.lines.join('\n');
        int pages = 0;
        for (const QString& line : dump.lines)
            pages += line.startsWith(QLatin1String("page ")) ? 1 : 0;
        return pages;
    }

    // Nothing but the address file (and its index) in the folder.
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
    QString mDump;
};

TEST_F(PrintLabelsCommandTest, ThirtyOneLabelsFillTwoSheetsWithNoEmptyThird)
{
    ASSERT_EQ(Run({"--template", kSheet, "--list"}), 0) << mErr.str();
    const std::vector<std::string> lines = Lines(mOut.str());
    ASSERT_EQ(lines.size(), 32u);
    // LNAME order: record 31 has the smallest last name. Sheet, position, corner, record.
    EXPECT_EQ(lines[0], "1 1 0.156 0.500 31");
    EXPECT_EQ(lines[29].substr(0, 5), "1 30 ");
    EXPECT_EQ(lines[30], "2 1 0.156 0.500 1");
    EXPECT_EQ(lines[31], "31 record(s), 31 label(s), 2 page(s)");

    const QString stream = mDir.filePath("labels.qps");
    ASSERT_EQ(Run({"--template", kSheet, "--stream", stream.toStdString()}), 0) << mErr.str();
    EXPECT_EQ(Pages(stream), 2);
    EXPECT_TRUE(mDump.contains("First31 Name68")) << mDump.toStdString();
    EXPECT_TRUE(mDump.contains("Salem  OR 97301"));
    EXPECT_EQ(Written(), QStringList{"labels.qps"}) << "no temporary file left behind";
}

TEST_F(PrintLabelsCommandTest, DeselectedPositionsAndCopiesApplyToEverySheet)
{
    // 25 positions on each sheet: 7 records after the first 5 positions of a sheet.
    ASSERT_EQ(Run({"--template", kSheet, "--query", "RECNO()<=7", "--positions", "6-30", "--copies",
                   "2", "--list"}),
              0)
        << mErr.str();
    const std::vector<std::string> lines = Lines(mOut.str());
    ASSERT_EQ(lines.size(), 15u);
    EXPECT_EQ(lines[0].substr(0, 4), "1 6 ");
    EXPECT_EQ(lines[0].substr(lines[0].size() - 2), " 7");
    EXPECT_EQ(lines[1].substr(lines[1].size() - 2), " 7") << "two labels per record";
    EXPECT_EQ(lines[14], "7 record(s), 14 label(s), 1 page(s)");

    ASSERT_EQ(Run({"--template", kSheet, "--positions", "6-30", "--list"}), 0) << mErr.str();
    const std::vector<std::string> all = Lines(mOut.str());
    EXPECT_EQ(all[25].substr(0, 4), "2 6 ") << "the second sheet skips the same positions";
    EXPECT_EQ(all.back(), "31 record(s), 31 label(s), 2 page(s)");

    ASSERT_EQ(Run({"--template", kSheet, "--record", "3", "--list"}), 0) << mErr.str();
    EXPECT_EQ(Lines(mOut.str()), (std::vector<std::string>{"1 1 0.156 0.500 3",
                                                           "1 record(s), 1 label(s), 1 page(s)"}));
}

TEST_F(PrintLabelsCommandTest, StartRecordStartsThereOrAtTheFirstWhenOutOfRange)
{
    // LNAME order over records 1..7 is 7, 6, ..., 1: starting at 4 prints 4, 3, 2, 1.
    ASSERT_EQ(Run({"--template", kSheet, "--query", "RECNO()<=7", "--start-record", "4", "--list"}),
              0)
        << mErr.str();
    std::vector<std::string> lines = Lines(mOut.str());
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "1 1 0.156 0.500 4");
    EXPECT_EQ(lines[4], "4 record(s), 4 label(s), 1 page(s)");
    EXPECT_TRUE(mErr.str().empty()) << mErr.str();

    for (const char* outside : {"20", "400"}) {
        ASSERT_EQ(Run({"--template", kSheet, "--query", "RECNO()<=7", "--start-record", outside,
                       "--list"}),
                  0);
        lines = Lines(mOut.str());
        EXPECT_EQ(lines[0], "1 1 0.156 0.500 7") << outside;
        EXPECT_EQ(lines.back(), "7 record(s), 7 label(s), 1 page(s)");
        EXPECT_EQ(mErr.str(), "Current record is out of range. Starting with first record\n");
    }
    EXPECT_EQ(Run({"--template", kSheet, "--record", "2", "--start-record", "2", "--list"}), 2);
}

TEST_F(PrintLabelsCommandTest, PdfPagesHaveTheSheetsSize)
{
    const QString pdf = mDir.filePath("labels.pdf");
    ASSERT_EQ(Run({"--template", kSheet, "--query", "CITY='Bend'", "--pdf", pdf.toStdString()}), 0)
        << mErr.str();
    EXPECT_EQ(Lines(mOut.str()).back(), "15 record(s), 15 label(s), 1 page(s)");
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    const qsizetype box = bytes.indexOf("/MediaBox");
    ASSERT_GE(box, 0);
    EXPECT_TRUE(bytes.mid(box).startsWith("/MediaBox [0 0 612.000000 792.000000]"))
        << "a Letter sheet: " << bytes.mid(box, 40).toStdString();
    EXPECT_EQ(Written(), QStringList{"labels.pdf"});
}

// The PDF is drawn page by page into a file beside the target, which replaces the target only
// when the job is complete: a job with nothing to print or an output that cannot be written
// leaves an earlier file as it was.
TEST_F(PrintLabelsCommandTest, PdfIsWrittenPageByPageAndReplacesTheTargetOnlyWhenComplete)
{
    const QString pdf = mDir.filePath("labels.pdf");
    ASSERT_EQ(Run({"--template", kSheet, "--pdf", pdf.toStdString()}), 0) << mErr.str();
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    file.close();
    EXPECT_EQ(bytes.count("/Type /Page\n"), 2) << "31 labels on two Letter pages";
    EXPECT_TRUE(bytes.trimmed().endsWith("%%EOF"));

    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("earlier");
    file.close();
    EXPECT_EQ(Run({"--template", kSheet, "--query", "CITY='Nowhere'", "--pdf", pdf.toStdString()}),
              1);
    EXPECT_EQ(Run({"--template", kSheet, "--query", "CITY=", "--pdf", pdf.toStdString()}), 2);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "earlier");
    file.close();
    EXPECT_EQ(Written(), QStringList{"labels.pdf"}) << "no temporary file left behind";

    const QString unwritable = mDir.filePath("missing/labels.pdf");
    EXPECT_EQ(Run({"--template", kSheet, "--pdf", unwritable.toStdString()}), 3);
    EXPECT_NE(mErr.str().find("missing"), std::string::npos) << mErr.str();
    EXPECT_FALSE(QFileInfo::exists(mDir.filePath("missing")));
}

// A disk that fills up from each step on while the PDF is written, down to its last buffered
// bytes and the rename: the command fails with the system's reason, prints no summary, and the
// earlier PDF stays.
TEST_F(PrintLabelsCommandTest, APdfOnAFullDiskFailsTheCommandAndKeepsTheEarlierOne)
{
    const QString pdf = mDir.filePath("labels.pdf");
    const auto earlier = [&] {
        QFile file(pdf);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("earlier");
    };
    const std::vector<std::string> job = {"--template",  kSheet,  "--query",
                                          "CITY='Bend'", "--pdf", pdf.toStdString()};
    int steps = 0;
    qm::data::TOutputFile::SetFaultHook([&steps](qm::data::TOutputFile::TStep, const QString&) {
        ++steps;
        return 0;
    });
    ASSERT_EQ(Run(job), 0) << mErr.str();
    ASSERT_GT(steps, 6);
    RecordProperty("steps", steps);
    const std::string noSpace = std::strerror(ENOSPC);
    for (int k = 1; k <= steps; ++k) {
        SCOPED_TRACE("failing from step " + std::to_string(k) + " of " + std::to_string(steps));
        earlier();
        int step = 0;
        qm::data::TOutputFile::SetFaultHook(
            [&step, k](qm::data::TOutputFile::TStep, const QString&) {
                return ++step >= k ? ENOSPC : 0;
            });
        EXPECT_EQ(Run(job), 3);
        EXPECT_EQ(mOut.str(), "");
        EXPECT_NE(mErr.str().find(noSpace), std::string::npos) << mErr.str();
        QFile file(pdf);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), "earlier");
        EXPECT_EQ(Written(), QStringList{"labels.pdf"}) << "a temporary was left";
    }
    qm::data::TOutputFile::SetFaultHook({});
}

TEST_F(PrintLabelsCommandTest, BadInputIsNamedAndNothingIsWritten)
{
    const std::string out = mDir.filePath("out.qps").toStdString();
    EXPECT_EQ(Run({"--template", kSheet, "--query", "CITY=", "--stream", out}), 2);
    EXPECT_NE(mErr.str().find("--query \"CITY=\""), std::string::npos) << mErr.str();
    EXPECT_EQ(Run({"--template", kSheet, "--positions", "6-31", "--stream", out}), 2);
    EXPECT_NE(mErr.str().find("--positions \"6-31\""), std::string::npos) << mErr.str();
    EXPECT_EQ(Run({"--template", kSheet, "--layout", mDir.filePath("NONE.L").toStdString(),
                   "--stream", out}),
              3);
    EXPECT_NE(mErr.str().find("NONE.L: no such layout file"), std::string::npos) << mErr.str();
    EXPECT_EQ(Run({"--template", "Avery 5160 Address", "--stream", out}), 2)
        << "one blank is another template";
    EXPECT_EQ(Run({"--template", kSheet, "--copies", "100", "--stream", out}), 2);
    EXPECT_EQ(Run({"--template", kSheet, "--query", "CITY='Nowhere'", "--stream", out}), 1);
    EXPECT_EQ(Lines(mOut.str()).back(), "0 record(s), 0 label(s), 0 page(s)");
    EXPECT_EQ(Run({"--template", kSheet, "--stream", mTable}), 2) << "never over its input";
    EXPECT_TRUE(Written().isEmpty()) << Written().join(' ').toStdString();
}

#if defined(Q_OS_UNIX)
TEST_F(PrintLabelsCommandTest, AnOutputThatIsNoRegularFileIsRefusedAndKept)
{
    // /dev/null is a device; a named pipe stands for it here. Renaming a finished file over it
    // would replace it.
    const QString pipe = mDir.filePath("pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    for (const char* output : {"--pdf", "--stream"}) {
        EXPECT_EQ(Run({"--template", kSheet, output, pipe.toStdString()}), 3) << output;
        EXPECT_NE(mErr.str().find("not a regular file"), std::string::npos) << mErr.str();
        struct stat info {};
        ASSERT_EQ(::stat(QFile::encodeName(pipe).constData(), &info), 0);
        EXPECT_TRUE(S_ISFIFO(info.st_mode)) << output;
    }
}
#endif

TEST_F(PrintLabelsCommandTest, OutputNeverReplacesTheAddressFilesIndexOrMemo)
{
    // The index and the memo file go with the table, in any letter case, and a PDF written over
    // either would leave the address file unreadable.
    for (const QString& name : {QStringLiteral("ADD0001.CDX"), QStringLiteral("add0001.fpt")}) {
        const QString path = mDir.filePath(name);
        QFile companion(path);
        const QByteArray before = companion.open(QIODevice::ReadOnly) ? companion.readAll() : "";
        companion.close();
        ASSERT_FALSE(before.isEmpty() && name.endsWith(QLatin1String("CDX")));
        EXPECT_EQ(Run({"--template", kSheet, "--pdf", path.toStdString()}), 2)
            << name.toStdString();
        EXPECT_NE(mErr.str().find("is a file the job reads"), std::string::npos) << mErr.str();
        EXPECT_EQ(Run({"--template", kSheet, "--stream", path.toStdString()}), 2);
        ASSERT_EQ(companion.open(QIODevice::ReadOnly), !before.isEmpty());
        EXPECT_EQ(companion.readAll(), before) << name.toStdString();
        companion.close();
    }
    EXPECT_TRUE(Written().isEmpty()) << Written().join(' ').toStdString();
}

// A user-defined LABEL row of the home with its own layout file: 2 across, 3 down on a custom
// paper, a layout printing the last name only.
TEST_F(PrintLabelsCommandTest, LabelRowPrintsWithItsOwnSheetAndLayout)
{
    const QString sysdata = mHome.Path("sysdata");
    ASSERT_TRUE(QDir().mkpath(sysdata));
    qm::labels::TLabelGeometry g = qm::labels::TLabelGeometry::NewLayout();
    g.MakeUserDefined();
    g.description = "Party  Badges";
    g.across = 2;
    g.down = 3;
    g.labelWidth = 3;
    g.labelHeight = 2;
    g.leftMargin = 0.5;
    g.topMargin = 0.25;
    g.horizontalPitch = 3.25;
    g.verticalPitch = 2.5;
    g.sheetWidth = 7.5;
    g.sheetDepth = 8;
    g.paperSize = "USERP";
    g.layoutFile = "BIN00001.L";
    {
        qm::labels::TLabelLayoutStore store;
        ASSERT_TRUE(store.Open(sysdata).isEmpty());
        store.Append(g);
    }
    qm::design::TGClassRegistry::Instance().RegisterHostKinds(qm::design::TGHostKind::Label);
    qm::design::TDesignUnits::SetPpiOverride(96);
    {
        qm::design::TGDataPanel panel;
        auto field = std::make_unique<qm::design::TGPDLabel>();
        field->Bind("LNAME", "Last Name");
        field->SetBounds(20, 20, 200, 30);
        panel.AddObject(std::move(field));
        qm::design::TGLabelObjectFiler::SaveToFile(panel, QDir(sysdata).filePath("BIN00001.L"));
    }
    qm::design::TDesignUnits::SetPpiOverride(0);

    ASSERT_EQ(Run({"--label", "Party  Badges", "--query", "RECNO()<=7", "--list"}), 0)
        << mErr.str();
    const std::vector<std::string> lines = Lines(mOut.str());
    ASSERT_EQ(lines.size(), 8u) << mOut.str() << mErr.str();
    EXPECT_EQ(lines[1], "1 2 3.750 0.250 6");
    EXPECT_EQ(lines[5], "1 6 3.750 5.250 2");
    EXPECT_EQ(lines[6], "2 1 0.500 0.250 1");

    const QString stream = mDir.filePath("badges.qps");
    ASSERT_EQ(Run({"--label", "Party  Badges", "--query", "RECNO()<=7", "--stream",
                   stream.toStdString()}),
              0)
        << mErr.str();
    EXPECT_EQ(Pages(stream), 2);
    EXPECT_TRUE(mDump.contains("size=7.50x8.00") || mDump.contains("Name92"))
        << mDump.toStdString();
    EXPECT_TRUE(mDump.contains("Name92"));
    EXPECT_FALSE(mDump.contains("First")) << "only the layout's field is printed";

    // The custom paper as the PDF's page size: 7.5 x 8 in.
    const QString pdf = mDir.filePath("badges.pdf");
    ASSERT_EQ(
        Run({"--label", "Party  Badges", "--query", "RECNO()<=7", "--pdf", pdf.toStdString()}), 0)
        << mErr.str();
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.contains("/MediaBox [0 0 540.000000 576.000000]"));
    EXPECT_EQ(bytes.count("/Type /Page\n"), 2);

    EXPECT_EQ(Run({"--label", "Party Badges", "--list"}), 2) << "one blank is another row";
    QFile::remove(QDir(sysdata).filePath("BIN00001.L"));
    EXPECT_EQ(Run({"--label", "Party  Badges", "--stream", stream.toStdString()}), 3);
    EXPECT_FALSE(mErr.str().empty());
}

} // namespace

// The presort's example with a few more: 12 records of 12345 (some as ZIP+4), 4 of 12301, 6 of
// 12302, one each of 12001 and 00100, two without a valid ZIP and ten of "1234a", which the ZIP
// tag holds upper-cased.
class PresortedLabelsTest : public PrintLabelsCommandTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mDir.isValid());
        qputenv("QM_DATA_DIR", QM_BUILD_DIR "/share/quillmark");
        mTable = mDir.filePath("ADD0001.DBF").toStdString();
        const QString table = QString::fromStdString(mTable);
        ASSERT_TRUE(qm::data::TAddressFile::Create(table, {}).isEmpty());
        std::vector<QString> zips;
        for (int i = 0; i < 12; ++i)
            zips.push_back(i % 3 ? QStringLiteral("12345") : QStringLiteral("12345-6789"));
        zips.insert(zips.end(), 4, QStringLiteral("12301"));
        zips.insert(zips.end(), 6, QStringLiteral("12302"));
        zips.insert(zips.end(), {QStringLiteral("12001"), QStringLiteral("00100"), QString(),
                                 QStringLiteral("K1A 0B1")});
        zips.insert(zips.end(), 10, QStringLiteral("1234a"));
        qm::data::TDataSet dataSet;
        qm::data::TAddressFile::DeclareFieldObjects(dataSet);
        dataSet.Open(table);
        for (size_t i = 0; i < zips.size(); ++i) {
            dataSet.Append();
            dataSet.SetAsString("LNAME", QStringLiteral("Name%1").arg(i + 1));
            dataSet.SetAsString("ZIP", zips[i]);
            dataSet.Post();
        }
        dataSet.Close();
    }

    // The record numbers and marker texts of a --list, in print order.
    std::vector<std::string> Printed() const
    {
        std::vector<std::string> printed;
        for (const std::string& line : Lines(mOut.str())) {
            if (line.find(" record(s), ") != std::string::npos)
                continue;
            // "sheet position x y what": what may hold blanks (markers).
            size_t at = 0;
            for (int field = 0; field < 4; ++field)
                at = line.find(' ', at) + 1;
            printed.push_back(line.substr(at));
        }
        return printed;
    }

    static std::vector<std::string> Records(int first, int last)
    {
        std::vector<std::string> numbers;
        for (int r = first; r <= last; ++r)
            numbers.push_back(std::to_string(r));
        return numbers;
    }
};

TEST_F(PresortedLabelsTest, ListShowsMarkersAndRecordsInPresortOrder)
{
    ASSERT_EQ(Run({"--template", kSheet, "--presort", "--list"}), 0) << mErr.str();
    // In ZIP order "12345" sorts before "12345-6789", then by record number.
    std::vector<std::string> expected{"** 5-digit 12345"};
    for (const std::vector<std::string>& part :
         {std::vector<std::string>{"2", "3", "5", "6", "8", "9", "11", "12", "1", "4", "7", "10"},
          {"** 5-digit 1234A"},
          Records(27, 36),
          {"** 3-digit 123"},
          Records(13, 22),
          {"** ADC ALBANY NY 120", "23", "** Unknown", "24"}})
        expected.insert(expected.end(), part.begin(), part.end());
    EXPECT_EQ(Printed(), expected);
    // Markers take a position each: 34 records and 5 markers on a 30-position sheet.
    EXPECT_EQ(Lines(mOut.str()).back(), "34 record(s), 39 label(s), 2 page(s)");
    EXPECT_EQ(Lines(mOut.str())[30].substr(0, 4), "2 1 ");
    EXPECT_EQ(mErr.str(),
              "2 record(s) have no valid ZIP code and are not printed at all in a presorted "
              "job.\n");

    // The query narrows what is presorted: 12302 alone has too few records for a group of its own.
    ASSERT_EQ(Run({"--template", kSheet, "--presort", "--query", "ZIP='12302'", "--list"}), 0)
        << mErr.str();
    expected = {"** ADC ALBANY NY 120"};
    const std::vector<std::string> twelve302 = Records(17, 22);
    expected.insert(expected.end(), twelve302.begin(), twelve302.end());
    EXPECT_EQ(Printed(), expected);
    EXPECT_TRUE(mErr.str().empty()) << mErr.str();

    // An empty scope presorts to an empty list and prints nothing.
    EXPECT_EQ(Run({"--template", kSheet, "--presort", "--query", "ZIP='7'", "--list"}), 1);
    EXPECT_EQ(Lines(mOut.str()), std::vector<std::string>{"0 record(s), 0 label(s), 0 page(s)"});
}

TEST_F(PresortedLabelsTest, PresortedStreamAndPdfAndTheRefusedCombinations)
{
    const QString stream = mDir.filePath("sorted.qps");
    ASSERT_EQ(Run({"--template", kSheet, "--presort", "--stream", stream.toStdString()}), 0)
        << mErr.str();
    EXPECT_EQ(Pages(stream), 2);
    EXPECT_TRUE(mDump.contains("** 3-digit 123")) << mDump.toStdString();
    EXPECT_TRUE(mDump.contains("** ADC ALBANY NY 120"));
    const QString pdf = mDir.filePath("sorted.pdf");
    ASSERT_EQ(Run({"--template", kSheet, "--presort", "--pdf", pdf.toStdString()}), 0)
        << mErr.str();
    EXPECT_EQ(Lines(mOut.str()).back(), "34 record(s), 39 label(s), 2 page(s)");

    // One record is not presorted (as "Only current record" turns presort off); the order is the
    // ZIP tag's; a start record has no effect on a job that follows the list.
    for (const std::vector<std::string>& refused : {std::vector<std::string>{"--record", "3"},
                                                    {"--order", "LNAME"},
                                                    {"--start-record", "2"},
                                                    {"--presort-list", pdf.toStdString()}}) {
        std::vector<std::string> args{"--template", kSheet, "--presort", "--list"};
        args.insert(args.end(), refused.begin(), refused.end());
        EXPECT_EQ(Run(args), 2) << refused[0];
        EXPECT_TRUE(mOut.str().empty());
    }
    EXPECT_EQ(Written(), (QStringList{"sorted.pdf", "sorted.qps"}));
}

TEST_F(PresortedLabelsTest, HandEditedListPrintsWhatItFindsAndAnUnreadableOneNothing)
{
    // No markers, a key no record has, a binary line, a long line and no final line end.
    const QString list = mDir.filePath("PRESORT.PSL");
    {
        QFile file(list);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("99999\r\n\x01\x02\xff\xfe\r\n12001\n" + QByteArray(5000, '1') + "\r\n12302");
    }
    ASSERT_EQ(Run({"--template", kSheet, "--presort-list", list.toStdString(), "--list"}), 0)
        << mErr.str();
    std::vector<std::string> expected = Records(17, 22);
    expected.insert(expected.begin(), "23");
    EXPECT_EQ(Printed(), expected);

    const std::string out = mDir.filePath("out.pdf").toStdString();
    for (const QString& unreadable : {mDir.filePath("NONE.PSL"), mDir.path()}) {
        EXPECT_EQ(
            Run({"--template", kSheet, "--presort-list", unreadable.toStdString(), "--pdf", out}),
            3);
        EXPECT_NE(mErr.str().find(QDir::toNativeSeparators(unreadable).toStdString()),
                  std::string::npos)
            << mErr.str();
    }
    EXPECT_EQ(Written(), QStringList{"PRESORT.PSL"});
}

TEST_F(PrintLabelsCommandTest, FileWithoutAZipTagIsNamedAndNothingPrinted)
{
    // The address file's fields without its index.
    const QString bare = mDir.filePath("BARE.DBF");
    QFile::copy(QString::fromStdString(mTable), bare);
    QFile::copy(mDir.filePath("ADD0001.FPT"), mDir.filePath("BARE.FPT"));
    const std::string out = mDir.filePath("out.pdf").toStdString();
    EXPECT_EQ(qm::tools::RunTool({"print", "labels", "--table", bare.toStdString(), "--template",
                                  kSheet, "--presort", "--pdf", out},
                                 mOut, mErr),
              3);
    EXPECT_NE(mErr.str().find("BARE.DBF"), std::string::npos) << mErr.str();
    EXPECT_NE(mErr.str().find("ZIP"), std::string::npos) << mErr.str();
    EXPECT_EQ(Written(), (QStringList{"BARE.DBF", "BARE.FPT"}));
}

// A LABEL row that describes no sheet, and layout files that are damaged or are no label layout:
// the row or file is named, nothing is written.
TEST_F(PrintLabelsCommandTest, BrokenRowsAndLayoutsAreNamedAndNothingIsWritten)
{
    const QString sysdata = mHome.Path("sysdata");
    ASSERT_TRUE(QDir().mkpath(sysdata));
    qm::labels::TLabelGeometry g = qm::labels::TLabelGeometry::NewLayout();
    g.MakeUserDefined();
    g.paperSize = "USERP";
    {
        qm::labels::TLabelLayoutStore store;
        ASSERT_TRUE(store.Open(sysdata).isEmpty());
        g.description = "No Columns";
        g.across = 0;
        g.layoutFile = "BIN00001.L";
        store.Append(g);
        g.description = "Flat Labels";
        g.across = 2;
        g.labelHeight = 0;
        g.layoutFile = "BIN00002.L";
        store.Append(g);
        g.description = "Damaged Layout";
        g.labelHeight = 1;
        g.layoutFile = "BIN00003.L";
        store.Append(g);
    }
    // A layout cut short, and a file that is no layout at all.
    const QString damaged = QDir(sysdata).filePath("BIN00003.L");
    {
        qm::design::TGClassRegistry::Instance().RegisterHostKinds(qm::design::TGHostKind::Label);
        qm::design::TDesignUnits::SetPpiOverride(96);
        qm::design::TGDataPanel panel;
        auto field = std::make_unique<qm::design::TGPDLabel>();
        field->Bind("LNAME", "Last Name");
        field->SetBounds(20, 20, 200, 30);
        panel.AddObject(std::move(field));
        qm::design::TGLabelObjectFiler::SaveToFile(panel, damaged);
        qm::design::TDesignUnits::SetPpiOverride(0);
        QFile file(damaged);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.resize(file.size() / 2));
    }
    const QString foreign = mDir.filePath("FOREIGN.L");
    {
        QFile file(foreign);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("%PDF-1.4\n%\xe2\xe3\xcf\xd3\n1 0 obj\n<< /Type /Catalog >>\nendobj\n");
    }

    const std::string out = mDir.filePath("out.pdf").toStdString();
    EXPECT_EQ(Run({"--label", "No Columns", "--pdf", out}), 1);
    EXPECT_NE(mErr.str().find("\"No Columns\" describes no label sheet: the number of labels "
                              "across is 0"),
              std::string::npos)
        << mErr.str();
    EXPECT_EQ(Run({"--label", "Flat Labels", "--pdf", out}), 1);
    EXPECT_NE(mErr.str().find("\"Flat Labels\" describes no label sheet: the label height is 0"),
              std::string::npos)
        << mErr.str();
    EXPECT_EQ(Run({"--label", "Damaged Layout", "--pdf", out}), 1);
    EXPECT_NE(mErr.str().find("BIN00003.L: "), std::string::npos) << mErr.str();
    EXPECT_EQ(Run({"--template", kSheet, "--layout", foreign.toStdString(), "--pdf", out}), 1);
    EXPECT_NE(mErr.str().find("FOREIGN.L: "), std::string::npos) << mErr.str();
    EXPECT_EQ(Written(), QStringList{"FOREIGN.L"});
}

// The shared record options: a saved filter, tagged records (the settings file's identifier,
// read without writing it) and both together; a bad filter file is named and nothing written.
TEST_F(PrintLabelsCommandTest, FilterFileAndTaggedRecords)
{
    const QString settings = qm::data::TProgramHome::Current().SettingsPath();
    qm::data::TSettingsFile(settings).WriteString("Misc", "GlobalTagId", kTagId);
    QFile settingsFile(settings);
    ASSERT_TRUE(settingsFile.open(QIODevice::ReadOnly));
    const QByteArray settingsBefore = settingsFile.readAll();
    settingsFile.close();
    const QDateTime settingsTime = QFileInfo(settings).lastModified();

    qm::data::TFilterEntries entries;
    for (int i = 0; i < qm::data::TFilterEntries::kCount; ++i)
        if (QString::fromLatin1(qm::data::TFilterBuilder::FieldExpression(i)).contains("CITY"))
            entries.entries[size_t(i)] = QStringLiteral("BE");
    const QString flt = mDir.filePath("BEND.FLT");
    ASSERT_EQ(qm::data::TFilterFiles::Write(flt, entries), "");

    // LNAME order reverses the records. Tagged: 30, 25, ..., 5; in Bend: the even ones.
    auto records = [&] {
        std::vector<std::string> numbers;
        for (const std::string& line : Lines(mOut.str()))
            if (line.find("record(s)") == std::string::npos)
                numbers.push_back(line.substr(line.rfind(' ') + 1));
        return numbers;
    };
    ASSERT_EQ(Run({"--template", kSheet, "--tagged", "--list"}), 0) << mErr.str();
    EXPECT_EQ(records(), (std::vector<std::string>{"30", "25", "20", "15", "10", "5"}));
    ASSERT_EQ(Run({"--template", kSheet, "--filter-file", flt.toStdString(), "--list"}), 0)
        << mErr.str();
    EXPECT_EQ(records().size(), 15u);
    EXPECT_EQ(records().front(), "30");
    ASSERT_EQ(Run({"--template", kSheet, "--filter-file", flt.toStdString(), "--tagged", "--list"}),
              0)
        << mErr.str();
    EXPECT_EQ(records(), (std::vector<std::string>{"30", "20", "10"}));
    ASSERT_EQ(Run({"--template", kSheet, "--tagged", "--presort", "--list"}), 0) << mErr.str();
    EXPECT_EQ(Lines(mOut.str()).back(), "6 record(s), 7 label(s), 1 page(s)")
        << "one ADC marker, then the six tagged records";

    ASSERT_TRUE(settingsFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(settingsFile.readAll(), settingsBefore) << "the settings file is only read";
    EXPECT_EQ(QFileInfo(settings).lastModified(), settingsTime);

    const std::string out = mDir.filePath("out.pdf").toStdString();
    EXPECT_EQ(Run({"--template", kSheet, "--filter-file", mDir.filePath("NONE.FLT").toStdString(),
                   "--pdf", out}),
              3);
    EXPECT_NE(mErr.str().find("NONE.FLT"), std::string::npos) << mErr.str();
    EXPECT_EQ(Run({"--template", kSheet, "--filter-file", mTable, "--pdf", out}), 2);
    EXPECT_NE(mErr.str().find("--filter-file"), std::string::npos) << mErr.str();
    EXPECT_EQ(Run({"--template", kSheet, "--filter-file", flt.toStdString(), "--query", "1=1",
                   "--pdf", out}),
              2);
    EXPECT_EQ(
        Run({"--template", kSheet, "--filter-file", flt.toStdString(), "--pdf", flt.toStdString()}),
        2)
        << "never over the filter file it reads";
    EXPECT_EQ(Written(), QStringList{"BEND.FLT"});
}

namespace {

// A label layout with one Intelligent Mail barcode counted from the settings file.
QString ImbLayout(const QString& dir, const QString& mailerId)
{
    qm::design::TGClassRegistry::Instance().RegisterHostKinds(qm::design::TGHostKind::Label);
    qm::design::TDesignUnits::SetPpiOverride(96);
    const QString path = QDir(dir).filePath("IMB.L");
    {
        qm::design::TGDataPanel panel;
        qm::labels::TNewLabelDesign::AddTo(panel, qm::labels::TLabelGeometry::NewLayout());
        auto code = std::make_unique<qm::design::TGIMBarCode>();
        qm::design::TImbSettings parts;
        parts.serviceType = QStringLiteral("300");
        parts.mailerId = mailerId;
        code->ConfigureDrawn(parts);
        code->SetBounds(10, 100, 282, 16); // under the address block
        panel.AddObject(std::move(code));
        qm::design::TGLabelObjectFiler::SaveToFile(panel, path);
    }
    qm::design::TDesignUnits::SetPpiOverride(0);
    return path;
}

TEST_F(PrintLabelsCommandTest, BarcodeCounterIsWrittenBackOnlyAfterAFinishedJob)
{
    qm::data::TSettingsFile settings(mHome.Home().SettingsPath());
    settings.WriteString("Intelligent Mail", "NextSerial", "500");
    const std::string layout = ImbLayout(mHome.Dir(), "123456").toStdString();
    auto next = [&] { return settings.ReadString("Intelligent Mail", "NextSerial"); };

    // Listing places labels but prints nothing.
    ASSERT_EQ(Run({"--template", kSheet, "--layout", layout, "--list"}), 0) << mErr.str();
    EXPECT_EQ(next(), "500");
    // A job that cannot write its output is not finished.
    const std::string nowhere = mDir.filePath("missing/out.pdf").toStdString();
    EXPECT_NE(Run({"--template", kSheet, "--layout", layout, "--pdf", nowhere}), 0);
    EXPECT_EQ(next(), "500");

    const QString stream = mDir.filePath("imb.qps");
    ASSERT_EQ(Run({"--template", kSheet, "--layout", layout, "--stream", stream.toStdString()}), 0)
        << mErr.str();
    EXPECT_EQ(Lines(mOut.str()), std::vector<std::string>{"31 record(s), 31 label(s), 2 page(s)"});
    EXPECT_EQ(next(), "531");
    Pages(stream);
    EXPECT_EQ(mDump.count(QLatin1String(" fill-rect ")), 31 * 65);
    // For a look by eye: the layout and the address file, to print with the tool.
    const QString shots = qEnvironmentVariable("QM_SCREENSHOT_DIR");
    if (!shots.isEmpty()) {
        QFile::copy(QString::fromStdString(layout), QDir(shots).filePath("IMB.L"));
        for (const char* suffix : {"DBF", "FPT", "CDX"})
            QFile::copy(mDir.filePath(QStringLiteral("ADD0001.%1").arg(suffix)),
                        QDir(shots).filePath(QStringLiteral("IMBADDR.%1").arg(suffix)));
    }
}

TEST_F(PrintLabelsCommandTest, SkippedBarcodesAreCountedInTheSummaryAndUseNoSerial)
{
    qm::data::TSettingsFile settings(mHome.Home().SettingsPath());
    settings.WriteString("Intelligent Mail", "NextSerial", "7");
    // A six-digit mailer identifier may not start with 9: no tracking code, no barcode.
    const std::string layout = ImbLayout(mHome.Dir(), "912345").toStdString();
    const QString stream = mDir.filePath("imb.qps");
    ASSERT_EQ(Run({"--template", kSheet, "--layout", layout, "--query", "RECNO()<=3", "--stream",
                   stream.toStdString()}),
              0)
        << mErr.str();
    const std::vector<std::string> lines = Lines(mOut.str());
    ASSERT_EQ(lines.size(), 2u) << mOut.str();
    EXPECT_EQ(lines[0], "3 record(s), 3 label(s), 1 page(s)");
    EXPECT_EQ(lines[1].rfind("3 pieces skipped without a barcode, the first: ", 0), 0u) << lines[1];
    EXPECT_NE(lines[1].find("912345"), std::string::npos) << lines[1];
    EXPECT_EQ(settings.ReadString("Intelligent Mail", "NextSerial"), "7");
}

} // namespace
