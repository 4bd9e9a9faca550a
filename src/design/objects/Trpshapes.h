#pragma once

// The shapes of report bands: the same object as TGLabelShapes under the class name that report
// layouts store, so that report bands and label/envelope faces each register their own kind.

#include "design/objects/TGLabelShapes.h"

namespace qm::design {

class Trpshapes : public TGLabelShapes {
public:
    static constexpr const char* kClassName = "Trpshapes";

    QByteArray ClassName() const override { return kClassName; }
};

} // namespace qm::design
