#include "xbase/TSingleIndex.h"

#include "xbase/TIndexPageFile.h"
#include "xbase/TXbaseError.h"

#include <filesystem>
#include <system_error>

namespace qm::xbase {

using namespace indexformat;

// Shared by both index kinds: the parts of a tag definition the file format limits.
void CheckTagDefinition(const TTagInfo& info, const std::string& file)
{
    if (info.keyLength == 0 || info.keyLength > kMaxKeyLength)
        throw TXbaseError(TErrorKind::Usage,
                          "index key length " + std::to_string(info.keyLength) +
                              " is out of range (1 to 240)",
                          file);
    if (info.keyExpression.empty())
        throw TXbaseError(TErrorKind::Usage, "an index needs a key expression", file);
    if (info.keyExpression.size() + info.forExpression.size() + 2 > kMaxExpressionPool)
        throw TXbaseError(TErrorKind::Usage,
                          "the key and FOR expressions are too long for an index", file);
    if (info.keyExpression.find('\0') != std::string::npos ||
        info.forExpression.find('\0') != std::string::npos)
        throw TXbaseError(TErrorKind::Usage, "an index expression cannot hold a NUL byte", file);
}

TSingleIndex::TSingleIndex(std::unique_ptr<TIndexPageFile> file) : mFile(std::move(file)) {}

TSingleIndex::~TSingleIndex()
{
    try {
        if (mFile)
            mFile->Flush();
    } catch (const TXbaseError&) {
        // Close() reports flush errors; a destructor must not throw.
    }
}

std::unique_ptr<TSingleIndex> TSingleIndex::Create(const std::string& path, const TTagInfo& info)
{
    CheckTagDefinition(info, path);
    return Create(OpenIndexStorage(path, TIndexOpenMode::Create), info);
}

std::unique_ptr<TSingleIndex> TSingleIndex::Create(std::unique_ptr<TIndexStorage> storage,
                                                   const TTagInfo& info)
{
    CheckTagDefinition(info, storage->Name());
    storage->Truncate(0);
    auto file = std::make_unique<TIndexPageFile>(std::move(storage), false);
    std::unique_ptr<TSingleIndex> index(new TSingleIndex(std::move(file)));
    TTagInfo stored = info;
    stored.name.clear();
    index->mFile->AllocateAtEnd(2);
    TIndexTag::WriteNew(*index->mFile, 0, stored, 0);
    index->mTag = std::make_unique<TIndexTag>(*index->mFile, 0, std::string());
    index->mFile->Flush();
    return index;
}

std::unique_ptr<TSingleIndex> TSingleIndex::Open(const std::string& path, bool readOnly)
{
    return Open(
        OpenIndexStorage(path, readOnly ? TIndexOpenMode::ReadOnly : TIndexOpenMode::ReadWrite),
        readOnly);
}

std::unique_ptr<TSingleIndex> TSingleIndex::Open(std::unique_ptr<TIndexStorage> storage,
                                                 bool readOnly)
{
    const std::string name = storage->Name();
    if (storage->Size() < kHeaderSize + kPageSize)
        throw TXbaseError(TErrorKind::Damaged, "the file is too short to be a compact index", name);
    auto file = std::make_unique<TIndexPageFile>(std::move(storage), readOnly);
    std::unique_ptr<TSingleIndex> index(new TSingleIndex(std::move(file)));
    index->mTag = std::make_unique<TIndexTag>(*index->mFile, 0, std::string());
    if (index->mTag->mOptions & kOptCompound)
        throw TXbaseError(TErrorKind::Damaged, "a compound index, not a single-key index", name, 0);
    return index;
}

void TSingleIndex::Remove(const std::string& path)
{
    std::error_code error;
    std::filesystem::remove(path, error);
    if (error)
        throw TXbaseError(TErrorKind::Io, "cannot delete the index file: " + error.message(), path,
                          TXbaseError::kNoOffset, error.value());
}

const std::string& TSingleIndex::FileName() const
{
    return mFile->Name();
}
bool TSingleIndex::WasDirtyOnOpen() const
{
    return mFile->WasDirtyOnOpen();
}
bool TSingleIndex::HasEngineMark() const
{
    return mFile->HasEngineMark();
}
uint32_t TSingleIndex::SyncCount() const
{
    return mFile->SyncCount();
}
void TSingleIndex::SetSyncCount(uint32_t recordCount)
{
    mFile->SetSyncCount(recordCount);
}
void TSingleIndex::Flush()
{
    mFile->Flush();
}

void TSingleIndex::Close()
{
    if (!mFile)
        return;
    mFile->Flush();
    mTag.reset();
    mFile.reset();
}

TIndexCheck TSingleIndex::Verify()
{
    return mTag->Verify();
}

} // namespace qm::xbase
