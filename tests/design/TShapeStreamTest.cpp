// A layout stream written byte by byte from the format page (the shapes seed of the layout fuzz
// corpus) reads into the right kinds and properties, and writing the objects again gives the
// same bytes: reader and writer agree with the format, not only with each other.

#include "design/objects/TGFIMBarCode.h"
#include "design/objects/TGLabelShapes.h"
#include "design/objects/TGLineShape.h"
#include "design/objects/TGPostNetBarCode.h"
#include "design/stream/TLayoutError.h"

#include "TShapeFixture.h"

#include <QFile>

namespace qm::design {
namespace {

class TShapeStreamTest : public test::TTextObjectFixture {
protected:
    void SetUp() override
    {
        test::TTextObjectFixture::SetUp();
        TGClassRegistry::Instance().Clear();
        test::RegisterAllHosts();
    }
};

TEST_F(TShapeStreamTest, HandWrittenStreamReadsAndWritesBackByteForByte)
{
    QFile file(QStringLiteral(QM_SOURCE_DIR "/fuzz/corpus/design_layout_stream/shapes.E"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const auto read = TGLabelObjectFiler::ReadPanelBytes(bytes, mPanel.Owner(), mPanel);
    ASSERT_EQ(read.size(), 7u);

    auto* rounded = dynamic_cast<TGLabelShapes*>(read[0]);
    ASSERT_NE(rounded, nullptr);
    EXPECT_EQ(rounded->Shape(), TGShapeType::stRoundRect);
    EXPECT_EQ(rounded->RoundPerc(), 50);
    EXPECT_EQ(rounded->Pen().width, 3);
    EXPECT_EQ(rounded->Brush().color, TGColor::Rgb(255, 255, 0));
    EXPECT_TRUE(rounded->RoundedMenu());

    auto* circle = dynamic_cast<TGLabelShapes*>(read[1]);
    ASSERT_NE(circle, nullptr);
    EXPECT_TRUE(circle->Transparent());
    EXPECT_EQ(circle->Pen().color, TGColor{0x123456});
    EXPECT_EQ(circle->Pen().mode, print::TPenMode::pmXor);
    EXPECT_EQ(circle->Shape(), TGShapeType::stCircle);

    auto* vertical = dynamic_cast<TGLineShape*>(read[3]);
    ASSERT_NE(vertical, nullptr);
    EXPECT_EQ(vertical->LineStyle(), TGLineStyle::stVertical);
    EXPECT_EQ(vertical->Pen().style, print::TPenStyle::psDash);
    EXPECT_EQ(dynamic_cast<TGLineShape*>(read[4])->LineStyle(), TGLineStyle::stAngleSlopingUp);

    auto* code = dynamic_cast<TGPostNetBarCode*>(read[5]);
    ASSERT_NE(code, nullptr);
    EXPECT_EQ(code->ZipCodeField(), "ZIP");
    EXPECT_EQ(code->AddressField(), "STREET");
    auto* mark = dynamic_cast<TGFIMBarCode*>(read[6]);
    ASSERT_NE(mark, nullptr);
    EXPECT_EQ(mark->FIMType(), int(TGFIMType::fimTypeB));

    EXPECT_EQ(TGLabelObjectFiler::PanelBytes(mPanel).toHex(), bytes.toHex());
}

TEST_F(TShapeStreamTest, WrongValueTypesAreReportedWithTheProperty)
{
    // A line whose LineStyle is an unknown identifier, then a FIM mark with a string type.
    auto record = [](const char* cls, const QByteArray& prop, const QByteArray& value) {
        QByteArray r("TPF0");
        r += char(qstrlen(cls));
        r += cls;
        r += char(1);
        r += 'X';
        r += char(prop.size());
        r += prop;
        r += value;
        r += QByteArray(2, '\0');
        return r;
    };
    const QByteArray badStyle =
        QByteArray(1, '\x01') +
        record("TGLineShape", "LineStyle", QByteArray("\x07\x06stDiag", 8)) + QByteArray(1, '\0');
    try {
        TGLabelObjectFiler::ReadPanelBytes(badStyle, mPanel.Owner(), mPanel);
        FAIL() << "no error";
    } catch (const TLayoutError& e) {
        EXPECT_EQ(e.Message(), "Error reading Component0.LineStyle: Invalid property value");
    }
    const QByteArray badType = QByteArray(1, '\x01') +
                               record("TGFIMBarCode", "FIMType",
                                      QByteArray("\x06\x01"
                                                 "B",
                                                 3)) +
                               QByteArray(1, '\0');
    try {
        TGLabelObjectFiler::ReadPanelBytes(badType, mPanel.Owner(), mPanel);
        FAIL() << "no error";
    } catch (const TLayoutError& e) {
        EXPECT_TRUE(e.Message().endsWith(".FIMType: Invalid property value"))
            << e.Message().toStdString();
    }
    const QByteArray unknown = QByteArray(1, '\x01') +
                               record("TGLabelShapes", "Brush.Pattern", QByteArray("\x02\x01", 2)) +
                               QByteArray(1, '\0');
    try {
        TGLabelObjectFiler::ReadPanelBytes(unknown, mPanel.Owner(), mPanel);
        FAIL() << "no error";
    } catch (const TLayoutError& e) {
        EXPECT_TRUE(e.Message().endsWith(".Brush.Pattern: Property does not exist"))
            << e.Message().toStdString();
    }
}

} // namespace
} // namespace qm::design
