// Filter files and the browse column file: the name rules of saving and restoring, what is read
// back from short, long and foreign files, and the column moves of FIELDS.LST.

#include "data/TFilterFiles.h"
#include "TTestHome.h"
#include "addressbook/TColumnOrder.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <gtest/gtest.h>

using namespace qm::addressbook;
using namespace qm::data;

namespace {

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(TFilterFiles, SaveNamesTakeOrGetTheFltExtension)
{
    EXPECT_EQ(TFilterFiles::SaveTarget("/home/u/list").path, "/home/u/list.FLT");
    EXPECT_EQ(TFilterFiles::SaveTarget("/home/u/list.flt").path, "/home/u/list.flt");
    EXPECT_EQ(TFilterFiles::SaveTarget("/home/u/list.FLT").path, "/home/u/list.FLT");

    const TFilterFiles::TTarget txt = TFilterFiles::SaveTarget("/home/u/list.txt");
    EXPECT_TRUE(txt.path.isEmpty());
    EXPECT_EQ(txt.error, "Must have a .FLT extension");
    // A full stop in a folder name counts too.
    EXPECT_EQ(TFilterFiles::SaveTarget("/home/u.v/list").error, "Must have a .FLT extension");

    EXPECT_EQ(TFilterFiles::RestoreError("/x/a.FLT"), QString());
    EXPECT_EQ(TFilterFiles::RestoreError("/x/a.flt"), QString());
    EXPECT_EQ(TFilterFiles::RestoreError("/x/a.txt"), "Must be a Filter (.FLT) file");
    EXPECT_EQ(TFilterFiles::RestoreError("/x/a"), "Must be a Filter (.FLT) file");
    EXPECT_EQ(TFilterFiles::OverwriteQuestion("/x/a.FLT"),
              "/x/a.FLT already exists.\r\nDo you want to overwrite it?");
}

TEST(TFilterFiles, WrittenEntriesReadBackAsTypedWithoutTheTaggedFlag)
{
    qm::test::TTestHome home;
    const QString path = home.Path("a.FLT");
    TFilterEntries filter;
    filter.entries[0] = " brown; jones ";
    filter.entries[7] = "$spring";
    filter.entries[17] = QString::fromUtf8("Müller");
    filter.taggedOnly = true;
    ASSERT_EQ(TFilterFiles::Write(path, filter), QString());
    EXPECT_EQ(ReadBytes(path).count("\r\n"), 18);

    TFilterEntries back;
    QString error;
    ASSERT_TRUE(TFilterFiles::Read(path, back, error));
    EXPECT_FALSE(back.taggedOnly);
    filter.taggedOnly = false;
    EXPECT_EQ(back, filter);
}

TEST(TFilterFiles, ShortLongAndForeignFiles)
{
    qm::test::TTestHome home;
    TFilterEntries back;
    QString error;

    // Three lines without a last line break: the rest stay empty.
    WriteBytes(home.Path("short.FLT"), "smith\r\n\r\n$eng");
    ASSERT_TRUE(TFilterFiles::Read(home.Path("short.FLT"), back, error));
    EXPECT_EQ(back.entries[0], "smith");
    EXPECT_EQ(back.entries[2], "$eng");
    for (int i = 3; i < TFilterEntries::kCount; ++i)
        EXPECT_TRUE(back.entries[size_t(i)].isEmpty()) << i;

    // Lines past the eighteenth are ignored; bare line feeds work too.
    QByteArray many;
    for (int i = 0; i < 25; ++i)
        many += "e" + QByteArray::number(i) + "\n";
    WriteBytes(home.Path("long.FLT"), many);
    ASSERT_TRUE(TFilterFiles::Read(home.Path("long.FLT"), back, error));
    EXPECT_EQ(back.entries[17], "e17");

    // A file written by an older copy is Windows-1252.
    WriteBytes(home.Path("old.FLT"), "M\xFCller\r\n");
    ASSERT_TRUE(TFilterFiles::Read(home.Path("old.FLT"), back, error));
    EXPECT_EQ(back.entries[0], QString::fromUtf8("Müller"));

    EXPECT_FALSE(TFilterFiles::Read(home.Path("missing.FLT"), back, error));
    EXPECT_TRUE(error.contains("missing.FLT"));
}

TEST(TFilterFiles, AWriteIntoAMissingFolderReportsTheError)
{
    qm::test::TTestHome home;
    TFilterEntries filter;
    filter.entries[0] = "x";
    EXPECT_FALSE(TFilterFiles::Write(home.Path("no/such/folder/a.FLT"), filter).isEmpty());
}

TEST(TColumnOrder, EachLineMovesItsFieldToThatColumn)
{
    const QStringList fields = {"LNAME", "FNAME", "CITY", "STATE", "ZIP"};
    EXPECT_EQ(TColumnOrder::Apply(fields, {}), fields);
    EXPECT_EQ(TColumnOrder::Apply(fields, {"ZIP", "CITY"}),
              (QStringList{"ZIP", "CITY", "LNAME", "FNAME", "STATE"}));
    // A name that is no field keeps its line's position; later lines still go to their own.
    EXPECT_EQ(TColumnOrder::Apply(fields, {"NOSUCH", "zip"}),
              (QStringList{"LNAME", "ZIP", "FNAME", "CITY", "STATE"}));
    // Lines past the last column put their field last.
    EXPECT_EQ(TColumnOrder::Apply({"A", "B"}, {"", "", "", "A"}), (QStringList{"B", "A"}));
    // A full file in reverse gives the reverse order.
    QStringList reversed = fields;
    std::reverse(reversed.begin(), reversed.end());
    EXPECT_EQ(TColumnOrder::Apply(fields, reversed), reversed);
}

TEST(TColumnOrder, WriteAndReadBackInTheSystemFolder)
{
    qm::test::TTestHome home;
    const QString path = TColumnOrder::FilePath();
    EXPECT_TRUE(path.endsWith("FIELDS.LST"));
    EXPECT_TRUE(TColumnOrder::Read(path).isEmpty());
    const QStringList order = {"CITY", "LNAME", "Tagged"};
    ASSERT_EQ(TColumnOrder::Write(path, order), QString());
    EXPECT_EQ(TColumnOrder::Read(path), order);
}
