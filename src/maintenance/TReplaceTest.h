#pragma once

// Which records Search and Replace changes: the test on one field's value, made in code so that no
// find text (a quote, an operator) can change which records are tested.
//
// - An empty find text matches an empty field.
// - "Is exactly equal to" compares the whole value, trailing blanks ignored on both sides:
//   Brown matches "Brown" but not "Browning".
// - "Contains" matches when the find text occurs anywhere in the value.
// Without case sensitivity both sides are compared upper-cased as the engine's UPPER() does
// (Windows-1252).

#include <string>
#include <string_view>

namespace qm::maintenance {

class TReplaceTest {
public:
    TReplaceTest(std::string_view find, bool exactly, bool caseSensitive);

    bool Matches(std::string_view value) const;
    const std::string& Find() const { return mFind; }

private:
    std::string mFind; // right-trimmed for "exactly" and empty tests; upper-cased without case
    bool mExactly;
    bool mCaseSensitive;
    bool mEmptyTest;
    mutable std::string mScratch;
};

} // namespace qm::maintenance
