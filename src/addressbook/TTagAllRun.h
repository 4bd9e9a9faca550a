#pragma once

// Tags every record the main window shows (the filter matches), one record at a time, as the
// "Tagging" window runs it: from the first shown record to the end, each record gets the tag
// identifier in TAG and is posted. The caller's callback runs after each record with the running
// count (it shows progress and lets window messages run) and may ask to stop; the record just
// tagged stays tagged. The table's bound controls are disabled while the loop runs, and the first
// record is current afterwards, also after an error.

#include <functional>

namespace qm::addressbook {

class TAddressBook;

class TTagAllRun {
public:
    explicit TTagAllRun(TAddressBook& book) : mBook(book) {}

    struct TOutcome {
        int tagged = 0;
        bool cancelled = false;
    };
    // afterRecord(tagged so far) returns true to stop.
    TOutcome Run(const std::function<bool(int tagged)>& afterRecord);

private:
    TAddressBook& mBook;
};

} // namespace qm::addressbook
