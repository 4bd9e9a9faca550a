#include "xbase/TCompoundIndex.h"

#include "xbase/TIndexCursor.h"
#include "xbase/TIndexPageFile.h"
#include "xbase/TTagBuilder.h"
#include "xbase/TXbaseError.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace qm::xbase {

using namespace indexformat;

namespace {

char AsciiUpper(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiUpper(a[i]) != AsciiUpper(b[i]))
            return false;
    return true;
}

std::string DirectoryKey(const std::string& name)
{
    std::string key = name;
    key.resize(kTagNameLength, ' ');
    return key;
}

} // namespace

void CheckTagDefinition(const TTagInfo& info, const std::string& file); // TSingleIndex.cpp

TCompoundIndex::TCompoundIndex(std::unique_ptr<TIndexPageFile> file) : mFile(std::move(file)) {}

TCompoundIndex::~TCompoundIndex()
{
    try {
        if (mFile && !mFile->Failed())
            mFile->Flush();
    } catch (const TXbaseError&) {
        // Close() reports flush errors; a destructor must not throw.
    }
}

std::unique_ptr<TCompoundIndex> TCompoundIndex::Create(const std::string& path)
{
    return Create(OpenIndexStorage(path, TIndexOpenMode::Create));
}

std::unique_ptr<TCompoundIndex> TCompoundIndex::Create(std::unique_ptr<TIndexStorage> storage)
{
    storage->Truncate(0);
    auto file = std::make_unique<TIndexPageFile>(std::move(storage), false);
    std::unique_ptr<TCompoundIndex> index(new TCompoundIndex(std::move(file)));
    TTagInfo directory;
    directory.keyLength = kTagNameLength;
    index->mFile->AllocateAtEnd(2);
    TIndexTag::WriteNew(*index->mFile, 0, directory, kOptCompound | kOptStructure);
    index->mDirectory = std::make_unique<TIndexTag>(*index->mFile, 0, std::string());
    index->mFile->Flush();
    return index;
}

std::unique_ptr<TCompoundIndex> TCompoundIndex::Open(const std::string& path, bool readOnly)
{
    return Open(
        OpenIndexStorage(path, readOnly ? TIndexOpenMode::ReadOnly : TIndexOpenMode::ReadWrite),
        readOnly);
}

std::unique_ptr<TCompoundIndex> TCompoundIndex::Open(std::unique_ptr<TIndexStorage> storage,
                                                     bool readOnly)
{
    const std::string name = storage->Name();
    if (storage->Size() < kHeaderSize + kPageSize)
        throw TXbaseError(TErrorKind::Damaged, "the file is too short to be a compound index",
                          name);
    auto file = std::make_unique<TIndexPageFile>(std::move(storage), readOnly);
    std::unique_ptr<TCompoundIndex> index(new TCompoundIndex(std::move(file)));
    index->mDirectory = std::make_unique<TIndexTag>(*index->mFile, 0, std::string());
    if ((index->mDirectory->mOptions & kOptCompound) == 0)
        throw TXbaseError(TErrorKind::Damaged, "not a compound index (it has no tag directory)",
                          name, 0);
    index->LoadTags();
    return index;
}

void TCompoundIndex::LoadTags()
{
    mTags.clear();
    TIndexCursor cursor(*mDirectory);
    std::vector<std::pair<uint32_t, std::string>> found;
    for (bool ok = cursor.First(); ok; ok = cursor.Next()) {
        std::string name(cursor.Key());
        while (!name.empty() && (name.back() == ' ' || name.back() == '\0'))
            name.pop_back();
        const uint32_t header = cursor.RecNo();
        if (header % kPageSize != 0 || header < kHeaderSize ||
            header + uint64_t{kHeaderSize} > mFile->End())
            throw TXbaseError(TErrorKind::Damaged, "tag " + name + " points outside the file",
                              mFile->Name(), header);
        found.emplace_back(header, std::move(name));
        if (found.size() > mFile->PageCount())
            throw TXbaseError(TErrorKind::Damaged, "the tag directory lists more tags than fit",
                              mFile->Name(), 0);
    }
    // Creation order is the order of the tag headers in the file.
    std::sort(found.begin(), found.end());
    for (size_t i = 1; i < found.size(); ++i)
        if (found[i].first == found[i - 1].first)
            throw TXbaseError(TErrorKind::Damaged, "two tags share one header", mFile->Name(),
                              found[i].first);
    for (auto& [header, name] : found)
        mTags.push_back(std::make_unique<TIndexTag>(*mFile, header, std::move(name)));
}

void TCompoundIndex::Remove(const std::string& path)
{
    std::error_code error;
    std::filesystem::remove(path, error);
    if (error)
        throw TXbaseError(TErrorKind::Io, "cannot delete the index file: " + error.message(), path,
                          TXbaseError::kNoOffset, error.value());
}

const std::string& TCompoundIndex::FileName() const
{
    return mFile->Name();
}
bool TCompoundIndex::ReadOnly() const
{
    return mFile->ReadOnly();
}

