#pragma once

// A position in one tag's keys, in ascending byte order of (key, record number).
//
// Contract:
// - The cursor refers to its tag; the tag (and the index file owning it) must outlive it.
// - After the tag changes (insert, remove, rebuild) through any cursor or the tag itself, the
//   cursor stays usable: its next movement finds its way back from the (key, record number) it
//   was on, to that pair if it is still there, else to the next greater pair.
// - Movements return whether the cursor now stands on an entry (Valid()). Moving past either end
//   leaves it invalid; First, Last or a seek positions it again.
// - A damaged page met on the way throws TXbaseError(Damaged) naming the file and the offset.

#include "xbase/TIndexPage.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qm::xbase {

class TIndexTag;

class TIndexCursor {
public:
    explicit TIndexCursor(TIndexTag& tag);

    bool First();
    bool Last();
    bool Next();
    bool Prev();

    // Positions on the first entry whose key is >= key, comparing bytes; a key shorter than the
    // key length compares as its bytes alone, so "SM" stops on the first key starting with "SM".
    // Returns whether that entry matches: with prefix, its key starts with key; without, its key
    // equals key padded to the key length with the tag's trailing byte (blank for character
    // keys). Not found and past the last key: the cursor is invalid.
    bool Seek(std::string_view key, bool prefix);
    // Positions on the last entry whose key is <= key; with prefix, compared over the length of
    // key only (so "SM" stops on the last key starting with "SM" or the last one before it).
    // Returns whether that entry matches as for Seek.
    bool SeekLast(std::string_view key, bool prefix);
    // Positions on the pair (key, recNo); returns true when it is there, else the cursor is on the
    // next greater pair (or invalid). key must be the full key length.
    bool SeekExact(std::string_view key, uint32_t recNo);

    bool Valid() const { return mValid; }
    // Current entry; only while Valid(). The view stays valid until the cursor moves.
    std::string_view Key() const;
    uint32_t RecNo() const;

    TIndexTag& Tag() const { return *mTag; }

private:
    // Loads the leaf at page and stands on its first (or last) entry, walking on through the
    // siblings past empty leaves. Returns Valid().
    bool EnterLeaf(uint32_t page, bool forward);
    // Finds the way back to (mKey, mRecNo) after the tag changed; true when that pair is still
    // there (the cursor stands on it), else the cursor stands on the next greater pair.
    bool Resync();
    // Positions on the first pair >= (key, recNo) (key compared over its own length).
    void SeekPair(std::string_view key, uint64_t recNo);
    void Remember();
    bool Invalidate();

    TIndexTag* mTag;
    bool mValid = false;
    uint64_t mGeneration = 0; // the tag's change count when mLeaf was loaded
    uint32_t mPage = 0;
    TIndexNode mLeaf;
    size_t mPos = 0;
    // The current pair, kept to find the way back after a change.
    std::string mKey;
    uint32_t mRecNo = 0;
};

} // namespace qm::xbase
