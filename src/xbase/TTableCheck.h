#pragma once

// The consistency check of a table: the header against the file length, the memo pointer of
// every record, and every tag of the compound index against the records (the index's own page
// structure first, then its (key, record) pairs against keys computed from the records).

#include <string>

namespace qm::xbase {

struct TTableCheckResult {
    bool ok = true;
    std::string problem; // the first problem found, one line naming the file and what is wrong
};

class TTableCheck {
public:
    // Problems found in the files are returned. Throws TXbaseError when the files cannot be
    // examined at all (missing: NotFound; unreadable: Io; held by another program: InUse).
    static TTableCheckResult Run(const std::string& path);
};

} // namespace qm::xbase
