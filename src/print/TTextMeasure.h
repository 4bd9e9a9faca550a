#pragma once

// Measures text for a job at the resolution of its device, without a painter: widths, ascent
// and descent in inches. The font metrics of the current font are kept until the font changes,
// so measuring many texts in one font is cheap.

#include "print/TPagePainter.h"

#include <QFontMetricsF>
#include <QImage>
#include <array>
#include <memory>
#include <vector>

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
    // The metrics of one font at the current resolution, made when first asked for.
    struct TFontMetrics {
        TPainterFont font;
        std::unique_ptr<QFontMetricsF> metrics;
        // Advance of every Windows-1252 character, device pixels; text is measured without
        // kerning, so a text's width is the sum of its characters' advances.
        std::array<double, 256> advance{};
        bool haveAdvances = false;
        // The last text measured as a string and its width: a job asks for the same reference
        // text at every font change.
        QString lastText;
        double lastWidth = 0;
    };
    // Fonts a job switches between (a page header's and its rows') keep their metrics.
    static constexpr size_t kCachedFonts = 8;

    const QFontMetricsF& Metrics();
    TFontMetrics& Current();

    double mDpi;
    QImage mDevice;
    TPainterFont mFont;
    std::vector<TFontMetrics> mCache; // the most recently used last
};

} // namespace qm::print
