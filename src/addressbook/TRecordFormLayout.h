#pragma once

// Where the record form's labels and entry fields sit. The main window's record form and the
// "Address Filter" form are both placed from this one description, so the filter form looks like
// the record it filters: the same label texts in the same grid cells, in the same Tab order.
//
// Cells are grid positions: the label goes in (row, column), the entry in (row, column + 1)
// spanning `span` columns. Fields without a filter entry (middle initial, prefix) have
// filterEntry -1; the date cell shows DisplayDate on the record form and filters on DATE.

#include <span>

namespace qm::addressbook {

struct TFormCell {
    const char* label; // with its accelerator mark
    const char* field; // the record form's field object
    int row;
    int column;
    int span;
    int filterEntry; // index into data::TFilterEntries::entries, -1: none
};

class TRecordFormLayout {
public:
    // "Last", "First", "MI", "Prefix"; below them "Title" and "Org".
    static std::span<const TFormCell> NameBlock();
    // The address page in Tab order, the date cell included: the address column, the phone
    // column beside it, then the two comments across the page.
    static std::span<const TFormCell> AddressPage();
    // The grid cell of the "Tagged" check box on the address page.
    static constexpr int kTaggedRow = 7;
    static constexpr int kTaggedColumn = 1;
    // The columns beside an entry where the record form puts its buttons: "Date" beside the date,
    // the Dial buttons beside the phones.
    static constexpr int kDateButtonColumn = 2;
    static constexpr int kDialButtonColumn = 6;
    // The grid columns that hold entries (and share the width between them).
    static constexpr int kEntryColumns[] = {1, 3, 5};
    // Finds a cell by field name, nullptr when the form has none.
    static const TFormCell* ByField(const char* field);
};

} // namespace qm::addressbook
