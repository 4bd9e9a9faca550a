#include "tools/TToolCommand.h"

#include "TTestHome.h"
#include "data/TAddressFile.h"
#include "data/TDataSet.h"
#include "data/TSettingsFile.h"
#include "design/barcode/TImbCode.h"
#include "design/core/TGClassRegistry.h"
#include "design/core/TGDataPanel.h"
#include "design/core/TGLabelObjectFiler.h"
#include "design/objects/TGIMBarCode.h"
#include "design/objects/TGPDLabel.h"
#include "design/objects/TGPLabel.h"
#include "design/objects/TGSymbolLabel.h"
#include "design/objects/TImbSettings.h"
#include "design/text/TDesignUnits.h"
#include "print/TPageStreamDump.h"
#include "print/TRPDevice.h"
#include "print/TSymbolFont.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <utility>
#include <vector>

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
        dataSet.Append();
        dataSet.SetAsString("PREFIX", "Dr.");
        dataSet.SetAsString("FNAME", "Ann");
        dataSet.SetAsString("LNAME", "Lee");
        dataSet.SetAsString("CITY", "Salem");
        dataSet.SetAsString("STATE", "OR");
        dataSet.SetAsString("ZIP", "97301");
        dataSet.SetAsString("DATE", "20240229");
        dataSet.Post();
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
        TGLabelObjectFiler::SaveToFile(panel, mLayout);
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
    ASSERT_EQ(Run({"print", mLayout.toStdString(), "--table", mTable.toStdString(), "--record", "2",
                   "--out", out.toStdString()}),
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

// The calculated fields are filled as in the program's label window: names without the blank of
// an empty middle name, city, state and zip on one line, the date shown as mm/dd/yyyy.
TEST_F(LayoutCommandTest, PrintFillsCalculatedFields)
{
    TDesignUnits::SetPpiOverride(96);
    TGDataPanel panel;
    int top = 0;
    for (const auto& [field, label] :
         {std::pair{"FullName", "Full Name"}, std::pair{"FullNameWithPrefix", "Full Name & Prefix"},
          std::pair{"CityStateZip", "City, State & Zip"}, std::pair{"DisplayDate", "Date"}}) {
        auto object = std::make_unique<TGPDLabel>();
        object->SetName(QStringLiteral("Special%1").arg(top / 40 + 1));
        object->Bind(field, label);
        object->SetBounds(10, top, 300, 33);
        top += 40;
        panel.AddObject(std::move(object));
    }
    const QString envelope = mDir.filePath("BIN00002.E");
    TGLabelObjectFiler::SaveToFile(panel, envelope);
    TDesignUnits::SetPpiOverride(0);

    const QString out = mDir.filePath("calc.qps");
    ASSERT_EQ(Run({"print", envelope.toStdString(), "--table", mTable.toStdString(), "--record",
                   "3", "--out", out.toStdString()}),
              0)
        << mErr.str();
    const QString lines = PageTexts(out).join('\n');
    EXPECT_TRUE(lines.contains("\"Ann Lee\"")) << lines.toStdString();
    EXPECT_TRUE(lines.contains("\"Dr. Ann Lee\"")) << lines.toStdString();
    EXPECT_TRUE(lines.contains("\"Salem OR 97301\"")) << lines.toStdString();
    EXPECT_TRUE(lines.contains("\"02/29/2024\"")) << lines.toStdString();
}

// A symbol object goes into the page stream as its face and code; rendered where the face is
// missing, the page shows the pictogram (a round yin-yang for code '['), not a bracket.
TEST_F(LayoutCommandTest, PrintedSymbolRendersAsItsPictogram)
{
    TDesignUnits::SetPpiOverride(96);
    TGDataPanel panel;
    auto symbol = std::make_unique<TGSymbolLabel>();
    symbol->SetName("Special1");
    symbol->SetLeft(96);
    symbol->SetTop(96);
    panel.AddObject(std::move(symbol));
    const QString layout = mDir.filePath("BIN00003.L");
    TGLabelObjectFiler::SaveToFile(panel, layout);
    TDesignUnits::SetPpiOverride(0);

    const QString out = mDir.filePath("symbol.qps");
    ASSERT_EQ(Run({"print", layout.toStdString(), "--table", mTable.toStdString(), "--out",
                   out.toStdString()}),
              0)
        << mErr.str();
    const QString lines = PageTexts(out).join('\n');
    EXPECT_TRUE(lines.contains("\"WingDings\"")) << lines.toStdString();
    EXPECT_TRUE(lines.contains("\"[\"")) << lines.toStdString();
    if (!print::TSymbolFont::NeedsMapping("WingDings"))
        return; // the face is installed: its own picture is drawn

    const QString shots = qEnvironmentVariable("QM_SCREENSHOT_DIR");
    const QString pattern =
        QDir(shots.isEmpty() ? mDir.path() : shots).filePath("layout-print-symbol-%d.png");
    std::ostringstream out2, err2;
    ASSERT_EQ(tools::RunPagesCommand({"render", out.toStdString(), "--png", pattern.toStdString()},
                                     out2, err2),
              0)
        << err2.str();
    const QImage page(QString(pattern).replace("%d", "1"));
    ASSERT_FALSE(page.isNull());
    QRect ink;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < 128)
                ink |= QRect(x, y, 1, 1);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_NEAR(double(ink.width()) / ink.height(), 1.0, 0.15) << "round, not a bracket";
    EXPECT_GE(ink.left(), 96) << "inside the object, one inch from the page's edge";
    EXPECT_LT(ink.left(), 96 + 24);
}

