#include "xbase/TFileIo.h"
#include "xbase/TFileIoFaulty.h"
#include "xbase/TFileIoSystem.h"
#include "xbase/TXbaseError.h"

#include "TTableTestFiles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

using namespace qm::xbase;
using qm::xbase::test::TTempDir;

namespace {

TErrorKind KindOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const TXbaseError& e) {
        return e.Kind();
    }
    ADD_FAILURE() << "no error";
    return TErrorKind::Usage;
}

} // namespace

TEST(TFileIo, LocksKeepOtherOpenersOutAsTheModesSay)
{
    TTempDir dir;
    const std::string path = dir.File("A.DBF");
    TFileIoSystem& fs = TFileIoSystem::Native();
    fs.Create(path, TFileLock::None);
    {
        auto exclusive = fs.Open(path, TFileAccess::ReadWrite, TFileLock::Exclusive);
        EXPECT_EQ(KindOf([&] { fs.Open(path, TFileAccess::ReadOnly, TFileLock::Shared); }),
                  TErrorKind::InUse);
        EXPECT_EQ(KindOf([&] { fs.Open(path, TFileAccess::ReadWrite, TFileLock::Exclusive); }),
                  TErrorKind::InUse);
        // Replacing a held file must not empty it behind its holder's back.
        EXPECT_EQ(KindOf([&] { fs.Create(path, TFileLock::Exclusive, true); }), TErrorKind::InUse);
    }
    {
        auto a = fs.Open(path, TFileAccess::ReadOnly, TFileLock::Shared);
        auto b = fs.Open(path, TFileAccess::ReadOnly, TFileLock::Shared);
        EXPECT_EQ(KindOf([&] { fs.Open(path, TFileAccess::ReadWrite, TFileLock::Exclusive); }),
                  TErrorKind::InUse);
    }
    // Released with the last holder.
    EXPECT_NO_THROW(fs.Open(path, TFileAccess::ReadWrite, TFileLock::Exclusive));
    EXPECT_EQ(
        KindOf([&] { fs.Open(dir.File("MISSING.DBF"), TFileAccess::ReadOnly, TFileLock::None); }),
        TErrorKind::NotFound);
    EXPECT_EQ(KindOf([&] { fs.Create(path, TFileLock::None); }), TErrorKind::Usage);
}

TEST(TFileIo, ReadsShortAtTheEndAndReadExactNamesTheFile)
{
    TTempDir dir;
    auto f = TFileIoSystem::Native().Create(dir.File("x.bin"), TFileLock::None);
    f->WriteAt(4, "abcd", 4);
    EXPECT_EQ(f->Size(), 8u);
    char buf[16] = {};
    EXPECT_EQ(f->ReadAt(6, buf, sizeof buf), 2u);
    EXPECT_EQ(std::string(buf, 2), "cd");
    try {
        f->ReadExact(6, buf, 4);
        FAIL();
    } catch (const TXbaseError& e) {
        EXPECT_EQ(e.Kind(), TErrorKind::Damaged);
        EXPECT_EQ(e.File(), f->Path());
        EXPECT_EQ(e.Offset(), 6);
    }
}

TEST(TFileIo, CompanionsAreFoundWithoutRegardToLetterCase)
{
    TTempDir dir;
    TFileIoSystem& fs = TFileIoSystem::Native();
    EXPECT_EQ(CompanionPath("/d/ADD0001.DBF", ".fpt"), "/d/ADD0001.FPT");
    EXPECT_EQ(CompanionPath("/d/add0001.dbf", ".FPT"), "/d/add0001.fpt");
    EXPECT_EQ(CompanionPath("/d.x/noext", ".CDX"), "/d.x/noext.CDX");
    fs.Create(dir.File("People.cdx"), TFileLock::None);
    EXPECT_EQ(fs.FindCompanion(dir.File("PEOPLE.DBF"), ".CDX"), dir.File("People.cdx"));
    EXPECT_EQ(fs.FindCompanion(dir.File("PEOPLE.DBF"), ".FPT"), "");
}

TEST(TFileIoFaulty, FailsTheNthChangeAndEverythingAfterIt)
{
    TTempDir dir;
    TFileIoFaulty faulty(TFileIoSystem::Native());
    faulty.SetFailAt(3);
    auto f = faulty.Create(dir.File("f.bin"), TFileLock::None);           // 1
    f->WriteAt(0, "aaaa", 4);                                             // 2
    EXPECT_EQ(KindOf([&] { f->WriteAt(4, "bbbb", 4); }), TErrorKind::Io); // 3
    EXPECT_EQ(KindOf([&] { f->WriteAt(0, "cccc", 4); }), TErrorKind::Io); // later ones too
    EXPECT_EQ(KindOf([&] { f->Truncate(0); }), TErrorKind::Io);
    EXPECT_TRUE(faulty.Failed());
    EXPECT_EQ(qm::xbase::test::ReadBytes(dir.File("f.bin")), "aaaa");
    char buf[4];
    EXPECT_EQ(f->ReadAt(0, buf, 4), 4u); // reads keep working
}

TEST(TFileIoFaulty, AnErrorFailsOnlyItsOperationWithTheOsError)
{
    TTempDir dir;
    TFileIoFaulty faulty(TFileIoSystem::Native());
    faulty.SetMode(TFileIoFaulty::TMode::Error);
    faulty.SetError(EIO);
    faulty.SetFailAt(3);
    auto f = faulty.Create(dir.File("f.bin"), TFileLock::None); // 1
    f->WriteAt(0, "aaaa", 4);                                   // 2
    try {
        f->Sync(); // 3: a flush fails like a write
        ADD_FAILURE() << "the third operation went through";
    } catch (const TXbaseError& e) {
        EXPECT_EQ(e.Kind(), TErrorKind::Io);
        EXPECT_EQ(e.OsError(), EIO);
    }
    EXPECT_EQ(faulty.FailedOperation(), "sync " + dir.File("f.bin"));
    f->WriteAt(4, "bbbb", 4); // later ones go through
    faulty.Rename(dir.File("f.bin"), dir.File("g.bin"));
    EXPECT_EQ(qm::xbase::test::ReadBytes(dir.File("g.bin")), "aaaabbbb");
    EXPECT_EQ(faulty.Operations(), 6u); // the rename flushes its folder too
}

