// The Intelligent Mail encoder apart from any object: the published examples of every routing
// length, the frame check sequence of their binary values, the refusals of bad input with the
// value in the message, the tracking code built from its parts and the routing code of a record.

#include "design/barcode/TImbCode.h"

#include <gtest/gtest.h>

namespace qm::design {
namespace {

const QString kTracking = QStringLiteral("01234567094987654321");

QString Bars(const QString& tracking, const QString& routing)
{
    TImbBars bars{};
    QString problem;
    if (!TImbCode::Encode(tracking, routing, &bars, &problem))
        return QStringLiteral("refused: ") + problem;
    return TImbCode::Letters(bars);
}

struct TExample {
    const char* routing;
    const char* binary; // the 13 bytes, most significant first
    int fcs;
    const char* bars;
};

// The postal service's published examples: one tracking code with each routing length.
const TExample kExamples[] = {
    {"", "00000000001122103B5C2004B1", 0x051,
     "ATTFATTDTTADTAATTDTDTATTDAFDDFADFDFTFFFFFTATFAAAATDFFTDAADFTFDTDT"},
    {"01234", "0000000D138A87BAB5CF3804B1", 0x065,
     "DTTAFADDTTFTDTFTFDTDDADADAFADFATDDFTAAAFDTTADFAAATDFDTDFADDDTDFFT"},
    {"012345678", "000202BDC097711204D21804B1", 0x606,
     "ADFTTAFDTTTTFATTADTAAATFTFTATDAAAFDDADATATDTDTTDFDTDATADADTDFFTFA"},
    {"01234567891", "016907B2A24ABC16A2E5C004B1", 0x751,
     "AADTFFDFTDADTAADAATFDTDDAAADDTDTTDAFADADDDTFFFDDTTTADFAAADFTDAADA"},
};

std::array<std::uint8_t, 13> Bytes(const char* hex)
{
    const QByteArray raw = QByteArray::fromHex(hex);
    std::array<std::uint8_t, 13> bytes{};
    for (int i = 0; i < 13; ++i)
        bytes[std::size_t(i)] = std::uint8_t(raw.at(i));
    return bytes;
}

TEST(TImbCodeTest, PublishedExamplesOfEveryRoutingLength)
{
    for (const TExample& e : kExamples)
        EXPECT_EQ(Bars(kTracking, QString::fromLatin1(e.routing)), QString::fromLatin1(e.bars))
            << "routing " << e.routing;
}

TEST(TImbCodeTest, FrameCheckSequenceOfThePublishedBinaryValues)
{
    // The first and the last example leave the sequence's top bit clear and set, and together
    // the four set and clear each of its low bits that invert characters.
    for (const TExample& e : kExamples)
        EXPECT_EQ(TImbCode::FrameCheckSequence(Bytes(e.binary)), e.fcs) << e.binary;

    // Only 102 bits are checked: the first byte's two top bits never count.
    std::array<std::uint8_t, 13> bytes = Bytes(kExamples[3].binary);
    bytes[0] |= 0xC0;
    EXPECT_EQ(TImbCode::FrameCheckSequence(bytes), 0x751);
    bytes[0] ^= 0x20;
    EXPECT_NE(TImbCode::FrameCheckSequence(bytes), 0x751);
}

TEST(TImbCodeTest, RoutingLengthsNeverShareAValue)
{
    // Each length counts on from where the shorter ones end, so leading zeros keep codes apart.
    const QString none = Bars(kTracking, {});
    const QString five = Bars(kTracking, QStringLiteral("00000"));
    const QString nine = Bars(kTracking, QStringLiteral("000000000"));
    const QString eleven = Bars(kTracking, QStringLiteral("00000000000"));
    EXPECT_NE(none, five);
    EXPECT_NE(five, nine);
    EXPECT_NE(nine, eleven);
    EXPECT_NE(Bars(kTracking, QStringLiteral("99999")), nine);

    // The largest tracking and routing codes still fit the codewords.
    EXPECT_EQ(Bars(QStringLiteral("94999999999999999999"), QStringLiteral("99999999999")).size(),
              TImbCode::kBarCount);
}

TEST(TImbCodeTest, BadInputIsRefusedNamingTheValue)
{
    struct TBad {
        const char* tracking;
        const char* routing;
        const char* named; // the value the message must show
    };
    const TBad cases[] = {
        {"0123456709498765432", "", "0123456709498765432"},       // 19 digits
        {"012345670949876543210", "", "012345670949876543210"},   // 21 digits
        {"0123456709498765432X", "", "0123456709498765432X"},     // a letter
        {"05234567094987654321", "", "\"05\""},                   // barcode identifier 05
        {"01234567094987654321", "123", "\"123\""},               // routing of 3 digits
        {"01234567094987654321", "0123456789", "\"0123456789\""}, // 10 digits
        {"01234567094987654321", "01234-5678", "\"01234-5678\""}, // not only digits
    };
    for (const TBad& c : cases) {
        TImbBars bars;
        bars.fill(TImbBar::Full);
        QString problem;
        EXPECT_FALSE(TImbCode::Encode(QString::fromLatin1(c.tracking),
                                      QString::fromLatin1(c.routing), &bars, &problem))
            << c.tracking << " " << c.routing;
        EXPECT_TRUE(problem.contains(QString::fromLatin1(c.named))) << problem.toStdString();
        EXPECT_EQ(bars[0], TImbBar::Full) << "bars written for refused input";
    }
    // Full-width digits are digits to Unicode, not to the barcode.
    EXPECT_FALSE(
        TImbCode::TrackingProblem(QString(19, QLatin1Char('0')) + QChar(0xFF10)).isEmpty());
    EXPECT_TRUE(TImbCode::RoutingProblem({}).isEmpty());
    EXPECT_FALSE(TImbCode::Encode(QStringLiteral("1"), {}, nullptr));
}

TEST(TImbCodeTest, PartsAreCheckedOneByOne)
{
    EXPECT_TRUE(TImbCode::BarcodeIdProblem(QStringLiteral("04")).isEmpty());
    EXPECT_TRUE(TImbCode::BarcodeIdProblem(QStringLiteral("90")).isEmpty());
    for (const char* bad : {"05", "09", "4", "004", "A0", ""})
        EXPECT_TRUE(TImbCode::BarcodeIdProblem(QString::fromLatin1(bad))
                        .contains(QLatin1Char('"') + QString::fromLatin1(bad) + QLatin1Char('"')))
            << bad;

    EXPECT_TRUE(TImbCode::ServiceTypeProblem(QStringLiteral("700")).isEmpty());
    for (const char* bad : {"70", "7000", "7O0", ""})
        EXPECT_TRUE(TImbCode::ServiceTypeProblem(QString::fromLatin1(bad))
                        .contains(QString::fromLatin1(bad)))
            << bad;

    EXPECT_TRUE(TImbCode::MailerIdProblem(QStringLiteral("567094")).isEmpty());
    EXPECT_TRUE(TImbCode::MailerIdProblem(QStringLiteral("901234567")).isEmpty());
    // Six digits starting with 9, nine not starting with 9, other lengths, letters.
    for (const char* bad : {"901234", "123456789", "12345", "1234567", "90123456", "12345A", ""})
        EXPECT_TRUE(TImbCode::MailerIdProblem(QString::fromLatin1(bad))
                        .contains(QLatin1Char('"') + QString::fromLatin1(bad) + QLatin1Char('"')))
            << bad;

    EXPECT_EQ(TImbCode::SerialWidth(QStringLiteral("567094")), 9);
    EXPECT_EQ(TImbCode::SerialWidth(QStringLiteral("901234567")), 6);
    EXPECT_EQ(TImbCode::MaxSerial(QStringLiteral("567094")), 999999999);
    EXPECT_EQ(TImbCode::MaxSerial(QStringLiteral("901234567")), 999999);
}

TEST(TImbCodeTest, TrackingCodeFromItsParts)
{
    QString problem = QStringLiteral("stale");
    EXPECT_EQ(TImbCode::Tracking("01", "234", "567094", 987654321, &problem), kTracking);
    EXPECT_TRUE(problem.isEmpty());
    // The serial is zero-padded to the width the mailer identifier leaves.
    EXPECT_EQ(TImbCode::Tracking("00", "700", "567094", 42, &problem), "00700567094000000042");
    EXPECT_EQ(TImbCode::Tracking("00", "700", "901234567", 42, &problem), "00700901234567000042");
    EXPECT_EQ(TImbCode::Tracking("00", "700", "901234567", 999999, &problem),
              "00700901234567999999");
    EXPECT_EQ(TImbCode::Tracking("00", "700", "901234567", 0, &problem), "00700901234567000000");

    // A serial beyond its width, or negative, is refused rather than cut.
    EXPECT_TRUE(TImbCode::Tracking("00", "700", "901234567", 1000000, &problem).isEmpty());
    EXPECT_TRUE(problem.contains(QStringLiteral("1000000"))) << problem.toStdString();
    EXPECT_TRUE(TImbCode::Tracking("00", "700", "567094", 1000000000, &problem).isEmpty());
    EXPECT_TRUE(problem.contains(QStringLiteral("1000000000"))) << problem.toStdString();
    EXPECT_TRUE(TImbCode::Tracking("00", "700", "567094", -1, &problem).isEmpty());
    EXPECT_TRUE(problem.contains(QStringLiteral("-1"))) << problem.toStdString();

    // Each bad part is named.
    EXPECT_TRUE(TImbCode::Tracking("07", "700", "567094", 1, &problem).isEmpty());
    EXPECT_TRUE(problem.contains(QStringLiteral("\"07\""))) << problem.toStdString();
    EXPECT_TRUE(TImbCode::Tracking("00", "7000", "567094", 1, &problem).isEmpty());
    EXPECT_TRUE(problem.contains(QStringLiteral("\"7000\""))) << problem.toStdString();
    EXPECT_TRUE(TImbCode::Tracking("00", "700", "56709", 1, &problem).isEmpty());
    EXPECT_TRUE(problem.contains(QStringLiteral("\"56709\""))) << problem.toStdString();
    EXPECT_TRUE(TImbCode::Tracking("00", "700", "56709", 1, nullptr).isEmpty());
}

TEST(TImbCodeTest, RoutingCodeOfARecord)
{
    const QString street = QStringLiteral("123 MAIN ST");
    // Nine ZIP digits take the delivery point POSTNET takes from the address line.
    EXPECT_EQ(TImbCode::Routing("62704-1234", street), "62704123423");
    EXPECT_EQ(TImbCode::Routing("627041234", street), "62704123423");
    EXPECT_EQ(TImbCode::Routing("62704-1234", {}), "62704123499");
    EXPECT_EQ(TImbCode::Routing("62704-1234", "PSC 3 BOX 1234 APO AE"), "62704123499");
    // Five digits route on their own; an incomplete ZIP+4 on its first five.
    EXPECT_EQ(TImbCode::Routing("62704", street), "62704");
    EXPECT_EQ(TImbCode::Routing("62704-12", street), "62704");
    // Not a ZIP, or too few digits in one that sorts like a ZIP: no routing code, no barcode.
    EXPECT_EQ(TImbCode::Routing("6270", street), "");
    EXPECT_EQ(TImbCode::Routing("K1A 0B1", street), "");
    EXPECT_EQ(TImbCode::Routing("1ABCD", street), "");
    EXPECT_EQ(TImbCode::Routing({}, street), "");

    // Whatever Routing gives, Encode takes.
    for (const char* zip : {"62704-1234", "62704", "62704-12"})
        EXPECT_TRUE(TImbCode::RoutingProblem(TImbCode::Routing(zip, street)).isEmpty()) << zip;
}

} // namespace
} // namespace qm::design
