#include "xbase/TCompoundIndex.h"

#include "TIndexTestSupport.h"
#include "xbase/TIndexCursor.h"
#include "xbase/TTagBuilder.h"
#include "xbase/TXbaseError.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

using namespace qm::xbase;
using qm::xbase::test::Padded;
using qm::xbase::test::Shared;

namespace {

TTagInfo Info(std::string name, std::string expr, uint16_t keyLength)
{
    TTagInfo info;
    info.name = std::move(name);
    info.keyExpression = std::move(expr);
    info.keyLength = keyLength;
    return info;
}

TIndexTag& AddNames(TCompoundIndex& index, const std::string& name,
                    const std::vector<std::string>& keys, uint16_t keyLength = 10)
{
    TTagBuilder builder(keyLength);
    uint32_t r = 0;
    for (const auto& k : keys)
        builder.Add(Padded(k, keyLength), ++r);
    return index.AddTag(Info(name, "UPPER(" + name + ")", keyLength), builder);
}

std::vector<uint32_t> RecNos(TIndexTag& tag)
{
    std::vector<uint32_t> out;
    TIndexCursor c(tag);
    for (bool ok = c.First(); ok; ok = c.Next())
        out.push_back(c.RecNo());
    return out;
}

class TCompoundIndexFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        mDir = std::filesystem::temp_directory_path() /
               ("qm_cdx_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(mDir);
        mPath = (mDir / "ADD0001.CDX").string();
    }
    void TearDown() override { std::filesystem::remove_all(mDir); }

    std::filesystem::path mDir;
    std::string mPath;
};

} // namespace

TEST_F(TCompoundIndexFile, TagsKeepCreationOrderDefinitionsAndKeysAcrossReopen)
{
    {
        auto index = TCompoundIndex::Create(mPath);
        AddNames(*index, "ZIP", {"90210", "10001"});
        AddNames(*index, "city", {"SPRINGFIELD", "ALBANY", "BOSTON"});
        TTagInfo info = Info("NOTISDEL", "!ISDEL", 1);
        info.keyType = TKeyType::Logical;
        info.forExpression = "!DELETED()";
        info.descending = true;
        info.unique = true;
        TTagBuilder builder(1);
        builder.Add("T", 1);
        builder.Add("F", 2);
        index->AddTag(info, builder);
        index->Close();
    }
    auto index = TCompoundIndex::Open(mPath);
    ASSERT_EQ(index->TagCount(), 3);
    EXPECT_EQ(index->Tag(1).Name(), "ZIP");
    EXPECT_EQ(index->Tag(2).Name(), "CITY");
    EXPECT_EQ(index->Tag(3).Name(), "NOTISDEL");
    EXPECT_EQ(index->FindTag("City"), 2);
    EXPECT_EQ(index->FindTag("STATE"), 0);
    EXPECT_EQ(index->TagByName("notisdel"), &index->Tag(3));
    EXPECT_THROW(index->Tag(4), TXbaseError);
    EXPECT_THROW(index->Tag(0), TXbaseError);

    const TTagInfo& stored = index->Tag(3).Info();
    EXPECT_EQ(stored.keyExpression, "!ISDEL");
    EXPECT_EQ(stored.forExpression, "!DELETED()");
    EXPECT_TRUE(stored.descending);
    EXPECT_TRUE(stored.unique);
    EXPECT_EQ(stored.keyType, TKeyType::Logical);
    EXPECT_EQ(stored.keyLength, 1);
    EXPECT_EQ(index->Tag(2).Info().keyExpression, "UPPER(city)");
    EXPECT_EQ(RecNos(index->Tag(2)), (std::vector<uint32_t>{2, 3, 1}));
    EXPECT_EQ(RecNos(index->Tag(1)), (std::vector<uint32_t>{2, 1}));
    EXPECT_TRUE(index->Verify().ok);
    EXPECT_FALSE(index->WasDirtyOnOpen());
    EXPECT_TRUE(index->HasEngineMark());
}

