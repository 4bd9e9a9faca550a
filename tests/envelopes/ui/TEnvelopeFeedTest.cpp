// The feed picture's placement, the "Paper Feed Method" dialog and the "Envelope Print" dialog,
// driven through their controls.

#include "envelopes/ui/TEnvelopeFeed.h"
#include "envelopes/ui/TEnvelopeFeedPicture.h"
#include "envelopes/ui/TEnvelopePrePrint.h"
#include "envelopes/ui/TFeedPictureLayout.h"

#include "../../support/TScreenshot.h"
#include "../../support/TTestHome.h"
#include "print/TRPDevice.h"
#include "print/TReportPrinter.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace qm::envelopes {

namespace {

TEnvelopeFeedMethod Feed(TFeedOrientation orientation, TFeedFacing facing, TFeedPosition position,
                         bool clockwise = false)
{
    TEnvelopeFeedMethod feed;
    feed.orientation = orientation;
    feed.facing = facing;
    feed.position = position;
    feed.clockwise = clockwise;
    return feed;
}

} // namespace

TEST(TFeedPictureLayoutTest, PlacesTheEnvelopeTwoPixelsDownAndByPosition)
{
    const QSize page(80, 104);
    const QSize envelope(48, 24);
    using O = TFeedOrientation;
    using F = TFeedFacing;
    using P = TFeedPosition;
    auto place = TFeedPictureLayout::Place(page, envelope, Feed(O::Portrait, F::Up, P::Left));
    EXPECT_EQ(place.envelope, QRect(2, 2, 48, 24));
    EXPECT_EQ(place.rotation, 0);
    EXPECT_FALSE(place.back);
    place = TFeedPictureLayout::Place(page, envelope, Feed(O::Portrait, F::Down, P::Right));
    EXPECT_EQ(place.envelope, QRect(80 - 48 - 2, 2, 48, 24));
    EXPECT_TRUE(place.back);
    place = TFeedPictureLayout::Place(page, envelope, Feed(O::Portrait, F::Up, P::Centre));
    EXPECT_EQ(place.envelope.x(), 40 - 24);
    // Landscape turns the envelope; the width used for the position is the turned one.
    place = TFeedPictureLayout::Place(page, envelope, Feed(O::Landscape, F::Up, P::Right));
    EXPECT_EQ(place.envelope, QRect(80 - 24 - 2, 2, 24, 48));
    EXPECT_EQ(place.rotation, -90);
    place = TFeedPictureLayout::Place(page, envelope, Feed(O::Landscape, F::Down, P::Centre, true));
    EXPECT_EQ(place.envelope, QRect(40 - 12, 2, 24, 48));
    EXPECT_EQ(place.rotation, 90);
    EXPECT_TRUE(place.back);
}

TEST(TEnvelopeFeedTest, ShowsTheStoredValuesAndTheRotationOnlyForLandscape)
{
    TEnvelopeFeed dialog(
        Feed(TFeedOrientation::Landscape, TFeedFacing::Down, TFeedPosition::Centre, true));
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "Paper Feed Method");
    EXPECT_TRUE(dialog.CenterButton()->isChecked());
    EXPECT_TRUE(dialog.LandscapeButton()->isChecked());
    EXPECT_TRUE(dialog.DownButton()->isChecked());
    EXPECT_TRUE(dialog.ClockwiseBox()->isVisible());
    EXPECT_EQ(dialog.ClockwiseBox()->text(), "Clock&wise Rotation");
    test::SaveScreenshot(dialog, "envelope-feed");

    const QImage before = dialog.Picture()->Render();
    dialog.PortraitButton()->click();
    EXPECT_FALSE(dialog.ClockwiseBox()->isVisible());
    dialog.LeftButton()->click();
    dialog.UpButton()->click();
    EXPECT_EQ(dialog.Picture()->Feed(), dialog.Feed());
    EXPECT_NE(dialog.Picture()->Render(), before);
    dialog.LandscapeButton()->click();
    EXPECT_TRUE(dialog.ClockwiseBox()->isVisible());
    dialog.ClockwiseBox()->click();

    const TEnvelopeFeedMethod feed = dialog.Feed();
    EXPECT_EQ(feed.orientation, TFeedOrientation::Landscape);
    EXPECT_EQ(feed.facing, TFeedFacing::Up);
    EXPECT_EQ(feed.position, TFeedPosition::Left);
    EXPECT_FALSE(feed.clockwise);
    dialog.OkButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

