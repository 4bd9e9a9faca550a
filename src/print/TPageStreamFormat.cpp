#include "print/TPageStreamFormat.h"

namespace qm::print::stream {

const char* CodeName(std::uint8_t code)
{
    switch (static_cast<TCode>(code)) {
    case TCode::Arc: return "arc";
    case TCode::BrushCopy: return "brush-copy";
    case TCode::Chord: return "chord";
    case TCode::CopyRect: return nullptr;
    case TCode::DrawAtPoint: return "draw-at-point";
    case TCode::FocusRect: return "focus-rect";
    case TCode::Ellipse: return "ellipse";
    case TCode::FillRect: return "fill-rect";
    case TCode::FloodFill: return "flood-fill";
    case TCode::FrameRect: return "frame-rect";
    case TCode::LineTo: return "line-to";
    case TCode::MoveTo: return "move-to";
    case TCode::Pie: return "pie";
    case TCode::Polygon: return "polygon";
    case TCode::Polyline: return "polyline";
    case TCode::BitmapScaled: return "bitmap-scaled";
    case TCode::BitmapRect: return "bitmap-rect";
    case TCode::Rectangle: return "rectangle";
    case TCode::TabRectangle: return "tab-rectangle";
    case TCode::RoundRect: return "round-rect";
    case TCode::GraphicRect: return "graphic-rect";
    case TCode::TextRect: return "text-rect";
    case TCode::TextCenter: return "text-center";
    case TCode::TextLeft: return "text-left";
    case TCode::TextRight: return "text-right";
    case TCode::TextBkMode: return "text-bk-mode";
    case TCode::BkColor: return "bk-color";
    case TCode::ScaleX: return "scale-x";
    case TCode::ScaleY: return "scale-y";
    case TCode::RawText: return "raw-text";
    case TCode::RawBlock: return "raw-block";
    case TCode::TextBlockOld: return "text-block-old";
    case TCode::TextBlock: return "text-block";
    case TCode::BitmapMode: return "bitmap-mode";
    case TCode::Brush: return "brush";
    case TCode::BrushColor: return "brush-color";
    case TCode::BrushStyle: return "brush-style";
    case TCode::BrushPattern: return "brush-pattern";
    case TCode::Font: return "font";
    case TCode::FontName: return "font-name";
    case TCode::FontColor: return "font-color";
    case TCode::FontPitch: return "font-pitch";
    case TCode::FontSize: return "font-size";
    case TCode::FontBold: return "bold";
    case TCode::FontUnderline: return "underline";
    case TCode::FontItalic: return "italic";
    case TCode::FontStrikeout: return "strikeout";
    case TCode::FontSubscript: return "subscript";
    case TCode::FontSuperscript: return "superscript";
    case TCode::FontRotation: return "rotation";
    case TCode::FontAlign: return "font-align";
    case TCode::Pen: return "pen";
    case TCode::PenColor: return "pen-color";
    case TCode::PenMode: return "pen-mode";
    case TCode::PenStyle: return "pen-style";
    case TCode::PenWidth: return "pen-width";
    case TCode::EndOfPage: return "end-of-page";
    case TCode::LineMetrics: return "line-metrics";
    case TCode::OutputSelect1: return "output-select-1";
    case TCode::OutputSelect2: return "output-select-2";
    case TCode::OutputSelect3: return "output-select-3";
    case TCode::Orientation: return "orientation";
    case TCode::SelectBin: return "select-bin";
    case TCode::ClipRect: return "clip-rect";
    case TCode::ClipRoundRect: return "clip-round-rect";
    case TCode::ClipEllipse: return "clip-ellipse";
    case TCode::ClipPolygon: return "clip-polygon";
    case TCode::ClipOp1: return "clip-op-1";
    case TCode::ClipOp2: return "clip-op-2";
    case TCode::ClipOp3: return "clip-op-3";
    }
    return nullptr;
}

} // namespace qm::print::stream
