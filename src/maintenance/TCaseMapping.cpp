#include "maintenance/TCaseMapping.h"

#include "data/TWin1252.h"
#include "xbase/TCodePage1252.h"

namespace qm::maintenance {

using xbase::TCodePage1252;

void TCaseMapping::Apply(TCaseKind kind, char* bytes, std::size_t n)
{
    switch (kind) {
    case TCaseKind::Upper:
        TCodePage1252::Upper(bytes, bytes, n);
        return;
    case TCaseKind::Lower:
        TCodePage1252::Lower(bytes, bytes, n);
        return;
    case TCaseKind::Proper: {
        const auto& upper = TCodePage1252::UpperMap();
        const auto& lower = TCodePage1252::LowerMap();
        bool wordStart = true;
        for (std::size_t i = 0; i < n; ++i) {
            const auto c = static_cast<unsigned char>(bytes[i]);
            bytes[i] = static_cast<char>(wordStart ? upper[c] : lower[c]);
            wordStart = c == ' ';
        }
        return;
    }
    }
}

std::string TCaseMapping::Convert(TCaseKind kind, std::string_view bytes)
{
    std::string out(bytes);
    Apply(kind, out.data(), out.size());
    return out;
}

QString TCaseMapping::Convert(TCaseKind kind, const QString& text)
{
    // Each character on its own, so one the code page cannot hold stays and the rest convert.
    QString out = text;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const auto bytes = data::TWin1252::Encode(QString(out[i]));
        if (!bytes || bytes->size() != 1)
            continue;
        char c = bytes->at(0);
        const bool wordStart = i == 0 || text[i - 1] == QLatin1Char(' ');
        if (kind == TCaseKind::Upper || (kind == TCaseKind::Proper && wordStart))
            c = TCodePage1252::Upper(c);
        else
            c = TCodePage1252::Lower(c);
        out[i] = data::TWin1252::Decode(&c, 1).at(0);
    }
    return out;
}

} // namespace qm::maintenance
