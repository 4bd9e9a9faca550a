#include "print/TReportFiler.h"

#include "print/TPageStreamWriter.h"
#include "print/TPrintError.h"
#include "print/TPrintText.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryFile>
#include <cmath>
#include <limits>

namespace qm::print {

using stream::TCode;

struct TReportFiler::TWritten {
    TBrushState brush;
    bool pattern = false;
    TFontState font;
    TPenState pen;
    float penWidth = 0;
    double scaleX = 100, scaleY = 100;
    TBkMode bkMode = TBkMode::bkTransparent;
    TColor bkColor = kWhite;
    float ascent = -1, descent = -1, lineHeight = -1;
};

namespace {

constexpr std::uint8_t B(bool on)
{
    return on ? 1 : 0;
}

std::int16_t Clamp16(int v)
{
    return std::int16_t(std::clamp(v, -32768, 32767));
}

bool HasMacro(const QByteArray& text)
{
    return text.contains(QByteArray(stream::kMacroMarker, stream::kMacroMarkerLength));
}

// Splits a text into pieces of at most 255 bytes without cutting a macro marker in two.
std::vector<QByteArray> SplitText(const QByteArray& text)
{
    std::vector<QByteArray> pieces;
    const QByteArray marker(stream::kMacroMarker, stream::kMacroMarkerLength);
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = std::min<qsizetype>(text.size(), start + qsizetype(stream::kMaxTextLength));
        if (end < text.size()) {
            const qsizetype m = text.lastIndexOf(marker, end - 1);
            if (m > start && m + qsizetype(stream::kMacroLength) > end)
                end = m;
        }
        pieces.push_back(text.mid(start, end - start));
        start = end;
    }
    return pieces;
}

} // namespace

TReportFiler::TReportFiler() = default;
TReportFiler::~TReportFiler() = default;

QIODevice* TReportFiler::Stream() const
{
    return mOwnedStream ? mOwnedStream.get() : mStream;
}

QString TReportFiler::DeviceName() const
{
    return TRPDevice::Instance().HasPrinter() ? TBaseReport::DeviceName()
                                              : QStringLiteral("Preview Only");
}

QString TReportFiler::DriverName() const
{
    return TRPDevice::Instance().HasPrinter() ? TBaseReport::DriverName()
                                              : QStringLiteral("Preview Only");
}

QString TReportFiler::Port() const
{
    return TRPDevice::Instance().HasPrinter() ? TBaseReport::Port() : QStringLiteral("Preview");
}

void TReportFiler::CopyRect(const QRect&, const QImage&, const QRect&)
{
    throw TPrintError(TPrintErrorKind::Unsupported, QString::fromLatin1(msg::kCopyRect));
}

TPageGeometry TReportFiler::ReadGeometry()
{
    TPageGeometry g = TRPDevice::Instance().Geometry();
    mMeasure.SetDpi(g.dpiY);
    return g;
}