// A counted Intelligent Mail barcode prints with the serial the next job would give it, and the
// proof uses no number up; a barcode that cannot be made prints nothing and the tool says why.
TEST_F(LayoutCommandTest, PrintedBarcodeTakesTheNextSerialWithoutUsingItUp)
{
    test::TTestHome home;
    data::TSettingsFile settings(home.Home().SettingsPath());
    settings.WriteString("Intelligent Mail", "NextSerial", "500");
    const auto layoutWith = [&](const QString& mailerId) {
        TDesignUnits::SetPpiOverride(96);
        TGDataPanel panel;
        auto code = std::make_unique<TGIMBarCode>();
        TImbSettings parts;
        parts.serviceType = QStringLiteral("300");
        parts.mailerId = mailerId;
        code->ConfigureDrawn(parts);
        code->SetBounds(96, 96, 282, 16);
        panel.AddObject(std::move(code));
        const QString path = mDir.filePath("IMB" + mailerId + ".L");
        TGLabelObjectFiler::SaveToFile(panel, path);
        TDesignUnits::SetPpiOverride(0);
        return path.toStdString();
    };
    const QString out = mDir.filePath("imb.qps");
    ASSERT_EQ(Run({"print", layoutWith("123456"), "--table", mTable.toStdString(), "--record", "3",
                   "--out", out.toStdString()}),
              0)
        << mErr.str();
    EXPECT_EQ(PageTexts(out).join('\n').count(QLatin1String(" fill-rect ")), 65);
    EXPECT_EQ(mOut.str().find("skipped"), std::string::npos) << mOut.str();
    EXPECT_EQ(settings.ReadString("Intelligent Mail", "NextSerial"), "500");

    // The bars are those of serial 500 for the record's ZIP code: from each bar's top and bottom
    // against the code's, full (F), ascender (A), descender (D) or tracker (T).
    std::vector<std::pair<double, double>> bars;
    for (const QString& line : PageTexts(out)) {
        if (!line.contains(QLatin1String(" fill-rect ")))
            continue;
        const QStringList numbers = line.section(QLatin1String(" fill-rect "), 1)
                                        .split(QRegularExpression("[^0-9.]+"), Qt::SkipEmptyParts);
        ASSERT_GE(numbers.size(), 4) << line.toStdString();
        bars.emplace_back(numbers[1].toDouble(), numbers[3].toDouble());
    }
    ASSERT_EQ(bars.size(), 65u);
    double top = 1e9, bottom = 0;
    for (const auto& [barTop, barBottom] : bars) {
        top = std::min(top, barTop);
        bottom = std::max(bottom, barBottom);
    }
    QString letters;
    for (const auto& [barTop, barBottom] : bars) {
        const bool up = barTop<top + 0.001, down = barBottom> bottom - 0.001;
        letters += up && down ? 'F' : up ? 'A' : down ? 'D' : 'T';
    }
    TImbBars expected;
    ASSERT_TRUE(TImbCode::Encode(QStringLiteral("00300123456000000500"), QStringLiteral("97301"),
                                 &expected));
    EXPECT_EQ(letters, TImbCode::Letters(expected));

    ASSERT_EQ(Run({"print", layoutWith("912345"), "--table", mTable.toStdString(), "--record", "3",
                   "--out", out.toStdString()}),
              0)
        << mErr.str();
    EXPECT_EQ(PageTexts(out).join('\n').count(QLatin1String(" fill-rect ")), 0);
    EXPECT_NE(mOut.str().find("1 piece skipped without a barcode: "), std::string::npos)
        << mOut.str();
    EXPECT_NE(mOut.str().find("912345"), std::string::npos) << mOut.str();
}

