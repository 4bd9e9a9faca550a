#pragma once

// The design a new label starts with, shared by the designer's New and by the command-line tool
// when it prints a sheet without a layout file: one mailing address block in the rectangle from
// (5, 5) to (face width - 10, face height - 10) design pixels, in the default label font.

#include "labels/TLabelGeometry.h"

namespace qm::design {
class TGBasePanel;
}

namespace qm::labels {

class TNewLabelDesign {
public:
    // Sizes the panel to the label face and adds the address block to it (objects already on the
    // panel stay). The face is taken at the current design resolution (TDesignUnits::Ppi).
    static void AddTo(design::TGBasePanel& panel, const TLabelGeometry& geometry);
};

} // namespace qm::labels