void TReportFiler::StartOutput()
{
    QIODevice* device = nullptr;
    switch (mStreamMode) {
    case TStreamMode::smUser:
        if (!mStream)
            throw TPrintError(TPrintErrorKind::Stream, QString::fromLatin1(msg::kNoStream));
        device = mStream;
        break;
    case TStreamMode::smMemory: {
        auto buffer = std::make_unique<QBuffer>();
        buffer->open(QIODevice::ReadWrite);
        mOwnedStream = std::move(buffer);
        device = mOwnedStream.get();
        break;
    }
    case TStreamMode::smFile:
    case TStreamMode::smTempFile: {
        std::unique_ptr<QFile> file;
        if (mStreamMode == TStreamMode::smFile)
            file = std::make_unique<QFile>(mFileName);
        else
            file = std::make_unique<QTemporaryFile>();
        if (!file->open(QIODevice::ReadWrite | QIODevice::Truncate)) {
            const QString text =
                QString::fromLatin1(msg::kStreamInit) + mFileName + QLatin1Char('"');
            ReportError(text);
            throw TPrintError(TPrintErrorKind::Stream, text);
        }
        if (mStreamMode == TStreamMode::smTempFile)
            mFileName = file->fileName();
        mOwnedStream = std::move(file);
        device = mOwnedStream.get();
        break;
    }
    }

    mWriter = std::make_unique<TPageStreamWriter>(device);
    mWritten.reset();
    mPrevPage = 0;
    mLastPage = -1;
    mPagesRecorded = 0;

    const TPageGeometry& g = Geometry();
    TPageStreamWriter& w = *mWriter;
    mHeaderPos = w.Position();
    w.Byte(stream::kHeaderCode);
    w.Int16(0); // page count, filled in at the end
    w.Int16(Clamp16(FirstPage()));
    w.Int16(Clamp16(LastPage()));
    w.Float(g.pageWidth);
    w.Float(g.pageHeight);
    w.Float(g.leftWaste);
    w.Float(g.rightWaste);
    w.Float(g.topWaste);
    w.Float(g.bottomWaste);
    w.Byte(static_cast<std::uint8_t>(Orientation()));
    const TRPDevice& device0 = TRPDevice::Instance();
    if (device0.HasPrinter()) {
        const TDeviceSetup s = device0.Setup();
        w.Int16(s.paperSource);
        w.Byte(s.collate);
        w.Byte(s.duplex);
        w.Int16(Clamp16(Copies()));
        w.Int16(s.paperSize);
        w.Int16(s.paperWidth);
        w.Int16(s.paperLength);
    } else {
        w.Int16(stream::kNoPrinterSource);
        w.Byte(0);
        w.Byte(0);
        w.Int16(1);
        w.Int16(1);
        w.Int16(0);
        w.Int16(0);
    }
    w.Text(QByteArray()); // replayed on whatever printer is current
}

void TReportFiler::EndOutput(bool)
{
    if (!mWriter)
        return;
    if (mLastPage >= 0)
        mWriter->PatchInt32(mLastPage + std::int64_t(stream::kPageNextOffset), 0);
    mWriter->PatchInt16(mHeaderPos + std::int64_t(stream::kHeaderPageCountOffset),
                        Clamp16(mPagesRecorded));
    mWriter->Flush();
    mWriter.reset();
}

void TReportFiler::StartPage()
{
    TPageStreamWriter& w = *mWriter;
    mCurrentPage = w.Position();
    w.Byte(stream::kPageCode);
    w.Int32(std::int32_t(mPrevPage));
    w.Int32(0);
    w.Int16(Clamp16(CurrentPage()));
    w.Float(Geometry().pageWidth);
    w.Float(Geometry().pageHeight);
    WriteFullState();
}

void TReportFiler::EndPage()
{
    TPageStreamWriter& w = *mWriter;
    w.Code(TCode::EndOfPage);
    // The next page record, if any, begins right here.
    w.PatchInt32(mCurrentPage + std::int64_t(stream::kPageNextOffset), std::int32_t(w.Position()));
    mLastPage = mCurrentPage;
    mPrevPage = mCurrentPage;
    ++mPagesRecorded;
}

TPainterFont TReportFiler::MeasureFontState() const
{
    const TFontState& f = Font();
    TPainterFont p;
    p.name = f.name;
    p.heightInches = f.sizePoints / 72.0;
    p.pitch = f.pitch;
    p.bold = f.bold;
    p.italic = f.italic;
    p.underline = f.underline;
    p.strikeout = f.strikeout;
    p.superscript = f.superscript;
    p.subscript = f.subscript;
    return p;
}

double TReportFiler::MeasureText(const QByteArray& text)
{
    mMeasure.SetFont(MeasureFontState());
    return mMeasure.Width(text);
}

void TReportFiler::MeasureFont(double& ascent, double& descent)
{
    mMeasure.SetFont(MeasureFontState());
    ascent = mMeasure.Ascent();
    descent = mMeasure.Descent();
}

// ---- state

void TReportFiler::WriteFontSize()
{
    TPageStreamWriter& w = *mWriter;
    mMeasure.SetFont(MeasureFontState());
    w.Code(TCode::FontSize);
    w.Float(Font().sizePoints / 72.0);
    w.Float(mMeasure.Width(QString::fromLatin1(stream::kReferenceText)));
}

