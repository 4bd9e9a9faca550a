#pragma once

// Handing the main window's records to another window (or a bulk loop) and taking them back.
// Created before the other window is shown, it remembers what the options name (record, query,
// order), turns the main window's busy flag off and disables the table's bound controls; when it
// goes out of scope, also after an error, it puts everything back in reverse order and updates
// the main window's commands. Errors while restoring are ignored.

#include <QString>
#include <cstdint>

namespace qm::addressbook {

class TAddressBook;

struct THandOverOptions {
    bool disableControls = true;
    bool clearBusy = true;
    bool rememberRecord = true;
    bool rememberQuery = true;
    bool rememberOrder = true;
    bool applyFilterAfter = false; // re-apply the filter (instead of restoring the query)
    bool firstRecordAfter = false; // go to the first record instead of the remembered one
};

class THandOver {
public:
    THandOver(TAddressBook& book, const THandOverOptions& options);
    ~THandOver();
    THandOver(const THandOver&) = delete;
    THandOver& operator=(const THandOver&) = delete;

private:
    TAddressBook& mBook;
    THandOverOptions mOptions;
    uint32_t mRecNo = 0;
    QString mQuery;
    QString mSortTag;
};

} // namespace qm::addressbook
