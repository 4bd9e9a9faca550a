#pragma once

// A compound index file (CDX): any number of tags, each its own B-tree, found through a tag
// directory at the start of the file. Layout: docs/formats/cdx-index.md.
//
// Contract:
// - Tags keep their creation order; order numbers are 1-based in that order.
// - Tag names are compared without regard to ASCII letter case and stored in upper case.
// - Changes are cached; Flush() writes them and marks the file clean. The first change after a
//   clean state writes a dirty mark to the file first, so an index left stale by a crash shows
//   WasDirtyOnOpen() on the next open. The table layer may also record its record count at each
//   flush (SetSyncCount) and compare it on open to notice a table changed without the index.
// - Destroying the object flushes and swallows errors; call Close() to see them. After a failed
//   write nothing more is written (the file keeps its dirty mark): not by Flush() or Close(),
//   which throw, nor by the destructor.
// - Damaged files throw TXbaseError(Damaged) naming the file and the offset; opening never
//   allocates more than the file holds.

#include "xbase/TIndexStorage.h"
#include "xbase/TIndexTag.h"
#include "xbase/TIndexTypes.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qm::xbase {

class TIndexPageFile;
class TTagBuilder;

class TCompoundIndex {
public:
    // A new file with no tags (an existing one is emptied).
    static std::unique_ptr<TCompoundIndex> Create(const std::string& path);
    static std::unique_ptr<TCompoundIndex> Create(std::unique_ptr<TIndexStorage> storage);
    // Throws TXbaseError(NotFound) for a missing file, TXbaseError(Damaged) for a file that is
    // not a compound index.
    static std::unique_ptr<TCompoundIndex> Open(const std::string& path, bool readOnly = false);
    static std::unique_ptr<TCompoundIndex> Open(std::unique_ptr<TIndexStorage> storage,
                                                bool readOnly = false);
    // Deletes the file (close every TCompoundIndex on it first). A missing file is no error.
    static void Remove(const std::string& path);

    ~TCompoundIndex();
    TCompoundIndex(const TCompoundIndex&) = delete;
    TCompoundIndex& operator=(const TCompoundIndex&) = delete;

    const std::string& FileName() const;
    bool ReadOnly() const;

    int TagCount() const { return static_cast<int>(mTags.size()); }
    // order is 1..TagCount(); throws TXbaseError(Usage) otherwise.
    TIndexTag& Tag(int order);
    // The tag's order number, 0 when there is none of that name.
    int FindTag(std::string_view name) const;
    TIndexTag* TagByName(std::string_view name);

    // Adds a tag holding keys (sorted here; keys.KeyLength() must equal info.keyLength) after the
    // existing ones; a tag of the same name is replaced in place, keeping its order number.
    // Throws TXbaseError(Usage) for a bad name, key length or expression length.
    TIndexTag& AddTag(const TTagInfo& info, TTagBuilder& keys, const TIndexProgress& progress = {});
    // Removes the tag of that name; returns false when there is none.
    bool RemoveTag(std::string_view name);

    bool WasDirtyOnOpen() const;
    // Whether the file carries this engine's clean/dirty mark (files from other software do not
    // until the first flush here).
    bool HasEngineMark() const;
    uint32_t SyncCount() const;
    void SetSyncCount(uint32_t recordCount);

    // Memory the page cache may hold (default 32 MB; changed pages are written out when full).
    void SetCacheLimit(size_t bytes);

    // Writes every change and marks the file clean.
    void Flush();
    // Flushes and releases the file; every tag and cursor of this index is invalid afterwards.
    void Close();
    // Releases the file without writing anything more (after a failure elsewhere: what the cache
    // holds may not match the table any more). The file keeps whatever mark it has on disk.
    void Discard();
    // Puts the dirty mark on the disk before a change the index will follow (see
    // TIndexPageFile::MarkChanging).
    void MarkChanging();
    bool Failed() const;

    // Walks the tag directory and every tag (TIndexTag::Verify); the first problem found.
    TIndexCheck Verify();

private:
    explicit TCompoundIndex(std::unique_ptr<TIndexPageFile> file);
    void LoadTags();

    std::unique_ptr<TIndexPageFile> mFile;
    std::unique_ptr<TIndexTag> mDirectory;
    std::vector<std::unique_ptr<TIndexTag>> mTags; // in creation order (header offset order)
};

} // namespace qm::xbase
