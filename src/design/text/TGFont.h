#pragma once

// The Font group of the text kinds: stored as "Font.Color", "Font.Height", "Font.Name",
// "Font.Pitch" (only when not fpDefault) and "Font.Style" (always, possibly empty), in this order.
// Height is negative for a character height in pixels at the PPI of save time: a 10-point font at
// 96 PPI is -13. The point size is not stored; it follows from Height and the PPI in force.

#include "design/stream/TGColor.h"
#include "print/TPrintTypes.h"

#include <QByteArray>
#include <QFont>
#include <QString>
#include <cstdint>

namespace qm::print {
class TBaseReport;
}

namespace qm::design {

class TLayoutWriter;
struct TLayoutValue;

// Font style bits, in stream (set) order.
enum TGFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

class TGFont {
public:
    static constexpr int kMaxNameLength = 31;

    // "Arial" 10 point at the current PPI, black, fpDefault, no style.
    TGFont();

    TGColor Color() const { return mColor; }
    void SetColor(TGColor color) { mColor = color; }
    std::int32_t Height() const { return mHeight; }
    void SetHeight(std::int32_t height) { mHeight = height; }
    const QString& Name() const { return mName; }
    // Cut to 31 characters.
    void SetName(const QString& name) { mName = name.left(kMaxNameLength); }
    print::TFontPitch Pitch() const { return mPitch; }
    void SetPitch(print::TFontPitch pitch) { mPitch = pitch; }
    unsigned Style() const { return mStyle; }
    void SetStyle(unsigned style) { mStyle = style & 15u; }
    bool Bold() const { return mStyle & fsBold; }
    bool Italic() const { return mStyle & fsItalic; }
    bool Underline() const { return mStyle & fsUnderline; }
    bool StrikeOut() const { return mStyle & fsStrikeOut; }

    // Points at the current PPI: -Height * 72 / PPI rounded (a positive Height is taken as the
    // cell height and converted the same way).
    int PointSize() const;
    // Height = -(points * PPI / 72) rounded.
    void SetPointSize(int points);

    // A QFont of this face and style at the given point size (text kinds pass
    // trunc(PointSize() * Scale) on screen).
    QFont ToQFont(int pointSize) const;
    // Selects the font on a print job: name, PointSize(), colour, pitch and styles.
    void ApplyTo(print::TBaseReport& report) const;

    // Appends the Font.* entries.
    void Write(TLayoutWriter& out) const;
    // Sets one member from a stored entry; member is the part after "Font.". False when the group
    // has no such member; throws TLayoutError(InvalidValue) for a value of the wrong type.
    bool ReadMember(const QByteArray& member, const TLayoutValue& value);

    friend bool operator==(const TGFont&, const TGFont&) = default;

private:
    TGColor mColor = kclBlack;
    std::int32_t mHeight = -13;
    QString mName = QStringLiteral("Arial");
    print::TFontPitch mPitch = print::TFontPitch::fpDefault;
    unsigned mStyle = 0;
};

} // namespace qm::design
