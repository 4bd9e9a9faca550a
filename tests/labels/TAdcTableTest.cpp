// The ADC table compiled into the program: its rows, its prefixes and its names as printed.

#include "labels/TAdcTable.h"

#include <QSet>
#include <gtest/gtest.h>

using namespace qm::labels;

TEST(AdcTable, ShippedTableHoldsEveryRowOnceAndNoPrefixTwice)
{
    const auto& rows = TAdcTable::Shipped().Rows();
    ASSERT_EQ(rows.size(), 96u);
    QSet<QString> prefixes;
    int listed = 0;
    for (const TAdcRow& row : rows) {
        for (const QString& prefix : row.prefixes) {
            EXPECT_EQ(prefix.size(), 3) << row.name.toStdString();
            EXPECT_FALSE(prefixes.contains(prefix)) << prefix.toStdString();
            prefixes.insert(prefix);
            ++listed;
        }
    }
    EXPECT_EQ(prefixes.size(), 930);
    EXPECT_EQ(listed, 930);
    EXPECT_EQ(rows.front().name, QStringLiteral("ALBANY NY 120"));
    EXPECT_EQ(rows.back().name, QStringLiteral("WILMINGTON DE 197"));
}

TEST(AdcTable, NamesKeepTheirBlanksAndSpelling)
{
    QStringList names;
    for (const TAdcRow& row : TAdcTable::Shipped().Rows())
        names << row.name;
    EXPECT_TRUE(names.contains(QStringLiteral("FARGO ND  580")));
    EXPECT_TRUE(names.contains(QStringLiteral("LAS VEGAS  NV 890")));
    EXPECT_TRUE(names.contains(QStringLiteral("SAN JUAN PR  006")));
    EXPECT_TRUE(names.contains(QStringLiteral("BURMINGHAM AL 350")));
    EXPECT_EQ(names.indexOf(QStringLiteral("WHITE RIVER JCT VT 050")) + 1,
              names.indexOf(QStringLiteral("WHITE RVR JCT VT 050")));
}

TEST(AdcTable, ParseSkipsNotesBlankLinesAndLinesWithoutATab)
{
    const TAdcTable table = TAdcTable::Parse(
        QStringLiteral("# note\r\n\r\nA  B\t001 002\r\nno tab here\nC\t 003  004 \n"));
    ASSERT_EQ(table.Rows().size(), 2u);
    EXPECT_EQ(table.Rows()[0].name, QStringLiteral("A  B"));
    EXPECT_EQ(table.Rows()[0].prefixes, (QStringList{"001", "002"}));
    EXPECT_EQ(table.Rows()[1].prefixes, (QStringList{"003", "004"}));
}
