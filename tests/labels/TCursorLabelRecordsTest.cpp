// The print loop over a real table: a presorted job seeks each list line in the ZIP tag.

#include "labels/TCursorLabelRecords.h"
#include "labels/TLabelPrintLoop.h"

#include "xbase/TCursor.h"
#include "xbase/TEngineSettings.h"
#include "xbase/TTable.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qm;
using namespace qm::labels;

namespace {

std::unique_ptr<xbase::TTable> MakeTable(const QString& dir, const std::vector<std::string>& zips)
{
    auto table = xbase::TTable::Create(dir.toStdString() + "/ADDR.DBF",
                                       {{"LNAME", xbase::TFieldType::Character, 20, 0},
                                        {"ZIP", xbase::TFieldType::Character, 10, 0}});
    for (const std::string& zip : zips) {
        table->AppendBlank();
        table->PutString(1, zip);
        table->Post();
    }
    table->AddTag("ZIP", "ZIP");
    return table;
}

} // namespace

TEST(CursorLabelRecords, PresortedJobFollowsTheListThroughTheZipTag)
{
    QTemporaryDir dir;
    auto table = MakeTable(dir.path(), {"20001", "12345-0001", "12301", "12345-6789", "99999"});
    xbase::TCursor cursor(*table);
    cursor.SelectTag("ZIP");
    cursor.GoTop();
    TCursorLabelRecords records(cursor, table->FieldIndex("ZIP"));

    // Exact matching on in the engine: the seeks switch it off for themselves only.
    xbase::TSettingScope exact(&xbase::TEngineSettings::exact, true);
    TLabelPrintLoop loop(TLabelSheet(TLabelGeometry::NewLayout()), TLabelSelection(30));
    loop.SetPresortList({"** 5-digit 12345", "12345", "** Unknown", "12301", "20001"});
    std::vector<QString> got;
    const TLabelRunResult result = loop.Run(records, [&](const TLabelSlot& slot) {
        got.push_back(slot.IsMarker() ? slot.marker : QString::number(slot.recNo));
        return true;
    });
    const std::vector<QString> expected = {"** 5-digit 12345", "2", "4", "** Unknown", "3", "1"};
    EXPECT_EQ(got, expected);
    EXPECT_EQ(result.records, 4);
    EXPECT_TRUE(xbase::EngineSettings().exact);
}

TEST(CursorLabelRecords, PlainJobWalksTheCursorFromWhereItStands)
{
    QTemporaryDir dir;
    auto table = MakeTable(dir.path(), {"1", "2", "3", "4"});
    xbase::TCursor cursor(*table);
    cursor.Go(3); // "Start from current record"
    TCursorLabelRecords records(cursor, table->FieldIndex("ZIP"));
    TLabelPrintLoop loop(TLabelSheet(TLabelGeometry::NewLayout()), TLabelSelection(30));
    std::vector<uint32_t> got;
    loop.Run(records, [&](const TLabelSlot& slot) {
        got.push_back(slot.recNo);
        return true;
    });
    EXPECT_EQ(got, (std::vector<uint32_t>{3, 4}));
}
