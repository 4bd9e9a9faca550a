// POSTNET digits apart from any object: which ZIP texts qualify, the delivery-point digits of
// street address lines, the digit strings of the three forms (only 5, 9 or 11 digits), the check
// digit and the bars, which zint draws the same.

#include "design/barcode/TPostNetCode.h"

#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <set>

namespace qm::design {
namespace {

using T = TPostNetType;

TEST(TPostNetCodeTest, ZipValidityIsLengthAndByteOrder)
{
    for (const char* zip : {"62704", "62704-1234", "627041234", "00000", "99999-9999", "99999"})
        EXPECT_TRUE(TPostNetCode::IsValidZip(QString::fromLatin1(zip))) << zip;
    // Too short, letters (above "9" in byte order), a leading blank (below "0"), beyond the top.
    for (const char* zip :
         {"", "6270", "1234", "ABCDE", "K1A 0B1", " 62704", "99999-99999", "99999A"})
        EXPECT_FALSE(TPostNetCode::IsValidZip(QString::fromLatin1(zip))) << zip;
    // Characters beyond Latin-1 never pass for digits.
    EXPECT_FALSE(TPostNetCode::IsValidZip(QChar(0x20AC) + QStringLiteral("2704")));
}

struct TDeliveryCase {
    const char* address;
    const char* digits;
};

TEST(TPostNetCodeTest, DeliveryPointDigitsFromTheAddressLine)
{
    const TDeliveryCase cases[] = {
        {"123 MAIN ST", "23"},           // last number before the street name
        {"4567 1/2 OAK AVE", "67"},      // a fraction is skipped
        {"PO BOX 5", "05"},              // one digit gets a leading zero
        {"12A ELM", "12"},               // a letter after the number
        {"1ST AVE", "99"},               // an ordinal never supplies digits
        {"PSC 3 BOX 1234 APO AE", "99"}, // military addresses
        {"UNIT 9 FPO AP", "99"},
        {"APT 7", "07"},
        {"", "99"},
        {"RR 2 BOX 15", "15"},
        {"10 ELM", "10"},
        {"123 main st", "23"}, // any letter case
        {"42ND STREET", "99"},
        {"5A", "05"},          // a letter right after a lone units digit gives tens 0
        {"500 3RD AVE", "00"}, // the ordinal's word is cleared by the blank before it
        {"77 1/2", "77"},      // fraction at the end: its numerator is skipped too
        {"MAIN STREET", "99"},
    };
    for (const TDeliveryCase& c : cases)
        EXPECT_EQ(TPostNetCode::DeliveryPoint(QString::fromLatin1(c.address)), c.digits)
            << c.address;
}

TEST(TPostNetCodeTest, DigitStringsOfTheThreeForms)
{
    EXPECT_EQ(TPostNetCode::Digits("62704-1234", "123 MAIN ST", T::pnbc11Digit), "62704123423");
    EXPECT_EQ(TPostNetCode::Digits("62704", "", T::pnbc5Digit), "62704");
    EXPECT_EQ(TPostNetCode::Digits("62704-1234", "123 MAIN ST", T::pnbc5Digit), "62704");
    EXPECT_EQ(TPostNetCode::Digits("62704-1234", "123 MAIN ST", T::pnbc9Digit), "627041234");
    // A 5-digit ZIP in the longer forms stays a 5-digit code: the delivery point goes only with
    // a full ZIP+4, and nothing is padded.
    EXPECT_EQ(TPostNetCode::Digits("62704", "10 ELM", T::pnbc11Digit), "62704");
    EXPECT_EQ(TPostNetCode::Digits("62704", "", T::pnbc9Digit), "62704");
    // Missing address with a ZIP+4: the delivery point is 99.
    EXPECT_EQ(TPostNetCode::Digits("62704-1234", "", T::pnbc11Digit), "62704123499");
    // An invalid ZIP gives nothing, whatever the address.
    EXPECT_EQ(TPostNetCode::Digits("1234", "123 MAIN ST", T::pnbc11Digit), "");
    EXPECT_EQ(TPostNetCode::Digits("ABCDE", "", T::pnbc5Digit), "");
}

TEST(TPostNetCodeTest, OtherDigitCountsFallBackToTheFiveDigitCode)
{
    // 6 to 8 digits (a ZIP+4 typed short), 10 or 12 and more: the first five digits only.
    for (const T type : {T::pnbc9Digit, T::pnbc11Digit}) {
        EXPECT_EQ(TPostNetCode::Digits("62704-1", "123 MAIN ST", type), "62704");
        EXPECT_EQ(TPostNetCode::Digits("62704-12", "123 MAIN ST", type), "62704");
        EXPECT_EQ(TPostNetCode::Digits("62704-123", "123 MAIN ST", type), "62704");
        EXPECT_EQ(TPostNetCode::Digits("62704-12345", "123 MAIN ST", type), "62704");
        EXPECT_EQ(TPostNetCode::Digits("62704-1234567", "", type), "62704");
    }
    // Eleven digits in the ZIP text are a full code of their own (no delivery point added).
    EXPECT_EQ(TPostNetCode::Digits("62704-1234-56", "123 MAIN ST", T::pnbc11Digit), "62704123456");
    EXPECT_EQ(TPostNetCode::Digits("62704-1234-56", "", T::pnbc9Digit), "62704123456");
    // Fewer than five digits (a letter inside the ZIP) make no code at all.
    EXPECT_EQ(TPostNetCode::Digits("6270A", "", T::pnbc5Digit), "");
    EXPECT_EQ(TPostNetCode::Digits("6270A-1234", "", T::pnbc11Digit), "62701");
    // Whatever the ZIP, the bars are one of the three lengths machines read.
    for (const char* zip : {"62704", "62704-1", "62704-12", "62704-123", "62704-1234",
                            "62704-12345", "62704-1234-5", "62704-1234-56", "62704-1234-567"})
        for (const T type : {T::pnbc5Digit, T::pnbc9Digit, T::pnbc11Digit}) {
            const std::size_t bars =
                TPostNetCode::Bars(TPostNetCode::Digits(QString::fromLatin1(zip), "10 ELM", type))
                    .size();
            EXPECT_TRUE(bars == 32 || bars == 52 || bars == 62) << zip << " " << int(type);
        }
}

// The bars zint (Debian package zint) draws for a digit string: its --dump gives the tall row
// and the baseline row as hex modules, one bar every second module.
std::vector<bool> ZintBars(const QString& zint, const QString& digits)
{
    QProcess process;
    process.start(zint, {QStringLiteral("-b"), QStringLiteral("40"), QStringLiteral("--dump"),
                         QStringLiteral("-d"), digits});
    if (!process.waitForFinished(10000))
        return {};
    const QStringList rows =
        QString::fromLatin1(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    if (rows.size() != 2)
        return {};
    const auto bits = [](const QString& row) {
        std::vector<bool> out;
        for (const QString& byte : row.split(' ', Qt::SkipEmptyParts)) {
            const int value = byte.toInt(nullptr, 16);
            for (int bit = 7; bit >= 0; --bit)
                out.push_back((value >> bit) & 1);
        }
        return out;
    };
    const std::vector<bool> tall = bits(rows[0]);
    const std::vector<bool> base = bits(rows[1]);
    std::vector<bool> bars;
    for (std::size_t m = 0; m < base.size(); m += 2)
        if (base[m])
            bars.push_back(tall[m]);
    return bars;
}

struct TZintCase {
    const char* zip;
    const char* address;
    T type;
    const char* encoded; // the digits the USPS code carries (zint adds the check digit)
};

TEST(TPostNetCodeTest, BarsMatchZintForEveryZipLength)
{
    const QString zint = QStandardPaths::findExecutable(QStringLiteral("zint"));
    if (zint.isEmpty())
        GTEST_SKIP() << "zint is not installed (scripts/setup installs it)";
    const TZintCase cases[] = {
        {"62704", "123 MAIN ST", T::pnbc5Digit, "62704"},
        {"62704", "123 MAIN ST", T::pnbc9Digit, "62704"},
        {"62704", "123 MAIN ST", T::pnbc11Digit, "62704"},
        {"627041", "123 MAIN ST", T::pnbc11Digit, "62704"},
        {"62704-12", "123 MAIN ST", T::pnbc9Digit, "62704"},
        {"62704-123", "123 MAIN ST", T::pnbc11Digit, "62704"},
        {"62704-1234", "123 MAIN ST", T::pnbc5Digit, "62704"},
        {"62704-1234", "123 MAIN ST", T::pnbc9Digit, "627041234"},
        {"62704-1234", "123 MAIN ST", T::pnbc11Digit, "62704123423"},
        {"62704-1234", "", T::pnbc11Digit, "62704123499"},
        {"62704-12345", "123 MAIN ST", T::pnbc11Digit, "62704"},
        {"62704-1234-56", "123 MAIN ST", T::pnbc9Digit, "62704123456"},
        {"62704-1234-567", "123 MAIN ST", T::pnbc11Digit, "62704"},
        {"00000", "", T::pnbc5Digit, "00000"},
        {"99999-9999", "PO BOX 5", T::pnbc11Digit, "99999999905"},
    };
    for (const TZintCase& c : cases) {
        const QString digits = TPostNetCode::Digits(QString::fromLatin1(c.zip),
                                                    QString::fromLatin1(c.address), c.type);
        EXPECT_EQ(digits, QString::fromLatin1(c.encoded)) << c.zip;
        const std::vector<bool> expected = ZintBars(zint, QString::fromLatin1(c.encoded));
        ASSERT_FALSE(expected.empty()) << "zint gave no bars for " << c.encoded;
        EXPECT_EQ(TPostNetCode::Bars(digits), expected) << c.zip << " " << int(c.type);
    }
}

TEST(TPostNetCodeTest, CheckDigitCompletesAMultipleOfTen)
{
    EXPECT_EQ(TPostNetCode::CheckDigit("62704123423"), 6); // sum 34
    EXPECT_EQ(TPostNetCode::CheckDigit("62704"), 1);       // sum 19
    EXPECT_EQ(TPostNetCode::CheckDigit("6270410"), 0);     // sum 20
    EXPECT_EQ(TPostNetCode::CheckDigit(""), 0);
}

TEST(TPostNetCodeTest, EachDigitIsTwoFullAndThreeHalfBarsAllDifferent)
{
    std::set<std::vector<bool>> seen;
    for (int d = 0; d <= 9; ++d) {
        const auto bars = TPostNetCode::DigitBars(d);
        ASSERT_EQ(bars.size(), 5u);
        EXPECT_EQ(std::count(bars.begin(), bars.end(), true), 2) << d;
        seen.insert(bars);
    }
    EXPECT_EQ(seen.size(), 10u);
    EXPECT_EQ(TPostNetCode::DigitBars(0), (std::vector<bool>{true, true, false, false, false}));
    // 7-4-2-1-0 weights: 1 = 0+1, 6 = 4+2, 9 = 7+2.
    EXPECT_EQ(TPostNetCode::DigitBars(1), (std::vector<bool>{false, false, false, true, true}));
    EXPECT_EQ(TPostNetCode::DigitBars(6), (std::vector<bool>{false, true, true, false, false}));
    EXPECT_EQ(TPostNetCode::DigitBars(9), (std::vector<bool>{true, false, true, false, false}));
    EXPECT_TRUE(TPostNetCode::DigitBars(10).empty());
}

TEST(TPostNetCodeTest, BarsAreFramedAndCarryTheCheckDigit)
{
    EXPECT_EQ(TPostNetCode::Bars("62704123423").size(), 62u);
    EXPECT_EQ(TPostNetCode::Bars("62704").size(), 32u);
    EXPECT_TRUE(TPostNetCode::Bars("").empty());

    const auto bars = TPostNetCode::Bars("62704");
    EXPECT_TRUE(bars.front());
    EXPECT_TRUE(bars.back());
    // The last digit group before the frame bar is the check digit 1.
    EXPECT_EQ(std::vector<bool>(bars.end() - 6, bars.end() - 1), TPostNetCode::DigitBars(1));
    EXPECT_EQ(std::vector<bool>(bars.begin() + 1, bars.begin() + 6), TPostNetCode::DigitBars(6));
}

} // namespace
} // namespace qm::design
