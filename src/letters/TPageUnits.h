#pragma once

// The "Page Properties" dialog's values: twips shown in a unit and read back, and the check that
// refuses a page without a text area, naming the value at fault.

#include "letters/TLetterBounds.h"

#include <QString>
#include <optional>

namespace qm::letters {

enum class TPageUnit { Inch, Cm, Twips };

class TPageUnits {
public:
    static constexpr double kTwipsPerCm = 566.929;
    static constexpr int kMaxTwips = 31680; // 22 inches

    // "Inch", "Cm", "Twips"; a name that is none of them gives Inch.
    static QString Name(TPageUnit unit);
    static TPageUnit FromName(const QString& name);

    // Inches and centimetres with two decimals, twips whole.
    static QString Text(int twips, TPageUnit unit);
    // The twips of a text (value × 1440, × 566.929 or × 1, rounded); an empty text is 0; nothing
    // when the text is not a number or lies outside 0..22 inches.
    static std::optional<int> Twips(const QString& text, TPageUnit unit);

    // Empty when the page can be printed; else a message naming the value that leaves no text
    // area (or lies outside 1..31680 twips), shown in the unit.
    static QString Problem(const TLetterPageTwips& page, TPageUnit unit);
};

} // namespace qm::letters
