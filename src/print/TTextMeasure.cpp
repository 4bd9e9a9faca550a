#include "print/TTextMeasure.h"

#include "print/TPrintText.h"
#include "print/TSymbolFont.h"

#include <algorithm>
#include <cmath>

namespace qm::print {

TTextMeasure::TTextMeasure(double dpi) : mDpi(dpi), mDevice(1, 1, QImage::Format_RGB32)
{
    SetDpi(dpi);
}

void TTextMeasure::SetDpi(double dpi)
{
    if (!(dpi > 0))
        dpi = 96;
    if (dpi == mDpi && !mCache.empty())
        return; // keep the metrics: every page asks again
    mDpi = dpi;
    const int dpm = int(std::lround(dpi / 0.0254));
    mDevice.setDotsPerMeterX(dpm);
    mDevice.setDotsPerMeterY(dpm);
    mCache.clear();
}

void TTextMeasure::SetFont(const TPainterFont& font)
{
    mFont = font;
}

TTextMeasure::TFontMetrics& TTextMeasure::Current()
{
    if (!mCache.empty() && mCache.back().font == mFont)
        return mCache.back();
    for (auto it = mCache.begin(); it != mCache.end(); ++it) {
        if (it->font == mFont) {
            std::rotate(it, it + 1, mCache.end());
            return mCache.back();
        }
    }
    if (mCache.size() >= kCachedFonts)
        mCache.erase(mCache.begin());
    TFontMetrics entry;
    entry.font = mFont;
    mCache.push_back(std::move(entry));
    return mCache.back();
}

const QFontMetricsF& TTextMeasure::Metrics()
{
    TFontMetrics& current = Current();
    if (!current.metrics) {
        const QFont font = MakeDeviceFont(mFont, mFont.heightInches * mDpi, mDevice.logicalDpiY());
        current.metrics = std::make_unique<QFontMetricsF>(font, &mDevice);
    }
    return *current.metrics;
}

double TTextMeasure::Width(const QString& text)
{
    const QFontMetricsF& metrics = Metrics();
    TFontMetrics& current = mCache.back();
    if (!current.lastText.isNull() && current.lastText == text)
        return current.lastWidth;
    // Measured as drawn: a missing symbol face shows pictograms in the fallback face.
    const QString shown = TSymbolFont::DisplayText(mFont.name, text);
    current.lastText = text.isNull() ? QString(QLatin1String("")) : text;
    current.lastWidth = metrics.horizontalAdvance(shown) / mDpi;
    return current.lastWidth;
}
double TTextMeasure::Width(const QByteArray& text)
{
    const QFontMetricsF& metrics = Metrics();
    TFontMetrics& current = mCache.back();
    if (!current.haveAdvances) {
        for (int c = 0; c < 256; ++c)
            current.advance[size_t(c)] =
                metrics.horizontalAdvance(DecodePrintText(QByteArray(1, char(c)), mFont.name));
        current.haveAdvances = true;
    }
    double width = 0;
    for (char c : text)
        width += current.advance[static_cast<unsigned char>(c)];
    return width / mDpi;
}
double TTextMeasure::Ascent()
{
    return Metrics().ascent() / mDpi;
}
double TTextMeasure::Descent()
{
    return Metrics().descent() / mDpi;
}

} // namespace qm::print
