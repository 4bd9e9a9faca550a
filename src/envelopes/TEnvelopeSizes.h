#pragma once

// The sixteen envelope sizes a layout can have. A layout row stores the size's code, which is
// also the printer paper code the envelope is printed on. The face is the envelope as designed:
// width the long side, height the short one (B6 excepted, whose face stands upright), both in
// whole thousandths of an inch, so that every comparison made on them is exact. The millimetre
// sizes are converted at 25 mm per inch, as the stored layouts were measured on these faces
// (docs/design/envelopes.md).

#include <QString>
#include <QStringList>
#include <optional>

namespace qm::envelopes {

struct TEnvelopeFace {
    int width = 0;  // thousandths of an inch
    int height = 0; // thousandths of an inch

    double WidthInches() const { return width / 1000.0; }
    double HeightInches() const { return height / 1000.0; }
    friend bool operator==(const TEnvelopeFace&, const TEnvelopeFace&) = default;
};

struct TEnvelopeSize {
    const char* text; // the list text, exactly as the size list shows it
    int code;
    TEnvelopeFace face;
};

class TEnvelopeSizes {
public:
    static constexpr int kCount = 16;
    // The working values while the ENVELOPE table has no rows.
    static constexpr int kDefaultCode = 20;
    static QString DefaultDescription() { return QStringLiteral("Envelope #10"); }

    // The sizes in list order.
    static const TEnvelopeSize& At(int index);
    static QStringList ListTexts();
    // The list index of a code; -1 for a code that is no envelope size.
    static int IndexOf(int code);
    // The face of a code; nothing for any other code (the old program's -1 x -1).
    static std::optional<TEnvelopeFace> Face(int code);

    // What Print and Preview say for a layout whose code is no envelope size.
    static QString NoValidSizeMessage()
    {
        return QStringLiteral(
            "This envelope layout has no valid envelope size. Use Modify to choose one.");
    }
};

} // namespace qm::envelopes
