#include "labels/TTemplateRow.h"

namespace qm::labels {
namespace {

float Stored(TTemplateLength length)
{
    return static_cast<float>(static_cast<double>(length.RoundedThousandths()) / 1000.0);
}

} // namespace

TLabelGeometry TTemplateRow::Geometry() const
{
    TLabelGeometry g;
    g.printer = printer;
    g.labelHeight = Stored(labelHeight);
    g.labelWidth = Stored(labelWidth);
    g.across = across;
    g.down = down;
    g.topMargin = Stored(topMargin);
    g.leftMargin = Stored(leftMargin);
    g.horizontalPitch = Stored(horizontalPitch);
    g.verticalPitch = Stored(verticalPitch);
    g.sheetWidth = Stored(sheetWidth);
    g.sheetDepth = Stored(sheetDepth);
    g.paperSize = paperSize;
    g.shape = shape;
    g.templateDescription = description;
    g.maker = maker;
    g.productGroup = productGroup;
    g.midExtraX = Stored(midExtraX);
    g.midExtraY = Stored(midExtraY);
    g.art = art;
    return g;
}

bool TTemplateRow::SameColumns(const TTemplateRow& o) const
{
    const auto same = [](TTemplateLength a, TTemplateLength b) {
        return a.RoundedThousandths() == b.RoundedThousandths();
    };
    return description == o.description && printer == o.printer &&
           same(labelHeight, o.labelHeight) && same(labelWidth, o.labelWidth) &&
           across == o.across && down == o.down && same(topMargin, o.topMargin) &&
           same(leftMargin, o.leftMargin) && same(horizontalPitch, o.horizontalPitch) &&
           same(verticalPitch, o.verticalPitch) && same(sheetWidth, o.sheetWidth) &&
           same(sheetDepth, o.sheetDepth) && paperSize == o.paperSize && shape == o.shape &&
           maker == o.maker && productGroup == o.productGroup && same(midExtraX, o.midExtraX) &&
           same(midExtraY, o.midExtraY) && art == o.art;
}

} // namespace qm::labels