TEST_F(LayoutCommandTest, PrintRefusesBadArguments)
{
    const std::string out = mDir.filePath("page.qps").toStdString();
    EXPECT_EQ(Run({"print", mLayout.toStdString(), "--table", mTable.toStdString(), "--record", "4",
                   "--out", out}),
              1);
    EXPECT_NE(mErr.str().find("no record 4"), std::string::npos) << mErr.str();
    EXPECT_EQ(Run({"print", mLayout.toStdString(), "--table", mTable.toStdString(), "--record", "x",
                   "--out", out}),
              2);
    EXPECT_EQ(Run({"print", mLayout.toStdString(), "--out", out}), 2);
    const QString report = mDir.filePath("BIN00001.R");
    QFile::copy(mLayout, report);
    EXPECT_EQ(Run({"print", report.toStdString(), "--table", mTable.toStdString(), "--out", out}),
              2);
    EXPECT_NE(mErr.str().find("label (.L) or envelope (.E)"), std::string::npos);
}

TEST_F(LayoutCommandTest, PrintNeverWritesOverItsInputs)
{
    const QByteArray table = [&] {
        QFile f(mTable);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    ASSERT_FALSE(table.isEmpty());
    // The same file under another spelling still counts.
    const QString sameTable = mDir.path() + "/./" + QFileInfo(mTable).fileName();
    EXPECT_EQ(Run({"print", mLayout.toStdString(), "--table", mTable.toStdString(), "--out",
                   sameTable.toStdString()}),
              2);
    EXPECT_NE(mErr.str().find("--out names the layout or the address file"), std::string::npos)
        << mErr.str();
    EXPECT_EQ(Run({"print", mLayout.toStdString(), "--table", mTable.toStdString(), "--out",
                   mLayout.toStdString()}),
              2);
    QFile f(mTable);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), table);
    EXPECT_EQ(Run({"dump", mLayout.toStdString()}), 0) << "the layout is intact";
}

// The tool links the print jobs without the printer library: no system printers, and the PDF
// printer only describes its page, which is all a recorded page stream needs.
TEST(LayoutCommandLayering, NoPrinterBackendIsLinked)
{
    EXPECT_EQ(print::TRPDevice::Backend(), nullptr);
    qunsetenv("QUILLMARK_NO_PDF_PRINTER");
    print::TRPDevice& device = print::TRPDevice::Instance();
    device.ReloadWith({});
    EXPECT_EQ(device.PrinterNames(), QStringList{"PDF file on FILE:"});
    EXPECT_DOUBLE_EQ(device.Geometry().dpiX, print::TRPDevice::kPdfResolution);
    EXPECT_EQ(device.Printer(), nullptr);
    EXPECT_EQ(device.CheckPresence(), print::TPrinterPresence::NoDefault);
}

} // namespace
} // namespace qm::design
