#pragma once

// A print job: the drawing state (font, pen, brush, position, margins, tab stops), page counting,
// the page-range rule, the status line and the caller's handlers. Subclasses decide where the
// drawing goes: TCanvasReport paints on a device, TReportFiler records a page stream.
//
// Contract:
// - Coordinates the caller passes are in Units() (inches by default; UnitsFactor units per inch)
//   and measured from the physical top-left corner of the paper. Inside, everything is inches.
// - Drawing operations and NewPage need a running job (inside RunJob), else TPrintError
//   "Invalid method call.  ReportPrinter is not printing."; printer and page set-up need an idle
//   one ("... already printing."). Font, pen and brush setters work in both states.
// - Pages outside FirstPage..LastPage, and every page after AbortJob, are laid out (positions
//   move, page numbers count) but nothing is output.
// - Handlers are called on the calling thread; an exception from a handler ends the job (the end
//   steps still run) and is passed on.

#include "print/TPrintTypes.h"
#include "print/TRPDevice.h"

#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QRect>
#include <QRectF>
#include <QStringList>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace qm::print {

class TBaseReport {
public:
    using THandler = std::function<void(TBaseReport&)>;
    using TPageHandler = std::function<bool(TBaseReport&)>; // true while more pages follow
    using TStatusLabel = std::function<void(const QString&)>;
    using TErrorReporter = std::function<void(const QString&)>;

    static constexpr int kDefaultLastPage = 9999;
    static constexpr int kMaxTitleLength = 31;

    TBaseReport();
    virtual ~TBaseReport();
    TBaseReport(const TBaseReport&) = delete;
    TBaseReport& operator=(const TBaseReport&) = delete;

    // Error boxes of the jobs ("No printers are defined, aborting print job.") go here; the user
    // interface installs a reporter that shows them. Without one they go to qWarning.
    static void SetErrorReporter(TErrorReporter reporter);
    static void ReportError(const QString& text);

    // ---- properties
    int FirstPage() const { return mFirstPage; }
    void SetFirstPage(int page) { mFirstPage = page; }
    int LastPage() const { return mLastPage; }
    void SetLastPage(int page) { mLastPage = page; }
    void SetStatusLabel(TStatusLabel label) { mStatusLabel = std::move(label); }
    const QString& StatusFormat() const { return mStatusFormat; }
    void SetStatusFormat(const QString& format) { mStatusFormat = format; }
    QStringList& StatusText() { return mStatusText; }
    TLineHeightMethod LineHeightMethod() const { return mLineHeightMethod; }
    void SetLineHeightMethod(TLineHeightMethod method);
    int LinesPerInch() const { return mLinesPerInch; }
    void SetLinesPerInch(int lines);
    TUnits Units() const { return mUnits; }
    void SetUnits(TUnits units);
    double UnitsFactor() const { return mUnitsFactor; }
    void SetUnitsFactor(double factor);
    double MarginLeft() const { return U(mMarginLeft); }
    double MarginRight() const { return U(mMarginRight); }
    double MarginTop() const { return U(mMarginTop); }
    double MarginBottom() const { return U(mMarginBottom); }
    void SetMarginLeft(double v);
    void SetMarginRight(double v);
    void SetMarginTop(double v);
    void SetMarginBottom(double v);
    int TabShade() const { return mTabShade; }
    void SetTabShade(int percent) { mTabShade = std::clamp(percent, 0, 100); }
    const QString& Title() const { return mTitle; }
    void SetTitle(const QString& title) { mTitle = title.left(kMaxTitleLength); }
    TBkMode TextBKMode() const { return mBkMode; }
    void SetTextBKMode(TBkMode mode) { mBkMode = mode; }
    int Copies() const { return mCopies; }
    void SetCopies(int copies);
    TOrientation Orientation() const { return mOrientation; }
    void SetOrientation(TOrientation orientation);
    double ScaleX() const { return mScaleX; }
    double ScaleY() const { return mScaleY; }
    void SetScaleX(double percent)
    {
        if (percent > 0)
            mScaleX = percent;
    }
    void SetScaleY(double percent)
    {
        if (percent > 0)
            mScaleY = percent;
    }

