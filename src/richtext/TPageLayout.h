#pragma once

// The page of a letter: paper size and the four margins, in twips (1440 per inch). A new letter
// gets US Letter with one-inch margins. A layout is usable when every value lies in its range and
// the margins leave a text area of at least one twip each way; a layout read from outside input
// that is not usable is replaced by the default page (see TRtfReader).

namespace qm::richtext {

struct TPageLayout {
    static constexpr int TwipsPerInch = 1440;
    // 22 inches: the largest paper the layout accepts, and the largest margin.
    static constexpr int MaxTwips = 31680;

    int paperWidth = 12240;
    int paperHeight = 15840;
    int marginLeft = 1440;
    int marginRight = 1440;
    int marginTop = 1440;
    int marginBottom = 1440;

    static TPageLayout Default() { return {}; }

    // Text area in twips; zero or less when the margins leave none.
    int TextWidth() const { return paperWidth - marginLeft - marginRight; }
    int TextHeight() const { return paperHeight - marginTop - marginBottom; }

    // Paper 1..MaxTwips each way, margins 0..MaxTwips, and a text area each way.
    bool IsUsable() const;

    bool operator==(const TPageLayout&) const = default;
};

} // namespace qm::richtext
