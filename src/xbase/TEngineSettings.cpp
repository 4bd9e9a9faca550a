#include "xbase/TEngineSettings.h"

namespace qm::xbase {

TEngineSettings& EngineSettings()
{
    static TEngineSettings settings;
    return settings;
}

} // namespace qm::xbase
