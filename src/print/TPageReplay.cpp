#include "print/TPageReplay.h"

#include "print/TPagePainter.h"
#include "print/TPrintError.h"
#include "print/TPrintText.h"

#include <QBuffer>
#include <QImageReader>
#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace qm::print {

using stream::TCode;

namespace {

QImage DecodeImage(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // Damaged size fields must not make the decoder allocate without bound.
    QImageReader::setAllocationLimit(64);
    return reader.read();
}

bool Finite(QPointF p)
{
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

// Device coordinates far outside any page are not drawn: painters misbehave on them.
bool Sane(double v)
{
    return std::isfinite(v) && std::abs(v) < 1.0e5;
}

// The replay's drawing state beyond what the painter keeps.
struct TReplayFont {
    TPainterFont font;
    double recordedHeight = 10.0 / 72.0;
    double referenceWidth = 0; // inches, 0 when not recorded
    bool shrinkPending = true;
};

// Applies the font-shrink rule and sets the result on the painter.
void ApplyFont(TPagePainter& painter, TReplayFont& f)
{
    if (!f.shrinkPending)
        return;
    f.shrinkPending = false;
    f.font.heightInches = f.recordedHeight;
    f.font.heightInches = FitFontHeight(painter, f.font, f.referenceWidth);
    painter.SetFont(f.font);
}

} // namespace

double FitFontHeight(TPagePainter& painter, const TPainterFont& font, double referenceWidth)
{
    const TPainterFont saved = painter.Font();
    const double recorded = font.heightInches;
    if (!(referenceWidth > 0) || !(recorded > 0))
        return recorded;
    const QByteArray reference(stream::kReferenceText);
    // The reference width was measured at scale 100; the font's height, and with it the width of
    // its text, follows the vertical scale.
    const TDeviceMapping& m = painter.Mapping();
    const double target = referenceWidth * m.dpiX * m.zoom / 100.0 * m.scaleY / 100.0;
    TPainterFont trial = font;
    painter.SetFont(trial);
    double width = painter.TextWidthPixels(reference);
    const double step = 1.1 / painter.Mapping().LengthY(1.0);
    // Up to one device pixel wider is as wide as recorded: the width went through a float, and
    // the font engine holds each of the reference text's 70 advances to 1/64 pixel, so the same
    // face at another size or scale measures a little off proportion. A face that really is
    // wider differs by far more.
    constexpr double kSlackPixels = 1.0;
    for (int guard = 0; width > target + kSlackPixels && guard < 1000; ++guard) {
        trial.heightInches -= step;
        if (trial.heightInches <= 0) {
            trial.heightInches = recorded;
            break;
        }
        painter.SetFont(trial);
        const double narrower = painter.TextWidthPixels(reference);
        if (!(narrower < width)) {
            trial.heightInches = recorded;
            break;
        }
        width = narrower;
    }
    painter.SetFont(saved);
    return trial.heightInches;
}

TPageReplay::TPageReplay(QByteArray bytes) : mBytes(std::move(bytes)), mReader(mBytes)
{
    mHeader = mReader.ReadHeader();
    if (mHeader.pageCount > 0) {
        ReadPageAt(mHeader.firstPageOffset);
        mHasPage = true;
    }
}

void TPageReplay::ReadPageAt(std::int64_t position)
{
    // A link must point past the header; anything else is a damaged chain.
    if (position < mHeader.firstPageOffset)
        mReader.Fail();
    mReader.Seek(position);
    mCurrent = mReader.ReadPageRecord();
}

std::int64_t TPageReplay::MaxSteps() const
{
    return mReader.Size() / std::int64_t(stream::kPageRecordSize) + 1;
}

bool TPageReplay::GotoPage(int pageNumber)
{
    if (!mHasPage)
        return false;
    ReadPageAt(mCurrent.offset); // the current page reread from its start
    for (std::int64_t steps = 0; mCurrent.pageNumber != pageNumber; ++steps) {
        if (steps > MaxSteps())
            mReader.Fail();
        const std::int32_t link =
            pageNumber > mCurrent.pageNumber ? mCurrent.next : mCurrent.previous;
        if (link == 0)
            return false;
        ReadPageAt(link);
    }
    return true;
}

bool TPageReplay::Next()
{
    if (!mHasPage || mCurrent.next == 0)
        return false;
    ReadPageAt(mCurrent.next);
    return true;
}

bool TPageReplay::Previous()
{
    if (!mHasPage || mCurrent.previous == 0)
        return false;
    ReadPageAt(mCurrent.previous);
    return true;
}

void TPageReplay::GotoFirst()
{
    for (std::int64_t steps = 0; Previous(); ++steps)
        if (steps > MaxSteps())
            mReader.Fail();
}

void TPageReplay::GotoLast()
{
    for (std::int64_t steps = 0; Next(); ++steps)
        if (steps > MaxSteps())
            mReader.Fail();
}

QByteArray TPageReplay::ExpandMacros(const QByteArray& text, const TReplayContext& c) const
{
    const QByteArray marker(stream::kMacroMarker, stream::kMacroMarkerLength);
    qsizetype at = text.indexOf(marker);
    if (at < 0)
        return text;
    QByteArray out;
    qsizetype from = 0;
    const QLocale locale;
    while (at >= 0) {
        out += text.mid(from, at - from);
        const qsizetype d = at + qsizetype(stream::kMacroMarkerLength);
        if (d + 1 >= text.size() || !std::isdigit(static_cast<unsigned char>(text[d])) ||
            !std::isdigit(static_cast<unsigned char>(text[d + 1]))) {
            out += marker;
            from = d;
            at = text.indexOf(marker, from);
            continue;
        }
        const int code = (text[d] - '0') * 10 + (text[d + 1] - '0');
        const QDate date = c.start.date();
        const QTime time = c.start.time();
        QString value;
        switch (code) {
        case 0:
            value = locale.toString(date, QLocale::ShortFormat);
            break;
        case 1:
            value = locale.toString(date, QLocale::LongFormat);
            break;
        case 2:
            value = date.toString(QStringLiteral("MM/dd/yy"));
            break;
        case 3:
            value = date.toString(QStringLiteral("dd/MM/yy"));
            break;
        case 4:
            value = locale.toString(time, QLocale::ShortFormat);
            break;
        case 5:
            value = locale.toString(time, QLocale::LongFormat);
            break;
        case 6:
            value = time.toString(QStringLiteral("hh:mm ap"));
            break;
        case 7:
            value = time.toString(QStringLiteral("HH:mm"));
            break;
        case 8:
            value = QString::number(mHeader.firstPage);
            break;
        case 9:
            value = QString::number(mHeader.lastPage);
            break;
        case 10:
            value = QString::number(mHeader.pageCount);
            break;
        case 11:
            value = QString::number(mCurrent.pageNumber);
            break;
        case 12:
            value = c.deviceName;
            break;
        case 13:
            value = c.driverName;
            break;
        case 14:
            value = c.port;
            break;
        default:
            if (code - 15 < c.macroLines.size())
                value = c.macroLines[code - 15];
            break;
        }
        out += EncodePrintText(value);
        from = d + 2;
        at = text.indexOf(marker, from);
    }
    out += text.mid(from);
    return out;
}

void TPageReplay::Validate()
{
    if (!mHasPage)
        return;
    GotoFirst();
    std::int64_t steps = 0;
    do {
        if (++steps > MaxSteps())
            mReader.Fail();
        mReader.Seek(mCurrent.commandsOffset);
        TPageCommand command;
        do
            mReader.ReadCommand(command);
        while (command.code != stream::kEndOfPage);
    } while (Next());
}

void TPageReplay::PaintPage(QPainter& qp, const TDeviceMapping& mapping,
                            const TReplayContext& context)
{
    if (!mHasPage)
        return;
    mReader.Seek(mCurrent.commandsOffset);
    qp.save();
    // The painter's state goes back also when a damaged command ends the page.
    struct TRestore {
        QPainter& painter;
        ~TRestore() { painter.restore(); }
    } restore{qp};
    TPagePainter painter(qp, mapping);
    TReplayFont font;
    TColor brushColor = kBlack;
    TBrushStyle brushStyle = TBrushStyle::bsClear;
    std::optional<QImage> pattern;
    TColor penColor = kBlack;
    TPenStyle penStyle = TPenStyle::psSolid;
    TPenMode penMode = TPenMode::pmCopy;
    double penWidth = 1.0 / mapping.dpiX;
    double scaleX = 100, scaleY = 100;
    QPointF textEnd;
    auto applyBrush = [&] { painter.SetBrush(brushColor, brushStyle, pattern); };
    auto applyPen = [&] { painter.SetPen(penColor, penStyle, penMode, penWidth); };
    applyBrush();
    applyPen();

    auto sanePoints = [&](const TPageCommand& c) {
        for (QPointF p : c.points)
            if (!Finite(p) || !Sane(mapping.LengthX(p.x())) || !Sane(mapping.LengthY(p.y())))
                return false;
        return true;
    };
    auto rectOf = [](const TPageCommand& c) { return QRectF(c.points[0], c.points[1]); };

    TPageCommand c;
    for (;;) {
        mReader.ReadCommand(c);
        const auto code = static_cast<TCode>(c.code);
        if (code == TCode::EndOfPage)
            break;
        switch (code) {
        case TCode::BrushColor:
            brushColor = TColor{std::uint32_t(c.i32) & 0xFFFFFF};
            applyBrush();
            break;
        case TCode::BrushStyle:
            brushStyle = c.b <= 7 ? TBrushStyle(c.b) : TBrushStyle::bsSolid;
            applyBrush();
            break;
        case TCode::BrushPattern:
            pattern.reset();
            if (c.hasGraphic)
                pattern = DecodeImage(c.graphic);
            applyBrush();
            break;
        case TCode::Brush:
            brushColor = TColor{std::uint32_t(c.i32) & 0xFFFFFF};
            brushStyle = c.b <= 7 ? TBrushStyle(c.b) : TBrushStyle::bsSolid;
            pattern.reset();
            if (c.hasGraphic)
                pattern = DecodeImage(c.graphic);
            applyBrush();
            break;
        case TCode::FontName:
            font.font.name = DecodePrintText(c.text);
            font.shrinkPending = true;
            break;
        case TCode::FontColor:
            font.font.color = TColor{std::uint32_t(c.i32) & 0xFFFFFF};
            font.shrinkPending = true;
            break;
        case TCode::FontPitch:
            font.font.pitch = c.b <= 2 ? TFontPitch(c.b) : TFontPitch::fpDefault;
            font.shrinkPending = true;
            break;
        case TCode::FontSize:
            if (std::isfinite(c.f[0]) && c.f[0] > 0 && c.f[0] < 100)
                font.recordedHeight = c.f[0];
            font.referenceWidth = std::isfinite(c.f[1]) && c.f[1] > 0 && c.f[1] < 1000 ? c.f[1] : 0;
            font.shrinkPending = true;
            break;
        case TCode::FontBold:
            font.font.bold = c.b != 0;
            font.shrinkPending = true;
            break;
        case TCode::FontUnderline:
            font.font.underline = c.b != 0;
            font.shrinkPending = true;
            break;
        case TCode::FontItalic:
            font.font.italic = c.b != 0;
            font.shrinkPending = true;
            break;
        case TCode::FontStrikeout:
            font.font.strikeout = c.b != 0;
            font.shrinkPending = true;
            break;
        case TCode::FontSubscript:
            font.font.subscript = c.b != 0;
            font.shrinkPending = true;
            break;
        case TCode::FontSuperscript:
            font.font.superscript = c.b != 0;
            font.shrinkPending = true;
            break;
        case TCode::FontRotation:
            font.font.rotation = ((c.i16 % 360) + 360) % 360;
            font.shrinkPending = true;
            break;
        case TCode::Font:
            font.font.name = DecodePrintText(c.text);
            font.font.color = TColor{std::uint32_t(c.i32) & 0xFFFFFF};
            font.font.pitch = c.b <= 2 ? TFontPitch(c.b) : TFontPitch::fpDefault;
            if (std::isfinite(c.f[0]) && c.f[0] > 0 && c.f[0] < 100)
                font.recordedHeight = c.f[0];
            font.referenceWidth = 0;
            font.font.bold = c.flags[0] != 0;
            font.font.italic = c.flags[1] != 0;
            font.font.underline = c.flags[2] != 0;
            font.font.strikeout = c.flags[3] != 0;
            font.font.rotation = ((c.i16 % 360) + 360) % 360;
            font.shrinkPending = true;
            break;
        case TCode::PenColor:
            penColor = TColor{std::uint32_t(c.i32) & 0xFFFFFF};
            applyPen();
            break;
        case TCode::PenMode:
            penMode = c.b <= 15 ? TPenMode(c.b) : TPenMode::pmCopy;
            applyPen();
            break;
        case TCode::PenStyle:
            penStyle = c.b <= 6 ? TPenStyle(c.b) : TPenStyle::psSolid;
            applyPen();
            break;
        case TCode::PenWidth:
            penWidth = std::isfinite(c.f[0]) && c.f[0] >= 0 && c.f[0] < 10 ? c.f[0] : penWidth;
            applyPen();
            break;
        case TCode::Pen:
            penColor = TColor{std::uint32_t(c.i32) & 0xFFFFFF};
            penMode = c.b <= 15 ? TPenMode(c.b) : TPenMode::pmCopy;
            penStyle = c.b2 <= 6 ? TPenStyle(c.b2) : TPenStyle::psSolid;
            penWidth = std::isfinite(c.f[0]) && c.f[0] >= 0 && c.f[0] < 10 ? c.f[0] : penWidth;
            applyPen();
            break;
        case TCode::ScaleX:
        case TCode::ScaleY:
            if (std::isfinite(c.f[0]) && c.f[0] > 0 && c.f[0] <= 10000) {
                (code == TCode::ScaleX ? scaleX : scaleY) = c.f[0];
                painter.SetScale(scaleX, scaleY);
                applyPen();
                font.shrinkPending = true;
            }
            break;
        case TCode::TextBkMode:
            painter.SetBkMode(c.b == 1 ? TBkMode::bkOpaque : TBkMode::bkTransparent);
            break;
        case TCode::BkColor:
            painter.SetBkColor(TColor{std::uint32_t(c.i32) & 0xFFFFFF});
            break;
        case TCode::TextLeft:
        case TCode::TextCenter:
        case TCode::TextRight: {
            ApplyFont(painter, font);
            // x = NaN continues a long text where its previous piece ended.
            QPointF at(c.f[1], c.f[0]);
            if (std::isnan(c.f[1]))
                at = textEnd;
            if (!Sane(mapping.LengthX(at.x())) || !Sane(mapping.LengthY(at.y())))
                break;
            const TTextAlign align = code == TCode::TextLeft     ? TTextAlign::Left
                                     : code == TCode::TextCenter ? TTextAlign::Center
                                                                 : TTextAlign::Right;
            textEnd = painter.Text(align, at.x(), at.y(), ExpandMacros(c.text, context));
            break;
        }
        case TCode::TextBlock:
        case TCode::TextBlockOld:
            ApplyFont(painter, font);
            if (Sane(mapping.LengthX(c.f[1])) && Sane(mapping.LengthY(c.f[0])) &&
                Sane(mapping.LengthX(c.f[2])))
                painter.TextBlock(c.f[1], c.f[0], c.f[2], ExpandMacros(c.text, context));
            break;
        case TCode::TextRect: {
            ApplyFont(painter, font);
            double x = c.f[0];
            if (std::isnan(x))
                x = textEnd.x();
            if (!sanePoints(c) || !Sane(mapping.LengthX(x)) || !Sane(mapping.LengthY(c.f[1])))
                break;
            const QByteArray text = ExpandMacros(c.text, context);
            painter.TextInRect(rectOf(c), x, c.f[1], text);
            textEnd = QPointF(x + painter.TextWidthPixels(text) / mapping.LengthX(1.0), c.f[1]);
            break;
        }
        case TCode::Rectangle:
        case TCode::TabRectangle:
        case TCode::Ellipse:
        case TCode::FillRect:
        case TCode::FrameRect:
        case TCode::FocusRect:
        case TCode::RoundRect: {
            if (!sanePoints(c))
                break;
            TShape shape = TShape::Rectangle;
            if (code == TCode::TabRectangle)
                shape = TShape::TabRectangle;
            else if (code == TCode::Ellipse)
                shape = TShape::Ellipse;
            else if (code == TCode::FillRect)
                shape = TShape::FillRect;
            else if (code == TCode::FrameRect)
                shape = TShape::FrameRect;
            else if (code == TCode::FocusRect)
                shape = TShape::FocusRect;
            else if (code == TCode::RoundRect)
                shape = TShape::RoundRect;
            const double cw =
                c.floatCount >= 2 && std::isfinite(c.f[0]) ? std::clamp<double>(c.f[0], 0, 100) : 0;
            const double ch =
                c.floatCount >= 2 && std::isfinite(c.f[1]) ? std::clamp<double>(c.f[1], 0, 100) : 0;
            painter.Shape(shape, rectOf(c), cw, ch);
            break;
        }
        case TCode::MoveTo:
            if (sanePoints(c))
                painter.MoveTo(c.points[0]);
            break;
        case TCode::LineTo:
            if (sanePoints(c))
                painter.LineTo(c.points[0]);
            break;
        case TCode::Polygon:
        case TCode::Polyline:
            if (sanePoints(c))
                painter.Polygon(c.points, code == TCode::Polygon);
            break;
        case TCode::Arc:
        case TCode::Chord:
        case TCode::Pie:
            if (sanePoints(c))
                painter.Arc(c.code, c.points);
            break;
        case TCode::BitmapRect:
        case TCode::GraphicRect:
            if (sanePoints(c))
                painter.Image(rectOf(c), DecodeImage(c.graphic));
            break;
        case TCode::BitmapScaled:
            if (sanePoints(c) && std::isfinite(c.f[0]) && std::isfinite(c.f[1]) &&
                std::abs(c.f[0]) < 100 && std::abs(c.f[1]) < 100)
                painter.ImageAt(c.points[0], DecodeImage(c.graphic), c.f[0], c.f[1]);
            break;
        case TCode::DrawAtPoint:
            if (sanePoints(c))
                painter.ImageAt(c.points[0], DecodeImage(c.graphic), 1, 1);
            break;
        case TCode::BrushCopy:
            if (sanePoints(c))
                painter.Image(QRectF(c.points[0], c.points[1]), DecodeImage(c.graphic));
            break;
        case TCode::ClipRect:
            if (sanePoints(c))
                qp.setClipRect(mapping.Rect(rectOf(c)), Qt::IntersectClip);
            break;
        case TCode::ClipEllipse:
        case TCode::ClipRoundRect:
            if (sanePoints(c)) {
                QPainterPath path;
                if (code == TCode::ClipEllipse)
                    path.addEllipse(QRectF(mapping.Rect(rectOf(c))));
                else
                    path.addRoundedRect(QRectF(mapping.Rect(rectOf(c))), 4, 4);
                qp.setClipPath(path, Qt::IntersectClip);
            }
            break;
        case TCode::ClipPolygon:
            if (sanePoints(c)) {
                QPolygon poly;
                for (QPointF p : c.points)
                    poly << mapping.Point(p);
                QPainterPath path;
                path.addPolygon(poly);
                qp.setClipPath(path, Qt::IntersectClip);
            }
            break;
        case TCode::ClipOp1:
        case TCode::ClipOp2:
        case TCode::ClipOp3:
            qp.setClipping(false);
            break;
        default:
            // Raw printer data, output selection, orientation, bin selection, bitmap mode, line
            // metrics and flood fill have no effect on a canvas replay.
            break;
        }
    }
}

} // namespace qm::print
