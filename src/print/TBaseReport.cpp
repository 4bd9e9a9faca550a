#include "print/TBaseReport.h"

#include "print/TDeviceMapping.h"
#include "print/TPrintError.h"
#include "print/TPrintText.h"

#include <QCoreApplication>
#include <QtDebug>
#include <cmath>
#include <numbers>

namespace qm::print {
namespace {

TBaseReport::TErrorReporter& Reporter()
{
    static TBaseReport::TErrorReporter reporter;
    return reporter;
}

// Comparisons of line positions allow for float noise in inch arithmetic.
constexpr double kEpsilon = 1e-9;

} // namespace

TBaseReport::TBaseReport() = default;
TBaseReport::~TBaseReport() = default;

void TBaseReport::SetErrorReporter(TErrorReporter reporter)
{
    Reporter() = std::move(reporter);
}

void TBaseReport::ReportError(const QString& text)
{
    if (Reporter())
        Reporter()(text);
    else
        qWarning().noquote() << text;
}

void TBaseReport::ClearHandlers()
{
    OnBeforePrint = OnPrint = OnAfterPrint = OnNewPage = OnNewColumn = OnPrintHeader =
        OnPrintFooter = OnEndOfSection = nullptr;
    OnPrintPage = nullptr;
}

void TBaseReport::RequireRunning() const
{
    if (!mRunning)
        throw TPrintError(TPrintErrorKind::WrongState, QString::fromLatin1(msg::kNotPrinting));
}

void TBaseReport::RequireIdle() const
{
    if (mRunning)
        throw TPrintError(TPrintErrorKind::WrongState, QString::fromLatin1(msg::kAlreadyPrinting));
}

// ---- properties

void TBaseReport::SetLineHeightMethod(TLineHeightMethod method)
{
    mLineHeightMethod = method;
    mMetricsValid = false;
}

void TBaseReport::SetLinesPerInch(int lines)
{
    if (lines <= 0)
        return;
    mLinesPerInch = lines;
    mMetricsValid = false;
}

void TBaseReport::SetUnits(TUnits units)
{
    mUnits = units;
    switch (units) {
    case TUnits::unInch:
        mUnitsFactor = 1.0;
        break;
    case TUnits::unMM:
        mUnitsFactor = 25.4;
        break;
    case TUnits::unCM:
        mUnitsFactor = 2.54;
        break;
    case TUnits::unPoint:
        mUnitsFactor = 72.0;
        break;
    case TUnits::unUser:
        break;
    }
}

void TBaseReport::SetUnitsFactor(double factor)
{
    if (!(factor > 0))
        return;
    mUnitsFactor = factor;
    if (factor == 1.0)
        mUnits = TUnits::unInch;
    else if (factor == 25.4)
        mUnits = TUnits::unMM;
    else if (factor == 2.54)
        mUnits = TUnits::unCM;
    else if (factor == 72.0)
        mUnits = TUnits::unPoint;
    else
        mUnits = TUnits::unUser;
}

void TBaseReport::SetMarginLeft(double v)
{
    mMarginLeft = I(v);
    mSectionLeft = mMarginLeft;
}
void TBaseReport::SetMarginTop(double v)
{
    mMarginTop = I(v);
    mSectionTop = mMarginTop;
}
void TBaseReport::SetMarginRight(double v)
{
    mMarginRight = I(v);
    mSectionRight = mGeometry.pageWidth - mMarginRight;
}
void TBaseReport::SetMarginBottom(double v)
{
    mMarginBottom = I(v);
    mSectionBottom = mGeometry.pageHeight - mMarginBottom;
}

void TBaseReport::SetCopies(int copies)
{
    RequireIdle();
    mCopies = std::max(1, copies);
}

void TBaseReport::SetOrientation(TOrientation orientation)
{
    RequireIdle();
    mOrientation = orientation;
}

// ---- job control

void TBaseReport::CallHandler(const THandler& handler)
{
    if (handler)
        handler(*this);
}

void TBaseReport::RunJob()
{
    RequireIdle();
    TRPDevice& device = TRPDevice::Instance();
    if (NeedsPrinter() && !device.HasPrinter()) {
        ReportError(QString::fromLatin1(msg::kNoPrinters));
        return;
    }
    mStart = QDateTime::currentDateTime();
    mAborted = false;
    mPage = 0;
    mOutput = false;
    mPageOpen = false;
    CallHandler(OnBeforePrint);

    if (mOrientation != TOrientation::poDefault)
        device.SetOrientation(mOrientation);
    mGeometry = ReadGeometry();
    StartOutput();
    device.BeginJob();
    mRunning = true;
    std::exception_ptr failure;
    try {
        mGeometry = ReadGeometry();
        ResetDrawingState();
        mPage = 1;
        PageRangeTest();
        if (mOutput) {
            StartPage();
            mPageOpen = true;
        }
        UpdateStatus();
        if (!mAborted) {
            CallHandler(OnNewPage);
            CallHandler(OnPrintHeader);
        }
        if (OnPrint || !OnPrintPage) {
            CallHandler(OnPrint);
        } else {
            while (!mAborted && OnPrintPage(*this) && !mAborted)
                NewPage();
        }
    } catch (...) {
        failure = std::current_exception();
    }
    // The end steps run even when a handler failed.
    try {
        if (!mAborted && !failure)
            CallHandler(OnPrintFooter);
    } catch (...) {
        if (!failure)
            failure = std::current_exception();
    }
    try {
        if (mPageOpen) {
            mPageOpen = false;
            EndPage();
        }
        EndOutput(mAborted || failure != nullptr);
    } catch (...) {
        if (!failure)
            failure = std::current_exception();
    }
    mRunning = false;
    device.EndJob();
    try {
        CallHandler(OnAfterPrint);
    } catch (...) {
        if (!failure)
            failure = std::current_exception();
    }
    if (failure)
        std::rethrow_exception(failure);
}

void TBaseReport::ResetDrawingState()
{
    mBrush = TBrushState{kBlack, TBrushStyle::bsClear};
    mPattern.reset();
    mPen = TPenState{};
    mOriginX = mOriginY = 0;
    mSectionLeft = mMarginLeft;
    mSectionTop = mMarginTop;
    mSectionRight = mGeometry.pageWidth - mMarginRight;
    mSectionBottom = mGeometry.pageHeight - mMarginBottom;
    mTabs.clear();
    mMetricsValid = false;
    Home();
}

void TBaseReport::PageRangeTest()
{
    // 9999, the default and what the print dialog's "All" sets, means every page: a label run
    // of more than 9999 sheets must not lose its last pages.
    const bool belowLast = mLastPage >= kDefaultLastPage || mPage <= mLastPage;
    mOutput = mFirstPage <= mPage && belowLast && !mAborted;
}

void TBaseReport::NewPage()
{
    RequireRunning();
    CallHandler(OnPrintFooter);
    if (mPageOpen) {
        mPageOpen = false;
        EndPage();
    }
    ++mPage;
    UpdateStatus();
    PageRangeTest();
    mOriginX = mOriginY = 0;
    mSectionLeft = mMarginLeft;
    mSectionTop = mMarginTop;
    mSectionRight = mGeometry.pageWidth - mMarginRight;
    mSectionBottom = mGeometry.pageHeight - mMarginBottom;
    if (mOutput) {
        StartPage();
        mPageOpen = true;
    }
    mGeometry = ReadGeometry();
    Home();
    if (!mAborted) {
        CallHandler(OnNewPage);
        CallHandler(OnPrintHeader);
    }
}

QString TBaseReport::FormatStatus() const
{
    QString out;
    const QString& f = mStatusFormat;
    for (qsizetype i = 0; i < f.size(); ++i) {
        const QChar ch = f[i];
        if (ch != QLatin1Char('%') || i + 1 >= f.size()) {
            out += ch;
            continue;
        }
        const QChar code = f[++i];
        const QChar up = code.toUpper();
        if (code == QLatin1Char('%')) {
            out += QLatin1Char('%');
        } else if (code.isDigit() && code.unicode() < 128) {
            const int line = code.unicode() - '0';
            if (line < mStatusText.size())
                out += mStatusText[line];
        } else if (up == QLatin1Char('P')) {
            out += QString::number(mPage);
        } else if (up == QLatin1Char('F')) {
            out += QString::number(mFirstPage);
        } else if (up == QLatin1Char('L')) {
            out += QString::number(mLastPage);
        } else if (up == QLatin1Char('D')) {
            out += DeviceName();
        } else if (up == QLatin1Char('R')) {
            out += DriverName();
        } else if (up == QLatin1Char('T')) {
            out += Port();
        } else {
            out += QStringLiteral("<ERROR-%") + code + QLatin1Char('>');
        }
    }
    return out;
}

void TBaseReport::UpdateStatus()
{
    if (!mStatusLabel)
        return;
    mStatusLabel(FormatStatus());
    if (QCoreApplication::instance())
        QCoreApplication::processEvents();
}

QString TBaseReport::DeviceName() const
{
    return TRPDevice::Instance().DeviceName();
}
QString TBaseReport::DriverName() const
{
    return TRPDevice::Instance().DriverName();
}
QString TBaseReport::Port() const
{
    return TRPDevice::Instance().Port();
}

// ---- position and lines

void TBaseReport::SetYPos(double v)
{
    UpdateLineMetrics();
    mY = I(v);
}

void TBaseReport::GotoXY(double x, double y)
{
    mX = I(x);
    SetYPos(y);
}

void TBaseReport::FontChanged()
{
    mMetricsValid = false;
}

void TBaseReport::UpdateLineMetrics()
{
    if (mMetricsValid)
        return;
    MeasureFont(mAscent, mDescent);
    switch (mLineHeightMethod) {
    case TLineHeightMethod::lhmFont:
        mLineHeight = mFont.sizePoints / 60.0;
        break;
    case TLineHeightMethod::lhmLinesPerInch:
        mLineHeight = 1.0 / mLinesPerInch;
        break;
    case TLineHeightMethod::lhmUser:
        break;
    }
    mMetricsValid = true;
}

double TBaseReport::AscentInches()
{
    UpdateLineMetrics();
    return mAscent;
}
double TBaseReport::DescentInches()
{
    UpdateLineMetrics();
    return mDescent;
}

double TBaseReport::LineHeight()
{
    UpdateLineMetrics();
    return U(mLineHeight);
}

void TBaseReport::SetLineHeight(double v)
{
    if (!(v > 0))
        return;
    UpdateLineMetrics();
    mLineHeightMethod = TLineHeightMethod::lhmUser;
    mLineHeight = I(v);
}

double TBaseReport::LineBottom()
{
    UpdateLineMetrics();
    return U(mY + mDescent);
}

double TBaseReport::LineTop()
{
    UpdateLineMetrics();
    return U(mY + mDescent - mLineHeight);
}

void TBaseReport::Home()
{
    UpdateLineMetrics();
    mX = mSectionLeft;
    mY = mSectionTop + mLineHeight - mDescent;
    mLine = 1;
    mColumn = 1;
    EndTabMode();
}

void TBaseReport::NewLine()
{
    UpdateLineMetrics();
    mY += mLineHeight;
    ++mLine;
    mX = mSectionLeft;
    EndTabMode();
}

int TBaseReport::LinesLeft()
{
    UpdateLineMetrics();
    const double bottom = mY + mDescent;
    if (bottom > mSectionBottom + kEpsilon)
        return 0;
    return int(std::floor((mSectionBottom - bottom) / mLineHeight + kEpsilon)) + 1;
}

// ---- text

double TBaseReport::TextWidth(const QString& text)
{
    const double width = MeasureText(EncodePrintText(text));
    return U(std::max(width, 1.0 / mGeometry.dpiX));
}

void TBaseReport::Out(TTextAlign align, const QString& text, double x)
{
    RequireRunning();
    const QByteArray bytes = EncodePrintText(text);
    const double width = std::max(MeasureText(bytes), 1.0 / mGeometry.dpiX);
    if (mOutput && !mAborted)
        OutText(align, x + mOriginX, mY + mOriginY, bytes);
    double advance = 0;
    if (align == TTextAlign::Left)
        advance = width;
    else if (align == TTextAlign::Center)
        advance = width / 2;
    if (mFont.rotation == 0) {
        mX = x + advance;
    } else {
        const double angle = mFont.rotation * std::numbers::pi / 180.0;
        mX = x + advance * std::cos(angle);
        mY -= advance * std::sin(angle);
    }
}

void TBaseReport::TextLeft(const QString& text, double x)
{
    Out(TTextAlign::Left, text, I(x));
}
void TBaseReport::TextCenter(const QString& text, double x)
{
    Out(TTextAlign::Center, text, I(x));
}
void TBaseReport::TextRight(const QString& text, double x)
{
    Out(TTextAlign::Right, text, I(x));
}

void TBaseReport::PrintSegment(const QString& text)
{
    if (text.isEmpty())
        return;
    if (!mInBox) {
        Out(TTextAlign::Left, text, mX);
        return;
    }
    const double margin = mBoxTab.margin / 100.0;
    const bool box = mBoxTab.width > 0;
    switch (mBoxTab.justify) {
    case TTabJustify::Center:
        Out(TTextAlign::Center, text, box ? (mBoxLeft + mBoxRight) / 2 : mBoxLeft);
        break;
    case TTabJustify::Right:
        Out(TTextAlign::Right, text, box ? mBoxRight - margin : mBoxLeft);
        break;
    case TTabJustify::Block:
        if (box) {
            RequireRunning();
            const QByteArray bytes = EncodePrintText(text);
            const double width = mBoxRight - mBoxLeft - 2 * margin;
            if (mOutput && !mAborted)
                OutTextBlock(mBoxLeft + margin + mOriginX, mY + mOriginY, width, bytes);
            mX = mBoxLeft + margin + width;
            break;
        }
        [[fallthrough]];
    case TTabJustify::Left:
        Out(TTextAlign::Left, text, box ? mBoxLeft + margin : mBoxLeft);
        break;
    }
}

void TBaseReport::PrintText(const QString& text)
{
    RequireRunning();
    const QStringList parts = text.split(QLatin1Char('\t'));
    PrintSegment(parts.front());
    for (qsizetype i = 1; i < parts.size(); ++i) {
        NextTab();
        PrintSegment(parts[i]);
    }
}

void TBaseReport::PrintLine(const QString& text)
{
    PrintText(text);
    NewLine();
}

void TBaseReport::TextInRect(const QRect& r, double x, double y, const QString& text)
{
    RequireRunning();
    if (!mOutput || mAborted)
        return;
    TDeviceMapping m{mGeometry.dpiX, mGeometry.dpiY, mGeometry.leftWaste, mGeometry.topWaste, 100,
                     mScaleX,        mScaleY};
    const QRectF clip(QPointF(m.InchesX(r.left()), m.InchesY(r.top())),
                      QPointF(m.InchesX(r.right() + 1), m.InchesY(r.bottom() + 1)));
    OutTextRect(clip, I(x) + mOriginX, I(y) + mOriginY, EncodePrintText(text));
}

// ---- tabs

void TBaseReport::SetTab(double position, TTabJustify justify, double width, int margin,
                         unsigned borders, int shade)
{
    TTabStop tab;
    tab.position = position < 0 ? -1 : I(position);
    tab.justify = justify;
    tab.width = std::max(0.0, I(width));
    tab.margin = margin;
    tab.borders = borders & kBoxAll;
    tab.shade = std::clamp(shade, 0, 100);
    mTabs.push_back(tab);
}

void TBaseReport::EndTabMode()
{
    mTabIndex = -1;
    mInBox = false;
    mPrevBoxEnd = -1;
}

void TBaseReport::NextTab()
{
    RequireRunning();
    ++mTabIndex;
    if (mTabIndex >= int(mTabs.size())) {
        // After the last tab stop the line goes on at the current position.
        mTabIndex = int(mTabs.size());
        mInBox = false;
        return;
    }
    const TTabStop& tab = mTabs[size_t(mTabIndex)];
    double left = tab.position;
    if (left < 0)
        left = mPrevBoxEnd >= 0 ? mPrevBoxEnd : mMarginLeft;
    const double right = left + tab.width;
    mBoxTab = tab;
    mBoxLeft = left;
    mBoxRight = right;
    mInBox = true;
    mPrevBoxEnd = tab.width > 0 ? right : left;
    mX = left;
    if (tab.width > 0)
        TabBox(left, right, tab);
}

void TBaseReport::TabBox(double left, double right, const TTabStop& tab)
{
    if (!mOutput || mAborted)
        return;
    const double top = LineTop() / mUnitsFactor;
    const double bottom = LineBottom() / mUnitsFactor;
    const QRectF rect(QPointF(left + mOriginX, top + mOriginY),
                      QPointF(right + mOriginX, bottom + mOriginY));
    const int shade = tab.shade > 0 ? tab.shade : mTabShade;
    if (shade > 0) {
        const TBrushState saved = mBrush;
        const int level = int(std::lround(255.0 * (100 - shade) / 100.0));
        mBrush = TBrushState{TColor::Rgb(level, level, level), TBrushStyle::bsSolid};
        OutShape(TShape::FillRect, rect, 0, 0);
        mBrush = saved;
    }
    auto line = [&](QPointF a, QPointF b) {
        OutMoveTo(a);
        OutLineTo(b);
    };
    if (tab.borders & kBoxLeft)
        line(rect.topLeft(), rect.bottomLeft());
    if (tab.borders & kBoxRight)
        line(rect.topRight(), rect.bottomRight());
    if (tab.borders & kBoxTop)
        line(rect.topLeft(), rect.topRight());
    if (tab.borders & kBoxBottom)
        line(rect.bottomLeft(), rect.bottomRight());
}

void TBaseReport::RestoreTabs()
{
    if (mTabStack.empty())
        return;
    mTabs = std::move(mTabStack.back());
    mTabStack.pop_back();
}

void TBaseReport::RestorePos()
{
    if (mPosStack.empty())
        return;
    std::tie(mX, mY) = mPosStack.back();
    mPosStack.pop_back();
}

void TBaseReport::RestoreFont()
{
    if (mFontStack.empty())
        return;
    mFont = mFontStack.back();
    mFontStack.pop_back();
    FontChanged();
}

// ---- fonts

void TBaseReport::SetFont(const QString& name, double sizePoints)
{
    if (!(sizePoints > 0))
        return;
    mFont = TFontState{};
    mFont.name = name;
    mFont.sizePoints = sizePoints;
    FontChanged();
}

void TBaseReport::SetFontRotation(int degrees)
{
    mFont.rotation = ((degrees % 360) + 360) % 360;
    FontChanged();
}

// ---- graphics

void TBaseReport::SetPen(TColor color, TPenStyle style, TPenMode mode, int width)
{
    int pixels = width;
    if (width < 0) {
        const double inches = -width / 100.0;
        pixels = std::max(1, int(std::nearbyint(inches * mGeometry.dpiX * mScaleX / 100.0)));
    }
    mPen = TPenState{color, style, mode, pixels};
}

void TBaseReport::SetBrush(TColor color, TBrushStyle style, const std::optional<QImage>& pattern)
{
    mBrush = TBrushState{color, style};
    mPattern = pattern;
}

QRect TBaseReport::MakeRect(double x1, double y1, double x2, double y2) const
{
    const TDeviceMapping m{
        mGeometry.dpiX, mGeometry.dpiY, mGeometry.leftWaste, mGeometry.topWaste, 100,
        mScaleX,        mScaleY};
    return m.Rect(QRectF(QPointF(I(x1) + mOriginX, I(y1) + mOriginY),
                         QPointF(I(x2) + mOriginX, I(y2) + mOriginY)));
}

namespace {
QRectF InchRect(double x1, double y1, double x2, double y2)
{
    return QRectF(QPointF(x1, y1), QPointF(x2, y2));
}
} // namespace

void TBaseReport::DrawRectangle(double x1, double y1, double x2, double y2)
{
    RequireRunning();
    if (mOutput && !mAborted)
        OutShape(TShape::Rectangle,
                 InchRect(I(x1) + mOriginX, I(y1) + mOriginY, I(x2) + mOriginX, I(y2) + mOriginY),
                 0, 0);
}

void TBaseReport::DrawEllipse(double x1, double y1, double x2, double y2)
{
    RequireRunning();
    if (mOutput && !mAborted)
        OutShape(TShape::Ellipse,
                 InchRect(I(x1) + mOriginX, I(y1) + mOriginY, I(x2) + mOriginX, I(y2) + mOriginY),
                 0, 0);
}

void TBaseReport::DrawRoundRect(double x1, double y1, double x2, double y2, double cw, double ch)
{
    RequireRunning();
    if (mOutput && !mAborted)
        OutShape(TShape::RoundRect,
                 InchRect(I(x1) + mOriginX, I(y1) + mOriginY, I(x2) + mOriginX, I(y2) + mOriginY),
                 I(cw), I(ch));
}

void TBaseReport::FillRect(double x1, double y1, double x2, double y2)
{
    RequireRunning();
    if (mOutput && !mAborted)
        OutShape(TShape::FillRect,
                 InchRect(I(x1) + mOriginX, I(y1) + mOriginY, I(x2) + mOriginX, I(y2) + mOriginY),
                 0, 0);
}

void TBaseReport::FillRects(std::span<const QRectF> rects)
{
    RequireRunning();
    if (!mOutput || mAborted || rects.empty())
        return;
    std::vector<QRectF> inches;
    inches.reserve(rects.size());
    for (const QRectF& r : rects)
        inches.push_back(InchRect(I(r.left()) + mOriginX, I(r.top()) + mOriginY,
                                  I(r.right()) + mOriginX, I(r.bottom()) + mOriginY));
    OutFillRects(inches);
}

void TBaseReport::OutFillRects(std::span<const QRectF> rects)
{
    for (const QRectF& r : rects)
        OutShape(TShape::FillRect, r, 0, 0);
}

void TBaseReport::FrameRect(double x1, double y1, double x2, double y2)
{
    RequireRunning();
    if (mOutput && !mAborted)
        OutShape(TShape::FrameRect,
                 InchRect(I(x1) + mOriginX, I(y1) + mOriginY, I(x2) + mOriginX, I(y2) + mOriginY),
                 0, 0);
}

void TBaseReport::MoveTo(double x, double y)
{
    RequireRunning();
    if (mOutput && !mAborted)
        OutMoveTo(QPointF(I(x) + mOriginX, I(y) + mOriginY));
}

void TBaseReport::LineTo(double x, double y)
{
    RequireRunning();
    if (mOutput && !mAborted)
        OutLineTo(QPointF(I(x) + mOriginX, I(y) + mOriginY));
}

void TBaseReport::Polygon(const std::vector<QPointF>& points)
{
    RequireRunning();
    if (!mOutput || mAborted || points.empty())
        return;
    std::vector<QPointF> inches;
    for (QPointF p : points)
        inches.emplace_back(I(p.x()) + mOriginX, I(p.y()) + mOriginY);
    OutPolygon(inches, true);
}

void TBaseReport::Polyline(const std::vector<QPointF>& points)
{
    RequireRunning();
    if (!mOutput || mAborted || points.empty())
        return;
    std::vector<QPointF> inches;
    for (QPointF p : points)
        inches.emplace_back(I(p.x()) + mOriginX, I(p.y()) + mOriginY);
    OutPolygon(inches, false);
}

void TBaseReport::DrawBitmap(double x1, double y1, double x2, double y2, const QImage& bitmap)
{
    RequireRunning();
    if (mOutput && !mAborted)
        OutBitmap(InchRect(I(x1) + mOriginX, I(y1) + mOriginY, I(x2) + mOriginX, I(y2) + mOriginY),
                  bitmap);
}

void TBaseReport::DrawGraphic(const QRect& r, const QImage& graphic)
{
    RequireRunning();
    if (!mOutput || mAborted)
        return;
    const TDeviceMapping m{
        mGeometry.dpiX, mGeometry.dpiY, mGeometry.leftWaste, mGeometry.topWaste, 100,
        mScaleX,        mScaleY};
    OutGraphic(QRectF(QPointF(m.InchesX(r.left()), m.InchesY(r.top())),
                      QPointF(m.InchesX(r.right() + 1), m.InchesY(r.bottom() + 1))),
               graphic);
}

void TBaseReport::CopyRect(const QRect& destination, const QImage& source, const QRect& sourceRect)
{
    DrawGraphic(destination, source.copy(sourceRect));
}

// ---- printer and paper

void TBaseReport::SetPrinterIndex(int index)
{
    RequireIdle();
    TRPDevice::Instance().SetPrinterIndex(index);
    mGeometry = ReadGeometry();
}

void TBaseReport::SelectPrinterByName(const QString& name)
{
    RequireIdle();
    TRPDevice::Instance().SelectPrinterByName(name);
    mGeometry = ReadGeometry();
}

void TBaseReport::SelectBinByName(const QString& name)
{
    RequireIdle();
    TRPDevice::Instance().SelectBinByName(name);
}

void TBaseReport::SelectPaperByName(const QString& name)
{
    RequireIdle();
    TRPDevice::Instance().SelectPaperByName(name);
    mGeometry = ReadGeometry();
}

void TBaseReport::SetPaperSize(int code, double width, double height)
{
    RequireIdle();
    TRPDevice::Instance().SetPaperSize(code, width, height);
    mGeometry = ReadGeometry();
}

} // namespace qm::print
