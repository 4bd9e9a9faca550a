#pragma once

// A design colour as layouts store it: a 32-bit value, 0x00BBGGRR for a plain colour,
// 0x80000000 + n for the system colour with index n (0..24), or clNone (0x1FFFFFFF).
// Colours that have a name are written to layout streams as that name (an identifier);
// the table of names is here.

#include <QByteArray>
#include <QColor>
#include <cstdint>
#include <optional>

namespace qm::design {

struct TGColor {
    std::int32_t value = 0;

    static constexpr std::int32_t kSystemBase = std::int32_t(0x80000000u);
    static constexpr std::int32_t kNone = 0x1FFFFFFF;
    static constexpr int kSystemColorCount = 25;

    static constexpr TGColor Rgb(int r, int g, int b)
    {
        return TGColor{std::int32_t((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16))};
    }
    static constexpr TGColor System(int index) { return TGColor{kSystemBase + index}; }

    bool IsSystem() const { return (std::uint32_t(value) & 0xFF000000u) == 0x80000000u; }

    // The colour's name ("clWhite", "clBtnFace", "clNone"), when it has one.
    std::optional<QByteArray> Name() const;
    // The colour of a name, in any letter case; nothing for an unknown name.
    static std::optional<TGColor> FromName(const QByteArray& name);

    // The colour to paint with: plain colours as they are, system colours from a fixed classic
    // desktop palette (so output does not depend on the desktop theme), clNone transparent.
    QColor ToQColor() const;
    static TGColor FromQColor(const QColor& color)
    {
        return Rgb(color.red(), color.green(), color.blue());
    }

    friend bool operator==(TGColor, TGColor) = default;
};

inline constexpr TGColor kclBlack = TGColor::Rgb(0, 0, 0);
inline constexpr TGColor kclWhite = TGColor::Rgb(255, 255, 255);
inline constexpr TGColor kclAqua = TGColor::Rgb(0, 255, 255);
inline constexpr TGColor kclGray = TGColor::Rgb(128, 128, 128);

} // namespace qm::design
