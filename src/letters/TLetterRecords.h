#pragma once

// The record set a letter run walks: the address table in the run's order and scope, standing on
// the record to print. The run only moves it; the letter source reads the current record.

namespace qm::letters {

class TLetterRecords {
public:
    virtual ~TLetterRecords() = default;

    // True once the set has moved past its last record (also when it holds none).
    virtual bool AtEnd() const = 0;
    virtual void Next() = 0;
};

} // namespace qm::letters
