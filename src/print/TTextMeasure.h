#pragma once

// Measures text for a job at the resolution of its device, without a painter: widths, ascent
// and descent in inches. The font metrics of the current font are kept until the font changes,
// so measuring many texts in one font is cheap.

#include "print/TPagePainter.h"

#include <QFontMetricsF>
#include <QImage>
#include <memory>

namespace qm::print {

class TTextMeasure {
public:
    explicit TTextMeasure(double dpi = 96);

    void SetDpi(double dpi);
    double Dpi() const { return mDpi; }
    void SetFont(const TPainterFont& font);

    double Width(const QString& text);    // inches
    double Width(const QByteArray& text); // inches, Windows-1252 text
    double Ascent();                      // inches
    double Descent();                     // inches

private:
    const QFontMetricsF& Metrics();

    double mDpi;
    QImage mDevice;
    // Advance of every Windows-1252 character in the current font, device pixels; text is
    // measured without kerning, so a text's width is the sum of its characters' advances.
    double mAdvance[256];
    bool mHaveAdvances = false;
    TPainterFont mFont;
    std::unique_ptr<QFontMetricsF> mMetrics;
};

} // namespace qm::print
