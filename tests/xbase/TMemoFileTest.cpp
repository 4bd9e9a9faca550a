#include "xbase/TMemoFile.h"
#include "xbase/TFileIoSystem.h"
#include "xbase/TXbaseError.h"

#include "TTableTestFiles.h"

#include <gtest/gtest.h>

using namespace qm::xbase;
using namespace qm::xbase::test;

namespace {

std::unique_ptr<TMemoFile> NewFpt(const TTempDir& dir)
{
    const std::string path = dir.File("T.FPT");
    auto f = TFileIoSystem::Native().Create(path, TFileLock::None, true);
    TMemoFile::WriteNewFpt(*f);
    return std::make_unique<TMemoFile>(std::move(f), TMemoKind::Fpt, true);
}

std::unique_ptr<TMemoFile> OpenMemo(const std::string& path, TMemoKind kind, bool writable)
{
    return std::make_unique<TMemoFile>(
        TFileIoSystem::Native().Open(
            path, writable ? TFileAccess::ReadWrite : TFileAccess::ReadOnly, TFileLock::None),
        kind, writable);
}

} // namespace

TEST(TMemoFile, FptMemosGoToFreshBlocksAndReadBack)
{
    TTempDir dir;
    auto m = NewFpt(dir);
    EXPECT_EQ(m->NextFree(), 8u);
    EXPECT_EQ(m->Write(""), 0u);
    const uint32_t a = m->Write("first memo");
    const std::string big(200, 'x'); // 208 bytes with the block header: 4 blocks
    const uint32_t b = m->Write(big);
    const uint32_t c = m->Write(std::string("with\0nul\r\n", 10));
    EXPECT_EQ(a, 8u);
    EXPECT_EQ(b, 9u);
    EXPECT_EQ(c, 13u);
    EXPECT_EQ(m->Read(a), "first memo");
    EXPECT_EQ(m->Read(b), big);
    EXPECT_EQ(m->Read(c), std::string("with\0nul\r\n", 10));
    EXPECT_EQ(m->Read(0), "");
    m->CheckInvariants();
    m.reset();

    const std::string bytes = ReadBytes(dir.File("T.FPT"));
    EXPECT_EQ(bytes.size(), 14u * 64);
    EXPECT_EQ(bytes.substr(0, 4), std::string("\0\0\0\x0E", 4)); // next free, big-endian
    EXPECT_EQ(bytes.substr(6, 2), std::string("\0\x40", 2));     // block size 64
    EXPECT_EQ(bytes.substr(512, 8), std::string("\0\0\0\1\0\0\0\x0A", 8));
}

TEST(TMemoFile, FreePointerBelowTheEndIsRaisedBeforeAnyAllocation)
{
    TTempDir dir;
    auto m = NewFpt(dir);
    m->Write("one");
    m->Write("two");
    m.reset();
    std::string bytes = ReadBytes(dir.File("T.FPT"));
    bytes[3] = 8; // points back at the first memo
    WriteBytes(dir.File("T.FPT"), bytes);

    m = OpenMemo(dir.File("T.FPT"), TMemoKind::Fpt, true);
    EXPECT_TRUE(m->Raised());
    EXPECT_EQ(m->NextFree(), 10u);
    EXPECT_EQ(m->Write("three"), 10u);
    EXPECT_EQ(m->Read(8), "one");
    EXPECT_EQ(m->Read(9), "two");
}

TEST(TMemoFile, PointersAndLengthsOutOfRangeAreDamage)
{
    TTempDir dir;
    auto m = NewFpt(dir);
    const uint32_t a = m->Write("hello");
    m.reset();
    std::string bytes = ReadBytes(dir.File("T.FPT"));
    bytes[512 + 4] = char(0x7F); // length far past the end
    WriteBytes(dir.File("T.FPT"), bytes);
    m = OpenMemo(dir.File("T.FPT"), TMemoKind::Fpt, false);
    try {
        m->Read(a);
        FAIL();
    } catch (const TXbaseError& e) {
        EXPECT_EQ(e.Kind(), TErrorKind::Damaged);
        EXPECT_EQ(e.Offset(), 512 + 4);
    }
    EXPECT_THROW(m->Read(3), TXbaseError);      // inside the header
    EXPECT_THROW(m->Read(100000), TXbaseError); // past the end
    EXPECT_THROW(m->Write("x"), TXbaseError);   // read-only

    bytes[7] = 0; // block size 0
    bytes[6] = 0;
    WriteBytes(dir.File("T.FPT"), bytes);
    EXPECT_THROW(OpenMemo(dir.File("T.FPT"), TMemoKind::Fpt, false), TXbaseError);
}

TEST(TMemoFile, ReadsDbaseThreeAndFourMemos)
{
    TTempDir dir;
    // dBase III: 512-byte blocks, text ends at 0x1A, may run over several blocks.
    std::string d3(512, '\0');
    d3[0] = 4;
    std::string text(700, 'a');
    d3 += text + "\x1A\x1A";
    d3.resize(3 * 512, '\0');
    d3 += "short\x1A\x1A";
    WriteBytes(dir.File("T3.DBT"), d3);
    auto m = OpenMemo(dir.File("T3.DBT"), TMemoKind::Dbt, false);
    EXPECT_EQ(m->Read(1), text);
    EXPECT_EQ(m->Read(3), "short");

    // dBase IV: block size in the header, blocks start FF FF 08 00 and a length.
    std::string d4(512, '\0');
    d4[0] = 2;
    d4[20] = 0x00;
    d4[21] = 0x02; // 512
    d4 += std::string("\xFF\xFF\x08\x00", 4);
    std::string len(4, '\0');
    PutLe32At(len, 0, 8 + 11);
    d4 += len + "dBase four!";
    WriteBytes(dir.File("T4.DBT"), d4);
    m = OpenMemo(dir.File("T4.DBT"), TMemoKind::Dbt, false);
    EXPECT_EQ(m->Read(1), "dBase four!");
}

TEST(TMemoFile, BlockNumbersInRecords)
{
    char f[10];
    PutMemoBlock(1234, f, 10);
    EXPECT_EQ(std::string(f, 10), "      1234");
    EXPECT_EQ(MemoBlockOf(std::string_view(f, 10), "x", 0), 1234u);
    PutMemoBlock(0, f, 10);
    EXPECT_EQ(MemoBlockOf(std::string_view(f, 10), "x", 0), 0u);
    EXPECT_EQ(MemoBlockOf("0000000000", "x", 0), 0u);
    EXPECT_THROW(MemoBlockOf("   12ab   ", "x", 0), TXbaseError);
    EXPECT_THROW(MemoBlockOf("9999999999", "x", 0), TXbaseError);
    char b[4];
    PutMemoBlock(0x01020304, b, 4); // Visual FoxPro: binary
    EXPECT_EQ(MemoBlockOf(std::string_view(b, 4), "x", 0), 0x01020304u);
}
