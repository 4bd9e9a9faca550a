#pragma once

// The page stream: constants of the recorded page format, mirrored from
// docs/formats/page-stream.md. Little-endian; coordinates, pen widths and font sizes are floats
// in inches measured from the physical top-left corner of the page.

#include <cstddef>
#include <cstdint>

namespace qm::print::stream {

inline constexpr std::uint8_t kHeaderCode = 89;
inline constexpr std::uint8_t kPageCode = 80;
inline constexpr std::uint8_t kEndOfPage = 82;

// Header: code byte, page count int16, first and last page int16, page width and height float,
// four waste floats, orientation byte, paper source int16, collate byte, duplex byte,
// copies int16, paper size code int16, paper width and length int16, device name text.
inline constexpr std::size_t kHeaderPageCountOffset = 1;
inline constexpr std::size_t kHeaderFixedSize =
    1 + 2 + 2 + 2 + 4 * 2 + 4 * 4 + 1 + 2 + 1 + 1 + 2 + 2 + 2 + 2;
static_assert(kHeaderFixedSize == 44);

// Page record: code byte, previous page int32, next page int32, page number int16, width and
// height float.
inline constexpr std::size_t kPagePrevOffset = 1;
inline constexpr std::size_t kPageNextOffset = 5;
inline constexpr std::size_t kPageRecordSize = 1 + 4 + 4 + 2 + 4 + 4;
static_assert(kPageRecordSize == 19);

// The writer hands bytes to the stream in blocks of this size.
inline constexpr std::size_t kBufferSize = 16384;

// A text operand holds at most this many bytes.
inline constexpr std::size_t kMaxTextLength = 255;

// Printer fields written when no printer is installed.
inline constexpr std::int16_t kNoPrinterSource = 265;

// Text macro marker: byte 253, "$RPCM", then two decimal digits.
inline constexpr char kMacroMarker[] = "\xFD$RPCM";
inline constexpr std::size_t kMacroMarkerLength = 6;
inline constexpr std::size_t kMacroLength = 8;

// The reference text whose width is recorded with every font size.
inline constexpr char kReferenceText[] =
    "abcdefg hijklmnop qrstuv wxyz ABCDEFG HIJKLMNOP QRSTUV WXYZ 0123456789";

enum class TCode : std::uint8_t {
    Arc = 1,
    BrushCopy = 2,
    Chord = 3,
    CopyRect = 4,
    DrawAtPoint = 5,
    FocusRect = 6,
    Ellipse = 7,
    FillRect = 8,
    FloodFill = 9,
    FrameRect = 10,
    LineTo = 11,
    MoveTo = 12,
    Pie = 13,
    Polygon = 14,
    Polyline = 15,
    BitmapScaled = 16,
    BitmapRect = 17,
    Rectangle = 18,
    TabRectangle = 19,
    RoundRect = 20,
    GraphicRect = 21,
    TextRect = 22,
    TextCenter = 23,
    TextLeft = 24,
    TextRight = 25,
    TextBkMode = 26,
    BkColor = 27,
    ScaleX = 28,
    ScaleY = 29,
    RawText = 30,
    RawBlock = 31,
    TextBlockOld = 32,
    TextBlock = 33,
    BitmapMode = 34,
    Brush = 40,
    BrushColor = 41,
    BrushStyle = 42,
    BrushPattern = 43,
    Font = 50,
    FontName = 51,
    FontColor = 52,
    FontPitch = 53,
    FontSize = 54,
    FontBold = 55,
    FontUnderline = 56,
    FontItalic = 57,
    FontStrikeout = 58,
    FontSubscript = 59,
    FontSuperscript = 60,
    FontRotation = 61,
    FontAlign = 62,
    Pen = 70,
    PenColor = 71,
    PenMode = 72,
    PenStyle = 73,
    PenWidth = 74,
    EndOfPage = 82,
    LineMetrics = 83,
    OutputSelect1 = 84,
    OutputSelect2 = 85,
    OutputSelect3 = 86,
    Orientation = 87,
    SelectBin = 88,
    ClipRect = 201,
    ClipRoundRect = 202,
    ClipEllipse = 203,
    ClipPolygon = 204,
    ClipOp1 = 205,
    ClipOp2 = 206,
    ClipOp3 = 207,
};

// The name a dump shows for a code; nullptr for codes that are not part of the format.
const char* CodeName(std::uint8_t code);

// Graphic kinds.
inline constexpr std::uint8_t kGraphicBitmap = 1;
inline constexpr std::uint8_t kGraphicMetafile = 2;
inline constexpr std::uint8_t kGraphicIcon = 3;
inline constexpr std::uint8_t kGraphicOther = 4;

} // namespace qm::print::stream
