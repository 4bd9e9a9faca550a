// "quillmark-tool print envelopes", run in-process: the list, the page stream and the PDF of a
// job, the design from a layout row or a file, the feed and page options, and bad input refused
// with nothing written and the address file untouched.

#include "tools/TToolCommand.h"

#include "TTestHome.h"
#include "data/TAddressFile.h"
#include "data/TDataSet.h"
#include "data/TSettingsFile.h"
#include "data/TSystemTables.h"
#include "design/core/TGClassRegistry.h"
#include "design/core/TGDataPanel.h"
#include "design/core/TGLabelObjectFiler.h"
#include "design/objects/TGDMultiLineAddressLabel.h"
#include "design/objects/TGFIMBarCode.h"
#include "design/objects/TGLabelShapes.h"
#include "design/objects/TGPostNetBarCode.h"
#include "design/text/TDesignUnits.h"
#include "envelopes/TEnvelopeSizes.h"
#include "print/TPageStreamDump.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sstream>

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

QByteArray Hash(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

class PrintEnvelopesCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        qputenv("QM_DATA_DIR", QM_BUILD_DIR "/share/quillmark");
        QDir().mkpath(mHome.Path("sysdata"));
        mTable = mHome.Path("ADD0001.DBF").toStdString();
        const QString table = QString::fromStdString(mTable);
        ASSERT_TRUE(qm::data::TAddressFile::Create(table, {}).isEmpty());
        {
            qm::data::TDataSet dataSet;
            qm::data::TAddressFile::DeclareFieldObjects(dataSet);
            dataSet.Open(table);
            // Last names in reverse record order, so the LNAME order reverses the records.
            for (int i = 1; i <= 5; ++i) {
                dataSet.Append();
                dataSet.SetAsString("FNAME", QStringLiteral("First%1").arg(i));
                dataSet.SetAsString("LNAME", QStringLiteral("Name%1").arg(9 - i));
                dataSet.SetAsString("STREET", QStringLiteral("%1 Main St").arg(i * 10));
                dataSet.SetAsString("CITY", "Salem");
                dataSet.SetAsString("STATE", "OR");
                dataSet.SetAsString("ZIP", "97301-1234");
                dataSet.Post();
            }
        }
        mLayout = mHome.Path("sysdata/BIN00001.E").toStdString();
        WriteLayout(QString::fromStdString(mLayout));
        mTableHash = Hash(table);
    }

    void TearDown() override { EXPECT_EQ(Hash(QString::fromStdString(mTable)), mTableHash); }

    // A frame of frameWidth x frameHeight design pixels at the corner and an address block.
    static void WriteLayout(const QString& path, int frameWidth = 96, int frameHeight = 48)
    {
        using namespace qm::design;
        TDesignUnits::SetPpiOverride(96);
        TGClassRegistry::Instance().RegisterHostKinds(TGHostKind::Envelope);
        TGDataPanel panel;
        panel.SetSize(912, 396);
        auto frame = std::make_unique<TGLabelShapes>();
        frame->SetBounds(0, 0, frameWidth, frameHeight);
        panel.AddObject(std::move(frame));
        auto address = std::make_unique<TGDMultiLineAddressLabel>();
        address->SetBounds(384, 192, 384, 96);
        panel.AddObject(std::move(address));
        auto postnet = std::make_unique<TGPostNetBarCode>();
        postnet->SetZipCodeField("ZIP");
        postnet->SetAddressField("STREET");
        postnet->SetBarCodeType(TPostNetType::pnbc11Digit);
        postnet->SetBounds(384, 290, 320, 20);
        panel.AddObject(std::move(postnet));
        auto fim = std::make_unique<TGFIMBarCode>();
        fim->SetBounds(frameWidth - 3 * 96 + 10, 0, fim->Width(), fim->Height());
        panel.AddObject(std::move(fim));
        TGLabelObjectFiler::SaveToFile(panel, path);
        TDesignUnits::SetPpiOverride(0);
    }

    // A row of the home's ENVELOPE.DBF.
    void AddRow(const QString& description, int code, const QString& file)
    {
        qm::data::TDataSet ds;
        ASSERT_EQ(qm::data::TSystemTables::OpenOrCreate(ds, qm::data::TSystemTable::Envelope,
                                                        mHome.Path("sysdata")),
                  QString());
        ds.Append();
        ds.SetAsString("DESCRIPT", description);
        ds.SetAsString("NUMBER", QString::number(code));
        ds.SetAsString("BINARY", file);
        ds.Post();
    }

    struct TResult {
        int code;
        std::string out, err;
    };
    TResult Tool(std::vector<std::string> args)
    {
        args.insert(args.begin(), {"print", "envelopes", "--table", mTable});
        std::ostringstream out, err;
        const int code = qm::tools::RunTool(args, out, err);
        return {code, out.str(), err.str()};
    }
    std::vector<std::string> WithLayout(std::vector<std::string> rest, const char* size = "20")
    {
        rest.insert(rest.begin(), {"--layout", mLayout, "--size", size});
        return rest;
    }
    QStringList Leftovers() const
    {
        return QDir(mHome.Dir()).entryList({".envelopes-*"}, QDir::Files | QDir::Hidden);
    }

    qm::test::TTestHome mHome;
    std::string mTable, mLayout;
    QByteArray mTableHash;
};

} // namespace

