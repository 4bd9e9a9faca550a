#include "labels/TLabelDesignRules.h"

#include <cmath>

namespace qm::labels {

QString TLabelDesignRules::LayoutName(const TLabelGeometry& geometry)
{
    if (geometry.maker.trimmed().compare(QLatin1String("USER"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("User Defined Label Layout");
    return geometry.templateDescription;
}

QString TLabelDesignRules::DefaultFontCaption(const QString& face, int points, bool bold,
                                              bool italic)
{
    QString caption = QStringLiteral("Default Font: ") + face + QStringLiteral(", ") +
                      QString::number(points) + QStringLiteral(" pt ");
    if (bold)
        caption += QStringLiteral(", bold");
    if (italic)
        caption += QStringLiteral(", italic");
    return caption;
}

float TLabelDesignRules::ZoomIn(float scale)
{
    if (scale < kMaxZoom)
        scale += kZoomStep;
    return scale;
}

float TLabelDesignRules::ZoomOut(float scale)
{
    if (scale > kMinZoom)
        scale -= kZoomStep;
    return scale;
}

QString TLabelDesignRules::ZoomText(float scale)
{
    return QString::number(std::lrint(double(scale) * 100.0)) + QLatin1Char('%');
}

QSize TLabelDesignRules::FaceSize(const TLabelGeometry& geometry, int ppi)
{
    return {int(std::lrint(double(ppi) * geometry.labelWidth)),
            int(std::lrint(double(ppi) * geometry.labelHeight))};
}

QRect TLabelDesignRules::DrawnRect(const QRect& dragged)
{
    QRect rect = dragged.normalized();
    if (rect.width() < kMinDrawnWidth)
        rect.setWidth(kDrawnWidth);
    if (rect.height() < kMinDrawnHeight)
        rect.setHeight(kDrawnHeight);
    return rect;
}

QString TLabelDesignRules::PostNetToolRefusal()
{
    return QStringLiteral("This label is not wide enough for a \npostnet barcode. At least 2.85 "
                          "inches are needed");
}

QString TLabelDesignRules::PostNetRemovedWarning()
{
    return QStringLiteral("Warning: This label is not wide enough for a \npostnet barcode. At "
                          "least 2.85 inches are needed");
}

QString TLabelDesignRules::ImbToolRefusal()
{
    return QStringLiteral("This label is not wide enough for an \nIntelligent Mail barcode. At "
                          "least 3.00 inches are needed");
}

QString TLabelDesignRules::ImbRemovedWarning()
{
    return QStringLiteral("Warning: This label is not wide enough for an \nIntelligent Mail "
                          "barcode. At least 3.00 inches are needed");
}

QString TLabelDesignRules::ReadOut(int pixels, int ppi, float scale)
{
    const double divisor = double(ppi) * double(scale);
    const double inches = divisor > 0 ? pixels / divisor : 0.0;
    return QString::number(inches, 'f', 2);
}

void TLabelDesignRules::TakeTemplate(TLabelGeometry& layout, const TLabelGeometry& t)
{
    layout.labelHeight = t.labelHeight;
    layout.labelWidth = t.labelWidth;
    layout.across = t.across;
    layout.down = t.down;
    layout.topMargin = t.topMargin;
    layout.leftMargin = t.leftMargin;
    layout.horizontalPitch = t.horizontalPitch;
    layout.verticalPitch = t.verticalPitch;
    layout.sheetWidth = t.sheetWidth;
    layout.sheetDepth = t.sheetDepth;
    layout.paperSize = t.paperSize;
    layout.printer = t.printer;
    layout.shape = t.shape;
    layout.maker = t.maker;
    layout.productGroup = t.productGroup;
    layout.midExtraX = t.midExtraX;
    layout.midExtraY = t.midExtraY;
    layout.art = t.art;
    layout.templateDescription = t.templateDescription;
}

void TLabelDesignRules::TakeUserDefined(TLabelGeometry& layout, const TLabelGeometry& e)
{
    layout.labelHeight = e.labelHeight;
    layout.labelWidth = e.labelWidth;
    layout.across = e.across;
    layout.down = e.down;
    layout.topMargin = e.topMargin;
    layout.leftMargin = e.leftMargin;
    layout.horizontalPitch = e.horizontalPitch;
    layout.verticalPitch = e.verticalPitch;
    layout.sheetWidth = e.sheetWidth;
    layout.sheetDepth = e.sheetDepth;
    layout.paperSize = e.paperSize;
    layout.shape = e.shape;
    layout.MakeUserDefined();
}

TLabelGeometry TLabelDesignRules::NewLabel(const QString& layoutFile)
{
    TLabelGeometry g = TLabelGeometry::NewLayout();
    g.description = QStringLiteral("<New Label>");
    g.layoutFile = layoutFile;
    return g;
}

QString TLabelDesignRules::NewLabelMessage()
{
    return QStringLiteral(
        "A new label has been created using the Avery 5160\nformat. To change to another label "
        "format, click on\nthe Change Layout button.\n\nA Database Mailing Address object has "
        "already been \nadded to the label.\n\nFor additional assistance, click the Help button");
}

} // namespace qm::labels
