#pragma once

// Copies the records the address file shows (its order and query, as the cursor has them) into a
// vCard file, one card per record (TVCardWriter). Like the other copies it is written whole
// beside the target and takes the target's name only when complete (also when stopped: the cards
// so far are kept); on a failure an earlier file stays as it was.

#include "transfer/TCopyOutRun.h"
#include "transfer/TVCardWriter.h"

namespace qm::transfer {

class TVCardCopyOut {
public:
    static TCopyOutOutcome Copy(xbase::TCursor& cursor, const QString& path, TVCardVersion version,
                                uint32_t total, const TCopyOutRun::TAfterRecord& afterRecord);
};

} // namespace qm::transfer
