#include "print/TPrintText.h"

#include "data/TWin1252.h"
#include "print/TSymbolFont.h"

namespace qm::print {

QByteArray EncodePrintText(const QString& text)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    char* p = out.data();
    for (const QChar ch : text) {
        if (ch.unicode() < 0x80) {
            *p++ = char(ch.unicode());
            continue;
        }
        const auto one = data::TWin1252::Encode(QString(ch));
        *p++ = one && one->size() == 1 ? one->at(0) : '?';
    }
    return out;
}

QString DecodePrintText(const QByteArray& bytes)
{
    return data::TWin1252::Decode(bytes);
}

QString DecodePrintText(const QByteArray& bytes, const QString& face)
{
    return TSymbolFont::NeedsMapping(face) ? TSymbolFont::MapCodes(bytes) : DecodePrintText(bytes);
}

} // namespace qm::print
