#include "print/TFilePreview.h"

#include "print/TPrintError.h"

#include <QPainter>
#include <cmath>

namespace qm::print {

TFilePreview::TFilePreview(const QByteArray& bytes, double screenDpi)
    : mReplay(bytes), mDpi(screenDpi > 0 ? screenDpi : 96)
{
}

void TFilePreview::SetShadowDepth(int depth)
{
    if (depth != 0 && mMonochrome)
        throw TPrintError(TPrintErrorKind::WrongState,
                          QStringLiteral("Shadows not allowed while monochrome in effect.\r"
                                         "Change Monochrome to false first"));
    mShadowDepth = std::max(0, depth);
}

void TFilePreview::SetMonochrome(bool on)
{
    if (on && mShadowDepth != 0)
        throw TPrintError(TPrintErrorKind::WrongState,
                          QStringLiteral("Monochrome not allowed while shadows are in effect.\r"
                                         "Change ShadowDepth to 0 first"));
    mMonochrome = on;
}

double TFilePreview::PageWidth() const
{
    const float w = mReplay.HasPages() ? mReplay.Current().width : mReplay.Header().pageWidth;
    return std::isfinite(w) && w > 0.01f && w < 200.f ? w : 8.5;
}

double TFilePreview::PageHeight() const
{
    const float h = mReplay.HasPages() ? mReplay.Current().height : mReplay.Header().pageHeight;
    return std::isfinite(h) && h > 0.01f && h < 200.f ? h : 11.0;
}

void TFilePreview::SetViewport(QSize visible, int scrollBarWidth)
{
    mVisible = visible;
    mScrollBarWidth = scrollBarWidth;
}

int TFilePreview::MarginPixels() const
{
    return int(std::lround(PageWidth() * mDpi * mMarginPercent / 100.0));
}

double TFilePreview::ZoomPageWidthFactor() const
{
    const double m2 = 2.0 * MarginPixels();
    double zoom = (mVisible.width() - m2) / (PageWidth() * mDpi) * 100.0;
    // A page taller than the view gets a vertical scroll bar, which takes its width.
    if (PageHeight() * mDpi * zoom / 100.0 + m2 > mVisible.height())
        zoom = (mVisible.width() - mScrollBarWidth - m2) / (PageWidth() * mDpi) * 100.0;
    return zoom;
}

double TFilePreview::ZoomPageFactor() const
{
    const double m2 = 2.0 * MarginPixels();
    const double byWidth = (mVisible.width() - m2 - kSlack) / (PageWidth() * mDpi) * 100.0;
    const double byHeight = (mVisible.height() - m2 - kSlack) / (PageHeight() * mDpi) * 100.0;
    return std::min(byWidth, byHeight);
}

void TFilePreview::SetZoomFactor(double zoom)
{
    if (zoom <= -1.9)
        zoom = ZoomPageWidthFactor();
    else if (zoom < 0)
        zoom = ZoomPageFactor();
    zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    if (zoom == mZoom)
        return;
    mZoom = zoom;
    if (OnZoomChange)
        OnZoomChange();
}

bool TFilePreview::PrintPage(int pageNumber)
{
    const int was = CurrentPage();
    if (!mReplay.GotoPage(pageNumber)) {
        mReplay.GotoPage(was);
        return false;
    }
    if (OnPageChange)
        OnPageChange();
    return true;
}

bool TFilePreview::NextPage()
{
    return PrintPage(CurrentPage() + mPageInc);
}
bool TFilePreview::PrevPage()
{
    return PrintPage(CurrentPage() - mPageInc);
}

void TFilePreview::GotoFirstPage()
{
    mReplay.GotoFirst();
    if (OnPageChange)
        OnPageChange();
}

void TFilePreview::GotoLastPage()
{
    mReplay.GotoLast();
    if (OnPageChange)
        OnPageChange();
}

QString TFilePreview::Caption() const
{
    const int shown = mReplay.HasPages() ? CurrentPage() - FirstPage() + 1 : 0;
    return QStringLiteral("Preview Page %1 of %2 ( %3% )")
        .arg(shown)
        .arg(PageCount())
        .arg(std::lround(mZoom));
}

QSize TFilePreview::PagePixels() const
{
    return QSize(int(std::lround(PageWidth() * mDpi * mZoom / 100.0)),
                 int(std::lround(PageHeight() * mDpi * mZoom / 100.0)));
}

QImage TFilePreview::RenderPage()
{
    const QSize size = PagePixels();
    QImage image(std::max(1, size.width()), std::max(1, size.height()), QImage::Format_RGB32);
    const int dpm = int(std::lround(mDpi * mZoom / 100.0 / 0.0254));
    image.setDotsPerMeterX(dpm);
    image.setDotsPerMeterY(dpm);
    image.fill(Qt::white);
    if (mReplay.HasPages()) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        const TDeviceMapping mapping{mDpi, mDpi, 0, 0, mZoom, 100, 100};
        mReplay.PaintPage(painter, mapping, mContext);
    }
    if (mMonochrome)
        image = image.convertToFormat(QImage::Format_Grayscale8);
    return image;
}

} // namespace qm::print
