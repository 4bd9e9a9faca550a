#include "design/barcode/TFimCode.h"

namespace qm::design {

std::vector<int> TFimCode::Slots(int type)
{
    switch (type) {
    case 0:
        return {1, 3, 9, 15, 17};
    case 1:
        return {1, 5, 7, 11, 13, 17};
    case 2:
        return {1, 3, 7, 11, 15, 17};
    default:
        return {};
    }
}

} // namespace qm::design
