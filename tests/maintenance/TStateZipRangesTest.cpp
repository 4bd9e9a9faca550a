// The state/ZIP ranges: every row of a state counts, whole abbreviations only, ZIP+4 against a
// five-digit end of range, and the shipped table read from sysdata.

#include "maintenance/TStateZipRanges.h"
#include "TTestHome.h"
#include "data/TProgramHome.h"
#include "data/TSystemTables.h"
#include "maintenance/TStateRowCheck.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace qm::maintenance;

TEST(StateZipRangesTest, AZipPassesInAnyRowOfItsState)
{
    TStateZipRanges ranges;
    ranges.Add("NY", "10000", "14999-9999");
    ranges.Add("NY", "00500", "00599-9999");
    ranges.Add("NY", "06390", "06390-9999");
    EXPECT_TRUE(ranges.Valid("NY", "10000"));
    EXPECT_TRUE(ranges.Valid("NY", "14999"));
    EXPECT_TRUE(ranges.Valid("NY", "14999-9999"));
    EXPECT_FALSE(ranges.Valid("NY", "15000"));
    EXPECT_TRUE(ranges.Valid("NY", "00501"));      // the second row
    EXPECT_TRUE(ranges.Valid("NY", "06390-1234")); // the third
    EXPECT_FALSE(ranges.Valid("NY", "06391"));
    EXPECT_FALSE(ranges.Valid("NY", "0999"));
}

TEST(StateZipRangesTest, StatesAreComparedWhole)
{
    TStateZipRanges ranges;
    ranges.Add("NE", "68000", "69399");
    ranges.Add("NY", "10000", "14999");
    EXPECT_FALSE(ranges.Valid("N", "68100"));  // no prefix matching
    EXPECT_FALSE(ranges.Valid("ny", "10001")); // lower case stays questionable
    EXPECT_FALSE(ranges.Valid("", "10001"));
    EXPECT_TRUE(ranges.Valid("NY  ", "10001   "));
    EXPECT_FALSE(ranges.KnowsState("NEB"));
}

TEST(StateZipRangesTest, ZipPlusFourAtAFiveDigitEndOfRange)
{
    EXPECT_TRUE(TStateZipRanges::InRange("36999-1234", "35000", "36999"));
    EXPECT_TRUE(TStateZipRanges::InRange("36999", "35000", "36999"));
    EXPECT_FALSE(TStateZipRanges::InRange("37000-0001", "35000", "36999"));
    EXPECT_FALSE(TStateZipRanges::InRange("3499", "35000", "36999"));
    EXPECT_TRUE(TStateZipRanges::InRange("35000", "35000", "36999-9999"));
    EXPECT_FALSE(TStateZipRanges::InRange("", "35000", "36999-9999"));
}

TEST(StateZipRangesTest, ReadsTheShippedTableAndReportsAMissingOne)
{
    qm::test::TTestHome home;
    home.Home().Prepare(QStringLiteral(QM_BUILD_DIR "/share/quillmark"));
    TStateZipRanges ranges;
    ASSERT_EQ(ranges.Load(home.Home().SysDataDir()), QString());
    EXPECT_GT(ranges.RowCount(), 50);
    EXPECT_TRUE(ranges.Valid("NY", "00501"));
    EXPECT_TRUE(ranges.Valid("DC", "20500"));
    EXPECT_TRUE(ranges.Valid("TX", "73301"));
    EXPECT_TRUE(ranges.Valid("AL", "36999-0001"));
    EXPECT_FALSE(ranges.Valid("AL", "37000"));

    const QString csz = qm::data::TSystemTables::FilePath(qm::data::TSystemTable::StateZip,
                                                          home.Home().SysDataDir());
    ASSERT_TRUE(QFile::remove(csz));
    EXPECT_EQ(ranges.Load(home.Home().SysDataDir()), "Unable to Open or Create CSZ.DBF");
    EXPECT_EQ(ranges.RowCount(), 0);
}

TEST(StateRowCheckTest, RefusesRowsThatWouldListTheirWholeState)
{
    EXPECT_EQ(TStateRowCheck::Problem("Alabama", "AL", "35000", "36999-9999"), QString());
    EXPECT_EQ(TStateRowCheck::Problem("Alabama", "AL", "35000", "35000"), QString());
    const QString reversed = TStateRowCheck::Problem("Alabama", "AL", "37000", "36999-9999");
    EXPECT_TRUE(reversed.startsWith("The row \"Alabama\" (AL) starts after it ends"))
        << reversed.toStdString();
    EXPECT_EQ(TStateRowCheck::Problem("Alabama", " ", "35000", "36999"),
              "The row \"Alabama\" has no abbreviation. Enter one before saving.");
    EXPECT_TRUE(TStateRowCheck::Problem("", "", "1", "2").startsWith("This row"));
}
