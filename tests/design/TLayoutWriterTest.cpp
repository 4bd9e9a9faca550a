#include "design/stream/TLayoutWriter.h"

#include "design/core/TGBrush.h"
#include "design/core/TGPen.h"
#include "design/stream/TGEnumNames.h"
#include "design/stream/TGPictureData.h"
#include "design/stream/TLayoutError.h"
#include "design/stream/TLayoutReader.h"
#include "design/text/TDesignUnits.h"
#include "design/text/TGFont.h"

#include <gtest/gtest.h>

namespace qm::design {
namespace {

QByteArray Value(const std::function<void(TLayoutWriter&)>& write)
{
    QByteArray bytes;
    TLayoutWriter out(bytes);
    write(out);
    return bytes;
}

QByteArray Hex(const char* hex)
{
    return QByteArray::fromHex(hex);
}

TEST(TLayoutWriter, IntegersTakeTheSmallestTag)
{
    EXPECT_EQ(Value([](auto& w) { w.WriteInteger(127); }), Hex("027F"));
    EXPECT_EQ(Value([](auto& w) { w.WriteInteger(128); }), Hex("038000"));
    EXPECT_EQ(Value([](auto& w) { w.WriteInteger(-128); }), Hex("0280"));
    EXPECT_EQ(Value([](auto& w) { w.WriteInteger(-129); }), Hex("037FFF"));
    EXPECT_EQ(Value([](auto& w) { w.WriteInteger(32767); }), Hex("03FF7F"));
    EXPECT_EQ(Value([](auto& w) { w.WriteInteger(32768); }), Hex("0400800000"));
    EXPECT_EQ(Value([](auto& w) { w.WriteInteger(-32769); }), Hex("04FF7FFFFF"));
    EXPECT_EQ(Value([](auto& w) { w.WriteInteger(-13); }), Hex("02F3"));
}

TEST(TLayoutWriter, StringsUpTo255BytesAreShortLongerOnesLong)
{
    const QByteArray s255 = Value([](auto& w) { w.WriteString(QString(255, QLatin1Char('a'))); });
    ASSERT_EQ(s255.size(), 2 + 255);
    EXPECT_EQ(std::uint8_t(s255[0]), 0x06);
    EXPECT_EQ(std::uint8_t(s255[1]), 0xFF);

    const QByteArray s256 = Value([](auto& w) { w.WriteString(QString(256, QLatin1Char('a'))); });
    ASSERT_EQ(s256.size(), 1 + 4 + 256);
    EXPECT_EQ(s256.left(5), Hex("0C00010000"));
}

TEST(TLayoutWriter, TextIsWindows1252AndUnencodableTextIsRefused)
{
    EXPECT_EQ(Value([](auto& w) { w.WriteString(QStringLiteral("caf\u00E9 \u20AC")); }),
              Hex("0606") + QByteArray("caf\xE9 \x80"));
    QByteArray bytes;
    TLayoutWriter out(bytes);
    try {
        out.PropertyString("Caption", QStringLiteral("snow \u2603"));
        FAIL() << "expected a refusal";
    } catch (const TLayoutError& e) {
        EXPECT_EQ(e.Kind(), TLayoutErrorKind::Text);
        EXPECT_TRUE(e.Message().contains(QStringLiteral("\u2603")));
    }
    EXPECT_TRUE(bytes.isEmpty()) << "nothing of the refused entry is written";
}

TEST(TLayoutWriter, EmptyStringsAndEmptyListsAreLeftOut)
{
    EXPECT_TRUE(Value([](auto& w) { w.PropertyString("Caption", QString()); }).isEmpty());
    EXPECT_TRUE(Value([](auto& w) { w.PropertyStrings("Items.Strings", {}); }).isEmpty());
    EXPECT_TRUE(Value([](auto& w) { w.PropertyBinary("Picture.Data", {}); }).isEmpty());
    EXPECT_EQ(Value([](auto& w) {
                  w.PropertyStrings("Items.Strings", {"A", ""});
              }),
              Hex("0D") + "Items.Strings" + Hex("01060141060000"));
}

TEST(TLayoutWriter, NamedColoursAreIdentifiersOthersIntegers)
{
    EXPECT_EQ(Value([](auto& w) { w.WriteColor(kclWhite); }), Hex("0707") + "clWhite");
    EXPECT_EQ(Value([](auto& w) { w.WriteColor(TGColor{0xFFFF00}); }), Hex("0706") + "clAqua");
    EXPECT_EQ(Value([](auto& w) { w.WriteColor(TGColor::System(15)); }), Hex("0709") + "clBtnFace");
    EXPECT_EQ(Value([](auto& w) { w.WriteColor(TGColor{TGColor::kNone}); }),
              Hex("0706") + "clNone");
    EXPECT_EQ(Value([](auto& w) { w.WriteColor(TGColor{0x123456}); }), Hex("0456341200"));
    // A system index past the table has no name.
    EXPECT_EQ(Value([](auto& w) { w.WriteColor(TGColor::System(25)); }), Hex("0419000080"));
}

TEST(TLayoutWriter, EveryColourNameReadsBackToItsValue)
{
    for (std::uint32_t v :
         {0x000000u, 0x000080u, 0x008000u, 0x008080u, 0x800000u, 0x800080u, 0x808000u, 0x808080u,
          0xC0C0C0u, 0x0000FFu, 0x00FF00u, 0x00FFFFu, 0xFF0000u, 0xFF00FFu, 0xFFFF00u, 0xFFFFFFu}) {
        const auto name = TGColor{std::int32_t(v)}.Name();
        ASSERT_TRUE(name.has_value()) << std::hex << v;
        EXPECT_EQ(TGColor::FromName(*name)->value, std::int32_t(v));
    }
    for (int i = 0; i < TGColor::kSystemColorCount; ++i)
        EXPECT_EQ(TGColor::FromName(*TGColor::System(i).Name()), TGColor::System(i));
    EXPECT_EQ(TGColor::System(24).Name(), QByteArray("clInfoBk"));
    EXPECT_EQ(TGColor::FromName("CLWHITE"), kclWhite) << "names match in any letter case";
    EXPECT_FALSE(TGColor::FromName("clOrange").has_value());
}

TEST(TLayoutWriter, SetMembersFollowTheTableOrder)
{
    EXPECT_EQ(Value([](auto& w) { w.PropertySet("S", kFontStyleNames, fsItalic | fsBold); }),
              Hex("0153") + Hex("0B06") + "fsBold" + Hex("08") + "fsItalic" + Hex("00"));
    EXPECT_EQ(Value([](auto& w) { w.PropertySet("S", kFontStyleNames, 0); }), Hex("01530B00"));
}

TEST(TLayoutWriter, DefaultPenAndWhiteSolidBrushStoreNothing)
{
    EXPECT_TRUE(Value([](auto& w) { TGPen().Write(w); }).isEmpty());
    EXPECT_TRUE(Value([](auto& w) { TGBrush().Write(w); }).isEmpty());

    TGPen pen;
    pen.width = 2;
    pen.style = print::TPenStyle::psDot;
    EXPECT_EQ(Value([&](auto& w) { pen.Write(w); }), Hex("09") + "Pen.Style" + Hex("0705") +
                                                         "psDot" + Hex("09") + "Pen.Width" +
                                                         Hex("0202"));
    TGBrush brush;
    brush.style = print::TBrushStyle::bsClear;
    EXPECT_EQ(Value([&](auto& w) { brush.Write(w); }),
              Hex("0B") + "Brush.Style" + Hex("0707") + "bsClear");
}

TEST(TLayoutWriter, FontGroupWritesPitchOnlyWhenNotDefault)
{
    TGFont font;
    font.SetPitch(print::TFontPitch::fpFixed);
    font.SetStyle(fsUnderline);
    const QByteArray bytes = Value([&](auto& w) { font.Write(w); });
    EXPECT_TRUE(bytes.contains("Font.Pitch\x07\x07"
                               "fpFixed"));
    EXPECT_TRUE(bytes.endsWith(QByteArray("Font.Style\x0B\x0B"
                                          "fsUnderline\x00",
                                          24)));

    // And the group reads back what it wrote.
    TGFont back;
    back.SetName(QStringLiteral("Other"));
    TLayoutReader in(bytes);
    while (!in.AtEnd()) {
        const QByteArray name = in.ReadShortString();
        ASSERT_TRUE(back.ReadMember(name.mid(5), in.ReadValue())) << name.constData();
    }
    EXPECT_EQ(back, font);
}

TEST(TGFont, TenPointsAt96PpiIsHeightMinus13)
{
    TDesignUnits::SetPpiOverride(96);
    TGFont font;
    EXPECT_EQ(font.Height(), -13);
    EXPECT_EQ(font.PointSize(), 10);
    EXPECT_EQ(font.Name(), QStringLiteral("Arial"));
    font.SetPointSize(12);
    EXPECT_EQ(font.Height(), -16);
    font.SetName(QString(40, QLatin1Char('x')));
    EXPECT_EQ(font.Name().size(), 31);
    TDesignUnits::SetPpiOverride(120);
    EXPECT_EQ(TGFont().Height(), -17);
    TDesignUnits::SetPpiOverride(0);
}

} // namespace
} // namespace qm::design