void TReportFiler::WriteFullState()
{
    TPageStreamWriter& w = *mWriter;
    mWritten = std::make_unique<TWritten>();
    TWritten& s = *mWritten;
    s.brush = Brush();
    s.pattern = BrushPattern().has_value();
    s.font = Font();
    s.pen = Pen();
    s.penWidth = float(Pen().widthPixels / Geometry().dpiX);
    s.scaleX = ScaleX();
    s.scaleY = ScaleY();
    s.bkMode = TextBKMode();

    w.Code(TCode::BrushColor);
    w.Int32(std::int32_t(s.brush.color.value));
    w.Code(TCode::BrushStyle);
    w.Byte(static_cast<std::uint8_t>(s.brush.style));
    w.Code(TCode::BrushPattern);
    if (s.pattern) {
        w.Byte(1);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        BrushPattern()->save(&buffer, "BMP");
        w.Graphic(stream::kGraphicBitmap, bytes);
    } else {
        w.Byte(0);
    }
    w.Code(TCode::FontName);
    w.Text(EncodePrintText(s.font.name));
    w.Code(TCode::FontColor);
    w.Int32(std::int32_t(s.font.color.value));
    w.Code(TCode::FontPitch);
    w.Byte(static_cast<std::uint8_t>(s.font.pitch));
    WriteFontSize();
    w.Code(TCode::FontBold);
    w.Byte(B(s.font.bold));
    w.Code(TCode::FontUnderline);
    w.Byte(B(s.font.underline));
    w.Code(TCode::FontItalic);
    w.Byte(B(s.font.italic));
    w.Code(TCode::FontStrikeout);
    w.Byte(B(s.font.strikeout));
    w.Code(TCode::FontSubscript);
    w.Byte(B(s.font.subscript));
    w.Code(TCode::FontSuperscript);
    w.Byte(B(s.font.superscript));
    w.Code(TCode::FontRotation);
    w.Int16(std::int16_t(s.font.rotation));
    w.Code(TCode::FontAlign);
    w.Byte(0); // baseline
    w.Code(TCode::PenColor);
    w.Int32(std::int32_t(s.pen.color.value));
    w.Code(TCode::PenMode);
    w.Byte(static_cast<std::uint8_t>(s.pen.mode));
    w.Code(TCode::PenStyle);
    w.Byte(static_cast<std::uint8_t>(s.pen.style));
    w.Code(TCode::PenWidth);
    w.Float(s.penWidth);
    w.Code(TCode::ScaleX);
    w.Float(s.scaleX);
    w.Code(TCode::ScaleY);
    w.Float(s.scaleY);
    w.Code(TCode::TextBkMode);
    w.Byte(static_cast<std::uint8_t>(s.bkMode));
    w.Code(TCode::BkColor);
    w.Int32(std::int32_t(s.bkColor.value));
}

void TReportFiler::SyncBrush()
{
    TPageStreamWriter& w = *mWriter;
    TWritten& s = *mWritten;
    const TBrushState& b = Brush();
    if (b.color != s.brush.color) {
        w.Code(TCode::BrushColor);
        w.Int32(std::int32_t(b.color.value));
    }
    if (b.style != s.brush.style) {
        w.Code(TCode::BrushStyle);
        w.Byte(static_cast<std::uint8_t>(b.style));
    }
    s.brush = b;
    const bool pattern = BrushPattern().has_value();
    if (pattern || s.pattern) {
        // A pattern bitmap cannot be compared cheaply; it is written with every use.
        w.Code(TCode::BrushPattern);
        if (pattern) {
            w.Byte(1);
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            BrushPattern()->save(&buffer, "BMP");
            w.Graphic(stream::kGraphicBitmap, bytes);
        } else {
            w.Byte(0);
        }
        s.pattern = pattern;
    }
}

