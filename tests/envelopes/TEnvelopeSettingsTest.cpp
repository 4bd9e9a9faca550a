// The "Envelope Feed" and "Envelope Printer" settings: reading with defaults and ranges, saving,
// the description text, and applying the printer through the " on " cut.

#include "envelopes/TEnvelopeFeedMethod.h"
#include "envelopes/TEnvelopePrinterPort.h"
#include "envelopes/TEnvelopePrinterSettings.h"
#include "envelopes/TJobPrinterPort.h"

#include "data/TSettingsFile.h"
#include "print/TRPDevice.h"
#include "print/TReportFiler.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qm::envelopes;
using qm::data::TSettingsFile;

namespace {

class EnvelopeSettingsTest : public ::testing::Test {
protected:
    void Write(const QByteArray& text)
    {
        QFile file(mSettings.Path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    QTemporaryDir mDir;
    TSettingsFile mSettings{QDir(mDir.path()).filePath("QUILLM.ini")};
};

// Records what the settings ask of the printer.
class TFakePrinter : public TEnvelopePrinterPort {
public:
    QStringList printers{"Office Laser on LPT1:", "HP DeskJet on USB001", "PDF file on FILE:"};
    int printer = 0;
    QString bin = "Automatic", paper = "Letter";
    bool landscape = false;
    QStringList calls;

    QString PrinterText() const override { return printer >= 0 ? printers[printer] : QString(); }
    QString BinText() const override { return bin; }
    QString PaperText() const override { return paper; }
    bool Landscape() const override { return landscape; }
    void SelectPrinterByName(const QString& name) override
    {
        calls << "printer:" + name;
        for (int i = 0; i < printers.size(); ++i)
            if (printers[i].contains(name, Qt::CaseInsensitive)) {
                printer = i;
                return;
            }
    }
    void SelectBinByName(const QString& name) override { calls << "bin:" + name; }
    void SelectPaperByName(const QString& name) override { calls << "paper:" + name; }
    void SetLandscape(bool on) override
    {
        calls << QString("landscape:%1").arg(on);
        landscape = on;
    }
};

} // namespace

TEST_F(EnvelopeSettingsTest, FeedDefaultsAndOutOfRangeValues)
{
    const TEnvelopeFeedMethod defaults = TEnvelopeFeedMethod::Read(mSettings);
    EXPECT_EQ(defaults.orientation, TFeedOrientation::Landscape);
    EXPECT_EQ(defaults.facing, TFeedFacing::Down);
    EXPECT_EQ(defaults.position, TFeedPosition::Centre);
    EXPECT_FALSE(defaults.clockwise);

    // Values outside their ranges, or that do not read, fall back to each key's default.
    Write("[Envelope Feed]\r\nOrientation=7\r\nFacing=-1\r\nPosition=3\r\nClockWiseRotation=1\r\n");
    TEnvelopeFeedMethod read = TEnvelopeFeedMethod::Read(mSettings);
    EXPECT_EQ(read.orientation, TFeedOrientation::Landscape);
    EXPECT_EQ(read.facing, TFeedFacing::Down);
    EXPECT_EQ(read.position, TFeedPosition::Centre);
    EXPECT_TRUE(read.clockwise);

    Write("[Envelope Feed]\r\nOrientation=0\r\nFacing=0\r\nPosition=abc\r\n");
    read = TEnvelopeFeedMethod::Read(mSettings);
    EXPECT_EQ(read.orientation, TFeedOrientation::Portrait);
    EXPECT_EQ(read.facing, TFeedFacing::Up);
    EXPECT_EQ(read.position, TFeedPosition::Centre);
}

TEST_F(EnvelopeSettingsTest, FeedIsWrittenAndReadBack)
{
    TEnvelopeFeedMethod feed;
    feed.orientation = TFeedOrientation::Portrait;
    feed.facing = TFeedFacing::Up;
    feed.position = TFeedPosition::Right;
    feed.clockwise = true;
    feed.Write(mSettings);
    EXPECT_EQ(TEnvelopeFeedMethod::Read(mSettings), feed);
    EXPECT_EQ(mSettings.ReadString("Envelope Feed", "Position"), "1");
}

TEST_F(EnvelopeSettingsTest, FeedDescriptionTexts)
{
    TEnvelopeFeedMethod feed; // landscape, down, centre
    EXPECT_EQ(feed.Description(), "Position: Center\r\nOrientation : Landscape\r\nFacing Down");
    feed.clockwise = true;
    feed.position = TFeedPosition::Left;
    EXPECT_EQ(feed.Description(),
              "Position: Left\r\nOrientation : Landscape\r\nClockwise Rotation\r\nFacing Down");
    feed.clockwise = false;
    feed.orientation = TFeedOrientation::Portrait;
    feed.facing = TFeedFacing::Up;
    feed.position = TFeedPosition::Right;
    EXPECT_EQ(feed.Description(), "Position: Right\r\nOrientation : Portrait\r\nFacing Up");
}

TEST_F(EnvelopeSettingsTest, PrinterTextIsCutBeforeOnIgnoringCase)
{
    EXPECT_EQ(TEnvelopePrinterSettings::DeviceNamePart("HP DeskJet on USB001"), "HP DeskJet");
    EXPECT_EQ(TEnvelopePrinterSettings::DeviceNamePart("HP DeskJet ON USB001"), "HP DeskJet");
    EXPECT_EQ(TEnvelopePrinterSettings::DeviceNamePart("Laser oN LPT1: on x"), "Laser");
    EXPECT_EQ(TEnvelopePrinterSettings::DeviceNamePart("Money Printer"), "Money Printer");
    EXPECT_EQ(TEnvelopePrinterSettings::DeviceNamePart("Printer onLPT1"), "Printer onLPT1");

    // The cut name selects the first printer whose list text contains it, ignoring case.
    Write("[Envelope Printer]\r\nPrinter=hp deskjet On LPT9:\r\nBin=Envelope Feeder\r\n"
          "Paper=Envelope #10\r\nOrientation=1\r\n");
    TFakePrinter printer;
    TEnvelopePrinterSettings::Read(mSettings).Apply(printer);
    EXPECT_EQ(printer.calls, (QStringList{"printer:hp deskjet", "bin:Envelope Feeder",
                                          "paper:Envelope #10", "landscape:1"}));
    EXPECT_EQ(printer.printer, 1);
}

TEST_F(EnvelopeSettingsTest, EmptyValuesChangeNothingAndUnmatchedTextSelectsNothing)
{
    TFakePrinter printer;
    TEnvelopePrinterSettings::Read(mSettings).Apply(printer);
    EXPECT_TRUE(printer.calls.isEmpty()); // no section: the printer stays as it is

    // A text naming nothing before " on " would match every printer: nothing is selected.
    TEnvelopePrinterSettings blank;
    blank.printer = " on LPT1:";
    blank.orientation = 0;
    printer.printer = 2;
    blank.Apply(printer);
    EXPECT_EQ(printer.calls, QStringList{"landscape:0"});
    EXPECT_EQ(printer.printer, 2);

    Write("[Envelope Printer]\r\nPrinter=Gone Printer on LPT1:\r\n");
    printer.calls.clear();
    TEnvelopePrinterSettings::Read(mSettings).Apply(printer);
    EXPECT_EQ(printer.printer, 2);
    EXPECT_EQ(printer.calls, QStringList{"printer:Gone Printer"});
}

TEST_F(EnvelopeSettingsTest, CaptureAndSaveWriteAllFourValues)
{
    TFakePrinter printer;
    printer.printer = 1;
    printer.landscape = true;
    printer.paper.clear(); // the printer reports no paper
    TEnvelopePrinterSettings::Capture(printer).Write(mSettings);
    EXPECT_EQ(mSettings.ReadString("Envelope Printer", "Printer"), "HP DeskJet on USB001");
    EXPECT_EQ(mSettings.ReadString("Envelope Printer", "Bin"), "Automatic");
    EXPECT_TRUE(mSettings.HasKey("Envelope Printer", "Paper"));
    EXPECT_EQ(mSettings.ReadString("Envelope Printer", "Paper"), "");
    EXPECT_EQ(mSettings.ReadInteger("Envelope Printer", "Orientation", -1), 1);
    const TEnvelopePrinterSettings back = TEnvelopePrinterSettings::Read(mSettings);
    EXPECT_EQ(back.orientation, 1);
}

TEST_F(EnvelopeSettingsTest, JobPortReachesTheProcessPrinter)
{
    using qm::print::TRPDevice;
    using qm::print::TRPDeviceItem;
    TRPDevice& device = TRPDevice::Instance();
    device.ReloadWith({TRPDeviceItem(TRPDeviceItem::TKind::System, "Office Laser", "drv", "LPT1:"),
                       TRPDeviceItem(TRPDeviceItem::TKind::System, "Envelope Jet", "drv", "USB1")});
    qm::print::TReportFiler job;
    TJobPrinterPort port(job);
    port.SelectPrinterByName("envelope JET");
    EXPECT_EQ(port.PrinterText(), "Envelope Jet on USB1");
    port.SelectPrinterByName("nothing like it");
    EXPECT_EQ(port.PrinterText(), "Envelope Jet on USB1");
    port.SetLandscape(true);
    EXPECT_TRUE(port.Landscape());
    port.SetLandscape(false);
    EXPECT_FALSE(port.Landscape());
    device.Reload();
}
