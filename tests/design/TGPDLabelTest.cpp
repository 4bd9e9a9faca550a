// Field objects: binding by display label, the data rule on screen and while printing, and what
// the recorded page stream holds.

#include "design/objects/TGPDLabel.h"

#include "TTextObjectFixture.h"
#include "design/core/TFieldPickList.h"
#include "print/TPageRender.h"

#include <QImage>

namespace qm::design {
namespace {

using test::PrintedTexts;
using test::Record;

class TGPDLabelTest : public test::TTextObjectFixture {
protected:
    TGPDLabel* Field(const QString& label)
    {
        auto* field = Add(std::make_unique<TGPDLabel>());
        field->SetDataFieldDescript(label);
        return field;
    }
};

TEST_F(TGPDLabelTest, PickListOffersVisibleStringFieldsInFieldOrder)
{
    const QStringList labels = TFieldPickList::Labels(mDataSet, TFieldKind::String);
    const int last = labels.indexOf("Last Name");
    ASSERT_GE(last, 0);
    EXPECT_EQ(labels.mid(last, 3), (QStringList{"Last Name", "First Name", "Middle"}));
    EXPECT_TRUE(labels.contains("Zip/Postal Code"));
    EXPECT_FALSE(labels.contains("MEMO"));
    EXPECT_EQ(TFieldPickList::Labels(mDataSet, TFieldKind::Memo), QStringList{"MEMO"});
}

TEST_F(TGPDLabelTest, BindingIsByDisplayLabelNotByName)
{
    AddRecord({{"LNAME", "Jones"}, {"FNAME", "John"}});
    TGPDLabel* field = Field("Last Name");
    field->SetDataFieldName("FNAME"); // stored alongside, never used for the lookup
    mPanel.RefreshData();
    EXPECT_EQ(field->Caption(), "Jones");
    mPanel.SetDisplayDataValues(false);
    EXPECT_EQ(field->Caption(), "[Last Name]");
}

TEST_F(TGPDLabelTest, LastFieldWinsWhenLabelsRepeat)
{
    mDataSet.FindField("FNAME")->SetDisplayLabel("Name");
    mDataSet.FindField("LNAME")->SetDisplayLabel("Name");
    AddRecord({{"LNAME", "Jones"}, {"FNAME", "John"}});
    TGPDLabel* field = Field("Name");
    mPanel.RefreshData();
    // LNAME comes before FNAME in field order.
    EXPECT_EQ(field->Caption(), "John");
}

TEST_F(TGPDLabelTest, BlankAndUndefinedFieldsOnScreen)
{
    AddRecord({{"LNAME", "Jones"}});
    TGPDLabel* zip = Field("Zip/Postal Code");
    TGPDLabel* missing = Field("No Such Field");
    TGPDLabel* unbound = Field("");
    mPanel.RefreshData();
    EXPECT_EQ(zip->Caption(), "<blank field>");
    EXPECT_EQ(missing->Caption(), "<undefined field>");
    EXPECT_EQ(unbound->Caption(), "<undefined field>");
}

TEST_F(TGPDLabelTest, PrintingShowsNoPlaceholders)
{
    AddRecord({{"LNAME", "Jones"}});
    TGPDLabel* name = Field("Last Name");
    TGPDLabel* zip = Field("Zip/Postal Code");
    TGPDLabel* missing = Field("No Such Field");
    mPanel.SetDisplayDataValues(false); // printing shows values whatever the switch says
    missing->SetCaption("kept");
    const auto texts = PrintedTexts(Record([this](print::TBaseReport& r) { PrintItem(r); }));
    EXPECT_EQ(name->Caption(), "Jones");
    EXPECT_EQ(zip->Caption(), "");
    EXPECT_EQ(missing->Caption(), "kept"); // a missing field prints its previous caption
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "Jones");
    EXPECT_EQ(texts[1].text, "kept");
}

// The designer shows the design before it prints, so a field the file does not have still
// holds "<undefined field>" when printing starts; paper gets nothing for it, the screen keeps it.
// The page is saved to QM_SCREENSHOT_DIR when set.
TEST_F(TGPDLabelTest, PlaceholdersLeftFromTheScreenNeverReachPaper)
{
    AddRecord({{"LNAME", "Jones"}});
    TGPDLabel* name = Field("Last Name");
    TGPDLabel* missing = Field("No Such Field");
    missing->SetTop(40);
    mPanel.RefreshData();
    ASSERT_EQ(missing->Caption(), "<undefined field>");
    const QByteArray page = Record([this](print::TBaseReport& r) { PrintItem(r, 1, 1); });
    auto texts = PrintedTexts(page);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "Jones");
    EXPECT_EQ(missing->Caption(), "<undefined field>");
    EXPECT_TRUE(missing->ShowsPlaceholder());

    const QString shots = qEnvironmentVariable("QM_SCREENSHOT_DIR");
    if (!shots.isEmpty()) {
        const QStringList files =
            print::RenderPng(page, QDir(mDir.path()).filePath("page%d.png"), 150);
        ASSERT_EQ(files.size(), 1);
        QImage(files.first())
            .copy(0, 0, 900, 400)
            .save(QDir(shots).filePath("field-placeholders-printed.png"));
    }

    // Field names shown, then the data set goes away: nothing refreshes the captions, and
    // neither "[Last Name]" nor "<undefined field>" prints.
    mPanel.SetDisplayDataValues(false);
    ASSERT_EQ(name->Caption(), "[Last Name]");
    mDataSet.Close();
    texts = PrintedTexts(Record([this](print::TBaseReport& r) { PrintItem(r); }));
    EXPECT_TRUE(texts.empty());
    EXPECT_EQ(name->Caption(), "[Last Name]");
}

TEST_F(TGPDLabelTest, ClosedDataSetLeavesTheCaptions)
{
    AddRecord({{"LNAME", "Jones"}});
    TGPDLabel* name = Field("Last Name");
    mPanel.RefreshData();
    mDataSet.Close();
    mPanel.RefreshData();
    EXPECT_EQ(name->Caption(), "Jones");
    name->ClearData();
    EXPECT_EQ(name->Caption(), "");
}

TEST_F(TGPDLabelTest, EachRecordPrintsItsOwnValue)
{
    AddRecord({{"LNAME", "Adams"}});
    AddRecord({{"LNAME", "Baker"}});
    Field("Last Name");
    const auto pages = test::ReadPages(Record([this](print::TBaseReport& r) {
        mDataSet.First();
        PrintItem(r, 0, 0);
        mDataSet.Next();
        PrintItem(r, 0, 1);
    }));
    ASSERT_EQ(pages.size(), 1u);
    ASSERT_EQ(pages[0].texts.size(), 2u);
    EXPECT_EQ(pages[0].texts[0].text, "Adams");
    EXPECT_EQ(pages[0].texts[1].text, "Baker");
    EXPECT_NEAR(pages[0].texts[1].y - pages[0].texts[0].y, 1.0, 1e-9);
}

} // namespace
} // namespace qm::design
