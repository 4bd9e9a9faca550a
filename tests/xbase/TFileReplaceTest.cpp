// One file put in the place of another: after a failure at any step the earlier file is there as
// it was (and nothing beside it); after a crash at any step the target is the earlier file or the
// new one, whole, and the next replacement removes what the crash left.

#include "xbase/TFileReplace.h"
#include "xbase/TFileIoFaulty.h"
#include "xbase/TFileIoSystem.h"
#include "xbase/TXbaseError.h"

#include "TTableTestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace qm::xbase;
using qm::xbase::test::ReadBytes;
using qm::xbase::test::TTempDir;
using qm::xbase::test::WriteBytes;

namespace {

const std::string kEarlier = "earlier contents";
const std::string kNew = "the new contents, longer";

uint64_t Steps()
{
    TTempDir dir;
    WriteBytes(dir.File("OUT.TXT"), kEarlier);
    WriteBytes(dir.File(".build"), kNew);
    TFileIoFaulty counting(TFileIoSystem::Native());
    TFileReplace::Replace(counting, dir.File(".build"), dir.File("OUT.TXT"));
    EXPECT_EQ(ReadBytes(dir.File("OUT.TXT")), kNew);
    EXPECT_FALSE(std::filesystem::exists(dir.File(".build")));
    return counting.Operations();
}

} // namespace

TEST(TFileReplace, EveryFailingStepKeepsTheEarlierFileAndACrashLeavesOneWhole)
{
    const uint64_t total = Steps();
    ASSERT_EQ(total, 4u); // a second name, the rename and its flush, removing the second name
    for (const auto mode : {TFileIoFaulty::TMode::Error, TFileIoFaulty::TMode::Kill}) {
        for (uint64_t k = 1; k <= total; ++k) {
            SCOPED_TRACE((mode == TFileIoFaulty::TMode::Kill ? "crash at " : "error at ") +
                         std::to_string(k));
            TTempDir dir;
            WriteBytes(dir.File("OUT.TXT"), kEarlier);
            WriteBytes(dir.File(".build"), kNew);
            TFileIoFaulty faulty(TFileIoSystem::Native());
            faulty.SetSyncs(false);
            faulty.SetMode(mode);
            faulty.SetFailAt(k);
            bool failed = false;
            try {
                TFileReplace::Replace(faulty, dir.File(".build"), dir.File("OUT.TXT"));
            } catch (const TXbaseError&) {
                failed = true;
            }
            const std::string aside = TFileReplace::AsidePath(dir.File("OUT.TXT"));
            if (mode == TFileIoFaulty::TMode::Error) {
                // Reported: the earlier file; not reported (the aside could not be removed): the
                // new one.
                EXPECT_EQ(ReadBytes(dir.File("OUT.TXT")), failed ? kEarlier : kNew);
                EXPECT_EQ(std::filesystem::exists(aside), !failed);
            }
            // The target is always there whole; the next replacement removes a second name.
            const std::string now = ReadBytes(dir.File("OUT.TXT"));
            EXPECT_TRUE(now == kEarlier || now == kNew) << now;
            TFileReplace::Recover(TFileIoSystem::Native(), dir.File("OUT.TXT"));
            EXPECT_EQ(ReadBytes(dir.File("OUT.TXT")), now);
            EXPECT_FALSE(std::filesystem::exists(aside));
        }
    }
}
