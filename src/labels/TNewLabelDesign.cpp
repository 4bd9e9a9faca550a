#include "labels/TNewLabelDesign.h"

#include "design/core/TGBasePanel.h"
#include "design/objects/TGDMultiLineAddressLabel.h"
#include "design/text/TDesignUnits.h"
#include "design/text/TGFont.h"

#include <algorithm>
#include <memory>

namespace qm::labels {

void TNewLabelDesign::AddTo(design::TGBasePanel& panel, const TLabelGeometry& geometry)
{
    const int ppi = design::TDesignUnits::Ppi();
    const std::int32_t faceWidth = design::TDesignUnits::Round(double(geometry.labelWidth) * ppi);
    const std::int32_t faceHeight = design::TDesignUnits::Round(double(geometry.labelHeight) * ppi);
    panel.SetSize(faceWidth, faceHeight);
    auto block = std::make_unique<design::TGDMultiLineAddressLabel>();
    block->ConfigureDrawn(design::TGFont());
    // The block runs from (5, 5) to (width - 10, height - 10), as the designer's address tool
    // draws it for a new label. A face narrower than the margins still gets a block one pixel
    // across, never a negative one.
    block->SetBounds(5, 5, std::max<std::int32_t>(1, faceWidth - 15),
                     std::max<std::int32_t>(1, faceHeight - 15));
    panel.AddObject(std::move(block));
}

} // namespace qm::labels
