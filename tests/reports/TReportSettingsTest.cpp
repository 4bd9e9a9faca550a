// Report settings: the new-report values, the four layouts and their recognition, the
// pixel/thousandths conversions, the shade colour rule, and the settings list as stored (order,
// encoding, and what a short, mistyped or out-of-range list loads as).

#include "reports/TReportSettings.h"

#include "design/stream/TLayoutError.h"
#include "design/stream/TLayoutReader.h"
#include "design/stream/TLayoutWriter.h"
#include "design/text/TDesignUnits.h"

#include <QByteArray>
#include <functional>
#include <gtest/gtest.h>

using namespace qm::reports;
using qm::design::TDesignUnits;
using qm::design::TGColor;
using qm::design::TLayoutReader;
using qm::design::TLayoutWriter;

namespace {

class ReportSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { TDesignUnits::SetPpiOverride(96); }
    void TearDown() override { TDesignUnits::SetPpiOverride(0); }

    // A settings list's values as the writer produces them, read back as a list body.
    static TReportSettings ReadList(const std::function<void(TLayoutWriter&)>& values)
    {
        QByteArray bytes;
        TLayoutWriter out(bytes);
        values(out);
        out.WriteListEnd();
        TLayoutReader in(bytes);
        TReportSettings settings = TReportSettings::Read(in);
        EXPECT_EQ(in.Remaining(), 1); // stops before the list's end for the filer to take
        return settings;
    }
    static QByteArray Written(const TReportSettings& settings)
    {
        QByteArray bytes;
        TLayoutWriter out(bytes);
        settings.Write(out);
        return bytes;
    }
};

} // namespace

TEST_F(ReportSettingsTest, NewReportIsLetterPortraitWithHalfInchMargins)
{
    const TReportSettings fresh = TReportSettings::NewReport();
    EXPECT_EQ(fresh.pageWidth, 816);
    EXPECT_EQ(fresh.pageHeight, 1056);
    EXPECT_EQ(fresh.leftMargin, 48);
    EXPECT_EQ(fresh.bottomMargin, 48);
    EXPECT_EQ(fresh.headerHeight, 33);
    EXPECT_EQ(fresh.LayoutName(), "Letter Size, Portrait");
    EXPECT_EQ(fresh.Height(TReportBand::Header), 33);
    EXPECT_EQ(fresh.Height(TReportBand::Footer), 0); // not in use
    EXPECT_EQ(fresh.Height(TReportBand::Memo), 0);
    EXPECT_EQ(QString(TReportSettings::kNewDescription), "<new report>");

    TDesignUnits::SetPpiOverride(144);
    const TReportSettings sharp = TReportSettings::NewReport();
    EXPECT_EQ(sharp.pageWidth, 1224);
    EXPECT_EQ(sharp.leftMargin, 72);
    EXPECT_EQ(sharp.headerHeight, 33); // band heights are pixels, not inches
}

TEST_F(ReportSettingsTest, LayoutsAreRecognisedWithinTwoHundredthsOfAnInch)
{
    TReportSettings settings = TReportSettings::NewReport();
    for (int ppi : {72, 96, 120, 144, 300}) {
        TDesignUnits::SetPpiOverride(ppi);
        for (const TReportLayout& layout : TReportSettings::Layouts()) {
            settings.SetLayout(layout);
            EXPECT_EQ(settings.Layout(), &layout) << layout.name << " at " << ppi;
            // One pixel off (a page stored by truncation) is still the same paper.
            settings.pageWidth -= 1;
            settings.pageHeight -= 1;
            EXPECT_EQ(settings.LayoutName(), layout.name) << ppi;
        }
    }
    TDesignUnits::SetPpiOverride(100);
    settings.pageWidth = 827 + 3; // 0.03 in too wide
    settings.pageHeight = 1168;
    EXPECT_EQ(settings.Layout(), nullptr);
    EXPECT_EQ(settings.LayoutName(), QString());
    settings.pageWidth = 829; // 0.02 in: still A4
    EXPECT_EQ(settings.LayoutName(), "A4 Size, Portrait");
    EXPECT_EQ(settings.Layout()->paper, TReportPaper::A4);
}

TEST_F(ReportSettingsTest, ConversionsRoundToNearestAndRoundTripExactly)
{
    // The 33-pixel band: 343.75 thousandths are stored as 344 and load as 33 again.
    EXPECT_EQ(TReportSettings::ToThousandths(33, 96), 344);
    EXPECT_EQ(TReportSettings::FromThousandths(344, 96), 33);
    EXPECT_EQ(TReportSettings::FromThousandths(343, 96), 33); // a value stored by truncation
    EXPECT_EQ(TReportSettings::ToThousandths(-33, 96), -344);
    EXPECT_EQ(TReportSettings::ToThousandths(48, 0), 500); // no PPI: the default one

    for (int ppi : {72, 96, 110, 120, 144, 192, 300, 600, 1000})
        for (int pixels = 0; pixels <= 4000; ++pixels)
            ASSERT_EQ(
                TReportSettings::FromThousandths(TReportSettings::ToThousandths(pixels, ppi), ppi),
                pixels)
                << pixels << " at " << ppi;

    // Stored and loaded again and again, a band keeps its height.
    TReportSettings settings = TReportSettings::NewReport();
    for (int i = 0; i < 5; ++i) {
        QByteArray bytes = Written(settings);
        bytes.append('\0');
        TLayoutReader in(bytes);
        settings = TReportSettings::Read(in);
    }
    EXPECT_EQ(settings.headerHeight, 33);
    EXPECT_EQ(settings, TReportSettings::NewReport());
}