void TReportFiler::SyncFont()
{
    TPageStreamWriter& w = *mWriter;
    TWritten& s = *mWritten;
    const TFontState& f = Font();
    if (f == s.font)
        return;
    if (f.name != s.font.name) {
        w.Code(TCode::FontName);
        w.Text(EncodePrintText(f.name));
    }
    if (f.color != s.font.color) {
        w.Code(TCode::FontColor);
        w.Int32(std::int32_t(f.color.value));
    }
    if (f.pitch != s.font.pitch) {
        w.Code(TCode::FontPitch);
        w.Byte(static_cast<std::uint8_t>(f.pitch));
    }
    if (f.sizePoints != s.font.sizePoints || f.name != s.font.name || f.bold != s.font.bold ||
        f.italic != s.font.italic)
        WriteFontSize();
    auto flag = [&](TCode code, bool now, bool was) {
        if (now != was) {
            w.Code(code);
            w.Byte(B(now));
        }
    };
    flag(TCode::FontBold, f.bold, s.font.bold);
    flag(TCode::FontUnderline, f.underline, s.font.underline);
    flag(TCode::FontItalic, f.italic, s.font.italic);
    flag(TCode::FontStrikeout, f.strikeout, s.font.strikeout);
    flag(TCode::FontSubscript, f.subscript, s.font.subscript);
    flag(TCode::FontSuperscript, f.superscript, s.font.superscript);
    if (f.rotation != s.font.rotation) {
        w.Code(TCode::FontRotation);
        w.Int16(std::int16_t(f.rotation));
    }
    s.font = f;
}

void TReportFiler::SyncPen()
{
    TPageStreamWriter& w = *mWriter;
    TWritten& s = *mWritten;
    const TPenState& p = Pen();
    if (p.color != s.pen.color) {
        w.Code(TCode::PenColor);
        w.Int32(std::int32_t(p.color.value));
    }
    if (p.mode != s.pen.mode) {
        w.Code(TCode::PenMode);
        w.Byte(static_cast<std::uint8_t>(p.mode));
    }
    if (p.style != s.pen.style) {
        w.Code(TCode::PenStyle);
        w.Byte(static_cast<std::uint8_t>(p.style));
    }
    const float width = float(p.widthPixels / Geometry().dpiX);
    if (width != s.penWidth) {
        w.Code(TCode::PenWidth);
        w.Float(width);
        s.penWidth = width;
    }
    s.pen = p;
}

void TReportFiler::SyncOther()
{
    TPageStreamWriter& w = *mWriter;
    TWritten& s = *mWritten;
    if (ScaleX() != s.scaleX) {
        w.Code(TCode::ScaleX);
        w.Float(ScaleX());
        s.scaleX = ScaleX();
    }
    if (ScaleY() != s.scaleY) {
        w.Code(TCode::ScaleY);
        w.Float(ScaleY());
        s.scaleY = ScaleY();
    }
    if (TextBKMode() != s.bkMode) {
        w.Code(TCode::TextBkMode);
        w.Byte(static_cast<std::uint8_t>(TextBKMode()));
        s.bkMode = TextBKMode();
    }
}

void TReportFiler::SyncLineMetrics()
{
    TWritten& s = *mWritten;
    const float ascent = float(AscentInches());
    const float descent = float(DescentInches());
    const float height = float(LineHeight() / UnitsFactor());
    if (ascent == s.ascent && descent == s.descent && height == s.lineHeight)
        return;
    TPageStreamWriter& w = *mWriter;
    w.Code(TCode::LineMetrics);
    w.Float(ascent);
    w.Float(descent);
    w.Float(height);
    s.ascent = ascent;
    s.descent = descent;
    s.lineHeight = height;
}

// ---- drawing

void TReportFiler::OutText(TTextAlign align, double x, double y, const QByteArray& text)
{
    SyncFont();
    SyncOther();
    SyncLineMetrics();
    TPageStreamWriter& w = *mWriter;
    const bool positioned =
        mAccuracy == TAccuracyMethod::amPositioning || Font().rotation != 0 || HasMacro(text);
    if (text.size() <= qsizetype(stream::kMaxTextLength)) {
        if (positioned) {
            w.Code(align == TTextAlign::Left     ? TCode::TextLeft
                   : align == TTextAlign::Center ? TCode::TextCenter
                                                 : TCode::TextRight);
            w.Float(y);
            w.Text(text);
            w.Float(x);
        } else {
            const double width = MeasureText(text);
            const double left = align == TTextAlign::Left     ? x
                                : align == TTextAlign::Center ? x - width / 2
                                                              : x - width;
            w.Code(TCode::TextBlock);
            w.Float(y);
            w.Text(text);
            w.Float(left);
            w.Float(width);
        }
        return;
    }
    // A long text: its left end first, then the rest where each piece ends.
    const double width = MeasureText(text);
    double left = x;
    if (align == TTextAlign::Center)
        left = x - width / 2;
    else if (align == TTextAlign::Right)
        left = x - width;
    bool first = true;
    for (const QByteArray& piece : SplitText(text)) {
        w.Code(TCode::TextLeft);
        w.Float(y);
        w.Text(piece);
        w.Float(first ? float(left) : std::numeric_limits<float>::quiet_NaN());
        first = false;
    }
}

