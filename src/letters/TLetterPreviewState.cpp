#include "letters/TLetterPreviewState.h"

#include <cmath>

namespace qm::letters {

int TLetterPreviewState::FitZoom(int extent, int pagePixels)
{
    if (pagePixels <= 0 || extent <= 0)
        return kMinZoom;
    const double zoom = std::trunc(double(extent) * 100.0 / double(pagePixels));
    return zoom < kMinZoom ? kMinZoom : zoom > 100000 ? 100000 : int(zoom);
}

QSize TLetterPreviewState::PageSizeOnScreen(const TLetterPageTwips& page, int dpi)
{
    return QSize(int(int64_t(page.width) * dpi / 1440), int(int64_t(page.height) * dpi / 1440));
}

QSize TLetterPreviewState::PanelSize(const TLetterPageTwips& page, int dpi, int zoom)
{
    const QSize onScreen = PageSizeOnScreen(page, dpi);
    return QSize(int(int64_t(onScreen.width()) * zoom / 100),
                 int(int64_t(onScreen.height()) * zoom / 100));
}

QRect TLetterPreviewState::TextArea(const TLetterPageTwips& page, int dpi, int zoom)
{
    const auto margin = [dpi, zoom](int twips) {
        return int(std::lround(double(int64_t(twips) * dpi / 1440) * zoom / 100.0));
    };
    const QSize panel = PanelSize(page, dpi, zoom);
    const int left = margin(page.left);
    const int top = margin(page.top);
    return QRect(left, top, panel.width() - left - margin(page.right),
                 panel.height() - top - margin(page.bottom));
}

bool TLetterPreviewState::ZoomIn()
{
    if (mZoom >= 150)
        return false;
    mZoom = int(mZoom * 1.25);
    return true;
}

bool TLetterPreviewState::ZoomOut()
{
    if (mZoom <= 50)
        return false;
    const int zoom = int(mZoom * 0.75);
    mZoom = zoom < kMinZoom ? kMinZoom : zoom;
    return true;
}

bool TLetterPreviewState::NextPage()
{
    if (!HasNextPage())
        return false;
    ++mPage;
    mStack.push_back(mStart);
    mStart = mFollowing;
    mFollowing = 0;
    return true;
}

bool TLetterPreviewState::PreviousPage()
{
    if (mStack.empty())
        return false;
    --mPage;
    mStart = mStack.back();
    mStack.pop_back();
    mFollowing = 0;
    return true;
}

void TLetterPreviewState::Reset()
{
    mPage = 1;
    mStart = 0;
    mFollowing = 0;
    mStack.clear();
}

QString TLetterPreviewState::Caption() const
{
    return QStringLiteral("Preview Letters Page ") + QString::number(mPage);
}

} // namespace qm::letters
