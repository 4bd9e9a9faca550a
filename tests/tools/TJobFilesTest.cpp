// The files a print command's job touches: which outputs would replace a file the job reads, and
// the messages of an address file that does not open.

#include "tools/TJobFiles.h"

#include "data/TAddressFile.h"
#include "data/TDataSet.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sstream>

namespace qm::tools {
namespace {

class TJobFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(mDir.isValid());
        mTable = Path("ADDR.DBF");
        QFile table(QString::fromStdString(mTable));
        ASSERT_TRUE(table.open(QIODevice::WriteOnly));
    }

    std::string Path(const char* name) const { return mDir.filePath(name).toStdString(); }

    QTemporaryDir mDir;
    std::string mTable;
};

TEST_F(TJobFilesTest, TheTableAndTheFilesThatGoWithItAreInputs)
{
    EXPECT_TRUE(TJobFiles::NamesAnInput(mTable, mTable));
    // Another spelling of the same path, and companions that do not exist yet, in any case.
    const std::string dotted = mDir.path().toStdString() + "/./ADDR.DBF";
    EXPECT_TRUE(TJobFiles::NamesAnInput(dotted, mTable));
    for (const char* companion : {"ADDR.CDX", "addr.fpt", "Addr.Dbt", "ADDR.MDX", "addr.idx"})
        EXPECT_TRUE(TJobFiles::NamesAnInput(Path(companion), mTable)) << companion;

    for (const char* other : {"ADDR.PDF", "ADDR2.CDX", "ADDR.CDX.pdf", "sub/ADDR.CDX"})
        EXPECT_FALSE(TJobFiles::NamesAnInput(Path(other), mTable)) << other;
    EXPECT_FALSE(TJobFiles::NamesAnInput("", mTable));
    EXPECT_FALSE(TJobFiles::NamesAnInput(mTable, ""));
}

TEST_F(TJobFilesTest, TheFirstOutputOverAnInputIsNamed)
{
    const std::string layout = Path("LAYOUT.L");
    const std::string pdf = Path("out.pdf");
    EXPECT_EQ(TJobFiles::OutputOverAnInput({"", pdf}, {mTable, "", layout}), "");
    EXPECT_EQ(TJobFiles::OutputOverAnInput({pdf, Path("layout.l")}, {mTable, layout}),
              Path("layout.l"));
    EXPECT_EQ(TJobFiles::OutputOverAnInput({Path("addr.cdx"), layout}, {mTable, layout}),
              Path("addr.cdx"));
}

TEST_F(TJobFilesTest, AnAddressFileThatDoesNotOpenIsNamedOnce)
{
    std::ostringstream err;
    data::TDataSet missing;
    data::TAddressFile::DeclareFieldObjects(missing);
    EXPECT_EQ(TJobFiles::OpenAddressFile(missing, Path("NONE.DBF"), err), 3);
    const std::string message = err.str();
    const size_t first = message.find("NONE.DBF");
    ASSERT_NE(first, std::string::npos) << message;
    EXPECT_EQ(message.find("NONE.DBF", first + 1), std::string::npos) << message;
    EXPECT_EQ(message.back(), '\n');

    // An empty file is no table: the reason, and the table stays closed.
    err.str({});
    data::TDataSet empty;
    EXPECT_EQ(TJobFiles::OpenAddressFile(empty, mTable, err), 3);
    EXPECT_NE(err.str().find("ADDR.DBF"), std::string::npos) << err.str();
    EXPECT_FALSE(empty.Active());
}

} // namespace
} // namespace qm::tools
