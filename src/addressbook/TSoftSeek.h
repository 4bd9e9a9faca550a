#pragma once

// The "Search" box's seek: makes the chosen order current, then looks for the first record whose
// key starts with the upper-cased text, with exact matching off and soft seek on for the seek only.
// When nothing starts with the text the record that was current stays current.

#include <QString>

namespace qm::addressbook {

class TAddressBook;

class TSoftSeek {
public:
    // Returns whether a record was found. An empty text does nothing.
    static bool Run(TAddressBook& book, const QString& tag, const QString& text);
};

} // namespace qm::addressbook
