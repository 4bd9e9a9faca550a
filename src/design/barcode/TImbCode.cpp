#include "design/barcode/TImbCode.h"

#include "design/barcode/TPostNetCode.h"

#include <bit>

// The encoding runs in six steps, each a function below: the digits become one 102-bit number;
// an 11-bit frame check sequence is taken over its 13 bytes; the number is cut into ten codewords
// A..J by a mixed radix (A, then eight digits of base 1365, then J of base 636); J is doubled and
// the sequence's top bit lands in A; each codeword picks a 13-bit character from two generated
// tables and the sequence's ten low bits invert characters; finally each of the 65 bars takes one
// bit of one character for its descender and one bit of another for its ascender.
//
// Encode allocates nothing: the tables are built at compile time, the number lives in a 128-bit
// integer and the divisions by the constant radixes work on 32-bit limbs so that they compile to
// multiplications.

namespace qm::design {

namespace {

constexpr int kTrackingDigits = 20;
constexpr int kCodewords = 10;
constexpr int kCharacterBits = 13;
constexpr std::uint16_t kCharacterMask = (1u << kCharacterBits) - 1;
constexpr int kFiveOfThirteen = 1287; // C(13,5) characters with five bars
constexpr int kTwoOfThirteen = 78;    // C(13,2) characters with two bars
constexpr int kCodewordCount = kFiveOfThirteen + kTwoOfThirteen;
constexpr int kRadix = 1365; // codewords B..I
constexpr int kRadixJ = 636; // codeword J before doubling
constexpr int kCodewordAOffset = 659;
constexpr std::uint16_t kFcsPolynomial = 0x0F35;
constexpr std::uint16_t kFcsMask = 0x07FF;

__extension__ typedef unsigned __int128 u128; // a GCC and Clang extension

bool IsDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool AllDigits(const QString& text)
{
    for (QChar c : text)
        if (!IsDigit(c))
            return false;
    return true;
}

int DigitAt(const QString& text, qsizetype i)
{
    return text.at(i).unicode() - '0';
}

// --- Characters ------------------------------------------------------------------------------

constexpr std::uint16_t Reverse13(std::uint16_t value)
{
    std::uint16_t reversed = 0;
    for (int bit = 0; bit < kCharacterBits; ++bit)
        if (value & (1u << bit))
            reversed |= std::uint16_t(1u << (kCharacterBits - 1 - bit));
    return reversed;
}

// The characters with `bars` of 13 bits set, in the order codewords index them: from the low
// end, each character in turn followed by its mirror image (the mirror's own turn is skipped);
// characters that are their own mirror image fill the table from the high end down.
template <int Size> constexpr std::array<std::uint16_t, Size> CharacterTable(int bars)
{
    std::array<std::uint16_t, Size> table{};
    int low = 0;
    int high = Size - 1;
    for (std::uint16_t value = 0; value <= kCharacterMask; ++value) {
        if (std::popcount(value) != bars)
            continue;
        const std::uint16_t mirror = Reverse13(value);
        if (mirror < value)
            continue;
        if (mirror == value) {
            table[std::size_t(high--)] = value;
        } else {
            table[std::size_t(low++)] = value;
            table[std::size_t(low++)] = mirror;
        }
    }
    return table;
}

// Codewords 0..1286 take the five-bar characters, 1287..1364 the two-bar ones.
constexpr std::array<std::uint16_t, kCodewordCount> MakeCharacters()
{
    const auto five = CharacterTable<kFiveOfThirteen>(5);
    const auto two = CharacterTable<kTwoOfThirteen>(2);
    std::array<std::uint16_t, kCodewordCount> all{};
    for (int i = 0; i < kFiveOfThirteen; ++i)
        all[std::size_t(i)] = five[std::size_t(i)];
    for (int i = 0; i < kTwoOfThirteen; ++i)
        all[std::size_t(kFiveOfThirteen + i)] = two[std::size_t(i)];
    return all;
}

constexpr std::array<std::uint16_t, kCodewordCount> kCharacters = MakeCharacters();

// Both tables come out exactly full (the pairs from the low end meet the mirror-symmetric
// characters from the high end): every codeword has its own character with the right bar count.
constexpr bool EveryCodewordItsOwnCharacter()
{
    std::array<bool, kCharacterMask + 1> seen{};
    for (int i = 0; i < kCodewordCount; ++i) {
        const std::uint16_t c = kCharacters[std::size_t(i)];
        if (seen[c] || std::popcount(c) != (i < kFiveOfThirteen ? 5 : 2))
            return false;
        seen[c] = true;
    }
    return true;
}
static_assert(EveryCodewordItsOwnCharacter());
static_assert(kCharacters[0] == 0x001F && kCharacters[1] == 0x1F00);

// --- Bars --------------------------------------------------------------------------------------

// Which character (A..J) and bit (0..12) gives each bar its descender and which its ascender,
// bars numbered from the left.
struct TBarSource {
    char descenderCharacter;
    std::uint8_t descenderBit;
    char ascenderCharacter;
    std::uint8_t ascenderBit;
};

constexpr std::array<TBarSource, TImbCode::kBarCount> kBarSources{{
    {'H', 2, 'E', 3},  {'B', 10, 'A', 0},  {'J', 12, 'C', 8}, {'F', 5, 'G', 11}, {'I', 9, 'D', 1},
    {'A', 1, 'F', 12}, {'C', 5, 'B', 8},   {'E', 4, 'J', 11}, {'G', 3, 'I', 10}, {'D', 9, 'H', 6},
    {'F', 11, 'B', 4}, {'I', 5, 'C', 12},  {'J', 10, 'A', 2}, {'H', 1, 'G', 7},  {'D', 6, 'E', 9},
    {'A', 3, 'I', 6},  {'G', 4, 'C', 7},   {'B', 1, 'J', 9},  {'H', 10, 'F', 2}, {'E', 0, 'D', 8},
    {'G', 2, 'A', 4},  {'I', 11, 'B', 0},  {'J', 8, 'D', 12}, {'C', 6, 'H', 7},  {'F', 1, 'E', 10},
    {'B', 12, 'G', 9}, {'H', 3, 'I', 0},   {'F', 8, 'J', 7},  {'E', 6, 'C', 10}, {'D', 4, 'A', 5},
    {'I', 4, 'F', 7},  {'H', 11, 'B', 9},  {'G', 0, 'J', 6},  {'A', 6, 'E', 8},  {'C', 1, 'D', 2},
    {'F', 9, 'I', 12}, {'E', 11, 'G', 1},  {'J', 5, 'H', 4},  {'D', 3, 'B', 2},  {'A', 7, 'C', 0},
    {'B', 3, 'E', 1},  {'G', 10, 'D', 5},  {'I', 7, 'J', 4},  {'C', 11, 'F', 6}, {'A', 8, 'H', 12},
    {'E', 2, 'I', 1},  {'F', 10, 'D', 0},  {'J', 3, 'A', 9},  {'G', 5, 'C', 4},  {'H', 8, 'B', 7},
    {'F', 0, 'E', 5},  {'C', 3, 'A', 10},  {'G', 12, 'J', 2}, {'D', 11, 'B', 6}, {'I', 8, 'H', 9},
    {'F', 4, 'A', 11}, {'B', 5, 'C', 2},   {'J', 1, 'E', 12}, {'I', 3, 'G', 6},  {'H', 0, 'D', 7},
    {'E', 7, 'H', 5},  {'A', 12, 'B', 11}, {'C', 9, 'J', 0},  {'G', 8, 'F', 3},  {'D', 10, 'I', 2},
}};

// The bar for an ascender bit (2) and a descender bit (1).
constexpr std::array<TImbBar, 4> kBarOfBits{TImbBar::Tracker, TImbBar::Descender, TImbBar::Ascender,
                                            TImbBar::Full};

// Every one of the 130 character bits is used by exactly one bar end.
constexpr bool EveryBitOnce()
{
    std::array<std::uint16_t, kCodewords> used{};
    for (const TBarSource& s : kBarSources) {
        const int d = s.descenderCharacter - 'A';
        const int a = s.ascenderCharacter - 'A';
        if (d < 0 || d >= kCodewords || a < 0 || a >= kCodewords || s.descenderBit >= 13 ||
            s.ascenderBit >= 13)
            return false;
        if ((used[std::size_t(d)] & (1u << s.descenderBit)) ||
            (used[std::size_t(a)] & (1u << s.ascenderBit)))
            return false;
        used[std::size_t(d)] |= std::uint16_t(1u << s.descenderBit);
        used[std::size_t(a)] |= std::uint16_t(1u << s.ascenderBit);
    }
    for (std::uint16_t bits : used)
        if (bits != kCharacterMask)
            return false;
    return true;
}
static_assert(EveryBitOnce());

// --- Frame check sequence ---------------------------------------------------------------------

constexpr std::uint16_t FcsStep(std::uint16_t fcs, bool bit)
{
    const bool top = ((fcs >> 10) & 1u) != unsigned(bit);
    fcs = std::uint16_t(fcs << 1);
    if (top)
        fcs ^= kFcsPolynomial;
    return std::uint16_t(fcs & kFcsMask);
}

// The sequence after eight more bits, indexed by the byte XOR the sequence's top eight bits.
constexpr std::array<std::uint16_t, 256> MakeFcsTable()
{
    std::array<std::uint16_t, 256> table{};
    for (int i = 0; i < 256; ++i) {
        std::uint16_t fcs = std::uint16_t(i << 3);
        for (int bit = 0; bit < 8; ++bit)
            fcs = FcsStep(fcs, false);
        table[std::size_t(i)] = fcs;
    }
    return table;
}

constexpr std::array<std::uint16_t, 256> kFcsTable = MakeFcsTable();

int Fcs(const std::uint8_t* bytes)
{
    std::uint16_t fcs = kFcsMask;
    // The first byte's two top bits lie outside the 102-bit value and are not checked.
    for (int bit = 5; bit >= 0; --bit)
        fcs = FcsStep(fcs, (bytes[0] >> bit) & 1u);
    for (int i = 1; i < 13; ++i)
        fcs = std::uint16_t(((fcs << 8) & kFcsMask) ^ kFcsTable[((fcs >> 3) ^ bytes[i]) & 0xFF]);
    return fcs;
}

// --- Binary value and codewords ---------------------------------------------------------------

// The routing code as a number, each length offset past every shorter one so that "01234" and
// "000001234" differ.
std::uint64_t RoutingValue(const QString& routing)
{
    std::uint64_t value = 0;
    for (QChar c : routing)
        value = value * 10 + std::uint64_t(c.unicode() - '0');
    switch (routing.size()) {
    case 5:
        return value + 1;
    case 9:
        return value + 100000 + 1;
    case 11:
        return value + 1000000000 + 100000 + 1;
    default:
        return 0;
    }
}

// The second tracking digit (0..4) counts in base 5.
u128 BinaryValue(const QString& tracking, const QString& routing)
{
    u128 value = RoutingValue(routing);
    value = value * 10 + unsigned(DigitAt(tracking, 0));
    value = value * 5 + unsigned(DigitAt(tracking, 1));
    for (qsizetype i = 2; i < kTrackingDigits; ++i)
        value = value * 10 + unsigned(DigitAt(tracking, i));
    return value;
}

// The value as four 32-bit limbs, most significant first, divided in place by a constant; each
// step's 64-bit division by a constant compiles to a multiplication.
template <std::uint32_t Divisor> std::uint32_t DivideLimbs(std::array<std::uint32_t, 4>& limbs)
{
    std::uint64_t remainder = 0;
    for (std::uint32_t& limb : limbs) {
        const std::uint64_t current = (remainder << 32) | limb;
        limb = std::uint32_t(current / Divisor);
        remainder = current % Divisor;
    }
    return std::uint32_t(remainder);
}

// Codewords A..J from the value and its frame check sequence.
std::array<std::uint16_t, kCodewords> Codewords(u128 value, int fcs)
{
    std::array<std::uint32_t, 4> limbs{std::uint32_t(value >> 96), std::uint32_t(value >> 64),
                                       std::uint32_t(value >> 32), std::uint32_t(value)};
    std::array<std::uint16_t, kCodewords> codewords{};
    codewords[9] = std::uint16_t(DivideLimbs<kRadixJ>(limbs) * 2);
    for (int i = 8; i >= 1; --i)
        codewords[std::size_t(i)] = std::uint16_t(DivideLimbs<kRadix>(limbs));
    // What is left is at most 658, for the largest codes too (99999999999 and
    // 94999999999999999999).
    codewords[0] = std::uint16_t(limbs[3]);
    if (fcs & (1 << 10))
        codewords[0] = std::uint16_t(codewords[0] + kCodewordAOffset);
    return codewords;
}

// --- Checks ------------------------------------------------------------------------------------

QString Quoted(const QString& text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

bool SecondDigitAboveFour(const QString& digits)
{
    return digits.at(1) > QLatin1Char('4');
}

} // namespace

QString TImbCode::TrackingProblem(const QString& tracking)
{
    if (tracking.size() != kTrackingDigits || !AllDigits(tracking))
        return QStringLiteral("The tracking code %1 must be 20 digits").arg(Quoted(tracking));
    if (SecondDigitAboveFour(tracking))
        return QStringLiteral("The tracking code %1 has the barcode identifier %2: its second "
                              "digit must be 0 to 4")
            .arg(Quoted(tracking), Quoted(tracking.left(2)));
    return {};
}

QString TImbCode::RoutingProblem(const QString& routing)
{
    if (!AllDigits(routing))
        return QStringLiteral("The routing code %1 may hold only digits").arg(Quoted(routing));
    switch (routing.size()) {
    case 0:
    case 5:
    case 9:
    case 11:
        return {};
    default:
        return QStringLiteral("The routing code %1 must have 5, 9 or 11 digits, not %2")
            .arg(Quoted(routing))
            .arg(routing.size());
    }
}

QString TImbCode::BarcodeIdProblem(const QString& barcodeId)
{
    if (barcodeId.size() != 2 || !AllDigits(barcodeId))
        return QStringLiteral("The barcode identifier %1 must be 2 digits").arg(Quoted(barcodeId));
    if (SecondDigitAboveFour(barcodeId))
        return QStringLiteral("The barcode identifier %1 must end in a digit from 0 to 4")
            .arg(Quoted(barcodeId));
    return {};
}

QString TImbCode::ServiceTypeProblem(const QString& serviceType)
{
    if (serviceType.size() != 3 || !AllDigits(serviceType))
        return QStringLiteral("The service type %1 must be 3 digits").arg(Quoted(serviceType));
    return {};
}

QString TImbCode::MailerIdProblem(const QString& mailerId)
{
    if (!AllDigits(mailerId) || mailerId.isEmpty())
        return QStringLiteral("The mailer identifier %1 must be 6 or 9 digits")
            .arg(Quoted(mailerId));
    const bool startsWithNine = mailerId.at(0) == QLatin1Char('9');
    if (mailerId.size() == 9 && !startsWithNine)
        return QStringLiteral("The mailer identifier %1 has 9 digits but does not start with 9 "
                              "(a 9-digit identifier always does)")
            .arg(Quoted(mailerId));
    if (mailerId.size() == 6 && startsWithNine)
        return QStringLiteral("The mailer identifier %1 starts with 9, so it must have 9 digits")
            .arg(Quoted(mailerId));
    if (mailerId.size() != 6 && mailerId.size() != 9)
        return QStringLiteral("The mailer identifier %1 must be 6 or 9 digits, not %2")
            .arg(Quoted(mailerId))
            .arg(mailerId.size());
    return {};
}

int TImbCode::SerialWidth(const QString& mailerId)
{
    return mailerId.size() == 9 ? 6 : 9;
}

std::int64_t TImbCode::MaxSerial(const QString& mailerId)
{
    return SerialWidth(mailerId) == 6 ? 999999 : 999999999;
}

QString TImbCode::Tracking(const QString& barcodeId, const QString& serviceType,
                           const QString& mailerId, std::int64_t serial, QString* problem)
{
    QString why = BarcodeIdProblem(barcodeId);
    if (why.isEmpty())
        why = ServiceTypeProblem(serviceType);
    if (why.isEmpty())
        why = MailerIdProblem(mailerId);
    if (why.isEmpty() && (serial < 0 || serial > MaxSerial(mailerId)))
        why = QStringLiteral("The serial number %1 does not fit the %2 digits the mailer "
                             "identifier %3 leaves (0 to %4)")
                  .arg(serial)
                  .arg(SerialWidth(mailerId))
                  .arg(Quoted(mailerId))
                  .arg(MaxSerial(mailerId));
    if (!why.isEmpty()) {
        if (problem)
            *problem = why;
        return {};
    }
    if (problem)
        problem->clear();
    return barcodeId + serviceType + mailerId +
           QStringLiteral("%1").arg(serial, SerialWidth(mailerId), 10, QLatin1Char('0'));
}

QString TImbCode::Routing(const QString& zip, const QString& address)
{
    if (!TPostNetCode::IsValidZip(zip))
        return {};
    QString digits;
    digits.reserve(11);
    for (QChar c : zip)
        if (IsDigit(c))
            digits += c;
    if (digits.size() < 5)
        return {};
    if (digits.size() == 9)
        return digits + TPostNetCode::DeliveryPoint(address);
    // A ZIP+4 that is not complete (or carries extra digits) routes on its first five.
    digits.truncate(5);
    return digits;
}

int TImbCode::FrameCheckSequence(const std::array<std::uint8_t, 13>& bytes)
{
    return Fcs(bytes.data());
}

bool TImbCode::Encode(const QString& tracking, const QString& routing, TImbBars* bars,
                      QString* problem)
{
    QString why = TrackingProblem(tracking);
    if (why.isEmpty())
        why = RoutingProblem(routing);
    if (!why.isEmpty()) {
        if (problem)
            *problem = why;
        return false;
    }

    const u128 value = BinaryValue(tracking, routing);
    std::array<std::uint8_t, 13> bytes;
    for (int i = 0; i < 13; ++i)
        bytes[std::size_t(i)] = std::uint8_t(value >> (8 * (12 - i)));
    const int fcs = Fcs(bytes.data());

    const std::array<std::uint16_t, kCodewords> codewords = Codewords(value, fcs);
    std::array<std::uint16_t, kCodewords> characters;
    for (int i = 0; i < kCodewords; ++i) {
        std::uint16_t character = kCharacters[codewords[std::size_t(i)]];
        if (fcs & (1 << i))
            character = std::uint16_t(~character & kCharacterMask);
        characters[std::size_t(i)] = character;
    }

    if (bars) {
        // Branch-free: the two bits pick the bar from a four-entry table.
        for (int i = 0; i < kBarCount; ++i) {
            const TBarSource& s = kBarSources[std::size_t(i)];
            const unsigned descender =
                (characters[std::size_t(s.descenderCharacter - 'A')] >> s.descenderBit) & 1u;
            const unsigned ascender =
                (characters[std::size_t(s.ascenderCharacter - 'A')] >> s.ascenderBit) & 1u;
            (*bars)[std::size_t(i)] = kBarOfBits[(ascender << 1) | descender];
        }
    }
    if (problem)
        problem->clear();
    return true;
}

QString TImbCode::Letters(const TImbBars& bars)
{
    QString letters(kBarCount, Qt::Uninitialized);
    for (int i = 0; i < kBarCount; ++i)
        letters[i] = QLatin1Char(char(bars[std::size_t(i)]));
    return letters;
}

} // namespace qm::design