    THandler OnBeforePrint, OnPrint, OnAfterPrint, OnNewPage, OnNewColumn, OnPrintHeader,
        OnPrintFooter, OnEndOfSection;
    TPageHandler OnPrintPage;
    // Clears every handler (the printing windows attach only theirs).
    void ClearHandlers();

    // ---- job control
    void RunJob();
    void AbortJob() { mAborted = true; }
    bool Aborted() const { return mAborted; }
    bool Printing() const { return mRunning; }
    void NewPage();
    void UpdateStatus();
    // The status line for the current state, without showing it.
    QString FormatStatus() const;
    int CurrentPage() const { return mPage; }
    bool PageOutput() const { return mOutput; }
    const QDateTime& StartDateTime() const { return mStart; }

    // ---- geometry (caller's units)
    double PageWidth() const { return U(mGeometry.pageWidth); }
    double PageHeight() const { return U(mGeometry.pageHeight); }
    double LeftWaste() const { return U(mGeometry.leftWaste); }
    double RightWaste() const { return U(mGeometry.rightWaste); }
    double TopWaste() const { return U(mGeometry.topWaste); }
    double BottomWaste() const { return U(mGeometry.bottomWaste); }
    double XDpi() const { return mGeometry.dpiX; }
    double YDpi() const { return mGeometry.dpiY; }
    double SectionLeft() const { return U(mSectionLeft); }
    double SectionRight() const { return U(mSectionRight); }
    double SectionTop() const { return U(mSectionTop); }
    double SectionBottom() const { return U(mSectionBottom); }
    void SetSectionLeft(double v) { mSectionLeft = I(v); }
    void SetSectionRight(double v) { mSectionRight = I(v); }
    void SetSectionTop(double v) { mSectionTop = I(v); }
    void SetSectionBottom(double v) { mSectionBottom = I(v); }
    double XPos() const { return U(mX); }
    double YPos() const { return U(mY); }
    void SetXPos(double v) { mX = I(v); }
    void SetYPos(double v);
    void GotoXY(double x, double y);
    void SetOriginX(double dx) { mOriginX = I(dx); }
    void SetOriginY(double dy) { mOriginY = I(dy); }
    double OriginX() const { return U(mOriginX); }
    double OriginY() const { return U(mOriginY); }

    // ---- lines
    void Home();
    void NewLine();
    int LinesLeft();
    double LineHeight();
    void SetLineHeight(double v); // switches to lhmUser
    double LineTop();
    double LineBottom();
    int LineNum() const { return mLine; }
    int ColumnNum() const { return mColumn; }

    // ---- text
    void TextLeft(const QString& text, double x);
    void TextCenter(const QString& text, double x);
    void TextRight(const QString& text, double x);
    void PrintText(const QString& text);
    void PrintLine(const QString& text);
    void TextInRect(const QRect& deviceRect, double x, double y, const QString& text);
    double TextWidth(const QString& text);

    // ---- tab stops
    void ClearTabs()
    {
        mTabs.clear();
        EndTabMode();
    }
    void SetTab(double position, TTabJustify justify, double width, int margin, unsigned borders,
                int shade);
    void NextTab();
    void SaveTabs() { mTabStack.push_back(mTabs); }
    void RestoreTabs();
    const std::vector<TTabStop>& Tabs() const { return mTabs; }
    void SavePos() { mPosStack.emplace_back(mX, mY); }
    void RestorePos();
    void SaveFont() { mFontStack.push_back(mFont); }
    void RestoreFont();

