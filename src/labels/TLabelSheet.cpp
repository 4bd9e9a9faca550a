#include "labels/TLabelSheet.h"

#include <cmath>

namespace qm::labels {
namespace {

// Inches to whole hundredths, halves to the even neighbour, so the paper comparisons are made on
// the 2-decimal values exactly rather than on binary fractions near 0.05.
long long Hundredths(double inches)
{
    return std::llrint(std::nearbyint(inches * 100.0));
}

double RoundTo2(double inches)
{
    return static_cast<double>(Hundredths(inches)) / 100.0;
}

} // namespace

TLabelSheet::TLabelSheet(const TLabelGeometry& g)
    : mPaperSize(g.paperSize.trimmed()), mAcross(g.across), mDown(g.down),
      mLabelWidth(g.labelWidth), mLabelHeight(g.labelHeight), mTopMargin(g.topMargin),
      mLeftMargin(g.leftMargin), mHorizontalPitch(g.horizontalPitch),
      mVerticalPitch(g.verticalPitch), mSheetWidth(g.sheetWidth), mSheetDepth(g.sheetDepth),
      mMidExtraX(g.midExtraX), mMidExtraY(g.midExtraY), mLandscape(IsLandscape(g.paperSize))
{
}

QString TLabelSheet::Problem(const TLabelGeometry& g)
{
    auto fail = [](const char* what, double value) {
        return QStringLiteral("%1 is %2").arg(QLatin1String(what)).arg(value);
    };
    if (g.across < 1)
        return fail("the number of labels across", g.across);
    if (g.down < 1)
        return fail("the number of labels down", g.down);
    if (!(g.labelHeight > 0))
        return fail("the label height", g.labelHeight);
    if (!(g.labelWidth > 0))
        return fail("the label width", g.labelWidth);
    if (!(g.sheetWidth > 0))
        return fail("the paper width", g.sheetWidth);
    if (!(g.sheetDepth > 0))
        return fail("the paper height", g.sheetDepth);
    if (!(g.topMargin >= 0))
        return fail("the top margin", g.topMargin);
    if (!(g.leftMargin >= 0))
        return fail("the left margin", g.leftMargin);
    if (g.across > 1 && !(g.horizontalPitch > 0))
        return fail("the horizontal pitch", g.horizontalPitch);
    if (g.down > 1 && !(g.verticalPitch > 0))
        return fail("the vertical pitch", g.verticalPitch);
    if (!std::isfinite(g.midExtraX) || !std::isfinite(g.midExtraY))
        return QStringLiteral("an extra gap is not a number");
    return {};
}

QPointF TLabelSheet::Corner(int column, int row) const
{
    double x = mLeftMargin + column * mHorizontalPitch;
    if (mMidExtraX > 0 && column + 1 > mAcross / 2)
        x += mMidExtraX;
    double y = mTopMargin + row * mVerticalPitch;
    if (mMidExtraY > 0 && row + 1 > mDown / 2)
        y += mMidExtraY;
    return {x, y};
}

bool TLabelSheet::IsLandscape(const QString& paperCode)
{
    const QString code = paperCode.trimmed();
    return code == QLatin1String("LTRL") || code == QLatin1String("A4L") ||
           code == QLatin1String("USERL");
}

TLabelSheet::TPaperRequest TLabelSheet::PaperRequest(const QString& deviceName) const
{
    TPaperRequest request;
    request.landscape = mLandscape;
    request.width = RoundTo2(mLandscape ? mSheetDepth : mSheetWidth);
    request.height = RoundTo2(mLandscape ? mSheetWidth : mSheetDepth);
    if (mPaperSize == QLatin1String("LTR") || mPaperSize == QLatin1String("LTRL"))
        request.code = kPaperLetter;
    else if (mPaperSize == QLatin1String("A4") || mPaperSize == QLatin1String("A4L"))
        request.code = kPaperA4;
    else if (mPaperSize == QLatin1String("A5"))
        request.code = kPaperA5;
    else {
        request.code = kPaperCustom;
        request.requestSize = !deviceName.toUpper().contains(QLatin1String("HPFDJ"));
    }
    return request;
}

bool TLabelSheet::PaperConfirmed(const TPaperRequest& request, double pageWidth, double pageHeight)
{
    if (!request.requestSize)
        return false;
    const double acrossFeed = request.landscape ? pageHeight : pageWidth;
    const double alongFeed = request.landscape ? pageWidth : pageHeight;
    return std::llabs(Hundredths(acrossFeed) - Hundredths(request.width)) <= 5 &&
           std::llabs(Hundredths(alongFeed) - Hundredths(request.height)) <= 5;
}

QString TLabelSheet::PaperQuestion(const TPaperRequest& request)
{
    return QStringLiteral("Unable to confirm that the paper size was set to\r\n\r\n") +
           QString::number(request.width, 'f', 2) + QStringLiteral("\" by ") +
           QString::number(request.height, 'f', 2) +
           QStringLiteral("\"\r\n\r\n(you may have the wrong printer selected)\r\n\r\n"
                          "Would you like to try printing anyways?");
}

} // namespace qm::labels