TEST_F(PrintEnvelopesCommandTest, ListGivesThePlacementAndOnePagePerRecord)
{
    const TResult r =
        Tool(WithLayout({"--feed", "landscape,up,centre", "--page", "11x8.5", "--list"}));
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(Lines(r.out), (std::vector<std::string>{"9.5000 4.1250 11.0000 8.5000 1.5000 2.1875",
                                                      "1 5", "2 4", "3 3", "4 2", "5 1",
                                                      "5 record(s), 5 envelope(s), 5 page(s)"}));
    // Face down, left, clockwise: X = 0, Y = PH - EH.
    EXPECT_EQ(
        Lines(Tool(WithLayout({"--feed", "LANDSCAPE,down,left,cw", "--page", "11X8.5", "--list"}))
                  .out)[0],
        "9.5000 4.1250 11.0000 8.5000 0.0000 4.3750");
    // 9.55 x 4.15 truncates to the envelope's tenths: no offset.
    EXPECT_EQ(
        Lines(Tool(WithLayout({"--feed", "landscape,up,right", "--page", "9.55x4.15", "--list"}))
                  .out)[0],
        "9.5000 4.1250 9.5500 4.1500 0.0000 0.0000");
}

TEST_F(PrintEnvelopesCommandTest, DefaultPageIsTheEnvelopePaperAsThePdfPrinterGivesIt)
{
    // #10 in landscape: the PDF printer gives 9.5 x 4.125 (Qt's own figure is 4.12).
    TResult r = Tool(WithLayout({"--feed", "landscape,down,centre", "--list"}));
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(Lines(r.out)[0], "9.5000 4.1250 9.5000 4.1250 0.0000 0.0000");
    // In portrait the page stands upright: 4.125 x 9.5; centred, X = (4.125 - 9.5) / 2 < 0 -> 0.
    r = Tool(WithLayout({"--feed", "portrait,up,centre", "--list"}));
    EXPECT_EQ(Lines(r.out)[0], "9.5000 4.1250 4.1250 9.5000 0.0000 0.0000");
    // Without --feed the settings file's feed is taken (read, not written).
    qm::data::TSettingsFile settings(mHome.Path("QUILLM.ini"));
    settings.WriteInteger("Envelope Feed", "Orientation", 0);
    const QByteArray before = Hash(mHome.Path("QUILLM.ini"));
    r = Tool(WithLayout({"--page", "11x17", "--list"}));
    // Portrait, down (default), centre (default): X = (11 - 9.5) / 2.
    EXPECT_EQ(Lines(r.out)[0], "9.5000 4.1250 11.0000 17.0000 0.7500 0.0000");
    EXPECT_EQ(Hash(mHome.Path("QUILLM.ini")), before);
}