class TEnvelopePrePrintTest : public ::testing::Test {
protected:
    TEnvelopePrePrintTest() { print::TRPDevice::Instance().Reload(); }
    ~TEnvelopePrePrintTest() override { print::TRPDevice::Instance().Reload(); }

    test::TTestHome home;
    print::TReportPrinter job;
};

TEST_F(TEnvelopePrePrintTest, ShowsThePrinterTheFeedAndTheMismatchWarning)
{
    // The built-in PDF printer: a #10 on a Letter sheet in portrait is far from the envelope.
    job.SetPaperSize(1);
    TEnvelopePrePrint::TurnJob(job, TFeedOrientation::Portrait);
    TEnvelopePrePrint dialog(
        job, Feed(TFeedOrientation::Landscape, TFeedFacing::Down, TFeedPosition::Centre), 20);
    dialog.show();
    QApplication::processEvents();
    EXPECT_EQ(dialog.windowTitle(), "Envelope Print");
    EXPECT_FALSE(dialog.PrinterLabel()->text().isEmpty());
    EXPECT_EQ(dialog.OrientationLabel()->text(), "Portrait");
    EXPECT_TRUE(dialog.WarningLabel()->isVisible());
    EXPECT_EQ(dialog.WarningLabel()->text(),
              "WARNING: Printer PAPER SIZE and ORIENTATION do not match selected Envelope.\n"
              "Use Printer Setup to correct this.");
    EXPECT_EQ(dialog.FeedLabel()->text(), "Position: Center\nOrientation : Landscape\nFacing Down");
    test::SaveScreenshot(dialog, "envelope-print");

    // The feed dialog's choice turns the job and refreshes both panels.
    dialog.OnChooseFeed = [](const TEnvelopeFeedMethod& current, QWidget*) {
        TEnvelopeFeedMethod chosen = current;
        chosen.position = TFeedPosition::Left;
        chosen.clockwise = true;
        chosen.facing = TFeedFacing::Up;
        return std::optional<TEnvelopeFeedMethod>(chosen);
    };
    dialog.FeedButton()->click();
    EXPECT_EQ(dialog.FeedLabel()->text(),
              "Position: Left\nOrientation : Landscape\nClockwise Rotation\nFacing Up");
    EXPECT_EQ(dialog.OrientationLabel()->text(), "Landscape");
    EXPECT_EQ(job.Orientation(), print::TOrientation::poLandScape);
    EXPECT_EQ(dialog.Picture()->Feed(), dialog.Feed());

    // Cancel in the feed dialog keeps the values.
    dialog.OnChooseFeed = [](const TEnvelopeFeedMethod&, QWidget*) {
        return std::optional<TEnvelopeFeedMethod>();
    };
    dialog.FeedButton()->click();
    EXPECT_EQ(dialog.Feed().position, TFeedPosition::Left);
}

TEST_F(TEnvelopePrePrintTest, NoWarningWhenThePaperIsTheEnvelope)
{
    // Envelope paper turned to landscape: 9.5 x 4.125 as the face.
    job.SetPaperSize(20);
    TEnvelopePrePrint::TurnJob(job, TFeedOrientation::Landscape);
    TEnvelopePrePrint dialog(job, TEnvelopeFeedMethod{}, 20);
    dialog.show();
    QApplication::processEvents();
    EXPECT_FALSE(dialog.WarningLabel()->isVisible());
    int setups = 0;
    dialog.OnPrinterSetup = [&setups](QWidget*) {
        ++setups;
        return true;
    };
    dialog.PrinterSetupButton()->click();
    EXPECT_EQ(setups, 1);
}

} // namespace qm::envelopes
