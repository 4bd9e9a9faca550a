#include "design/stream/TGColor.h"

#include <array>

namespace qm::design {

namespace {

struct TNamedColor {
    const char* name;
    std::uint32_t value;
};

// Plain colours with names; values are 0x00BBGGRR.
constexpr std::array<TNamedColor, 16> kPlainColors{{
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
}};

// System colours by index, with the classic desktop colours they are painted in (0x00BBGGRR).
constexpr std::array<TNamedColor, TGColor::kSystemColorCount> kSystemColors{{
    {"clScrollBar", 0xC8C8C8},     {"clBackground", 0x808000},
    {"clActiveCaption", 0x800000}, {"clInactiveCaption", 0x808080},
    {"clMenu", 0xC0C0C0},          {"clWindow", 0xFFFFFF},
    {"clWindowFrame", 0x000000},   {"clMenuText", 0x000000},
    {"clWindowText", 0x000000},    {"clCaptionText", 0xFFFFFF},
    {"clActiveBorder", 0xC0C0C0},  {"clInactiveBorder", 0xC0C0C0},
    {"clAppWorkSpace", 0x808080},  {"clHighlight", 0x800000},
    {"clHighlightText", 0xFFFFFF}, {"clBtnFace", 0xC0C0C0},
    {"clBtnShadow", 0x808080},     {"clGrayText", 0x808080},
    {"clBtnText", 0x000000},       {"clInactiveCaptionText", 0xC0C0C0},
    {"clBtnHighlight", 0xFFFFFF},  {"cl3DDkShadow", 0x000000},
    {"cl3DLight", 0xE0E0E0},       {"clInfoText", 0x000000},
    {"clInfoBk", 0xE1FFFF},
}};

constexpr const char* kNoneName = "clNone";

QColor FromBgr(std::uint32_t bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

} // namespace

std::optional<QByteArray> TGColor::Name() const
{
    for (const TNamedColor& c : kPlainColors)
        if (std::uint32_t(value) == c.value)
            return QByteArray(c.name);
    if (IsSystem()) {
        const std::uint32_t index = std::uint32_t(value) & 0x00FFFFFFu;
        if (index < kSystemColors.size())
            return QByteArray(kSystemColors[index].name);
    }
    if (value == kNone)
        return QByteArray(kNoneName);
    return std::nullopt;
}

std::optional<TGColor> TGColor::FromName(const QByteArray& name)
{
    for (const TNamedColor& c : kPlainColors)
        if (name.compare(c.name, Qt::CaseInsensitive) == 0)
            return TGColor{std::int32_t(c.value)};
    for (std::size_t i = 0; i < kSystemColors.size(); ++i)
        if (name.compare(kSystemColors[i].name, Qt::CaseInsensitive) == 0)
            return System(int(i));
    if (name.compare(kNoneName, Qt::CaseInsensitive) == 0)
        return TGColor{kNone};
    return std::nullopt;
}

QColor TGColor::ToQColor() const
{
    if (value == kNone)
        return QColor(Qt::transparent);
    if (IsSystem()) {
        const std::uint32_t index = std::uint32_t(value) & 0x00FFFFFFu;
        return index < kSystemColors.size() ? FromBgr(kSystemColors[index].value)
                                            : QColor(Qt::black);
    }
    return FromBgr(std::uint32_t(value) & 0x00FFFFFFu);
}

} // namespace qm::design