void TReportFiler::OutTextBlock(double x, double y, double width, const QByteArray& text)
{
    SyncFont();
    SyncOther();
    SyncLineMetrics();
    if (text.size() > qsizetype(stream::kMaxTextLength)) {
        OutText(TTextAlign::Left, x, y, text);
        return;
    }
    TPageStreamWriter& w = *mWriter;
    w.Code(TCode::TextBlock);
    w.Float(y);
    w.Text(text);
    w.Float(x);
    w.Float(width);
}

void TReportFiler::OutTextRect(const QRectF& clip, double x, double y, const QByteArray& text)
{
    SyncBrush();
    SyncFont();
    SyncOther();
    TPageStreamWriter& w = *mWriter;
    if (text.size() <= qsizetype(stream::kMaxTextLength)) {
        // The usual cell: one piece.
        w.Code(TCode::TextRect);
        w.Rect(clip);
        w.Float(float(x));
        w.Float(y);
        w.Text(text);
        return;
    }
    std::vector<QByteArray> pieces = SplitText(text);
    bool first = true;
    for (const QByteArray& piece : pieces) {
        w.Code(TCode::TextRect);
        w.Rect(clip);
        w.Float(first ? float(x) : std::numeric_limits<float>::quiet_NaN());
        w.Float(y);
        w.Text(piece);
        first = false;
    }
}

void TReportFiler::OutShape(TShape shape, const QRectF& rect, double cw, double ch)
{
    SyncBrush();
    SyncPen();
    SyncOther();
    TPageStreamWriter& w = *mWriter;
    switch (shape) {
    case TShape::Rectangle:
        w.Code(TCode::Rectangle);
        break;
    case TShape::TabRectangle:
        w.Code(TCode::TabRectangle);
        break;
    case TShape::Ellipse:
        w.Code(TCode::Ellipse);
        break;
    case TShape::FillRect:
        w.Code(TCode::FillRect);
        break;
    case TShape::FrameRect:
        w.Code(TCode::FrameRect);
        break;
    case TShape::FocusRect:
        w.Code(TCode::FocusRect);
        break;
    case TShape::RoundRect:
        w.Code(TCode::RoundRect);
        break;
    }
    w.Rect(rect);
    if (shape == TShape::RoundRect) {
        w.Float(cw);
        w.Float(ch);
    }
}

void TReportFiler::OutMoveTo(QPointF p)
{
    SyncOther();
    mWriter->Code(TCode::MoveTo);
    mWriter->Point(p);
}

void TReportFiler::OutLineTo(QPointF p)
{
    SyncPen();
    SyncOther();
    mWriter->Code(TCode::LineTo);
    mWriter->Point(p);
}

void TReportFiler::OutPolygon(const std::vector<QPointF>& points, bool closed)
{
    SyncBrush();
    SyncPen();
    SyncOther();
    TPageStreamWriter& w = *mWriter;
    // The count field holds at most 32768 points; longer outlines go in consecutive pieces.
    size_t start = 0;
    while (start < points.size()) {
        const size_t n = std::min<size_t>(points.size() - start, 32768);
        w.Code(closed ? TCode::Polygon : TCode::Polyline);
        w.Int16(std::int16_t(n - 1));
        for (size_t i = start; i < start + n; ++i)
            w.Point(points[i]);
        start += n;
    }
}

namespace {
QByteArray ImageBytes(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}
} // namespace

void TReportFiler::OutBitmap(const QRectF& rect, const QImage& image)
{
    SyncOther();
    mWriter->Code(TCode::BitmapRect);
    mWriter->Graphic(stream::kGraphicBitmap, ImageBytes(image, "BMP"));
    mWriter->Rect(rect);
}

void TReportFiler::OutGraphic(const QRectF& rect, const QImage& image)
{
    SyncOther();
    mWriter->Code(TCode::GraphicRect);
    mWriter->Rect(rect);
    mWriter->Graphic(stream::kGraphicOther, ImageBytes(image, "PNG"));
}

} // namespace qm::print
