#include "design/text/TDesignTextMeasure.h"

#include "design/text/TDesignUnits.h"
#include "design/text/TSymbolFont.h"

#include <QFontMetrics>

#include <algorithm>

namespace qm::design {

QFont TDesignTextMeasure::ScreenFont(const TGFont& font, int pointSize)
{
    QFont f = font.ToQFont(pointSize);
    f.setFamily(TSymbolFont::DisplayFace(font.Name()));
    f.setPixelSize(
        std::max(1, TDesignUnits::MulDiv(std::max(pointSize, 1), TDesignUnits::Ppi(), 72)));
    // Whole-pixel metrics, as the layout rules count in pixels.
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

std::int32_t TDesignTextMeasure::TextWidth(const QFont& font, const QString& text)
{
    return QFontMetrics(font).horizontalAdvance(text);
}

std::int32_t TDesignTextMeasure::CellHeight(const QFont& font)
{
    return QFontMetrics(font).height();
}

std::int32_t TDesignTextMeasure::ExternalLeading(const QFont& font)
{
    return std::max(0, QFontMetrics(font).leading());
}

std::int32_t TDesignTextMeasure::Ascent(const QFont& font)
{
    return QFontMetrics(font).ascent();
}

} // namespace qm::design
