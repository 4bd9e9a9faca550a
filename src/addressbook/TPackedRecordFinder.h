#pragma once

// Finds the current record again after the address file was cleaned out and reindexed.
//
// Packing removes the records carrying the deletion mark and closes up the others in their
// order, so the record numbered n becomes n minus the marked records before it. The finder,
// created before the rebuild, remembers that number and the record's stored values (memo
// pointers aside: the pack moves the memos); GoBack() afterwards makes current the record that
// holds those values at the new number, or at the old one when the rebuild stopped before the
// pack, and the first shown record when the record is gone (it carried the mark itself, or no
// record was current). Call GoBack() after the order and the query have been put back.

#include <cstdint>
#include <string>

namespace qm::data {
class TDataSet;
}

namespace qm::addressbook {

class TPackedRecordFinder {
public:
    explicit TPackedRecordFinder(data::TDataSet& dataSet);

    // Returns whether the remembered record was found (else the first record is current).
    bool GoBack();

private:
    std::string ValuesOf(uint32_t recNo) const; // recNo must exist

    data::TDataSet& mDataSet;
    uint32_t mRecNo = 0;       // before the rebuild; 0: no record was current
    uint32_t mPackedRecNo = 0; // after the pack; 0: the pack removes the record (or none)
    std::string mValues;       // the stored values, memo pointers left out
};

} // namespace qm::addressbook
