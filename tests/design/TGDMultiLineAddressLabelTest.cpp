// The address block on a real address file: composed lines on screen and in print, the field
// name view, placeholders, and the lines never stored.

#include "design/objects/TGDMultiLineAddressLabel.h"

#include "TTextObjectFixture.h"
#include "design/objects/TGMultiLineLabel.h"
#include "design/objects/TMultiLineText.h"
#include "design/surface/TGSurfaceCommands.h"

namespace qm::design {
namespace {

using test::PrintedTexts;
using test::Record;

class TGDMultiLineAddressLabelTest : public test::TTextObjectFixture {
protected:
    void SetUp() override
    {
        TTextObjectFixture::SetUp();
        AddRecord({{"PREFIX", "Mr."},
                   {"FNAME", "John"},
                   {"MIDDLE", "Q"},
                   {"LNAME", "Jones"},
                   {"ORG", "Acme"},
                   {"STREET", "1 Main St"},
                   {"CITY", "Springfield"},
                   {"STATE", "IL"},
                   {"ZIP", "62704"}});
        mBlock = Add(std::make_unique<TGDMultiLineAddressLabel>());
        mBlock->SetBounds(10, 20, 250, 100);
    }
    TGDMultiLineAddressLabel* mBlock = nullptr;
};

TEST_F(TGDMultiLineAddressLabelTest, ComposesFromTheCurrentRecord)
{
    mPanel.RefreshData();
    EXPECT_EQ(mBlock->Items(),
              (QStringList{"Mr. John Q. Jones ", "Acme", "1 Main St", "Springfield  IL 62704"}));
    mPanel.SetDisplayDataValues(false);
    EXPECT_EQ(mBlock->Items(), QStringList{"[Address Label]"});
}

TEST_F(TGDMultiLineAddressLabelTest, PrintsOneLineBelowTheOther)
{
    const auto texts =
        PrintedTexts(Record([this](print::TBaseReport& r) { PrintItem(r, 0.5, 1); }));
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0].text, "Mr. John Q. Jones ");
    EXPECT_EQ(texts[3].text, "Springfield  IL 62704");
    EXPECT_NEAR(texts[0].x, 0.5 + 10.0 / 96, 1e-6);
    EXPECT_NEAR(texts[0].y, 1.0 + 20.0 / 96, 1.0 / 96);
    // Line pitch: the font's line height (10 point / 60 inch) in whole device pixels.
    const double pitch = std::round(10.0 / 60 * 96) / 96;
    EXPECT_NEAR(texts[1].y - texts[0].y, pitch, 1e-6);
    EXPECT_NEAR(texts[0].clip.height(), pitch, 1e-6);
}

TEST_F(TGDMultiLineAddressLabelTest, RightAndCentreAlignmentInPrint)
{
    mBlock->SetAlignment(TGAlignment::taRightJustify);
    auto texts = PrintedTexts(Record([this](print::TBaseReport& r) { PrintItem(r); }));
    ASSERT_FALSE(texts.empty());
    const double right = (10.0 + 250) / 96;
    // Right aligned lines end one design pixel (q device pixels) short of the right edge.
    for (const auto& t : texts)
        EXPECT_GT(t.x, 10.0 / 96) << t.text.toStdString();
    mBlock->SetAlignment(TGAlignment::taCenter);
    texts = PrintedTexts(Record([this](print::TBaseReport& r) { PrintItem(r); }));
    EXPECT_LT(texts[0].x, right);
}

TEST_F(TGDMultiLineAddressLabelTest, EverythingOffShowsThePlaceholderAndPrintsNothing)
{
    TAddressBlockOptions none;
    none.useName = none.useTitle = none.useCompany = none.useStreet = none.useStreet2 = false;
    none.useCityState = none.useZip = none.useCountry = none.usePhone = false;
    mBlock->SetOptions(none);
    mPanel.RefreshData();
    EXPECT_TRUE(mBlock->Items().isEmpty());
    EXPECT_EQ(TMultiLineText::PaintedLines(*mBlock), QStringList{"<blank>"});
    EXPECT_TRUE(PrintedTexts(Record([this](print::TBaseReport& r) { PrintItem(r); })).empty());
}

TEST_F(TGDMultiLineAddressLabelTest, FieldNameViewNeverReachesPaper)
{
    mPanel.SetDisplayDataValues(false);
    ASSERT_EQ(mBlock->Items(), QStringList{"[Address Label]"});
    mDataSet.Close(); // nothing refreshes the block while printing
    EXPECT_TRUE(PrintedTexts(Record([this](print::TBaseReport& r) { PrintItem(r); })).empty());
    EXPECT_EQ(mBlock->Items(), QStringList{"[Address Label]"});
}

