#include "data/TApolloEnv.h"

namespace qm::data {

void TApolloEnv::SetDefaults()
{
    SetDeleted(true);
    SetExact(false);
    SetSoftSeek(false);
    SetCentury(true);
}

} // namespace qm::data
