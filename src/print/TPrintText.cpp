#include "print/TPrintText.h"

#include "data/TWin1252.h"
#include "print/TSymbolFont.h"

namespace qm::print {

QByteArray EncodePrintText(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (QChar ch : text) {
        if (ch.unicode() < 0x80) {
            out.append(char(ch.unicode()));
            continue;
        }
        const auto one = data::TWin1252::Encode(QString(ch));
        out.append(one && one->size() == 1 ? one->at(0) : '?');
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