TEST_F(TGDMultiLineAddressLabelTest, WrappedLinesFollowTheWidthTheFontAndTheZoom)
{
    mBlock->SetWordWrap(true);
    mBlock->SetWidth(70);
    mPanel.RefreshData();
    ASSERT_GT(mBlock->ShownLines().size(), mBlock->Items().size());
    mBlock->SetWidth(300);
    EXPECT_EQ(mBlock->ShownLines(), mBlock->Items());

    auto linesFit = [this](const char* when) {
        const QFontMetrics metrics(TMultiLineText::ScreenFont(*mBlock));
        for (const QString& line : mBlock->ShownLines())
            EXPECT_LE(metrics.horizontalAdvance(line), mBlock->Width())
                << when << ": " << line.toStdString();
    };
    mPanel.Select(mBlock);
    TGFont big = mBlock->Font();
    big.SetPointSize(36);
    TGSurfaceCommands::ApplyFontToSelection(mPanel, big);
    EXPECT_GT(mBlock->ShownLines().size(), mBlock->Items().size());
    linesFit("font");
    mPanel.SetScale(0.5f);
    linesFit("zoom 50 %");
    mPanel.SetScale(2.0f);
    linesFit("zoom 200 %");
}

// A block drawn for fewer lines than a record has still prints them all: on paper it may grow
// down to its face's bottom edge (a label, an envelope, a report band), and only lines that
// start below that edge are left out.
TEST_F(TGDMultiLineAddressLabelTest, ABlockPrintsDownToItsFacesBottomEdge)
{
    const double pitchPixels = std::round(10.0 / 60 * 96); // 16
    mBlock->SetHeight(20); // drawn for one line and the start of the second
    auto texts = PrintedTexts(Record([this](print::TBaseReport& r) { PrintItem(r); }));
    ASSERT_EQ(texts.size(), 4u) << "the face is 200 high";
    EXPECT_EQ(texts.back().text, "Springfield  IL 62704");
    for (const auto& line : texts)
        EXPECT_NEAR(line.clip.height(), pitchPixels / 96, 1e-6)
            << "a whole line each, descenders too";

    // A face 40 high (the block's top at 20): the second line starts at 36 and is cut at 40.
    mPanel.SetSize(400, 40);
    texts = PrintedTexts(Record([this](print::TBaseReport& r) { PrintItem(r); }));
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_NEAR(texts.back().clip.bottom(), 40.0 / 96, 1.0 / 96);

    // A block reaching past the face keeps its own bottom, as drawn.
    mBlock->SetHeight(200);
    EXPECT_EQ(PrintedTexts(Record([this](print::TBaseReport& r) { PrintItem(r); })).size(), 4u);
}

// Other multi-line text keeps to its own rectangle: a memo prints only the lines that start
// inside the object.
TEST_F(TGDMultiLineAddressLabelTest, FixedTextDoesNotGrowPastItsObject)
{
    auto* text = Add(std::make_unique<TGMultiLineLabel>());
    text->SetBounds(10, 150, 250, 20);
    text->ApplyLines({"one", "two", "three", "four"});
    mBlock->SetHeight(0); // prints nothing of its own
    mBlock->SetWidth(0);
    const auto texts =
        PrintedTexts(Record([text](print::TBaseReport& r) { text->PrintObject(r, 0, 0); }));
    const double pitchPixels = std::round(10.0 / 60 * 96);
    EXPECT_EQ(int(texts.size()), int(std::ceil(20 / pitchPixels)));
    EXPECT_NEAR(texts.back().clip.bottom(), 170.0 / 96, 1.0 / 96);
}

TEST_F(TGDMultiLineAddressLabelTest, OptionsCommandRefreshesThePanel)
{
    bool changed = false;
    mPanel.OnLabelChanged = [&] { changed = true; };
    TAddressBlockOptions o = mBlock->Options();
    o.upperCase = true;
    mBlock->ApplyOptions(o);
    EXPECT_TRUE(changed);
    EXPECT_EQ(mBlock->Items().first(), "MR. JOHN Q. JONES ");
    mBlock->ClearData();
    EXPECT_TRUE(mBlock->Items().isEmpty());
}

} // namespace
} // namespace qm::design