TEST_F(ReportSettingsTest, ShadeColourRule)
{
    const TGColor colour = TGColor::Rgb(200, 100, 0);
    EXPECT_EQ(TReportSettings::ShadeColor(colour, 0), QColor(255, 255, 255));
    EXPECT_EQ(TReportSettings::ShadeColor(colour, 100), QColor(200, 100, 0));
    // c + 60 * (255 - c) / 100 with integer division: 233, 193, 153.
    EXPECT_EQ(TReportSettings::ShadeColor(colour, 40), QColor(233, 193, 153));
    EXPECT_EQ(TReportSettings::ShadeColor(colour, 250), QColor(200, 100, 0)); // limited to 100
    EXPECT_EQ(TReportSettings::ShadeColor(colour, -20), QColor(255, 255, 255));
    EXPECT_EQ(TReportSettings::ShadeColor(qm::design::kclBlack, 40), QColor(153, 153, 153));
}

TEST_F(ReportSettingsTest, WritesFiftyValuesInStreamOrder)
{
    TReportSettings settings = TReportSettings::NewReport();
    settings.useFooter = true;
    settings.memoAlignment = TMemoAlignment::Centre;
    settings.Frame(TReportBand::Footer).shadeColor = qm::design::kclAqua;
    QByteArray bytes = Written(settings);
    bytes.append('\0');
    TLayoutReader in(bytes);
    std::vector<qm::design::TLayoutValue> values;
    while (!in.AtListEnd())
        values.push_back(in.ReadValue());
    ASSERT_EQ(values.size(), 50u);
    EXPECT_EQ(values[0].integer, 8500);                        // page width in thousandths
    EXPECT_EQ(values[1].integer, 11000);                       // page height
    EXPECT_EQ(values[2].integer, 500);                         // left margin
    EXPECT_EQ(values[6].integer, 344);                         // header height
    EXPECT_EQ(values[12].tag, qm::design::TLayoutTag::vaTrue); // use footer
    EXPECT_EQ(values[13].AsString(), "Arial");                 // memo font
    EXPECT_EQ(values[17].integer, 2);                          // centred
    EXPECT_EQ(values[18].AsString(), "Arial");                 // default font
    // The footer's frame closes the list; its colour is a number even when it has a name.
    EXPECT_EQ(values[49].tag, qm::design::TLayoutTag::vaInt32);
    EXPECT_EQ(values[49].integer, 0x00FFFF00);
    EXPECT_EQ(values[47].integer, 1); // line width
}

TEST_F(ReportSettingsTest, AShortListKeepsTheNewReportValues)
{
    const TReportSettings read = ReadList([](TLayoutWriter& out) {
        out.WriteInteger(11000); // landscape Letter
        out.WriteInteger(8500);
        out.WriteInteger(1000); // left margin 1 in
    });
    TReportSettings expected = TReportSettings::NewReport();
    expected.SetLayout(TReportSettings::Layouts()[1]);
    expected.leftMargin = 96;
    EXPECT_EQ(read, expected);

    EXPECT_EQ(ReadList([](TLayoutWriter&) {}), TReportSettings::NewReport());
}

