// The address file's layout, its new-file field lengths and the naming of new files.

#include "data/TAddressFileLayout.h"
#include "data/TAddressFileNames.h"
#include "data/TNewFileFieldLengths.h"
#include "data/TSettingsFile.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace qm::data;

namespace {

int WidthOf(const std::vector<qm::xbase::TFieldDef>& defs, const char* name)
{
    for (const auto& def : defs)
        if (def.name == name)
            return def.length;
    return -1;
}

} // namespace

TEST(TNewFileFieldLengths, LoadAcceptsFiveToEightyAndHexElseDefault)
{
    QTemporaryDir dir;
    TSettingsFile settings(QDir(dir.path()).filePath("QUILLM.ini"));
    settings.WriteInteger("NewFileFieldLengths", "FieldSTATE", 5);
    settings.WriteString("NewFileFieldLengths", "FieldZIP", "3");
    settings.WriteString("NewFileFieldLengths", "FieldCITY", "0x1E");
    settings.WriteInteger("NewFileFieldLengths", "FieldORG", 81);
    settings.WriteInteger("NewFileFieldLengths", "FieldUSER2", 80);
    const TNewFileFieldLengths lengths = TNewFileFieldLengths::Load(settings);
    EXPECT_EQ(lengths.Width("STATE"), 5);
    EXPECT_EQ(lengths.Width("zip"), 10);
    EXPECT_EQ(lengths.Width("CITY"), 30);
    EXPECT_EQ(lengths.Width("ORG"), 30);
    EXPECT_EQ(lengths.Width("USER2"), 80);
    EXPECT_EQ(lengths.Width("FAX"), 40);
    EXPECT_FALSE(lengths.Width("MIDDLE"));

    const auto defs = TAddressFileLayout::FieldDefs(lengths);
    EXPECT_EQ(WidthOf(defs, "STATE"), 5);
    EXPECT_EQ(WidthOf(defs, "ZIP"), 10);

    TNewFileFieldLengths changed = lengths;
    changed.Set(0, 44);
    changed.Save(settings);
    EXPECT_EQ(TNewFileFieldLengths::Load(settings), changed);
    EXPECT_EQ(settings.ReadInteger("NewFileFieldLengths", "FieldLNAME", 0), 44);
}

TEST(TNewFileFieldLengths, DialogDefaultsDifferOnlyInFaxAndDialogRangeIsTenToEighty)
{
    const TNewFileFieldLengths load;
    const TNewFileFieldLengths dialog = TNewFileFieldLengths::DialogDefaults();
    for (int i = 0; i < TNewFileFieldLengths::kCount; ++i) {
        if (QString(TNewFileFieldLengths::FieldNames()[size_t(i)]) != "FAX") {
            EXPECT_EQ(load.At(i), dialog.At(i));
        }
    }
    EXPECT_EQ(load.Width("FAX"), 40);
    EXPECT_EQ(dialog.Width("FAX"), 30);
    EXPECT_FALSE(TNewFileFieldLengths::ParseDialogValue("9"));
    EXPECT_EQ(TNewFileFieldLengths::ParseDialogValue(" 10 "), 10);
    EXPECT_EQ(TNewFileFieldLengths::ParseDialogValue("80"), 80);
    EXPECT_FALSE(TNewFileFieldLengths::ParseDialogValue("81"));
    EXPECT_FALSE(TNewFileFieldLengths::ParseDialogValue("2O"));
}

TEST(TAddressFileLayout, FieldsTagsAndFieldObjectsAgree)
{
    const auto defs = TAddressFileLayout::FieldDefs(TNewFileFieldLengths());
    ASSERT_EQ(int(defs.size()), TAddressFileLayout::kFieldCount);
    EXPECT_EQ(defs.front().name, "LNAME");
    EXPECT_EQ(defs.back().type, qm::xbase::TFieldType::Memo);
    EXPECT_EQ(WidthOf(defs, "DATE"), 15);
    EXPECT_EQ(WidthOf(defs, "TAG"), 8);

    QSet<QString> created;
    for (const auto& tag : TAddressFileLayout::Tags())
        created.insert(tag.name);
    ASSERT_EQ(created.size(), TAddressFileLayout::kTagCount);
    QSet<QString> checked;
    for (const char* name : TAddressFileLayout::TagCheckOrder())
        checked.insert(name);
    EXPECT_EQ(checked, created);
    EXPECT_STREQ(TAddressFileLayout::TagCheckOrder().back(), "TAG");

    // Every stored field has a field object, and every stored field object is a field.
    for (const auto& def : defs) {
        const TFieldObject* object =
            TAddressFileLayout::FindFieldObject(QString::fromStdString(def.name));
        ASSERT_NE(object, nullptr) << def.name;
        EXPECT_EQ(object->kind, TFieldObjectKind::Stored);
    }
    EXPECT_STREQ(TAddressFileLayout::FindFieldObject("zip")->displayLabel, "Zip/Postal Code");
    EXPECT_FALSE(TAddressFileLayout::FindFieldObject("FullName")->visibleInGrids);
}

TEST(TAddressFileNames, ProposalIsTheFirstFreeNumberInAnyCase)
{
    QTemporaryDir dir;
    const auto touch = [&](const char* name) {
        QFile f(QDir(dir.path()).filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    };
    EXPECT_EQ(TAddressFileNames::ProposeNewName(dir.path()), "ADD0001");
    touch("ADD0001.DBF");
    touch("ADD0003.DBF");
    EXPECT_EQ(TAddressFileNames::ProposeNewName(dir.path()), "ADD0002");
    touch("add0002.dbf");
    touch("ADD0004.CDX"); // only tables count
    EXPECT_EQ(TAddressFileNames::ProposeNewName(dir.path()), "ADD0004");
    EXPECT_EQ(TAddressFileNames::ProposeNewName(dir.path() + "/missing"), "ADD0001");
}

TEST(TAddressFileNames, NamesStartWithALetterOrUnderscore)
{
    EXPECT_TRUE(TAddressFileNames::IsValidName("_ABC"));
    EXPECT_TRUE(TAddressFileNames::IsValidName("Smith_99"));
    EXPECT_FALSE(TAddressFileNames::IsValidName("1ABC"));
    EXPECT_FALSE(TAddressFileNames::IsValidName("AB-C"));
    EXPECT_FALSE(TAddressFileNames::IsValidName(""));
    EXPECT_FALSE(TAddressFileNames::IsValidName("ABCDEFGHI"));
    EXPECT_FALSE(TAddressFileNames::IsValidName(QString::fromUtf8("Müller")));
    EXPECT_FALSE(TAddressFileNames::IsValidName("A B"));
}
