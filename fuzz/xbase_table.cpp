// Feeds arbitrary bytes to the table layer as a DBF file and its FPT memo file: opening, reading
// every field and memo, then changing, appending and packing a writable copy must end in success
// or a TXbaseError, never a crash, a hang or an allocation beyond the input's size.
//
// Input: uint16 little-endian length of the DBF part, the DBF bytes, the memo bytes.

#include "xbase/TFileIoSystem.h"
#include "xbase/TTable.h"
#include "xbase/TXbaseError.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <string>

using namespace qm::xbase;

namespace {

// Files in memory, so the fuzzer runs fast and leaves nothing behind.
class TMemoryFile : public TFileIo {
public:
    TMemoryFile(std::string path, std::string& bytes) : mPath(std::move(path)), mBytes(bytes) {}
    const std::string& Path() const override { return mPath; }
    size_t ReadAt(uint64_t offset, void* data, size_t size) override
    {
        if (offset >= mBytes.size())
            return 0;
        const size_t n = std::min<uint64_t>(size, mBytes.size() - offset);
        std::memcpy(data, mBytes.data() + offset, n);
        return n;
    }
    void WriteAt(uint64_t offset, const void* data, size_t size) override
    {
        if (offset + size > (64u << 20))
            throw TXbaseError(TErrorKind::Io, "the test file would grow too large", mPath);
        if (mBytes.size() < offset + size)
            mBytes.resize(offset + size, '\0');
        std::memcpy(mBytes.data() + offset, data, size);
    }
    uint64_t Size() override { return mBytes.size(); }
    void Truncate(uint64_t size) override { mBytes.resize(size, '\0'); }
    void Sync() override {}

private:
    std::string mPath;
    std::string& mBytes;
};

class TMemorySystem : public TFileIoSystem {
public:
    std::map<std::string, std::string> files;

    std::unique_ptr<TFileIo> Open(const std::string& path, TFileAccess, TFileLock) override
    {
        auto it = files.find(path);
        if (it == files.end())
            throw TXbaseError(TErrorKind::NotFound, "the file does not exist", path);
        return std::make_unique<TMemoryFile>(path, it->second);
    }
    std::unique_ptr<TFileIo> Create(const std::string& path, TFileLock, bool replace) override
    {
        if (files.count(path) && !replace)
            throw TXbaseError(TErrorKind::Usage, "the file already exists", path);
        files[path].clear();
        return std::make_unique<TMemoryFile>(path, files[path]);
    }
    bool Exists(const std::string& path) override { return files.count(path) != 0; }
    void Remove(const std::string& path) override { files.erase(path); }
    void RenameEntry(const std::string& from, const std::string& to) override
    {
        auto it = files.find(from);
        if (it == files.end())
            throw TXbaseError(TErrorKind::NotFound, "the file does not exist", from);
        std::string bytes = std::move(it->second);
        files.erase(it);
        files[to] = std::move(bytes);
    }
    std::string FindCompanion(const std::string& path, std::string_view ext) override
    {
        const std::string p = CompanionPath(path, ext);
        return files.count(p) ? p : std::string();
    }
};

void ReadAll(TTable& t)
{
    const uint32_t count = std::min<uint32_t>(t.RecordCount(), 2000);
    for (uint32_t r = 1; r <= count; ++r) {
        t.Go(r);
        (void)t.Deleted();
        for (int f = 0; f < int(t.Fields().size()); ++f) {
            try {
                (void)t.GetText(f);
                (void)t.IsEmpty(f);
                (void)t.GetNumeric(f);
            } catch (const TXbaseError&) {
                // A damaged memo pointer of one record must not stop the others.
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const size_t dbfLength = std::min<size_t>(size - 2, size_t(data[0]) | (size_t(data[1]) << 8));
    const std::string dbf(reinterpret_cast<const char*>(data + 2), dbfLength);
    const std::string memo(reinterpret_cast<const char*>(data + 2 + dbfLength),
                           size - 2 - dbfLength);
    for (bool writable : {false, true}) {
        TMemorySystem fs;
        fs.files["F.DBF"] = dbf;
        if (!memo.empty()) {
            fs.files["F.FPT"] = memo; // read as the version byte says: FPT or DBT
            fs.files["F.DBT"] = memo;
        }
        TTableOptions options;
        options.files = &fs;
        options.openIndex = false;
        options.mode = writable ? TOpenMode::Exclusive : TOpenMode::ReadOnly;
        try {
            auto t = TTable::Open("F.DBF", options);
            ReadAll(*t);
            if (writable) {
                if (t->RecordCount() > 0) {
                    t->Go(1);
                    t->SetDeleted(true);
                }
                t->AppendBlank();
                for (int f = 0; f < int(t->Fields().size()); ++f) {
                    try {
                        t->PutString(f, "12");
                    } catch (const TXbaseError&) {
                    }
                }
                t->Post();
                t->Pack();
                ReadAll(*t);
                t->Zap();
                t->Close();
            }
        } catch (const TXbaseError&) {
        }
    }
    return 0;
}