TEST_F(ReportSettingsTest, MistypedValuesAreSkippedInTheirPlace)
{
    const TReportSettings read = ReadList([](TLayoutWriter& out) {
        out.WriteString("8500"); // page width as text: skipped
        out.WriteInteger(11000);
        for (int i = 2; i < 9; ++i)
            out.WriteBoolean(true); // lengths as booleans: skipped
        out.WriteInteger(0);        // use header as a number: skipped
        out.WriteBoolean(false);    // use detail
        out.WriteBoolean(true);     // use memo
        out.WriteBoolean(true);     // use footer
        out.WriteInteger(12);       // memo font name as a number: skipped
        out.WriteString("12");      // memo size as text: skipped
        out.WriteBoolean(true);     // memo bold
        out.WriteListStart();       // memo italic as a list: skipped whole
        out.WriteInteger(1);
        out.WriteListEnd();
        out.WriteInteger(1);           // memo right aligned
        out.WriteString("  Courier "); // default font, blanks dropped
        out.WriteInteger(14);
        out.WriteBoolean(false);
        out.WriteBoolean(true);
        out.WriteBoolean(true); // header frame: left
        out.WriteBoolean(false);
        out.WriteBoolean(true);
        out.WriteBoolean(false);
        out.WriteInteger(2);
        out.WriteInteger(40);
        out.WriteIdent("clRed"); // a colour name is a colour too
        out.WriteBoolean(true);  // detail frame: left
        out.WriteBoolean(true);
        out.WriteBoolean(true);
        out.WriteBoolean(true);
        out.WriteInteger(3);
        out.WriteInteger(20);
        out.WriteIdent("clNoSuchColour"); // skipped
    });
    TReportSettings expected = TReportSettings::NewReport();
    expected.useDetail = false;
    expected.useMemo = true;
    expected.useFooter = true;
    expected.memoBold = true;
    expected.memoAlignment = TMemoAlignment::Right;
    expected.defaultFontName = "Courier";
    expected.defaultFontSize = 14;
    expected.defaultItalic = true;
    expected.frames[0] = {true, false, true, false, 2, 40, TGColor::Rgb(255, 0, 0)};
    expected.frames[1] = {true, true, true, true, 3, 20, qm::design::kclWhite};
    EXPECT_EQ(read, expected);
}

TEST_F(ReportSettingsTest, OutOfRangeValuesAreClamped)
{
    const TReportSettings read = ReadList([](TLayoutWriter& out) {
        out.WriteInteger(5000); // 5 x 5 in: no layout, so Letter upright
        out.WriteInteger(5000);
        out.WriteInteger(100);     // left margin 0.1 in
        out.WriteInteger(9000);    // top margin 9 in
        out.WriteInteger(-400);    // right
        out.WriteInteger(2500);    // bottom: the largest allowed
        out.WriteInteger(-344);    // header height
        out.WriteInteger(2000000); // detail: far beyond the page
        out.WriteInteger(1000);    // footer 1 in
        for (int i = 0; i < 4; ++i)
            out.WriteBoolean(true);
        out.WriteString("Arial");
        out.WriteInteger(0); // memo size
        out.WriteBoolean(false);
        out.WriteBoolean(false);
        out.WriteInteger(7); // alignment
        out.WriteString("");
        out.WriteInteger(100000); // default size
        out.WriteBoolean(false);
        out.WriteBoolean(false);
        for (int band = 0; band < 4; ++band) {
            for (int side = 0; side < 4; ++side)
                out.WriteBoolean(false);
            out.WriteInteger(band % 2 ? 0 : 9);    // line width
            out.WriteInteger(band % 2 ? -5 : 250); // shade
            // Not a colour for the first two bands, clBtnFace for the others.
            out.WriteInteger(band < 2 ? 0x7F000000 : TGColor::System(15).value);
        }
        out.WriteInteger(1); // values past the fiftieth are ignored
        out.WriteString("more");
    });
    EXPECT_EQ(read.LayoutName(), "Letter Size, Portrait");
    EXPECT_EQ(read.leftMargin, 48);
    EXPECT_EQ(read.topMargin, 240);
    EXPECT_EQ(read.rightMargin, 48);
    EXPECT_EQ(read.bottomMargin, 240);
    EXPECT_EQ(read.headerHeight, 0);
    EXPECT_EQ(read.detailHeight, 1056);
    EXPECT_EQ(read.footerHeight, 96);
    EXPECT_EQ(read.memoFontSize, 1);
    EXPECT_EQ(read.memoAlignment, TMemoAlignment::Centre);
    EXPECT_EQ(read.defaultFontName, "Arial"); // an empty name keeps the default
    EXPECT_EQ(read.defaultFontSize, 1638);
    EXPECT_EQ(read.frames[0].lineWidth, 3);
    EXPECT_EQ(read.frames[1].lineWidth, 1);
    EXPECT_EQ(read.frames[0].shadePercent, 100);
    EXPECT_EQ(read.frames[1].shadePercent, 0);
    EXPECT_EQ(read.frames[0].shadeColor, qm::design::kclWhite);
    EXPECT_EQ(read.frames[2].shadeColor, TGColor::System(15));

    const TReportSettings wide = ReadList([](TLayoutWriter& out) {
        out.WriteInteger(14000); // legal landscape is no layout here
        out.WriteInteger(8500);
    });
    EXPECT_EQ(wide.LayoutName(), "Letter Size, Landscape");
}

TEST_F(ReportSettingsTest, ADamagedListThrowsTheStreamError)
{
    QByteArray bytes;
    TLayoutWriter out(bytes);
    out.WriteInteger(8500);
    out.WriteByte(0x06);
    out.WriteByte(20); // a string of 20 bytes, cut short
    TLayoutReader in(bytes);
    EXPECT_THROW(TReportSettings::Read(in), qm::design::TLayoutError);
    TLayoutReader unknown(QByteArray("\x02\x05\x0E", 3)); // a collection: no design value
    EXPECT_THROW(TReportSettings::Read(unknown), qm::design::TLayoutError);
}
