#pragma once

// The screen replay behind the preview window: which recorded page is shown, at what zoom, and
// the page's picture. No widgets: the window hands in its visible area and shows the picture.
//
// Contract:
// - Zoom is a percentage of the page's real size at ScreenDpi() (the display's logical
//   resolution). SetZoomFactor keeps it within 10..200; a request of -1.9 or less means page
//   width, a negative request above -1.9 means whole page.
// - Page moves follow the page links of the stream; a page that does not exist is not moved to.
// - The margin around the page is MarginPercent of the unzoomed page width, in pixels.
// - A damaged stream throws TPrintError "Unexpected code found in report file.".

#include "print/TPageReplay.h"

#include <QImage>
#include <QSize>
#include <functional>
#include <memory>

namespace qm::print {

class TFilePreview {
public:
    static constexpr double kMinZoom = 10;
    static constexpr double kMaxZoom = 200;
    static constexpr int kSlack = 4;

    explicit TFilePreview(const QByteArray& bytes, double screenDpi = 96);

    double ScreenDpi() const { return mDpi; }
    double ZoomFactor() const { return mZoom; }
    void SetZoomFactor(double zoom);
    double ZoomInc() const { return mZoomInc; }
    void SetZoomInc(double inc) { mZoomInc = inc; }
    double MarginPercent() const { return mMarginPercent; }
    void SetMarginPercent(double percent) { mMarginPercent = std::max(0.0, percent); }
    int ShadowDepth() const { return mShadowDepth; }
    void SetShadowDepth(int depth);
    bool Monochrome() const { return mMonochrome; }
    void SetMonochrome(bool on);
    int PageInc() const { return mPageInc; }
    void SetPageInc(int inc) { mPageInc = std::max(1, inc); }
    QStringList& MacroLines() { return mContext.macroLines; }

    std::function<void()> OnZoomChange;
    std::function<void()> OnPageChange;

    // The scroll area's visible size in pixels and its vertical scroll bar's width.
    void SetViewport(QSize visible, int scrollBarWidth);
    void ZoomIn() { SetZoomFactor(mZoom + mZoomInc); }
    void ZoomOut() { SetZoomFactor(mZoom - mZoomInc); }
    double ZoomPageWidthFactor() const;
    double ZoomPageFactor() const;

    int PageCount() const { return mReplay.PageCount(); }
    int FirstPage() const { return mReplay.Header().firstPage; }
    int CurrentPage() const { return mReplay.CurrentPageNumber(); }
    bool HasPages() const { return mReplay.HasPages(); }
    bool PrintPage(int pageNumber);
    bool NextPage();
    bool PrevPage();
    void GotoFirstPage();
    void GotoLastPage();

    // "Preview Page n of m ( z% )" for the current page and zoom.
    QString Caption() const;

    // The page's size and margin at the current zoom, in pixels.
    QSize PagePixels() const;
    int MarginPixels() const;
    // The current page drawn white at the current zoom.
    QImage RenderPage();

private:
    double PageWidth() const;
    double PageHeight() const;

    TPageReplay mReplay;
    TReplayContext mContext;
    double mDpi;
    double mZoom = 100;
    double mZoomInc = 10;
    double mMarginPercent = 2.5;
    int mShadowDepth = 0;
    bool mMonochrome = false;
    int mPageInc = 1;
    QSize mVisible{800, 600};
    int mScrollBarWidth = 16;
};

} // namespace qm::print
