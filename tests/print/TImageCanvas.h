#pragma once

// Helpers for tests that look at pixels: the live printer canvas drawing into an image instead of
// a printer, the same page replayed from its stream, and measurements of dark pixels.

#include "print/TCanvasReport.h"
#include "print/TDeviceMapping.h"
#include "print/TPageReplay.h"
#include "print/TRPDevice.h"

#include <QImage>
#include <QPainter>
#include <QRect>
#include <cmath>
#include <functional>

namespace qm::print::test {

// A white page image of the selected printer's page at its resolution.
inline QImage BlankPage(const TPageGeometry& g)
{
    QImage image(int(std::lround(g.pageWidth * g.dpiX)), int(std::lround(g.pageHeight * g.dpiY)),
                 QImage::Format_RGB32);
    image.setDotsPerMeterX(int(std::lround(g.dpiX / 0.0254)));
    image.setDotsPerMeterY(int(std::lround(g.dpiY / 0.0254)));
    image.fill(Qt::white);
    return image;
}

// The live canvas (the code path of TReportPrinter) painting one page into an image of the
// selected printer's page, so its pixels can be compared with a replay of the same job.
class TImageCanvas : public TCanvasReport {
public:
    const QImage& Image() const { return mImage; }
    // Render hints for the painter, set when the page starts.
    QPainter::RenderHints hints;

protected:
    TPageGeometry ReadGeometry() override { return TRPDevice::Instance().Geometry(); }
    QPaintDevice* BeginDevice() override
    {
        mImage = BlankPage(Geometry());
        return &mImage;
    }
    void StartPage() override
    {
        TCanvasReport::StartPage();
        Canvas().setRenderHints(hints);
    }
    void NewDevicePage() override {} // one page: later pages draw over it
    void EndDevice(bool) override {}

private:
    QImage mImage;
};

// Runs draw on the live image canvas and returns the page.
inline QImage PaintLive(const std::function<void(TBaseReport&)>& draw,
                        QPainter::RenderHints hints = {})
{
    TImageCanvas canvas;
    canvas.hints = hints;
    canvas.OnPrint = draw;
    canvas.RunJob();
    return canvas.Image();
}

// Replays the first page of a stream onto a white image at the given resolution, as the preview
// and "quillmark-tool pages render" do.
inline QImage PaintReplay(const QByteArray& stream, double dpi, QPainter::RenderHints hints = {})
{
    TPageReplay replay(stream);
    TPageGeometry g;
    g.pageWidth = replay.Current().width;
    g.pageHeight = replay.Current().height;
    g.dpiX = g.dpiY = dpi;
    QImage image = BlankPage(g);
    QPainter painter(&image);
    painter.setRenderHints(hints);
    replay.PaintPage(painter, TDeviceMapping{dpi, dpi, 0, 0, 100, 100, 100}, TReplayContext{});
    painter.end();
    return image;
}

inline bool Dark(QRgb c)
{
    return qGray(c) < 128;
}
inline bool Inked(QRgb c)
{
    return (c & 0xFFFFFF) != 0xFFFFFF;
}

// The smallest rectangle holding every pixel of the image (within area) that test accepts.
inline QRect InkBounds(const QImage& image, const std::function<bool(QRgb)>& test = Inked,
                       QRect area = {})
{
    if (area.isNull())
        area = image.rect();
    area &= image.rect();
    int left = area.right() + 1, right = area.left() - 1, top = area.bottom() + 1,
        bottom = area.top() - 1;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = area.left(); x <= area.right(); ++x) {
            if (!test(line[x]))
                continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    return right < left ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

} // namespace qm::print::test