TEST_F(TCompoundIndexFile, ManyTagsReplaceAndRemove)
{
    auto index = TCompoundIndex::Create(mPath);
    // Enough tags that the tag directory needs more than one page.
    for (int i = 0; i < 120; ++i)
        AddNames(*index, "TAG" + std::to_string(1000 - i), {std::to_string(i)});
    ASSERT_EQ(index->TagCount(), 120);
    EXPECT_EQ(index->Tag(1).Name(), "TAG1000");
    EXPECT_EQ(index->Tag(120).Name(), "TAG881");

    AddNames(*index, "TAG990", {"B", "A"}); // replaced in place
    EXPECT_EQ(index->FindTag("TAG990"), 11);
    EXPECT_EQ(RecNos(index->Tag(11)), (std::vector<uint32_t>{2, 1}));
    EXPECT_TRUE(index->RemoveTag("tag999"));
    EXPECT_FALSE(index->RemoveTag("TAG999"));
    EXPECT_EQ(index->TagCount(), 119);
    EXPECT_EQ(index->Tag(2).Name(), "TAG998");
    index->Close();

    auto reopened = TCompoundIndex::Open(mPath);
    ASSERT_EQ(reopened->TagCount(), 119);
    EXPECT_EQ(reopened->Tag(10).Name(), "TAG990");
    EXPECT_EQ(reopened->FindTag("TAG999"), 0);
    const TIndexCheck check = reopened->Verify();
    EXPECT_TRUE(check.ok) << check.problem;
    // Pages freed by the removal and replacement are used again.
    const auto sizeBefore = std::filesystem::file_size(mPath);
    AddNames(*reopened, "AGAIN", {"X"});
    reopened->Close();
    EXPECT_EQ(std::filesystem::file_size(mPath), sizeBefore + 1024);
}

TEST_F(TCompoundIndexFile, BadDefinitionsAreRefusedAndMissingFilesReported)
{
    auto index = TCompoundIndex::Create(mPath);
    TTagBuilder keys(10);
    EXPECT_THROW(index->AddTag(Info("1ABC", "X", 10), keys), TXbaseError);
    EXPECT_THROW(index->AddTag(Info("TOOLONGNAME", "X", 10), keys), TXbaseError);
    EXPECT_THROW(index->AddTag(Info("A-B", "X", 10), keys), TXbaseError);
    EXPECT_THROW(index->AddTag(Info("OK", "X", 11), keys), TXbaseError);
    EXPECT_THROW(index->AddTag(Info("OK", "", 10), keys), TXbaseError);
    EXPECT_THROW(index->AddTag(Info("OK", std::string(600, 'X'), 10), keys), TXbaseError);
    TTagBuilder tooLong(241);
    EXPECT_THROW(index->AddTag(Info("OK", "X", 241), tooLong), TXbaseError);
    EXPECT_EQ(index->TagCount(), 0);
    EXPECT_THROW(AddNames(*index, "K", {"A"}).Insert("short", 1), TXbaseError);
    index->Close();

    TCompoundIndex::Remove(mPath);
    EXPECT_FALSE(std::filesystem::exists(mPath));
    TCompoundIndex::Remove(mPath); // a missing file is no error
    try {
        TCompoundIndex::Open(mPath);
        FAIL() << "opened a missing file";
    } catch (const TXbaseError& e) {
        EXPECT_EQ(e.Kind(), TErrorKind::NotFound);
        EXPECT_EQ(e.File(), mPath);
    }
}

TEST_F(TCompoundIndexFile, ReadOnlyIndexRefusesChanges)
{
    {
        auto index = TCompoundIndex::Create(mPath);
        AddNames(*index, "NAME", {"A", "B"});
    }
    auto index = TCompoundIndex::Open(mPath, true);
    EXPECT_TRUE(index->ReadOnly());
    try {
        index->Tag(1).Insert(Padded("C", 10), 3);
        FAIL();
    } catch (const TXbaseError& e) {
        EXPECT_EQ(e.Kind(), TErrorKind::Usage);
    }
    EXPECT_EQ(RecNos(index->Tag(1)), (std::vector<uint32_t>{1, 2}));
}

TEST(TCompoundIndex, ChangesLeftUnflushedByACrashShowAsDirtyOnOpen)
{
    auto bytes = std::make_shared<std::string>();
    auto index = TCompoundIndex::Create(Shared(bytes));
    AddNames(*index, "NAME", {"A", "B"});
    index->SetSyncCount(2);
    index->Flush();
    EXPECT_FALSE(
        TCompoundIndex::Open(Shared(std::make_shared<std::string>(*bytes)))->WasDirtyOnOpen());
    EXPECT_EQ(TCompoundIndex::Open(Shared(std::make_shared<std::string>(*bytes)))->SyncCount(), 2u);

    // A change reaches the file only with the dirty mark before it.
    index->Tag(1).Insert(Padded("C", 10), 3);
    const std::string crashed = *bytes; // the process dies here
    auto afterCrash = TCompoundIndex::Open(Shared(std::make_shared<std::string>(crashed)));
    EXPECT_TRUE(afterCrash->WasDirtyOnOpen());

    index->SetSyncCount(3);
    index->Flush();
    auto clean = TCompoundIndex::Open(Shared(std::make_shared<std::string>(*bytes)));
    EXPECT_FALSE(clean->WasDirtyOnOpen());
    EXPECT_EQ(clean->SyncCount(), 3u);
    EXPECT_EQ(RecNos(clean->Tag(1)), (std::vector<uint32_t>{1, 2, 3}));
}