    // ---- fonts
    void SetFont(const QString& name, double sizePoints);
    void SetBold(bool on)
    {
        mFont.bold = on;
        FontChanged();
    }
    void SetItalic(bool on)
    {
        mFont.italic = on;
        FontChanged();
    }
    void SetUnderline(bool on)
    {
        mFont.underline = on;
        FontChanged();
    }
    void SetStrikeout(bool on)
    {
        mFont.strikeout = on;
        FontChanged();
    }
    void SetSuperscript(bool on)
    {
        mFont.superscript = on;
        if (on)
            mFont.subscript = false;
        FontChanged();
    }
    void SetSubscript(bool on)
    {
        mFont.subscript = on;
        if (on)
            mFont.superscript = false;
        FontChanged();
    }
    void SetFontColor(TColor color)
    {
        mFont.color = color;
        FontChanged();
    }
    void SetFontPitch(TFontPitch pitch)
    {
        mFont.pitch = pitch;
        FontChanged();
    }
    void SetFontRotation(int degrees);
    const TFontState& Font() const { return mFont; }

    // ---- graphics
    // width >= 0: device pixels; width -w: w hundredths of an inch, at least one pixel.
    void SetPen(TColor color, TPenStyle style, TPenMode mode, int width);
    const TPenState& Pen() const { return mPen; }
    void SetBrush(TColor color, TBrushStyle style, const std::optional<QImage>& pattern = {});
    const TBrushState& Brush() const { return mBrush; }
    const std::optional<QImage>& BrushPattern() const { return mPattern; }
    QRect MakeRect(double x1, double y1, double x2, double y2) const;
    void DrawRectangle(double x1, double y1, double x2, double y2);
    void DrawEllipse(double x1, double y1, double x2, double y2);
    void DrawRoundRect(double x1, double y1, double x2, double y2, double cornerW, double cornerH);
    void FillRect(double x1, double y1, double x2, double y2);
    // Fills many rectangles (left, top, right and bottom in the caller's units) with the brush,
    // as FillRect fills each: one drawing operation where the device allows, so a barcode's bars
    // cost one fill on the page instead of one each.
    void FillRects(std::span<const QRectF> rects);
    void FrameRect(double x1, double y1, double x2, double y2);
    void MoveTo(double x, double y);
    void LineTo(double x, double y);
    void Polygon(const std::vector<QPointF>& points);
    void Polyline(const std::vector<QPointF>& points);
    void DrawBitmap(double x1, double y1, double x2, double y2, const QImage& bitmap);
    void DrawGraphic(const QRect& deviceRect, const QImage& graphic);
    // Copying between canvases; refused by the recorder.
    virtual void CopyRect(const QRect& destination, const QImage& source, const QRect& sourceRect);

    // ---- printer and paper (idle only)
    QStringList PrinterNames() const { return TRPDevice::Instance().PrinterNames(); }
    int PrinterIndex() const { return TRPDevice::Instance().PrinterIndex(); }
    void SetPrinterIndex(int index);
    virtual QString DeviceName() const;
    virtual QString DriverName() const;
    virtual QString Port() const;
    void SelectPrinterByName(const QString& name);
    QStringList BinNames() const { return TRPDevice::Instance().BinNames(); }
    QStringList PaperNames() const { return TRPDevice::Instance().PaperNames(); }
    int CurrentBin() const { return TRPDevice::Instance().CurrentBin(); }
    int CurrentPaper() const { return TRPDevice::Instance().CurrentPaper(); }
    TOrientation CurrentOrientation() const { return TRPDevice::Instance().CurrentOrientation(); }
    void SelectBinByName(const QString& name);
    void SelectPaperByName(const QString& name);
    void SetPaperSize(int code, double width = 0, double height = 0);

