#pragma once

// Lengths in a QTextDocument's formats (indents, paragraph spacing, line heights, picture sizes)
// are reference pixels: the layout scales them by its device's resolution over the reference
// resolution (Qt's default logical DPI, 96 on most desktops). Letters keep their lengths in twips;
// every conversion between the two goes through here.

namespace qm::richtext {

class TTextUnits {
public:
    // Reference pixels per inch of the running application.
    static int ReferenceDpi();
    static double TwipsToFormat(double twips);
    // Rounded to the nearest twip.
    static int FormatToTwips(double pixels);
};

} // namespace qm::richtext
