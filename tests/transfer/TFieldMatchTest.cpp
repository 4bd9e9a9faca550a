// Matching source fields to the address file's fields: one source per row, one row per source,
// kinds respected, the presets of the DBF import and the tool's --map.

#include "transfer/TFieldMatch.h"

#include "TTransferTestSupport.h"

#include <gtest/gtest.h>

using namespace qm::transfer;
using namespace qm::transfer::test;

namespace {

QStringList Labels(const std::vector<TMatchTarget>& targets)
{
    QStringList labels;
    for (const TMatchTarget& t : targets)
        labels << t.label;
    return labels;
}

} // namespace

TEST(TFieldMatch, TargetsAreTheShownCharacterFieldsUnderTheirLabels)
{
    QTemporaryDir dir;
    auto table = OpenTable(MakeAddressFile(dir));
    const QStringList standard = {"Last Name",       "First Name", "Middle",    "Prefix",   "Title",
                                  "Organization",    "Address 1",  "Address 2", "City",     "State",
                                  "Zip/Postal Code", "Country",    "Phone 1",   "Phone 2",  "Fax",
                                  "Email",           "Codes",      "Comment 1", "Comment 2"};
    EXPECT_EQ(Labels(TFieldMatch::StandardTargets(*table, false)), standard);
    QStringList withMemoAndDate = standard;
    withMemoAndDate << "Memo"
                    << "Date";
    EXPECT_EQ(Labels(TFieldMatch::StandardTargets(*table, true)), withMemoAndDate);

    // The main window's own labels and visibility are what the rows show.
    const auto targets = TFieldMatch::AddressTargets(
        *table,
        [](const QString& name) {
            return TFieldMatch::TLabel{name == "LNAME" ? "Surname" : name, name != "FAX"};
        },
        false);
    EXPECT_EQ(targets[0].label, QStringLiteral("Surname"));
    EXPECT_EQ(targets[0].width, 30);
    EXPECT_EQ(targets.size(), standard.size() - 1);
}

TEST(TFieldMatch, ASourceFeedsOneRowAndRowsTakeOnlyTheirKinds)
{
    QTemporaryDir dir;
    auto table = OpenTable(MakeAddressFile(dir));
    TFieldMatch match(TFieldMatch::StandardTargets(*table, true), {{"NAME", TMatchKind::Character},
                                                                   {"NOTES", TMatchKind::Memo},
                                                                   {"BORN", TMatchKind::Date},
                                                                   {"PICTURE", TMatchKind::Other}});
    const int memoRow = 19, dateRow = 20;
    EXPECT_TRUE(match.Assign(0, 0));
    EXPECT_TRUE(match.Assign(1, 0)); // assigning to a second row clears the first
    EXPECT_EQ(match.SourceOf(0), -1);
    EXPECT_EQ(match.SourceOf(1), 0);
    EXPECT_FALSE(match.Assign(0, 1)); // a memo feeds only the memo row
    EXPECT_TRUE(match.Assign(memoRow, 1));
    EXPECT_FALSE(match.Assign(dateRow, 0));
    EXPECT_TRUE(match.Assign(dateRow, 2));
    EXPECT_EQ(match.Offered(0), (std::vector<int>{0, 2}));
    EXPECT_EQ(match.Offered(memoRow), (std::vector<int>{1}));
    EXPECT_EQ(match.Offered(dateRow), (std::vector<int>{2}));
    match.ClearRow(1);
    EXPECT_EQ(match.RowOf(0), -1);
    EXPECT_TRUE(match.AnyMatched());
    match.ClearAll();
    EXPECT_FALSE(match.AnyMatched());
}

TEST(TFieldMatch, PresetsMatchNamesAndLabelsOnce)
{
    QTemporaryDir dir;
    auto table = OpenTable(MakeAddressFile(dir));
    TFieldMatch match(TFieldMatch::StandardTargets(*table, true),
                      {{"CITY", TMatchKind::Character},
                       {"city", TMatchKind::Character}, // taken already
                       {"EMAIL", TMatchKind::Character},
                       {"Comment 1", TMatchKind::Character},
                       {"NOTES", TMatchKind::Memo},
                       {"DATE", TMatchKind::Date},
                       {"BLOB", TMatchKind::Other}});
    match.Preset();
    const auto rowOf = [&](int source) {
        const int row = match.RowOf(source);
        return row < 0 ? QString() : match.Targets()[size_t(row)].label;
    };
    EXPECT_EQ(rowOf(0), QStringLiteral("City"));
    EXPECT_EQ(rowOf(1), QString());
    EXPECT_EQ(rowOf(2), QStringLiteral("Email"));
    EXPECT_EQ(rowOf(3), QStringLiteral("Comment 1"));
    EXPECT_EQ(rowOf(4), QStringLiteral("Memo"));
    EXPECT_EQ(rowOf(5), QStringLiteral("Date"));
    EXPECT_EQ(rowOf(6), QString());
}

TEST(TFieldMatch, TheToolsMapNamesTargetsByLabelOrFieldInAnyCase)
{
    QTemporaryDir dir;
    auto table = OpenTable(MakeAddressFile(dir));
    TFieldMatch match(TFieldMatch::StandardTargets(*table, false), TFieldMatch::TextSources(5));
    EXPECT_EQ(match.ApplyMap(QStringLiteral("1=last name, 4=ZIP,5=Zip/Postal Code")),
              QStringLiteral("the target 'Zip/Postal Code' is fed twice"));
    EXPECT_TRUE(match.ApplyMap(QStringLiteral("1=last name,4=zip")).isEmpty());
    EXPECT_EQ(match.Targets()[size_t(match.RowOf(0))].field, QStringLiteral("LNAME"));
    EXPECT_EQ(match.Targets()[size_t(match.RowOf(3))].field, QStringLiteral("ZIP"));
    EXPECT_FALSE(match.ApplyMap(QStringLiteral("9=City")).isEmpty());
    EXPECT_FALSE(match.ApplyMap(QStringLiteral("1=Nowhere")).isEmpty());
    EXPECT_FALSE(match.ApplyMap(QStringLiteral("1=City,1=State")).isEmpty());
}
