// Symbol pictograms: the mapping is total, distinct where it matters, drawable in the fallback
// face, leaves other faces alone, and every text object shows it, not only the symbol objects.

#include "design/text/TSymbolFont.h"

#include "design/objects/TGMultiLineLabel.h"
#include "design/objects/TGPLabel.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRawFont>

namespace qm::design {
namespace {

TEST(TSymbolFontTest, SymbolFaceIsRecognisedInAnyCase)
{
    EXPECT_TRUE(TSymbolFont::IsSymbolFace("WingDings"));
    EXPECT_TRUE(TSymbolFont::IsSymbolFace("wingdings"));
    EXPECT_FALSE(TSymbolFont::IsSymbolFace("Arial"));
    EXPECT_FALSE(TSymbolFont::NeedsMapping("Arial"));
}

TEST(TSymbolFontTest, KnownCodesGiveTheirPictograms)
{
    EXPECT_EQ(TSymbolFont::Pictogram('['), U'\u262F');  // the default symbol: yin yang
    EXPECT_EQ(TSymbolFont::Pictogram('('), U'\u260E');  // telephone
    EXPECT_EQ(TSymbolFont::Pictogram('*'), U'\u2709');  // envelope
    EXPECT_EQ(TSymbolFont::Pictogram('J'), U'\u263A');  // smiling face
    EXPECT_EQ(TSymbolFont::Pictogram(0xFC), U'\u2713'); // check mark
    EXPECT_EQ(TSymbolFont::Pictogram(' '), U' ');
    EXPECT_EQ(TSymbolFont::Pictogram(31), char32_t(31)); // outside the table: unchanged
    EXPECT_EQ(TSymbolFont::Pictogram(0x81), U'\u2460');  // circled one
    EXPECT_EQ(TSymbolFont::Pictogram(0x8A), U'\u2469');  // circled ten
}

TEST(TSymbolFontTest, TextIsMappedByWindowsCode)
{
    // U+20AC is code 0x80 in Windows-1252: it maps as that code, not as its Unicode value.
    EXPECT_EQ(TSymbolFont::MapText(QString::fromUtf8("[\u20AC")),
              QString::fromUtf8("\u262F") + QString(QChar(TSymbolFont::Pictogram(0x80))));
    EXPECT_EQ(TSymbolFont::CodeOf(QChar(0x20AC)), 0x80);
    EXPECT_EQ(TSymbolFont::CodeOf(QChar(0x4E00)), -1);
}

TEST(TSymbolFontTest, EveryPictogramIsInTheFallbackFace)
{
    if (!QFontDatabase::families().contains(TSymbolFont::FallbackFace()))
        GTEST_SKIP() << "fallback face not installed";
    QFont font(TSymbolFont::FallbackFace());
    font.setPixelSize(24);
    const QRawFont raw = QRawFont::fromFont(font);
    ASSERT_TRUE(raw.isValid());
    for (int code = 33; code <= 255; ++code)
        EXPECT_TRUE(raw.supportsCharacter(TSymbolFont::Pictogram(code))) << std::hex << code;
}

TEST(TSymbolFontTest, OtherFacesAreShownAsTheyAre)
{
    EXPECT_EQ(TSymbolFont::DisplayText("Arial", "["), "[");
    EXPECT_EQ(TSymbolFont::DisplayFace("Arial"), "Arial");
    if (TSymbolFont::NeedsMapping("WingDings")) {
        EXPECT_EQ(TSymbolFont::DisplayFace("WingDings"), TSymbolFont::FallbackFace());
        EXPECT_EQ(TSymbolFont::DisplayText("WingDings", "["), QString::fromUtf8("\u262F"));
    }
}

// A plain text object set in the symbol face shows the pictograms the symbol objects draw: its
// screen paint equals that of the pictograms themselves in the fallback face.
TEST(TSymbolFontTest, PlainTextObjectsInTheSymbolFaceShowThePictograms)
{
    if (!TSymbolFont::NeedsMapping(TSymbolFont::DefaultFace()))
        GTEST_SKIP() << "the symbol face is installed and draws its own pictures";
    const QString codes = QStringLiteral("J(*");
    const QString pictures = TSymbolFont::MapText(codes);
    auto face = [](const QString& name) {
        TGFont font;
        font.SetName(name);
        font.SetPointSize(20);
        return font;
    };
    auto painted = [](TGGraphicControl& object) {
        QImage image(object.Width(), object.Height(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        object.Paint(painter);
        return image;
    };
    auto single = [&](const QString& name, const QString& caption) {
        TGPLabel label;
        label.SetFont(face(name));
        label.SetCaption(caption);
        label.FitWidth();
        return painted(label);
    };
    auto multi = [&](const QString& name, const QString& line) {
        TGMultiLineLabel label;
        label.SetFont(face(name));
        label.SetBounds(0, 0, 60, 80);
        label.SetWordWrap(true); // wraps by the pictograms' widths
        label.ApplyLines({line});
        return painted(label);
    };
    const QImage singleShown = single(TSymbolFont::DefaultFace(), codes);
    EXPECT_EQ(singleShown, single(TSymbolFont::FallbackFace(), pictures));
    EXPECT_NE(singleShown, single(TSymbolFont::FallbackFace(), codes));
    const QImage multiShown = multi(TSymbolFont::DefaultFace(), codes);
    EXPECT_EQ(multiShown, multi(TSymbolFont::FallbackFace(), pictures));
    EXPECT_NE(multiShown, multi(TSymbolFont::FallbackFace(), codes));
}

} // namespace
} // namespace qm::design
