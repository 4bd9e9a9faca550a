#include "print/TSymbolFont.h"

#include "data/TWin1252.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QStringList>

#include <array>

namespace qm::print {

namespace {

// The pictograms for codes 32 to 255, eight to a row. Where the intended picture has no
// counterpart in the fallback face (mail boxes, folders, computers, clock faces) the nearest
// geometric sign stands in; the documentation table says which.
constexpr std::array<char32_t, 224> kPictograms = {
    0x0020, 0x270F, 0x2702, 0x2701, 0x26AF, 0x266A, 0x25A4, 0x2020, 0x260E, 0x2706, 0x2709, 0x2709,
    0x2B13, 0x2B12, 0x25E7, 0x25E8, 0x2750, 0x274F, 0x25AF, 0x25A4, 0x2751, 0x25A6, 0x22C8, 0x2328,
    0x25D2, 0x2299, 0x25AD, 0x25FC, 0x25A3, 0x25A0, 0x2707, 0x270D, 0x270D, 0x270C, 0x2689, 0x261D,
    0x261F, 0x261C, 0x261E, 0x261D, 0x261F, 0x261A, 0x263A, 0x2687, 0x2639, 0x2B24, 0x2620, 0x2690,
    0x2691, 0x2708, 0x263C, 0x25CA, 0x2744, 0x271D, 0x271E, 0x2719, 0x2720, 0x2721, 0x262A, 0x262F,
    0x262C, 0x2638, 0x2648, 0x2649, 0x264A, 0x264B, 0x264C, 0x264D, 0x264E, 0x264F, 0x2650, 0x2651,
    0x2652, 0x2653, 0x0026, 0x0026, 0x25CF, 0x274D, 0x25A0, 0x25A1, 0x25FB, 0x2751, 0x2752, 0x2666,
    0x29EB, 0x25C6, 0x2756, 0x25C6, 0x2327, 0x2303, 0x2318, 0x2740, 0x273F, 0x275D, 0x275E, 0x25AF,
    0x25CB, 0x2460, 0x2461, 0x2462, 0x2463, 0x2464, 0x2465, 0x2466, 0x2467, 0x2468, 0x2469, 0x25CF,
    0x2776, 0x2777, 0x2778, 0x2779, 0x277A, 0x277B, 0x277C, 0x277D, 0x277E, 0x277F, 0x2767, 0x2619,
    0x2619, 0x2767, 0x2766, 0x2766, 0x2767, 0x2619, 0x00B7, 0x2022, 0x25AA, 0x25CB, 0x25EF, 0x25EF,
    0x25C9, 0x25CE, 0x25CE, 0x25AA, 0x25FB, 0x25B2, 0x2726, 0x2605, 0x2736, 0x2734, 0x2739, 0x2735,
    0x2A01, 0x2295, 0x25C7, 0x2311, 0x2047, 0x272A, 0x2730, 0x25F4, 0x25F4, 0x25F5, 0x25F5, 0x25F5,
    0x25F6, 0x25F6, 0x25F6, 0x25F7, 0x25F7, 0x25F7, 0x25F4, 0x21B2, 0x21B3, 0x21B0, 0x21B1, 0x21B6,
    0x21B7, 0x21B4, 0x21B5, 0x21AB, 0x21AC, 0x21BA, 0x21BB, 0x21DC, 0x21DD, 0x21C4, 0x21C5, 0x21A9,
    0x21AA, 0x232B, 0x2326, 0x25C0, 0x25B6, 0x25B2, 0x25BC, 0x25C1, 0x25B7, 0x25B3, 0x25BD, 0x2190,
    0x2192, 0x2191, 0x2193, 0x2196, 0x2197, 0x2199, 0x2198, 0x2B05, 0x2794, 0x2B06, 0x2B07, 0x2B09,
    0x2B08, 0x2B0B, 0x2B0A, 0x21E6, 0x21E8, 0x21E7, 0x21E9, 0x2B04, 0x21F3, 0x2B00, 0x2B01, 0x2B03,
    0x2B02, 0x25AD, 0x25AB, 0x2717, 0x2713, 0x2612, 0x2611, 0x229E,
};

} // namespace

bool TSymbolFont::IsSymbolFace(const QString& face)
{
    return face.trimmed().compare(DefaultFace(), Qt::CaseInsensitive) == 0;
}

bool TSymbolFont::NeedsMapping(const QString& face)
{
    if (!IsSymbolFace(face))
        return false;
    // The font database exists only with a GUI application; without one nothing is installed
    // (and nothing is cached, so the answer is right once the application exists).
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return true;
    static const bool installed = [] {
        const QStringList families = QFontDatabase::families();
        for (const QString& family : families)
            if (IsSymbolFace(family))
                return true;
        return false;
    }();
    return !installed;
}

char32_t TSymbolFont::Pictogram(int code)
{
    if (code < 32 || code > 255)
        return char32_t(code);
    return kPictograms[std::size_t(code - 32)];
}

int TSymbolFont::CodeOf(QChar c)
{
    const std::optional<QByteArray> bytes = data::TWin1252::Encode(QString(c));
    if (!bytes || bytes->size() != 1)
        return -1;
    return static_cast<unsigned char>(bytes->at(0));
}

QString TSymbolFont::MapText(const QString& caption)
{
    QString out;
    for (const QChar c : caption) {
        const int code = CodeOf(c);
        if (code < 32) {
            out.append(c);
            continue;
        }
        const char32_t u = Pictogram(code);
        out.append(QString::fromUcs4(&u, 1));
    }
    return out;
}

QString TSymbolFont::MapCodes(const QByteArray& codes)
{
    QString out;
    out.reserve(codes.size());
    for (const char byte : codes) {
        const int code = static_cast<unsigned char>(byte);
        if (code < 32) {
            out.append(QChar(code));
            continue;
        }
        const char32_t u = Pictogram(code);
        out.append(QString::fromUcs4(&u, 1));
    }
    return out;
}

QString TSymbolFont::DisplayText(const QString& face, const QString& caption)
{
    return NeedsMapping(face) ? MapText(caption) : caption;
}

QString TSymbolFont::DisplayFace(const QString& face)
{
    return NeedsMapping(face) ? FallbackFace() : face;
}

} // namespace qm::print
