#pragma once

// Remembers how the data set's cursor shows the records (query, order, current record) and puts it
// back when it goes out of scope, also after an error, so a bulk run may walk in record order with
// a query of its own and leave the main window's view as it found it. Errors while restoring are
// ignored; the data set is resynchronised last.

#include <cstdint>
#include <string>

namespace qm::xbase {
class TSingleIndex;
}

namespace qm::data {
class TDataSet;
}

namespace qm::maintenance {

class TViewKeeper {
public:
    explicit TViewKeeper(data::TDataSet& dataSet);
    ~TViewKeeper();
    TViewKeeper(const TViewKeeper&) = delete;
    TViewKeeper& operator=(const TViewKeeper&) = delete;

    // Leave the query as the run set it (the caller applies its own afterwards).
    void KeepQuery(bool keep) { mRestoreQuery = !keep; }

private:
    data::TDataSet& mDataSet;
    std::string mQuery;
    int mOrder = 0;
    xbase::TSingleIndex* mSingle = nullptr;
    uint32_t mRecNo = 0;
    bool mRestoreQuery = true;
};

} // namespace qm::maintenance
