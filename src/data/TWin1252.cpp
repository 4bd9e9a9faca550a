#include "data/TWin1252.h"

#include "xbase/TCodePage1252.h"

#include <QStringDecoder>

namespace qm::data {
namespace {

std::optional<unsigned char> ByteFor(char16_t c)
{
    const int byte = xbase::TCodePage1252::ByteOf(c);
    if (byte < 0)
        return std::nullopt;
    return static_cast<unsigned char>(byte);
}

} // namespace

QString TWin1252::Decode(const char* data, qsizetype size)
{
    QString out(size, Qt::Uninitialized);
    QChar* dst = out.data();
    for (qsizetype i = 0; i < size; ++i) {
        dst[i] =
            QChar(char16_t(xbase::TCodePage1252::CodePoint(static_cast<unsigned char>(data[i]))));
    }
    return out;
}

QString TWin1252::Decode(const QByteArray& bytes)
{
    return Decode(bytes.constData(), bytes.size());
}

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

bool TWin1252::CanEncode(const QString& text, QChar* bad)
{
    return Encode(text, bad).has_value();
}

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
