#include "print/TTextMeasure.h"

#include "print/TPrintText.h"
#include "print/TSymbolFont.h"

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
    if (dpi == mDpi && mMetrics)
        return; // keep the metrics: every page asks again
    mDpi = dpi;
    const int dpm = int(std::lround(dpi / 0.0254));
    mDevice.setDotsPerMeterX(dpm);
    mDevice.setDotsPerMeterY(dpm);
    mMetrics.reset();
    mHaveAdvances = false;
}

void TTextMeasure::SetFont(const TPainterFont& font)
{
    if (mMetrics && font == mFont)
        return;
    mFont = font;
    mMetrics.reset();
    mHaveAdvances = false;
}

const QFontMetricsF& TTextMeasure::Metrics()
{
    if (!mMetrics) {
        const QFont font = MakeDeviceFont(mFont, mFont.heightInches * mDpi, mDevice.logicalDpiY());
        mMetrics = std::make_unique<QFontMetricsF>(font, &mDevice);
    }
    return *mMetrics;
}

double TTextMeasure::Width(const QString& text)
{
    // Measured as drawn: a missing symbol face shows pictograms in the fallback face.
    const QString shown = TSymbolFont::DisplayText(mFont.name, text);
    return Metrics().horizontalAdvance(shown) / mDpi;
}
double TTextMeasure::Width(const QByteArray& text)
{
    const QFontMetricsF& metrics = Metrics();
    if (!mHaveAdvances) {
        for (int c = 0; c < 256; ++c)
            mAdvance[c] =
                metrics.horizontalAdvance(DecodePrintText(QByteArray(1, char(c)), mFont.name));
        mHaveAdvances = true;
    }
    double width = 0;
    for (char c : text)
        width += mAdvance[static_cast<unsigned char>(c)];
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