TEST_F(PrintEnvelopesCommandTest, EnvelopeRowGivesSizeAndLayout)
{
    AddRow("Home", 31, "BIN00001.E");
    AddRow("Gone", 20, "BIN00009.E");
    AddRow("Odd size", 24, "BIN00001.E");
    TResult r = Tool({"--envelope", "Home", "--page", "6.48x4.56", "--list"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(Lines(r.out)[0], "6.4800 4.5600 6.4800 4.5600 0.0000 0.0000");

    r = Tool({"--envelope", "Gone", "--list"});
    EXPECT_EQ(r.code, 3);
    EXPECT_NE(r.err.find("Envelope definition file has been removed from the sysdata directory"),
              std::string::npos)
        << r.err;
    r = Tool({"--envelope", "Odd size", "--list"});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(
        r.err.find("This envelope layout has no valid envelope size. Use Modify to choose one."),
        std::string::npos)
        << r.err;
    EXPECT_EQ(Tool({"--envelope", "Nobody", "--list"}).code, 2);
}

TEST_F(PrintEnvelopesCommandTest, PdfAndStreamHaveOnePagePerEnvelope)
{
    const std::string pdf = mHome.Path("out.pdf").toStdString();
    TResult r =
        Tool(WithLayout({"--feed", "landscape,up,centre", "--page", "11x8.5", "--pdf", pdf}));
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(Lines(r.out).back(), "5 record(s), 5 envelope(s), 5 page(s)");
    QFile file(QString::fromStdString(pdf));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                  bytes.count("/Type /Page "),
              5);
    EXPECT_TRUE(Leftovers().isEmpty());

    const std::string stream = mHome.Path("out.qps").toStdString();
    r = Tool(WithLayout({"--preview", "--page", "9.5x4.125", "--stream", stream}));
    ASSERT_EQ(r.code, 0) << r.err;
    QFile streamFile(QString::fromStdString(stream));
    ASSERT_TRUE(streamFile.open(QIODevice::ReadOnly));
    const qm::print::TPageStreamDump dump = qm::print::DumpPageStream(streamFile.readAll());
    EXPECT_TRUE(dump.error.isEmpty());
    int pages = 0, outlines = 0;
    for (const QString& line : dump.lines) {
        pages += line.startsWith("page ") ? 1 : 0;
        outlines += line.endsWith("rectangle points=(0,0)(9.5,4.125)") ? 1 : 0;
    }
    EXPECT_EQ(pages, 5);
    EXPECT_EQ(outlines, 5); // the printable area, in preview only
    EXPECT_TRUE(Leftovers().isEmpty());
}

TEST_F(PrintEnvelopesCommandTest, BadInputIsRefusedWithNothingWritten)
{
    const std::string pdf = mHome.Path("out.pdf").toStdString();
    for (const char* feed : {"landscape,up", "sideways,up,left", "portrait,up,left,ccw", ""})
        EXPECT_EQ(Tool(WithLayout({"--feed", feed, "--pdf", pdf})).code, 2) << feed;
    for (const char* page : {"0.5x4", "101x4", "9.5", "axb", "9.5x4.125x1", "nanx4"})
        EXPECT_EQ(Tool(WithLayout({"--page", page, "--pdf", pdf})).code, 2) << page;
    EXPECT_EQ(Tool(WithLayout({"--pdf", pdf}, "24")).code, 2); // --size of no envelope
    EXPECT_EQ(Tool(WithLayout({"--list", "--pdf", pdf})).code, 2);
    EXPECT_EQ(Tool({"--list"}).code, 2);
    // Never over the address file's index or memo (the fixture checks the table stays the same).
    for (const char* companion : {"ADD0001.CDX", "add0001.FPT"}) {
        const TResult over = Tool(WithLayout({"--pdf", mHome.Path(companion).toStdString()}));
        EXPECT_EQ(over.code, 2) << companion;
        EXPECT_NE(over.err.find("is a file the job reads"), std::string::npos) << over.err;
    }

    // A missing layout file: the message, nothing printed.
    TResult r = Tool(
        {"--layout", mHome.Path("sysdata/BIN00002.E").toStdString(), "--size", "20", "--pdf", pdf});
    EXPECT_EQ(r.code, 3);
    EXPECT_NE(r.err.find("Envelope definition file has been removed"), std::string::npos);

    // A damaged one: its message with the file and the offset.
    QFile damaged(mHome.Path("sysdata/BIN00003.E"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("\x01\x07TGWhatever\x00garbage", 20);
    damaged.close();
    r = Tool({"--layout", damaged.fileName().toStdString(), "--size", "20", "--pdf", pdf});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("BIN00003.E: offset "), std::string::npos) << r.err;
    EXPECT_FALSE(QFile::exists(QString::fromStdString(pdf)));
    EXPECT_TRUE(Leftovers().isEmpty());
}

TEST_F(PrintEnvelopesCommandTest, EverySizePrintsItsFaceOnItsOwnPaperAndOnABiggerPage)
{
    // With QM_ENVELOPE_PDF_DIR set the PDFs are kept there to be looked at.
    const QString keep = qEnvironmentVariable("QM_ENVELOPE_PDF_DIR");
    for (int i = 0; i < qm::envelopes::TEnvelopeSizes::kCount; ++i) {
        const qm::envelopes::TEnvelopeSize& size = qm::envelopes::TEnvelopeSizes::At(i);
        const std::string layout =
            mHome.Path(QString("sysdata/BIN%1.E").arg(100 + i, 5, 10, QChar('0'))).toStdString();
        // The face's outline, one pixel inside its edge.
        WriteLayout(QString::fromStdString(layout), size.face.width * 96 / 1000 - 1,
                    size.face.height * 96 / 1000 - 1);
        const std::string code = std::to_string(size.code);
        for (const char* page : {"", "11x17"}) {
            // Its own paper turned as the envelope lies (no offsets), then an 11 x 17 page on
            // which a portrait feed, face up, centre places it (offsets).
            std::vector<std::string> args = {
                "--layout", layout,   "--size",
                code,       "--feed", *page ? "portrait,up,centre" : "landscape,down,centre"};
            if (*page) {
                args.push_back("--page");
                args.push_back(page);
            }
            std::vector<std::string> list = args;
            list.push_back("--list");
            const TResult listed = Tool(list);
            ASSERT_EQ(listed.code, 0) << code << " " << listed.err;
            const QStringList first = QString::fromStdString(Lines(listed.out)[0]).split(' ');
            ASSERT_EQ(first.size(), 6);
            EXPECT_EQ(first[0].toDouble(), size.face.WidthInches());
            if (*page) { // centred across the 11 in width, at the top
                EXPECT_DOUBLE_EQ(first[4].toDouble(),
                                 std::max(0.0, (11 - size.face.WidthInches()) / 2))
                    << code;
            }
            const QString pdf =
                mHome.Path(QString("size%1%2.pdf").arg(size.code).arg(*page ? "-big" : ""));
            args.push_back("--pdf");
            args.push_back(pdf.toStdString());
            const TResult printed = Tool(args);
            ASSERT_EQ(printed.code, 0) << code << " " << printed.err;
            if (!keep.isEmpty()) {
                QFile::remove(QDir(keep).filePath(QFileInfo(pdf).fileName()));
                QFile::copy(pdf, QDir(keep).filePath(QFileInfo(pdf).fileName()));
            }
        }
    }
}

TEST_F(PrintEnvelopesCommandTest, RecordOptionsChooseOrderStartAndOneRecord)
{
    const std::vector<std::string> list = {"--page", "9.5x4.125", "--list"};
    auto with = [&](std::vector<std::string> scope) {
        std::vector<std::string> args = WithLayout(list);
        args.insert(args.end(), scope.begin(), scope.end());
        return Tool(args);
    };
    // One record: one envelope, whatever the order.
    TResult r = with({"--record", "3"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(Lines(r.out),
              (std::vector<std::string>{"9.5000 4.1250 9.5000 4.1250 0.0000 0.0000", "1 3",
                                        "1 record(s), 1 envelope(s), 1 page(s)"}));
    // LNAME order runs 5, 4, 3, 2, 1: starting from record 3 prints 3, 2, 1.
    r = with({"--start-record", "3"});
    ASSERT_EQ(r.code, 0) << r.err;
    const std::vector<std::string> lines = Lines(r.out);
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.end() - 1),
              (std::vector<std::string>{"1 3", "2 2", "3 1"}));
    // A start record the job does not take: the message, then from the first.
    r = with({"--query", "FNAME<>'First3'", "--start-record", "3"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.err.find("Current record is out of range. Starting with first record"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(Lines(r.out)[1], "1 5");
    EXPECT_EQ(Lines(r.out).back(), "4 record(s), 4 envelope(s), 4 page(s)");
    r = with({"--order", "FNAME"});
    EXPECT_EQ(Lines(r.out)[1], "1 1");

    // No record: no file.
    const std::string pdf = mHome.Path("none.pdf").toStdString();
    r = Tool(WithLayout({"--query", "LNAME='Nobody'", "--pdf", pdf}));
    EXPECT_EQ(r.code, 1);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(pdf)));
    EXPECT_TRUE(Leftovers().isEmpty());
}
