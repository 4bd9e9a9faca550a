#pragma once

// The print loop's record set over an open address table: the cursor in whatever order, query
// and scope the job set on it. Seeks switch exact matching off for their own duration. The
// cursor and its table must outlive this object.

#include "labels/TLabelRecords.h"

namespace qm::xbase {
class TCursor;
}

namespace qm::labels {

class TCursorLabelRecords : public TLabelRecords {
public:
    // zipField: the table's ZIP field number (TTable::FieldIndex); -1 reads every ZIP as empty.
    TCursorLabelRecords(xbase::TCursor& cursor, int zipField);

    bool AtEnd() const override;
    uint32_t RecNo() const override;
    QString Zip() const override;
    void First() override;
    void Next() override;
    void GoPastEnd() override;
    bool SeekZip(const QString& key) override;

private:
    xbase::TCursor& mCursor;
    int mZipField;
};

} // namespace qm::labels
