#pragma once

// A job that paints on a device through QPainter. Subclasses supply the device and its page
// breaks; text is measured at the device's resolution so that positions match the recorder's.
//
// Contract: the painter starts with the first page that is output, so a job whose pages are all
// outside FirstPage..LastPage leaves no blank sheet. Canvas() outside a started page throws
// "Error!  Canvas not yet active.".

#include "print/TBaseReport.h"
#include "print/TDeviceMapping.h"
#include "print/TPagePainter.h"
#include "print/TTextMeasure.h"

#include <QPainter>
#include <memory>

class QPaintDevice;

namespace qm::print {

class TCanvasReport : public TBaseReport {
public:
    ~TCanvasReport() override;

    QPainter& Canvas();
    // The converter of the current page: the device's resolution and wastes, zoom 100.
    TDeviceMapping Mapping() const;

protected:
    // Starts the document and returns the device to paint on (owned by the subclass).
    virtual QPaintDevice* BeginDevice() = 0;
    // Starts a further sheet on the device (the painter is active).
    virtual void NewDevicePage() = 0;
    // Ends the document after the painter ended; aborted documents are thrown away.
    virtual void EndDevice(bool aborted) = 0;
    // Called by EndOutput before the painter ends when the job was aborted.
    virtual void AbortDevice() {}

    void StartOutput() override;
    void EndOutput(bool aborted) override;
    void StartPage() override;
    void EndPage() override;
    double MeasureText(const QByteArray& text) override;
    void MeasureFont(double& ascent, double& descent) override;
    void OutText(TTextAlign align, double x, double y, const QByteArray& text) override;
    void OutTextBlock(double x, double y, double width, const QByteArray& text) override;
    void OutTextRect(const QRectF& clip, double x, double y, const QByteArray& text) override;
    void OutShape(TShape shape, const QRectF& rect, double cw, double ch) override;
    void OutFillRects(std::span<const QRectF> rects) override;
    void OutMoveTo(QPointF p) override;
    void OutLineTo(QPointF p) override;
    void OutPolygon(const std::vector<QPointF>& points, bool closed) override;
    void OutBitmap(const QRectF& rect, const QImage& image) override;
    void OutGraphic(const QRectF& rect, const QImage& image) override;

    TPainterFont PainterFont() const;
    // The painter of the page with the job's current state applied.
    TPagePainter& Sync();
    // Whether the painter began on the device in this run, that is whether a page was output.
    bool DeviceBegun() const { return mDeviceBegun; }

private:
    QPaintDevice* mDevice = nullptr;
    QPainter mPainter;
    std::unique_ptr<TPagePainter> mPagePainter;
    TTextMeasure mMeasure;
    bool mPageActive = false;
    bool mDeviceBegun = false;
};

} // namespace qm::print
