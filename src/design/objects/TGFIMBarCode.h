#pragma once

// A Facing Identification Mark of type A, B or C: bars 1/32 inch wide and 0.5625 inch high in
// the 1/32-inch slots of the type's pattern (slot s spans (s - 1)/32 to s/32 inch from the left
// edge). Stream order after the bounds: FIMType (always).
//
// Contract:
// - Paint makes the object trunc(0.625 x PPI x Scale) square, then draws each bar
//   trunc(PPI x 0.03125 x Scale) wide at width x (slot - 1) and trunc(PPI x 0.5625 x Scale) high.
// - PrintObject sets a black solid brush, leaves the pen as the canvas has it, and draws one
//   rectangle per slot; a type outside A, B, C prints nothing.

#include "design/barcode/TFimCode.h"
#include "design/core/TGGraphicControl.h"

#include <vector>

namespace qm::design {

enum class TGFIMType { fimTypeA = 0, fimTypeB, fimTypeC };

class TGFIMBarCode : public TGGraphicControl {
public:
    static constexpr const char* kClassName = "TGFIMBarCode";
    static constexpr double kSlotWidth = TFimCode::kSlotWidth;
    static constexpr double kBarHeight = TFimCode::kBarHeight;

    TGFIMBarCode();

    QByteArray ClassName() const override { return kClassName; }

    // The type as its number (0 = A); values outside 0..2 are kept but draw nothing.
    int FIMType() const { return mFIMType; }
    void SetFIMType(int type);
    void SetFIMType(TGFIMType type) { SetFIMType(int(type)); }

    // The 1/32-inch slots (1..17) that hold a bar for a type; empty for an unknown type
    // (TFimCode::Slots).
    static std::vector<int> Slots(int type);

    void Paint(QPainter& painter) override;
    void PrintObject(print::TBaseReport& canvas, double x, double y) override;
    void WriteProperties(TLayoutWriter& out) const override;
    bool ReadProperty(const QByteArray& name, const TLayoutValue& value) override;

private:
    int mFIMType = int(TGFIMType::fimTypeA);
};

} // namespace qm::design
