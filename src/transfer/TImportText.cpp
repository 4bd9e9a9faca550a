#include "transfer/TImportText.h"

#include "data/TWin1252.h"

#include <array>

namespace qm::transfer {

namespace {

// The characters of 0x80-0x9F, from the data layer's own table.
const std::array<char16_t, 32>& Upper80()
{
    static const std::array<char16_t, 32> table = [] {
        std::array<char16_t, 32> t{};
        for (int b = 0; b < 32; ++b) {
            const char byte = static_cast<char>(0x80 + b);
            t[size_t(b)] = data::TWin1252::Decode(&byte, 1).at(0).unicode();
        }
        return t;
    }();
    return table;
}

} // namespace

int TImportText::Win1252Byte(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return int(c);
    const auto& upper = Upper80();
    for (int b = 0; b < 32; ++b)
        if (upper[size_t(b)] == c)
            return 0x80 + b;
    return -1;
}

QString TImportText::CharacterName(char32_t c)
{
    QString name = QStringLiteral("U+%1").arg(uint(c), 4, 16, QLatin1Char('0')).toUpper();
    if (c >= 0x20 && c != 0xFFFD && !(c >= 0x7F && c < 0xA0) && c <= 0x10FFFF)
        name += QStringLiteral(" (") + QString::fromUcs4(&c, 1) + QLatin1Char(')');
    return name;
}

bool TImportText::ToWin1252(std::string_view value, std::string& out, char32_t* bad) const
{
    out.clear();
    out.reserve(value.size());
    const size_t n = value.size();
    for (size_t i = 0; i < n; ++i) {
        const auto b = static_cast<unsigned char>(value[i]);
        if (b == '\r') {
            out.push_back(' ');
            if (i + 1 < n && value[i + 1] == '\n')
                ++i;
            continue;
        }
        if (b == '\n') {
            out.push_back(' ');
            continue;
        }
        if (b < 0x80 || !mUtf8) {
            out.push_back(static_cast<char>(b));
            continue;
        }
        // A UTF-8 sequence (the file was checked as a whole, but a value may still be cut).
        const int need = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : -1;
        if (need < 0 || i + size_t(need) >= n) {
            if (bad)
                *bad = 0xFFFD;
            return false;
        }
        char32_t c = need == 3 ? (b & 0x07) : need == 2 ? (b & 0x0F) : (b & 0x1F);
        for (int k = 1; k <= need; ++k) {
            const auto cb = static_cast<unsigned char>(value[i + size_t(k)]);
            if ((cb & 0xC0) != 0x80) {
                if (bad)
                    *bad = 0xFFFD;
                return false;
            }
            c = (c << 6) | (cb & 0x3F);
        }
        i += size_t(need);
        const int byte = Win1252Byte(c);
        if (byte < 0) {
            if (bad)
                *bad = c;
            return false;
        }
        out.push_back(static_cast<char>(byte));
    }
    return true;
}

QString TImportText::Display(std::string_view value) const
{
    QString text = mUtf8 ? QString::fromUtf8(value.data(), qsizetype(value.size()))
                         : data::TWin1252::Decode(value.data(), qsizetype(value.size()));
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

} // namespace qm::transfer
