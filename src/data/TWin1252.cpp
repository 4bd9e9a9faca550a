#include "data/TWin1252.h"

#include "xbase/TCodePage1252.h"

#include <QStringDecoder>
#include <array>

namespace qm::data {
namespace {

// Code points of bytes 0x80..0x9F; 0 marks the five bytes the code page leaves undefined, which
// decode to the C1 control of the same number (as the platform's converter does).
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

std::optional<unsigned char> ByteFor(char16_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<unsigned char>(c);
    for (size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == c && c != 0)
            return static_cast<unsigned char>(0x80 + i);
    if (c >= 0x80 && c <= 0x9F && kHigh[c - 0x80] == 0)
        return static_cast<unsigned char>(c);
    return std::nullopt;
}

} // namespace

QString TWin1252::Decode(const char* data, qsizetype size)
{
    QString out(size, Qt::Uninitialized);
    QChar* dst = out.data();
    for (qsizetype i = 0; i < size; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        char16_t c = b;
        if (b >= 0x80 && b <= 0x9F && kHigh[b - 0x80] != 0)
            c = kHigh[b - 0x80];
        dst[i] = QChar(c);
    }
    return out;
}

QString TWin1252::Decode(const QByteArray& bytes) { return Decode(bytes.constData(), bytes.size()); }

std::optional<QByteArray> TWin1252::Encode(const QString& text, QChar* bad)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const auto byte = ByteFor(text[i].unicode());
        if (!byte) {
            if (bad)
                *bad = text[i];
            return std::nullopt;
        }
        out[i] = static_cast<char>(*byte);
    }
    return out;
}

QString TWin1252::Upper(const QString& text)
{
    QString out = text;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const auto byte = ByteFor(out[i].unicode());
        if (!byte)
            continue;
        const char upper = xbase::TCodePage1252::Upper(char(*byte));
        out[i] = Decode(&upper, 1)[0];
    }
    return out;
}

bool TWin1252::CanEncode(const QString& text, QChar* bad) { return Encode(text, bad).has_value(); }

bool TWin1252::IsValidUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString ignored = decoder(bytes);
    return !decoder.hasError();
}

QString TWin1252::DecodeTextFile(const QByteArray& bytes)
{
    if (!IsValidUtf8(bytes))
        return Decode(bytes);
    QByteArray body = bytes;
    if (body.startsWith("\xEF\xBB\xBF"))
        body.remove(0, 3);
    return QString::fromUtf8(body);
}

} // namespace qm::data