TIndexTag& TCompoundIndex::Tag(int order)
{
    if (order < 1 || order > TagCount())
        throw TXbaseError(TErrorKind::Usage, "there is no tag number " + std::to_string(order),
                          mFile->Name());
    return *mTags[static_cast<size_t>(order - 1)];
}

int TCompoundIndex::FindTag(std::string_view name) const
{
    for (size_t i = 0; i < mTags.size(); ++i)
        if (SameName(mTags[i]->Name(), name))
            return static_cast<int>(i + 1);
    return 0;
}

TIndexTag* TCompoundIndex::TagByName(std::string_view name)
{
    const int order = FindTag(name);
    return order == 0 ? nullptr : mTags[static_cast<size_t>(order - 1)].get();
}

TIndexTag& TCompoundIndex::AddTag(const TTagInfo& requested, TTagBuilder& keys,
                                  const TIndexProgress& progress)
{
    TTagInfo info = requested;
    std::transform(info.name.begin(), info.name.end(), info.name.begin(), AsciiUpper);
    bool nameOk = !info.name.empty() && info.name.size() <= kTagNameLength &&
                  !(info.name[0] >= '0' && info.name[0] <= '9');
    for (char c : info.name)
        nameOk = nameOk && ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_');
    if (!nameOk)
        throw TXbaseError(
            TErrorKind::Usage,
            "\"" + requested.name +
                "\" is not a valid tag name (1 to 10 letters, digits or _, not starting "
                "with a digit)",
            mFile->Name());
    CheckTagDefinition(info, mFile->Name());
    if (keys.KeyLength() != info.keyLength)
        throw TXbaseError(TErrorKind::Usage, "the collected keys do not have the tag's key length",
                          mFile->Name());

    const int existing = FindTag(info.name);
    if (existing != 0) {
        TIndexTag& old = *mTags[static_cast<size_t>(existing - 1)];
        const uint32_t header = old.HeaderOffset();
        old.FreeTree(old.mRoot);
        TIndexTag::WriteNew(*mFile, header, info, kOptCompound);
        auto tag = std::make_unique<TIndexTag>(*mFile, header, info.name);
        tag->Rebuild(keys, progress);
        mTags[static_cast<size_t>(existing - 1)] = std::move(tag);
        return *mTags[static_cast<size_t>(existing - 1)];
    }
    const uint32_t header = mFile->AllocateAtEnd(2);
    TIndexTag::WriteNew(*mFile, header, info, kOptCompound);
    mDirectory->Insert(DirectoryKey(info.name), header);
    auto tag = std::make_unique<TIndexTag>(*mFile, header, info.name);
    tag->Rebuild(keys, progress);
    mTags.push_back(std::move(tag));
    return *mTags.back();
}

bool TCompoundIndex::RemoveTag(std::string_view name)
{
    const int order = FindTag(name);
    if (order == 0)
        return false;
    TIndexTag& tag = *mTags[static_cast<size_t>(order - 1)];
    const uint32_t header = tag.HeaderOffset();
    tag.FreeTree(tag.mRoot);
    mDirectory->Remove(DirectoryKey(tag.Name()), header);
    mFile->Free(header);
    mFile->Free(header + kPageSize);
    mTags.erase(mTags.begin() + (order - 1));
    return true;
}

bool TCompoundIndex::WasDirtyOnOpen() const
{
    return mFile->WasDirtyOnOpen();
}
bool TCompoundIndex::HasEngineMark() const
{
    return mFile->HasEngineMark();
}
uint32_t TCompoundIndex::SyncCount() const
{
    return mFile->SyncCount();
}
void TCompoundIndex::SetSyncCount(uint32_t recordCount)
{
    mFile->SetSyncCount(recordCount);
}

void TCompoundIndex::Flush()
{
    mFile->Flush();
}
void TCompoundIndex::SetCacheLimit(size_t bytes)
{
    mFile->SetCacheLimit(bytes / kPageSize);
}

void TCompoundIndex::Close()
{
    if (!mFile)
        return;
    mFile->Flush();
    mTags.clear();
    mDirectory.reset();
    mFile.reset();
}

void TCompoundIndex::Discard()
{
    if (!mFile)
        return;
    mFile->Discard();
    mTags.clear();
    mDirectory.reset();
    mFile.reset();
}

void TCompoundIndex::MarkChanging()
{
    mFile->MarkChanging();
}

bool TCompoundIndex::Failed() const
{
    return mFile && mFile->Failed();
}

TIndexCheck TCompoundIndex::Verify()
{
    TIndexCheck total = mDirectory->Verify();
    if (!total.ok) {
        total.problem = "tag directory: " + total.problem;
        return total;
    }
    total.keyCount = 0;
    for (const auto& tag : mTags) {
        TIndexCheck check = tag->Verify();
        total.keyCount += check.keyCount;
        if (!check.ok) {
            check.problem = "tag " + tag->Name() + ": " + check.problem;
            check.keyCount = total.keyCount;
            return check;
        }
    }
    return total;
}

} // namespace qm::xbase
