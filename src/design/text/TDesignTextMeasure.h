#pragma once

// Text metrics of design objects on screen: fonts sized in design pixels (the character height
// a point size has at the PPI in force), measured without a window. Needs a QGuiApplication.

#include "design/text/TGFont.h"

#include <QFont>
#include <QString>
#include <cstdint>

namespace qm::design {

class TDesignTextMeasure {
public:
    // The object's font at a point size (already scaled), as drawn on screen: the face (symbol
    // faces that are not installed give their fallback), the style and a pixel height of
    // points x PPI / 72.
    static QFont ScreenFont(const TGFont& font, int pointSize);

    // Width of a text in design pixels.
    static std::int32_t TextWidth(const QFont& font, const QString& text);
    // Cell height (ascent + descent, internal leading included) and external leading.
    static std::int32_t CellHeight(const QFont& font);
    static std::int32_t ExternalLeading(const QFont& font);
    static std::int32_t Ascent(const QFont& font);
};

} // namespace qm::design