namespace qm::design {
namespace {

TEST(TGPictureData, BitmapAndMetafileFramingRoundTrips)
{
    TGPictureData bitmap{TGPictureData::TKind::Bitmap, QByteArray("BM\x06\x00\x00\x00", 6)};
    EXPECT_EQ(bitmap.Encode(), QByteArray("\x07TBitmap\x06\x00\x00\x00"
                                          "BM\x06\x00\x00\x00",
                                          18));
    EXPECT_EQ(TGPictureData::Decode(bitmap.Encode()), bitmap);

    TGPictureData metafile{TGPictureData::TKind::Metafile, QByteArray("\xD7\xCD\xC6\x9A", 4)};
    EXPECT_EQ(metafile.Encode(), QByteArray("\x09TMetafile\x08\x00\x00\x00\xD7\xCD\xC6\x9A", 18))
        << "the metafile count includes its own four bytes";
    EXPECT_EQ(TGPictureData::Decode(metafile.Encode()), metafile);
}

TEST(TGPictureData, DamagedFramingIsAnInvalidValue)
{
    for (const QByteArray& bad :
         {QByteArray("\x07TBitmap\xFF\xFF\xFF\x7F"
                     "BM",
                     14),
          QByteArray("\x07TBitmap\x02\x00\x00\x00XX", 14),
          QByteArray("\x09TMetafile\x02\x00\x00\x00", 14),
          QByteArray("\x04TIco\x00\x00\x00\x00", 9), QByteArray("\x07TBit", 5), QByteArray()}) {
        try {
            TGPictureData::Decode(bad);
            ADD_FAILURE() << bad.toHex().constData();
        } catch (const TLayoutError& e) {
            EXPECT_EQ(e.Kind(), TLayoutErrorKind::InvalidValue) << bad.toHex().constData();
        }
    }
}

} // namespace
} // namespace qm::design
