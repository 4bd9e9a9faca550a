#pragma once

// The font dialog of the design objects: shows a TGFont, gives one back (its colour kept).

#include "design/text/TGFont.h"

#include <QFont>
#include <optional>

class QWidget;

namespace qm::design {

class TDesignFontDialog {
public:
    // Nothing when the user cancels.
    static std::optional<TGFont> Choose(const TGFont& font, QWidget* parent);
    // Face, point size and style of a QFont onto a TGFont (colour and pitch kept).
    static TGFont FromQFont(const QFont& qfont, const TGFont& base);
};

} // namespace qm::design
