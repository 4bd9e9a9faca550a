#pragma once

// Another table as an import source: its records without the deletion mark, in record order, the
// matched fields taken as text (numbers without padding, dates YYYYMMDD, logicals T or F) and
// converted from the table's code page; a memo with the stored-memo rule. Check() reads every
// matched value once, so a damaged memo or a character Windows-1252 cannot hold refuses the
// table before anything is appended.

#include "transfer/TDbfSourceTable.h"
#include "transfer/TFieldMatch.h"
#include "transfer/TImportSource.h"

namespace qm::transfer {

class TDbfImportSource : public TImportSource {
public:
    // The source is opened by the caller (it was checked when chosen) and outlives this.
    TDbfImportSource(TDbfSourceTable& source, const TFieldMatch& match,
                     const xbase::TTable& target);

    int64_t Check(const std::function<bool()>& tick) override;
    void Rewind() override { mNext = 1; }
    bool Next(TImportRecord& record) override;

private:
    struct TMapped {
        int source;
        int target;
        bool memo;
    };

    TDbfSourceTable& mSource;
    std::vector<TMapped> mMap;
    uint32_t mNext = 1;
    std::string mScratch;
};

} // namespace qm::transfer