namespace {

// Storage whose writes fail from the Nth on, leaving the bytes as a crash at that moment would.
class TFailingStorage : public qm::xbase::test::TSharedStorage {
public:
    TFailingStorage(std::shared_ptr<std::string> bytes, int failAt)
        : TSharedStorage(std::move(bytes)), mFailAt(failAt)
    {
    }
    void Write(uint64_t offset, const void* data, size_t size) override
    {
        if (++mWrites >= mFailAt && mFailAt > 0)
            throw TXbaseError(TErrorKind::Io, "disk full", Name(), static_cast<int64_t>(offset),
                              28);
        TSharedStorage::Write(offset, data, size);
    }
    int Writes() const { return mWrites; }

private:
    int mFailAt;
    int mWrites = 0;
};

} // namespace

TEST(TCompoundIndex, AFailedWriteAtAnyPointLeavesAFileThatIsCleanAndCorrectOrMarkedStale)
{
    auto base = std::make_shared<std::string>();
    {
        auto index = TCompoundIndex::Create(Shared(base));
        std::vector<std::string> names;
        for (int i = 0; i < 400; ++i)
            names.push_back("N" + std::to_string(i * 37 % 400));
        AddNames(*index, "NAME", names);
    }
    // The workload: inserts that split pages, removals, a flush.
    auto workload = [](TCompoundIndex& index) {
        for (uint32_t r = 401; r <= 700; ++r)
            index.Tag(1).Insert(Padded("M" + std::to_string(r), 10), r);
        for (uint32_t r = 1; r <= 100; ++r)
            index.Tag(1).Remove(Padded("N" + std::to_string((r - 1) * 37 % 400), 10), r);
        index.SetSyncCount(600);
        index.Flush();
    };
    int total = 0;
    {
        auto bytes = std::make_shared<std::string>(*base);
        auto storage = std::make_unique<TFailingStorage>(bytes, 0);
        TFailingStorage* counter = storage.get();
        auto index = TCompoundIndex::Open(std::move(storage));
        workload(*index);
        total = counter->Writes();
    }
    ASSERT_GT(total, 3);
    for (int n = 1; n <= total; ++n) {
        auto bytes = std::make_shared<std::string>(*base);
        bool failed = false;
        try {
            auto index = TCompoundIndex::Open(std::make_unique<TFailingStorage>(bytes, n));
            workload(*index);
            index->Close();
        } catch (const TXbaseError& e) {
            EXPECT_EQ(e.Kind(), TErrorKind::Io);
            failed = true;
        }
        ASSERT_TRUE(failed) << n;
        auto reopened = TCompoundIndex::Open(Shared(bytes));
        if (reopened->WasDirtyOnOpen())
            continue; // the table layer rebuilds
        // Not marked stale: then it must be the state before or after the workload, whole.
        const TIndexCheck check = reopened->Verify();
        ASSERT_TRUE(check.ok) << n << ": " << check.problem;
        EXPECT_TRUE(check.keyCount == 400 || check.keyCount == 600) << n;
    }
}

TEST(TCompoundIndex, FilesWithoutTheEngineFieldsTakeTheirKeyTypeFromTheTable)
{
    auto bytes = std::make_shared<std::string>();
    {
        auto index = TCompoundIndex::Create(Shared(bytes));
        TTagInfo info = Info("AMOUNT", "AMOUNT", 8);
        info.keyType = TKeyType::Numeric;
        TTagBuilder keys(8);
        keys.Add(std::string("\xC0\x24\0\0\0\0\0\0", 8), 1); // 10.0
        keys.Add(std::string("\xC0\x00\0\0\0\0\0\0", 8), 2); // 2.0
        index->AddTag(info, keys);
    }
    // Another program's file carries nothing in the engine's reserved bytes.
    for (size_t header = 0; header < bytes->size(); header += 512)
        if (bytes->compare(header + 480, 4, "QMIX") == 0)
            std::fill_n(bytes->begin() + static_cast<ptrdiff_t>(header + 480), 12, '\0');
    auto index = TCompoundIndex::Open(Shared(bytes));
    EXPECT_FALSE(index->HasEngineMark());
    EXPECT_FALSE(index->WasDirtyOnOpen());
    TIndexTag& tag = index->Tag(1);
    EXPECT_EQ(tag.Info().keyType, TKeyType::Character); // unknown until the table says
    tag.SetKeyType(TKeyType::Numeric);
    TIndexCursor c(tag);
    ASSERT_TRUE(c.First());
    EXPECT_EQ(c.Key(), std::string("\xC0\x00\0\0\0\0\0\0", 8)) << "trailing NULs restored";
    EXPECT_EQ(c.RecNo(), 2u);
    index->Flush();
    EXPECT_TRUE(TCompoundIndex::Open(Shared(bytes))->HasEngineMark());
    EXPECT_EQ(TCompoundIndex::Open(Shared(bytes))->Tag(1).Info().keyType, TKeyType::Numeric);
}
