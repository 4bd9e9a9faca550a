#pragma once

// A single-key index file (compact IDX): one key expression, one B-tree. The program fills such
// files one key at a time and then uses them as an order showing only the added records.
// Layout: docs/formats/idx-index.md. Same flush, dirty-mark and damage contract as
// TCompoundIndex.

#include "xbase/TIndexStorage.h"
#include "xbase/TIndexTag.h"
#include "xbase/TIndexTypes.h"

#include <memory>
#include <string>

namespace qm::xbase {

class TIndexPageFile;

class TSingleIndex {
public:
    // A new, empty index for info (info.name is ignored). An existing file is replaced.
    // Throws TXbaseError(Usage) for a bad key length or expression length.
    static std::unique_ptr<TSingleIndex> Create(const std::string& path, const TTagInfo& info);
    static std::unique_ptr<TSingleIndex> Create(std::unique_ptr<TIndexStorage> storage,
                                                const TTagInfo& info);
    static std::unique_ptr<TSingleIndex> Open(const std::string& path, bool readOnly = false);
    static std::unique_ptr<TSingleIndex> Open(std::unique_ptr<TIndexStorage> storage,
                                              bool readOnly = false);
    static void Remove(const std::string& path);

    ~TSingleIndex();
    TSingleIndex(const TSingleIndex&) = delete;
    TSingleIndex& operator=(const TSingleIndex&) = delete;

    const std::string& FileName() const;
    TIndexTag& Tag() { return *mTag; }
    // Tag().Insert(key, recNo).
    bool AddKey(std::string_view key, uint32_t recNo) { return mTag->Insert(key, recNo); }

    bool WasDirtyOnOpen() const;
    bool HasEngineMark() const;
    uint32_t SyncCount() const;
    void SetSyncCount(uint32_t recordCount);
    void Flush();
    void Close();
    TIndexCheck Verify();

private:
    explicit TSingleIndex(std::unique_ptr<TIndexPageFile> file);

    std::unique_ptr<TIndexPageFile> mFile;
    std::unique_ptr<TIndexTag> mTag;
};

} // namespace qm::xbase
