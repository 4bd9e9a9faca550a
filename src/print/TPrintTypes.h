#pragma once

// Value types of the page canvas: colours, pen, brush and font state, tab stops, and the enums
// whose numeric values are stored in the page stream (docs/formats/page-stream.md).

#include <QColor>
#include <QString>
#include <cstdint>

namespace qm::print {

// A colour as the stream stores it: 0x00BBGGRR.
struct TColor {
    std::uint32_t value = 0;

    static constexpr TColor Rgb(int r, int g, int b)
    {
        return TColor{
            static_cast<std::uint32_t>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16))};
    }
    static TColor FromQColor(const QColor& c) { return Rgb(c.red(), c.green(), c.blue()); }
    QColor ToQColor() const
    {
        return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
    }
    friend bool operator==(TColor, TColor) = default;
};

inline constexpr TColor kBlack = TColor::Rgb(0, 0, 0);
inline constexpr TColor kWhite = TColor::Rgb(255, 255, 255);

enum class TBrushStyle : std::uint8_t {
    bsSolid = 0,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross
};
enum class TPenStyle : std::uint8_t {
    psSolid = 0,
    psDash,
    psDot,
    psDashDot,
    psDashDotDot,
    psClear,
    psInsideFrame
};
enum class TPenMode : std::uint8_t {
    pmBlack = 0,
    pmWhite,
    pmNop,
    pmNot,
    pmCopy,
    pmNotCopy,
    pmMergePenNot,
    pmMaskPenNot,
    pmMergeNotPen,
    pmMaskNotPen,
    pmMerge,
    pmNotMerge,
    pmMask,
    pmNotMask,
    pmXor,
    pmNotXor
};
enum class TFontPitch : std::uint8_t { fpDefault = 0, fpVariable, fpFixed };
enum class TBkMode : std::uint8_t { bkTransparent = 0, bkOpaque = 1 };
enum class TOrientation : std::uint8_t { poPortrait = 0, poLandScape = 1, poDefault = 2 };
enum class TLineHeightMethod { lhmLinesPerInch, lhmFont, lhmUser };
enum class TUnits { unInch, unMM, unCM, unPoint, unUser };
enum class TAccuracyMethod { amPositioning, amAppearance };
enum class TStreamMode { smMemory, smFile, smUser, smTempFile };

// Justification of a tab stop, numbered as callers pass it.
enum class TTabJustify : int { Center = 0, Left = 1, Right = 2, Block = 3 };

// Border flags of a tab box.
enum TBoxBorder : unsigned {
    kBoxLeft = 1,
    kBoxRight = 2,
    kBoxTop = 4,
    kBoxBottom = 8,
    kBoxAll = 15
};

// How a text sits on its x: left end, centre or right end.
enum class TTextAlign { Left, Center, Right };

// Rectangle-shaped drawings.
enum class TShape { Rectangle, TabRectangle, Ellipse, FillRect, FrameRect, FocusRect, RoundRect };

struct TPenState {
    TColor color = kBlack;
    TPenStyle style = TPenStyle::psSolid;
    TPenMode mode = TPenMode::pmCopy;
    int widthPixels = 1; // device pixels, at least 1 unless 0 was asked for

    friend bool operator==(const TPenState&, const TPenState&) = default;
};

struct TBrushState {
    TColor color = kBlack;
    TBrushStyle style = TBrushStyle::bsClear;
    friend bool operator==(const TBrushState&, const TBrushState&) = default;
};

struct TFontState {
    QString name = QStringLiteral("Arial");
    double sizePoints = 10.0;
    TColor color = kBlack;
    TFontPitch pitch = TFontPitch::fpDefault;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
    bool superscript = false;
    bool subscript = false;
    int rotation = 0; // degrees 0..359

    friend bool operator==(const TFontState&, const TFontState&) = default;
};

struct TTabStop {
    double position = 0; // inches from the page's left; negative: where the previous box ends
    TTabJustify justify = TTabJustify::Left;
    double width = 0;     // inches; 0 means no box
    int margin = 0;       // hundredths of an inch
    unsigned borders = 0; // TBoxBorder flags
    int shade = 0;        // percent; 0 means the job's TabShade
};

} // namespace qm::print
