#include "labels/TLabelGeometry.h"

#include <cmath>

namespace qm::labels {

TLabelGeometry TLabelGeometry::NewLayout()
{
    TLabelGeometry g;
    g.templateDescription = QStringLiteral("Avery 5160  Address");
    g.printer = QStringLiteral("LJ");
    g.labelHeight = 1.0f;
    g.labelWidth = 2.625f;
    g.across = 3;
    g.down = 10;
    g.topMargin = 0.5f;
    g.leftMargin = 0.188f;
    g.horizontalPitch = 2.765f;
    g.verticalPitch = 1.01f;
    g.sheetWidth = 8.5f;
    g.sheetDepth = 11.0f;
    g.paperSize = QStringLiteral("LTR");
    g.shape = QStringLiteral("RR");
    g.maker = QStringLiteral("AVERY");
    g.productGroup = QStringLiteral("ADDRESS/SHIPPING LABELS");
    return g;
}

TLabelGeometry TLabelGeometry::DefaultSetup()
{
    TLabelGeometry g = NewLayout();
    g.description = QStringLiteral("Default Label Setup");
    g.horizontalPitch = 2.75f;
    g.verticalPitch = 1.0f;
    g.productGroup = QStringLiteral("ADDRESS LABELS");
    return g;
}

double TLabelGeometry::RoundForTable(double inches)
{
    // A float such as 0.188f is 0.18799999...; going through the nearest thousandth first keeps
    // the stored text the value the user typed.
    return std::round(inches * 1000.0) / 1000.0;
}

void TLabelGeometry::MakeUserDefined()
{
    templateDescription.clear();
    printer.clear();
    maker = QStringLiteral("USER");
    productGroup.clear();
    midExtraX = 0;
    midExtraY = 0;
    art.clear();
}

} // namespace qm::labels
