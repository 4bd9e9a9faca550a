// POSTNET objects: size, the placeholder on screen, the record texts ShowData fetches, the
// barcode printed through the page canvas (bar count, pitch, heights, baseline) and the stream.

#include "design/objects/TGPostNetBarCode.h"

#include "TShapeFixture.h"
#include "print/TBaseReport.h"

namespace qm::design {
namespace {

using print::stream::TCode;
using test::Drawings;
using test::Record;

class TGPostNetBarCodeTest : public test::TTextObjectFixture {
protected:
    void SetUp() override
    {
        test::TTextObjectFixture::SetUp();
        TGClassRegistry::Instance().Clear();
        test::RegisterAllHosts();
    }

    TGPostNetBarCode* AddCode(TPostNetType type)
    {
        auto* code = Add(std::make_unique<TGPostNetBarCode>());
        code->ConfigureDrawn();
        code->SetBarCodeType(type);
        code->SetBounds(48, 96, 270, 16);
        return code;
    }

    std::vector<test::TDrawing> PrintRecord(const QString& zip, const QString& street)
    {
        AddRecord({{"ZIP", zip}, {"STREET", street}});
        return Drawings(Record([&](print::TBaseReport& r) { PrintItem(r, 1.0, 2.0); }));
    }
};

TEST_F(TGPostNetBarCodeTest, NewObjectSizeAndTheDrawnFieldNames)
{
    TGPostNetBarCode code;
    EXPECT_EQ(code.Width(), 249); // trunc(2.6 x 96)
    EXPECT_EQ(code.Height(), 12); // trunc(0.125 x 96)
    EXPECT_EQ(code.BarCodeType(), TPostNetType::pnbc11Digit);
    EXPECT_TRUE(code.ZipCodeField().isEmpty());
    code.ConfigureDrawn();
    EXPECT_EQ(code.ZipCodeField(), "ZIP");
    EXPECT_EQ(code.AddressField(), "STREET");
}

TEST_F(TGPostNetBarCodeTest, PaintTakesThePlaceholdersSizeAtTheZoom)
{
    ASSERT_EQ(TGPostNetBarCode::ScreenImage().size(), QSize(270, 16));
    auto* code = Add(std::make_unique<TGPostNetBarCode>());
    QImage image(600, 40, QImage::Format_RGB32);
    {
        QPainter p(&image);
        code->Paint(p);
    }
    EXPECT_EQ(code->BoundsRect().size(), QSize(270, 16));
    code->SetScale(1.5f);
    {
        QPainter p(&image);
        code->Paint(p);
    }
    EXPECT_EQ(code->BoundsRect().size(), QSize(405, 24));
}

TEST_F(TGPostNetBarCodeTest, ZipPlus4WithDeliveryPointPrints62BarsOnACommonBaseline)
{
    AddCode(TPostNetType::pnbc11Digit);
    const auto d = PrintRecord("62704-1234", "123 MAIN ST");
    ASSERT_EQ(d.size(), 62u);
    const double left = 1.0 + 0.5, base = 2.0 + 1.0 + 0.125;
    const auto bars = TPostNetCode::Bars("62704123423");
    for (std::size_t i = 0; i < d.size(); ++i) {
        EXPECT_EQ(d[i].code, TCode::Rectangle);
        EXPECT_NEAR(d[i].Left(), left + 0.046 * double(i), 1e-5) << i;
        EXPECT_NEAR(d[i].Right() - d[i].Left(), 0.015, 1e-6) << i;
        EXPECT_NEAR(d[i].Bottom(), base, 1e-6) << i;
        EXPECT_NEAR(d[i].Bottom() - d[i].Top(), bars[i] ? 0.125 : 0.055, 1e-6) << i;
        EXPECT_EQ(d[i].brushColor, 0u);
        EXPECT_EQ(d[i].brushStyle, int(print::TBrushStyle::bsSolid));
    }
    // The check digit 6 is the last group before the frame bar.
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(d[56 + std::size_t(k)].Bottom() - d[56 + std::size_t(k)].Top() > 0.1,
                  TPostNetCode::DigitBars(6)[std::size_t(k)]);
    EXPECT_NEAR(d.back().Right() - d.front().Left(), 2.821, 1e-5);
}

TEST_F(TGPostNetBarCodeTest, BarCountsOfTheShorterForms)
{
    AddCode(TPostNetType::pnbc5Digit);
    EXPECT_EQ(PrintRecord("62704", "").size(), 32u);
    EXPECT_EQ(PrintRecord("62704-1234", "123 MAIN ST").size(), 32u); // only 62704 is encoded
    mPanel.ClearObjects();
    AddCode(TPostNetType::pnbc11Digit);
    // A 5-digit ZIP gets no delivery point: 32 bars, never the unreadable 42.
    EXPECT_EQ(PrintRecord("62704", "10 ELM").size(), 32u);
    mPanel.ClearObjects();
    AddCode(TPostNetType::pnbc9Digit);
    EXPECT_EQ(PrintRecord("62704-1234", "123 MAIN ST").size(), 52u);
}

TEST_F(TGPostNetBarCodeTest, InvalidZipPrintsNothingAndTheRestOfTheItemPrints)
{
    AddCode(TPostNetType::pnbc11Digit);
    for (const char* zip : {"1234", "ABCDE", "", " 62704"})
        EXPECT_TRUE(PrintRecord(QString::fromLatin1(zip), "123 MAIN ST").empty()) << zip;
}

TEST_F(TGPostNetBarCodeTest, ShowDataReadsByFieldNameAndMissingFieldsAreEmpty)
{
    auto* code = AddCode(TPostNetType::pnbc11Digit);
    AddRecord({{"ZIP", "62704-1234"}, {"STREET", "APT 7"}});
    mPanel.RefreshData();
    EXPECT_EQ(code->ZipText(), "62704-1234");
    EXPECT_EQ(code->AddressText(), "APT 7");
    EXPECT_EQ(code->Digits(), "62704123407");

    code->SetAddressField(QStringLiteral("NOSUCHFIELD"));
    mPanel.RefreshData();
    EXPECT_EQ(code->AddressText(), "");
    EXPECT_EQ(code->Digits(), "62704123499");

    code->SetZipCodeField(QString());
    mPanel.RefreshData();
    EXPECT_EQ(code->Digits(), "");
    code->ClearData(); // nothing is stored, so nothing to clear
    EXPECT_TRUE(code->ZipText().isEmpty());
}

TEST_F(TGPostNetBarCodeTest, StreamRoundTripAlwaysStoresTheType)
{
    TGPostNetBarCode plain;
    const QByteArray plainBytes = test::StreamOf(plain);
    EXPECT_TRUE(plainBytes.contains("pnbc11Digit"));
    EXPECT_FALSE(plainBytes.contains("ZipCodeField"));

    TGPostNetBarCode code;
    code.ConfigureDrawn();
    code.SetBarCodeType(TPostNetType::pnbc9Digit);
    code.SetTexts(QStringLiteral("62704"), QStringLiteral("1 ELM"));
    const QByteArray bytes = test::StreamOf(code);
    EXPECT_FALSE(bytes.contains("62704")); // record values are never stored
    auto* copy = test::ReadBack<TGPostNetBarCode>(bytes, mPanel);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->ZipCodeField(), "ZIP");
    EXPECT_EQ(copy->AddressField(), "STREET");
    EXPECT_EQ(copy->BarCodeType(), TPostNetType::pnbc9Digit);
    EXPECT_EQ(copy->BoundsRect(), code.BoundsRect());
}

} // namespace
} // namespace qm::design
