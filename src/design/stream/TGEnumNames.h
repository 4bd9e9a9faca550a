#pragma once

// The enumerations the design objects publish, with the element names layout streams store as
// identifiers. The position of a name in its table is the enumeration's numeric value.

#include <array>

namespace qm::design {

enum class TGAlignment { taLeftJustify = 0, taRightJustify, taCenter };
enum class TGHighlightDirection { hdNone = 0, hdright, hdLeft, hdUpRight, hdUpLeft, hdUp };
enum class TGShadowDirection { sdNone = 0, sdRight, sdLeft, sdDownRight, sdDownLeft, sdDown };

inline constexpr std::array<const char*, 3> kAlignmentNames{"taLeftJustify", "taRightJustify",
                                                            "taCenter"};
inline constexpr std::array<const char*, 6> kHighlightDirectionNames{
    "hdNone", "hdright", "hdLeft", "hdUpRight", "hdUpLeft", "hdUp"};
inline constexpr std::array<const char*, 6> kShadowDirectionNames{
    "sdNone", "sdRight", "sdLeft", "sdDownRight", "sdDownLeft", "sdDown"};

// Font, pen and brush (numeric values as print::TFontPitch, TPenMode, TPenStyle, TBrushStyle).
inline constexpr std::array<const char*, 3> kFontPitchNames{"fpDefault", "fpVariable", "fpFixed"};
inline constexpr std::array<const char*, 4> kFontStyleNames{"fsBold", "fsItalic", "fsUnderline",
                                                            "fsStrikeOut"};
inline constexpr std::array<const char*, 16> kPenModeNames{
    "pmBlack",       "pmWhite",      "pmNop",         "pmNot",        "pmCopy",  "pmNotCopy",
    "pmMergePenNot", "pmMaskPenNot", "pmMergeNotPen", "pmMaskNotPen", "pmMerge", "pmNotMerge",
    "pmMask",        "pmNotMask",    "pmXor",         "pmNotXor"};
inline constexpr std::array<const char*, 7> kPenStyleNames{
    "psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear", "psInsideFrame"};
inline constexpr std::array<const char*, 8> kBrushStyleNames{
    "bsSolid",     "bsClear",     "bsHorizontal", "bsVertical",
    "bsFDiagonal", "bsBDiagonal", "bsCross",      "bsDiagCross"};

// The kinds' own enumerations.
inline constexpr std::array<const char*, 3> kDateFormatNames{"dtfDateNone", "dtfDateShort",
                                                             "dtfDateLong"};
inline constexpr std::array<const char*, 3> kTimeFormatNames{"dtfTimeNone", "dtfTimeShort",
                                                             "dtfTimeLong"};
inline constexpr std::array<const char*, 4> kZipOptionsNames{"zoAfterState", "zoBeforeCity",
                                                             "zoAfterCountry", "zoBeforeCountry"};
inline constexpr std::array<const char*, 6> kShapeTypeNames{
    "stRectangle", "stSquare", "stRoundRect", "stRoundSquare", "stEllipse", "stCircle"};
inline constexpr std::array<const char*, 4> kLineStyleNames{
    "stHorizontal", "stVertical", "stAngleSlopingUp", "stAngleSlopingDown"};
inline constexpr std::array<const char*, 3> kBarCodeTypeNames{"pnbc5Digit", "pnbc9Digit",
                                                              "pnbc11Digit"};
inline constexpr std::array<const char*, 3> kFIMTypeNames{"fimTypeA", "fimTypeB", "fimTypeC"};
inline constexpr std::array<const char*, 2> kSerialSourceNames{"ssCounter", "ssRecordNumber"};

} // namespace qm::design
