// Symbol faces in page streams: the stream keeps the face and the code, and where the face is not
// installed the replay draws the pictogram of the code (and the recorder measures it), so a
// printed symbol is the intended picture rather than the letter with the same code.

#include "print/TSymbolFont.h"

#include "TPrintTestSupport.h"
#include "print/TPageRender.h"
#include "print/TPageStreamDump.h"
#include "print/TPrintText.h"
#include "print/TTextMeasure.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace qm::print {
namespace {

// Where the PNGs are kept for looking at: QM_SCREENSHOT_DIR when set, else a temporary folder.
QString OutputDir(const QTemporaryDir& temp)
{
    const QString dir = qEnvironmentVariable("QM_SCREENSHOT_DIR");
    if (dir.isEmpty())
        return temp.path();
    QDir().mkpath(dir);
    return dir;
}

// The bounding box of the dark pixels of a page image.
QRect InkBox(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                box |= QRect(x, y, 1, 1);
    return box;
}

QByteArray RecordSymbol(const QString& face, const QString& text)
{
    test::UsePdfPrinter();
    return test::Record([&](TBaseReport& report) {
        report.SetFont(face, 72);
        report.GotoXY(1, 1);
        report.TextLeft(text, 1);
    });
}

QImage RenderFirstPage(const QByteArray& stream, const QString& dir, const QString& name)
{
    const QStringList files = RenderPng(stream, QDir(dir).filePath(name + "-%d.png"), 96);
    EXPECT_EQ(files.size(), 1);
    return files.isEmpty() ? QImage() : QImage(files.first());
}

class TSymbolFontReplayTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!TSymbolFont::NeedsMapping(TSymbolFont::DefaultFace()))
            GTEST_SKIP() << "this machine has the symbol face installed";
        ASSERT_TRUE(mTemp.isValid());
    }
    QTemporaryDir mTemp;
};

TEST_F(TSymbolFontReplayTest, StreamKeepsFaceAndCodeAndTheReplayDrawsThePictogram)
{
    // Code 0x5B is the yin-yang sign: round where the bracket of the same code is tall and thin.
    const QByteArray symbol = RecordSymbol(QStringLiteral("WingDings"), QStringLiteral("["));
    const QString dump = DumpPageStream(symbol).lines.join('\n');
    EXPECT_TRUE(dump.contains("\"WingDings\"")) << dump.toStdString();
    EXPECT_TRUE(dump.contains("\"[\"")) << dump.toStdString();

    const QString dir = OutputDir(mTemp);
    const QRect pictogram =
        InkBox(RenderFirstPage(symbol, dir, QStringLiteral("symbol-font-wingdings")));
    const QRect letter =
        InkBox(RenderFirstPage(RecordSymbol(QStringLiteral("DejaVu Sans"), QStringLiteral("[")),
                               dir, QStringLiteral("symbol-font-letter")));
    ASSERT_FALSE(pictogram.isEmpty());
    ASSERT_FALSE(letter.isEmpty());
    EXPECT_GT(double(pictogram.width()) / pictogram.height(), 0.85) << "a round sign";
    EXPECT_LT(double(letter.width()) / letter.height(), 0.5) << "the bracket itself";
    // Drawn at the recorded position: one inch from the page's left edge at 96 DPI.
    EXPECT_NEAR(pictogram.left(), 96, 12);
}

TEST_F(TSymbolFontReplayTest, RecorderMeasuresThePictogramThatIsDrawn)
{
    TTextMeasure measure(300);
    TPainterFont font;
    font.heightInches = 0.5;
    font.name = QStringLiteral("DejaVu Sans");
    measure.SetFont(font);
    const double pictogram = measure.Width(QString(QChar(0x262F)));
    const double bracket = measure.Width(QStringLiteral("["));
    ASSERT_GT(pictogram, bracket * 1.5);

    font.name = QStringLiteral("WingDings");
    measure.SetFont(font);
    EXPECT_DOUBLE_EQ(measure.Width(QStringLiteral("[")), pictogram);
    EXPECT_DOUBLE_EQ(measure.Width(QByteArray("[")), measure.Width(QByteArray("[")));
    EXPECT_NEAR(measure.Width(QByteArray("[[")), 2 * pictogram, 1e-9);
}

TEST(TSymbolFontCodes, MapsEveryCodeOfAStreamTextAndPassesControlCodes)
{
    EXPECT_EQ(TSymbolFont::MapCodes(QByteArray("[")), QString(QChar(0x262F)));
    EXPECT_EQ(TSymbolFont::MapCodes(QByteArray("\x01", 1)), QString(QChar(1)));
    // The two upper halves agree with the caption mapping of the design objects.
    QByteArray all;
    for (int c = 32; c < 256; ++c)
        all.append(char(c));
    EXPECT_EQ(TSymbolFont::MapCodes(all), TSymbolFont::MapText(DecodePrintText(all)));
}

} // namespace
} // namespace qm::print
