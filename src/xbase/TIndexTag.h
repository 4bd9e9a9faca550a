#pragma once

// One ordered set of (key, record number) pairs kept as a B-tree of 512-byte pages: a tag of a
// compound index or the single tag of a single-key index file. The index never evaluates
// expressions: the table layer computes each key (TExpression::EvalKey, TKeyEncoding) and hands
// it over, always exactly KeyLength() bytes.
//
// Contract:
// - Owned by its TCompoundIndex or TSingleIndex; valid until that object is closed or destroyed.
// - Changes stay in the page cache until the owning file is flushed; the first change marks the
//   file dirty on disk, so a crash before the flush is seen on the next open.
// - Keys are ordered by their bytes (memcmp), then by record number.
// - Damaged pages throw TXbaseError(Damaged) naming the file and the page offset; nothing loops
//   forever and nothing allocates more than the file holds.

#include "xbase/TIndexPage.h"
#include "xbase/TIndexTypes.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qm::xbase {

class TIndexPageFile;
class TTagBuilder;

class TIndexTag {
public:
    // Reads the tag header at headerOffset of file. Throws TXbaseError(Damaged) when it is not a
    // valid compact index header.
    TIndexTag(TIndexPageFile& file, uint32_t headerOffset, std::string name);
    TIndexTag(const TIndexTag&) = delete;
    TIndexTag& operator=(const TIndexTag&) = delete;

    // Writes a new header for info at headerOffset (two pages already allocated) and an empty root.
    static void WriteNew(TIndexPageFile& file, uint32_t headerOffset, const TTagInfo& info,
                         uint8_t extraOptions);

    const TTagInfo& Info() const { return mInfo; }
    const std::string& Name() const { return mInfo.name; }
    uint16_t KeyLength() const { return mInfo.keyLength; }
    // The byte trailing positions of short keys are filled with: blank for character keys, NUL
    // for the others.
    char TrailByte() const { return mTrail; }
    // Files written by other software do not record the key type; the table layer sets it from
    // the compiled key expression before the first insert or seek. Stored on the next flush.
    void SetKeyType(TKeyType type);
    uint32_t HeaderOffset() const { return mHeader; }
    const std::string& FileName() const;

    // Adds the pair. A unique tag keeps the first record of a key: adding a key already present
    // does nothing and returns false. Throws TXbaseError(Usage) for a key of the wrong length or
    // a read-only file.
    bool Insert(std::string_view key, uint32_t recNo);
    // Removes the pair; returns false when it was not there.
    bool Remove(std::string_view key, uint32_t recNo);
    // Replaces every pair by the builder's (sorted here; its key length must match), writing the
    // pages bottom-up in key order. progress gets 0..100.
    void Rebuild(TTagBuilder& builder, const TIndexProgress& progress = {});
    // Removes every pair.
    void Clear();

    // Walks the whole tree from the root: page offsets, node kinds, key counts, leaf packing,
    // interior keys against their children, sibling links and the order of all keys. visit gets
    // every pair in order until the first problem. Never throws for damage: it reports it.
    TIndexCheck Verify(const std::function<void(std::string_view key, uint32_t recNo)>& visit = {});

    // Counts the pairs (walks the leaves).
    uint64_t CountKeys();

    // Changes whenever the tree changes; cursors use it to find their way back.
    uint64_t Generation() const { return mGeneration; }

private:
    friend class TIndexCursor;
    friend class TCompoundIndex;
    friend class TSingleIndex;
    struct TPath;
    struct TSeparator;

    // Reads and decodes the node at page; throws TXbaseError(Damaged) for a bad page.
    void ReadNode(uint32_t page, TIndexNode& node, bool sequential = false);
    // Descends to the leaf holding the first pair >= (key, recNo), comparing key over its own
    // length; recNo may be 2^32 to mean "after every pair with this key". Fills node with the
    // leaf and path with the interior pages passed. Returns the leaf's page.
    uint32_t FindLeaf(std::string_view key, uint64_t recNo, TIndexNode& node, TPath* path);
    uint32_t EdgeLeaf(bool last, TIndexNode& node);
    void Store(TPath& path, uint32_t page, TIndexNode& node);
    void SetSibling(uint32_t page, bool leftPointer, uint32_t value);
    void WriteRoot(uint32_t root);
    void FreeTree(uint32_t root);
    void Touch() { ++mGeneration; }
    [[noreturn]] void Damaged(uint32_t offset, const std::string& what) const;

    TIndexPageFile& mFile;
    uint32_t mHeader;
    uint32_t mRoot = 0;
    TTagInfo mInfo;
    char mTrail = ' ';
    uint8_t mOptions = 0;
    // Starts from a number no other tag object of the process used, so that a cursor left on a
    // tag object that was replaced (a rebuilt or reopened index) never mistakes a new object at
    // the same address for the old one.
    uint64_t mGeneration = FirstGeneration();
    static uint64_t FirstGeneration();
};

} // namespace qm::xbase
