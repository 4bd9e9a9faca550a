// The sixteen sizes: list texts exactly, faces in thousandths, unknown codes.

#include "envelopes/TEnvelopeSizes.h"

#include <gtest/gtest.h>

using namespace qm::envelopes;

TEST(EnvelopeSizesTest, ListTextsAreExactBlanksIncluded)
{
    const QStringList texts = TEnvelopeSizes::ListTexts();
    ASSERT_EQ(texts.size(), 16);
    EXPECT_EQ(texts[0], "Envelope #9 3 7/8 x 8 7/8 inches");
    EXPECT_EQ(texts[6], "Envelope C5 162 x 229 mm "); // the trailing blank stays
    EXPECT_EQ(texts[7], "Envelope C4  229 x 324 mm"); // two blanks
    EXPECT_EQ(texts[12], "Envelope B6  176 x 125 mm");
    EXPECT_EQ(texts[15], "6 3/4 Envelope 3 5/8 x 6 1/2 inches");
}

TEST(EnvelopeSizesTest, FacesAreWholeThousandthsAtTwentyFiveMillimetresPerInch)
{
    EXPECT_EQ(TEnvelopeSizes::Face(20), (TEnvelopeFace{9500, 4125}));
    EXPECT_EQ(TEnvelopeSizes::Face(19), (TEnvelopeFace{8875, 3875}));
    EXPECT_EQ(TEnvelopeSizes::Face(27), (TEnvelopeFace{8800, 4400}));   // 220 x 110 mm
    EXPECT_EQ(TEnvelopeSizes::Face(31), (TEnvelopeFace{6480, 4560}));   // C6
    EXPECT_EQ(TEnvelopeSizes::Face(33), (TEnvelopeFace{14120, 10000})); // B4
    // B6's face stands upright: 5 wide, 7.04 high.
    EXPECT_EQ(TEnvelopeSizes::Face(35), (TEnvelopeFace{5000, 7040}));
    EXPECT_EQ(TEnvelopeSizes::Face(38), (TEnvelopeFace{6500, 3625}));
    EXPECT_DOUBLE_EQ(TEnvelopeSizes::Face(31)->HeightInches(), 4.56);
}

TEST(EnvelopeSizesTest, OtherCodesHaveNoFace)
{
    for (int code : {-1, 0, 1, 9, 18, 24, 25, 26, 29, 39, 32767})
        EXPECT_FALSE(TEnvelopeSizes::Face(code).has_value()) << code;
    EXPECT_EQ(TEnvelopeSizes::IndexOf(24), -1);
    EXPECT_EQ(TEnvelopeSizes::IndexOf(20), 1);
    EXPECT_EQ(TEnvelopeSizes::IndexOf(38), 15);
    EXPECT_EQ(TEnvelopeSizes::kDefaultCode, 20);
    EXPECT_EQ(TEnvelopeSizes::DefaultDescription(), "Envelope #10");
    // Every code of the list has a face, and every face is wider than 3 in.
    for (int i = 0; i < TEnvelopeSizes::kCount; ++i) {
        const TEnvelopeSize& size = TEnvelopeSizes::At(i);
        EXPECT_EQ(TEnvelopeSizes::IndexOf(size.code), i);
        EXPECT_GT(size.face.width, 3000);
        EXPECT_GT(size.face.height, 3000);
    }
}