TEST(TFileIoFaulty, CountsOnlyTheKindsAskedFor)
{
    TTempDir dir;
    TFileIoFaulty faulty(TFileIoSystem::Native());
    faulty.SetCounted(kFaultRename);
    faulty.SetFailAt(2);
    auto f = faulty.Create(dir.File("a"), TFileLock::None);
    f->WriteAt(0, "x", 1);
    f->Sync();
    faulty.Rename(dir.File("a"), dir.File("b")); // rename 1
    EXPECT_EQ(faulty.Operations(), 1u);
    EXPECT_EQ(KindOf([&] { faulty.Rename(dir.File("b"), dir.File("c")); }), TErrorKind::Io);
    // A killed process does nothing more, counted or not.
    EXPECT_EQ(KindOf([&] { f->WriteAt(0, "y", 1); }), TErrorKind::Io);
    EXPECT_TRUE(std::filesystem::exists(dir.File("b")));
}

TEST(TFileIoFaulty, ExitEndsTheProcessBeforeTheOperation)
{
    TTempDir dir;
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        TFileIoFaulty faulty(TFileIoSystem::Native());
        faulty.SetMode(TFileIoFaulty::TMode::Exit);
        faulty.SetExitCode(77);
        faulty.SetFailAt(3);
        auto f = faulty.Create(dir.File("f.bin"), TFileLock::None);
        f->WriteAt(0, "aaaa", 4);
        f->WriteAt(4, "bbbb", 4); // ends here
        std::_Exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 77);
    EXPECT_EQ(qm::xbase::test::ReadBytes(dir.File("f.bin")), "aaaa");
}

TEST(TFileIoFaulty, TornWriteLeavesAPrefix)
{
    TTempDir dir;
    TFileIoFaulty faulty(TFileIoSystem::Native());
    faulty.SetTornWrites(true);
    faulty.SetFailAt(2);
    auto f = faulty.Create(dir.File("f.bin"), TFileLock::None);
    EXPECT_THROW(f->WriteAt(0, "12345678", 8), TXbaseError);
    EXPECT_EQ(qm::xbase::test::ReadBytes(dir.File("f.bin")), "1234");
}

namespace {

// A file in memory that scans the plain way (through ReadAt).
class TMemoryFile : public TFileIo {
public:
    explicit TMemoryFile(std::string bytes) : mBytes(std::move(bytes)) {}
    const std::string& Path() const override { return mPath; }
    size_t ReadAt(uint64_t offset, void* data, size_t size) override
    {
        if (offset >= mBytes.size())
            return 0;
        const size_t n = std::min<size_t>(size, mBytes.size() - size_t(offset));
        std::memcpy(data, mBytes.data() + offset, n);
        return n;
    }
    void WriteAt(uint64_t, const void*, size_t) override {}
    uint64_t Size() override { return mBytes.size(); }
    void Truncate(uint64_t) override {}
    void Sync() override {}

private:
    std::string mBytes;
    std::string mPath = "memory";
};

// What a scan handed over, checked to come in order without gaps or overlaps.
struct TScanned {
    uint64_t next = 0;
    std::string bytes;
    int pieces = 0;
    bool inOrder = true;
};

void Collect(void* context, uint64_t offset, const uint8_t* bytes, size_t size)
{
    auto& s = *static_cast<TScanned*>(context);
    s.inOrder = s.inOrder && offset == s.next && size > 0;
    s.next = offset + size;
    s.bytes.append(reinterpret_cast<const char*>(bytes), size);
    ++s.pieces;
}

std::string Pattern(size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = char((i * 131 + i / 4099) & 0xFF);
    return bytes;
}

} // namespace

TEST(TFileIo, ScanHandsOverEveryByteOnceInOrder)
{
    // Over 16 MB and starting off a page boundary, so that the native scan maps several
    // pieces; the plain scan reads pieces of its own.
    TTempDir dir;
    const std::string bytes = Pattern((33u << 20) + 4321);
    const std::string path = dir.File("big.bin");
    qm::xbase::test::WriteBytes(path, bytes);
    auto native = TFileIoSystem::Native().Open(path, TFileAccess::ReadOnly, TFileLock::None);
    TMemoryFile memory(bytes);
    TFileIoFaulty faulty(TFileIoSystem::Native());
    auto wrapped = faulty.Open(path, TFileAccess::ReadOnly, TFileLock::None);
    for (TFileIo* f :
         {static_cast<TFileIo*>(native.get()), static_cast<TFileIo*>(&memory), wrapped.get()}) {
        const uint64_t from = 777, to = bytes.size() - 5;
        TScanned s{from};
        f->Scan(from, to, Collect, &s);
        EXPECT_TRUE(s.inOrder);
        EXPECT_EQ(s.next, to);
        EXPECT_GT(s.pieces, 1);
        EXPECT_TRUE(s.bytes == bytes.substr(from, to - from));

        TScanned none{10};
        f->Scan(10, 10, Collect, &none);
        EXPECT_EQ(none.pieces, 0);
        TScanned past{0};
        EXPECT_EQ(KindOf([&] { f->Scan(0, bytes.size() + 1, Collect, &past); }),
                  TErrorKind::Damaged);
    }
}
