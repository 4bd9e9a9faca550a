#pragma once

// The record set a label job walks, as the print loop sees it: the address table in the job's
// order and scope. The print loop moves it and reads only record numbers and ZIP codes; the
// caller reads whatever else it draws from the record the set stands on.

#include <QString>
#include <cstdint>

namespace qm::labels {

class TLabelRecords {
public:
    virtual ~TLabelRecords() = default;

    // True once the set has moved past its last record (also when it holds none).
    virtual bool AtEnd() const = 0;
    // The current record's number; meaningful only while not AtEnd().
    virtual uint32_t RecNo() const = 0;
    virtual QString Zip() const = 0;

    virtual void First() = 0;
    virtual void Next() = 0;
    virtual void GoPastEnd() = 0;
    // Finds the first record, in ZIP order, whose ZIP starts with key (exact matching off) and
    // stands on it; without one, goes past the end. Only called on a set ordered by ZIP.
    virtual bool SeekZip(const QString& key) = 0;
};

} // namespace qm::labels