    // The file the last run wrote, for a job whose printer writes files (the "PDF file"
    // printer); empty for a paper printer, a page stream, and a run that did not finish.
    virtual QString OutputFile() const { return {}; }

protected:
    // Output hooks. Coordinates are page inches with the origin added; called only on pages that
    // are output.
    virtual TPageGeometry ReadGeometry() = 0;
    virtual void StartOutput() = 0;
    virtual void EndOutput(bool aborted) = 0;
    virtual void StartPage() = 0;
    virtual void EndPage() = 0;
    // Text measuring in inches with the current font (also on pages not output).
    virtual double MeasureText(const QByteArray& text) = 0;
    virtual void MeasureFont(double& ascent, double& descent) = 0;
    virtual void OutText(TTextAlign align, double x, double y, const QByteArray& text) = 0;
    virtual void OutTextBlock(double x, double y, double width, const QByteArray& text) = 0;
    virtual void OutTextRect(const QRectF& clip, double x, double y, const QByteArray& text) = 0;
    virtual void OutShape(TShape shape, const QRectF& rect, double cw, double ch) = 0;
    // By default one FillRect shape per rectangle; a painting device fills them all at once.
    virtual void OutFillRects(std::span<const QRectF> rects);
    virtual void OutMoveTo(QPointF p) = 0;
    virtual void OutLineTo(QPointF p) = 0;
    virtual void OutPolygon(const std::vector<QPointF>& points, bool closed) = 0;
    virtual void OutBitmap(const QRectF& rect, const QImage& image) = 0;
    virtual void OutGraphic(const QRectF& rect, const QImage& image) = 0;
    // The device's own idea of the status codes %D %R %T.
    virtual bool NeedsPrinter() const { return false; }

    void RequireRunning() const;
    void RequireIdle() const;
    const TPageGeometry& Geometry() const { return mGeometry; }
    double AscentInches();
    double DescentInches();
    // Inches from the caller's units and back.
    double I(double units) const { return units / mUnitsFactor; }
    double U(double inches) const { return inches * mUnitsFactor; }

private:
    void ResetDrawingState();
    void BeginPageNumber();
    void PageRangeTest();
    void FontChanged();
    void UpdateLineMetrics();
    void EndTabMode();
    void Out(TTextAlign align, const QString& text, double x);
    void PrintSegment(const QString& text);
    void TabBox(double left, double right, const TTabStop& tab);
    void CallHandler(const THandler& handler);

    // properties
    int mFirstPage = 1;
    int mLastPage = kDefaultLastPage;
    TStatusLabel mStatusLabel;
    QString mStatusFormat = QStringLiteral("Printing page %p");
    QStringList mStatusText;
    TLineHeightMethod mLineHeightMethod = TLineHeightMethod::lhmLinesPerInch;
    int mLinesPerInch = 6;
    TUnits mUnits = TUnits::unInch;
    double mUnitsFactor = 1.0;
    double mMarginLeft = 0.5, mMarginRight = 0.5, mMarginTop = 0.5, mMarginBottom = 0.5;
    int mTabShade = 0;
    QString mTitle;
    TBkMode mBkMode = TBkMode::bkTransparent;
    int mCopies = 1;
    TOrientation mOrientation = TOrientation::poDefault;
    double mScaleX = 100, mScaleY = 100;

    // job state
    bool mRunning = false;
    bool mAborted = false;
    bool mOutput = false;
    bool mPageOpen = false;
    int mPage = 0;
    QDateTime mStart;
    TPageGeometry mGeometry;

    // drawing state (inches)
    double mSectionLeft = 0.5, mSectionRight = 8.0, mSectionTop = 0.5, mSectionBottom = 10.5;
    double mX = 0, mY = 0, mOriginX = 0, mOriginY = 0;
    int mLine = 1, mColumn = 1;
    TFontState mFont;
    TPenState mPen;
    TBrushState mBrush;
    std::optional<QImage> mPattern;
    double mLineHeight = 1.0 / 6.0;
    double mAscent = 0, mDescent = 0;
    bool mMetricsValid = false;

    std::vector<TTabStop> mTabs;
    int mTabIndex = -1;
    bool mInBox = false;
    double mBoxLeft = 0, mBoxRight = 0;
    TTabStop mBoxTab;
    double mPrevBoxEnd = -1;
    std::vector<std::vector<TTabStop>> mTabStack;
    std::vector<std::pair<double, double>> mPosStack;
    std::vector<TFontState> mFontStack;
};

} // namespace qm::print
