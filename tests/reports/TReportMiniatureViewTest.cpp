// The painted miniature: band boxes in their shade colours, border strips in black, the margins
// white, and the page centred in the view.

#include "reports/ui/TReportMiniatureView.h"

#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

namespace {

using qm::design::TGColor;
using qm::reports::TReportBand;
using qm::reports::TReportMiniatureView;
using qm::reports::TReportSettings;

QColor PixelAt(const QImage& image, const QPoint& point, qreal ratio)
{
    return image.pixelColor(QPoint(int(point.x() * ratio), int(point.y() * ratio)));
}

TEST(TReportMiniatureViewTest, PaintsShadesStripsAndMarginsWhereTheGeometrySays)
{
    TReportSettings s;
    s.pageWidth = 816;
    s.pageHeight = 1056;
    s.leftMargin = s.topMargin = s.rightMargin = s.bottomMargin = 96;
    auto& detail = s.Frame(TReportBand::Detail);
    detail.shadeColor = TGColor::Rgb(0, 0, 255);
    detail.shadePercent = 40; // (153, 153, 255)
    detail.left = true;
    detail.lineWidth = 3;
    s.Frame(TReportBand::Footer).shadeColor = TGColor::Rgb(255, 0, 0);
    s.Frame(TReportBand::Footer).shadePercent = 100;

    TReportMiniatureView view(s, 96);
    view.resize(view.sizeHint());
    const QPixmap pixmap = view.grab();
    const QImage image = pixmap.toImage();
    const qreal ratio = pixmap.devicePixelRatio();
    const auto& m = view.Miniature();

    // The page is centred in the view.
    const QPoint origin = view.ToWidget({0, 0});
    EXPECT_EQ(origin.x() * 2 + m.Page().width(), view.width());
    EXPECT_EQ(origin.y() * 2 + m.Page().height(), view.height());

    const QRect detailBox = m.Band(TReportBand::Detail).box;
    // Away from the caption at the left: the shade.
    EXPECT_EQ(PixelAt(image, view.ToWidget({detailBox.right() - 5, detailBox.center().y()}), ratio),
              QColor(153, 153, 255));
    // The left border strip, three pixels wide.
    for (int x = 0; x < 3; ++x)
        EXPECT_EQ(
            PixelAt(image, view.ToWidget({detailBox.left() + x, detailBox.center().y()}), ratio),
            QColor(Qt::black));
    const QRect footerBox = m.Band(TReportBand::Footer).box;
    EXPECT_EQ(PixelAt(image, view.ToWidget({footerBox.right() - 5, footerBox.center().y()}), ratio),
              QColor(255, 0, 0));
    // An unshaded box and the margins stay white.
    const QRect memoBox = m.Band(TReportBand::Memo).box;
    EXPECT_EQ(PixelAt(image, view.ToWidget({memoBox.right() - 5, memoBox.center().y()}), ratio),
              QColor(Qt::white));
    EXPECT_EQ(PixelAt(image, view.ToWidget({m.Inner().left() - 5, m.Inner().center().y()}), ratio),
              QColor(Qt::white));
}

} // namespace
