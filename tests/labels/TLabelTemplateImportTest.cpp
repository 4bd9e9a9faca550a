// Importing a template file as the user's own label sheets: what is added, how the picker's list
// shows it, and that it outlives a rebuild and a reinstall of the shipped table.

#include "labels/TLabelTemplateImport.h"

#include "TFileSizeLimit.h"
#include "TTestHome.h"
#include "data/TProgramHome.h"
#include "data/TSystemTables.h"
#include "labels/TLabelTemplates.h"
#include "xbase/TTable.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace qm::labels {
namespace {

// Herma 4283 exactly as the shipped table has it, a sheet of the user's maker, Herma 5090 (an
// equivalent of 4283 in the shipped table) with other measures, and a disc.
const QByteArray kOwnFile = R"xml(<?xml version="1.0"?>
<Glabels-templates>
  <Template brand="Herma" part="4283" size="A4" _description="Arch File Labels (small)">
    <Meta category="label"/>
    <Label-rectangle id="0" width="544.252" height="110.551" round="5">
      <Layout nx="1" ny="6" x0="25.5118" y0="32.5984" dx="544.252" dy="133.228"/>
    </Label-rectangle>
  </Template>
  <Template brand="Mylabels" part="M-21" size="A4" _description="Address labels">
    <Meta category="mail"/>
    <Label-rectangle id="0" width="70mm" height="42.3mm" round="0">
      <Layout nx="3" ny="7" x0="0" y0="0" dx="70mm" dy="42.3mm"/>
    </Label-rectangle>
  </Template>
  <Template brand="Mylabels" part="M-22" equiv="M-21"/>
  <Template brand="Herma" part="5090" size="A4" _description="Arch File Labels (small)">
    <Label-rectangle id="0" width="190mm" height="38mm" round="5">
      <Layout nx="1" ny="7" x0="10mm" y0="10mm" dx="190mm" dy="40mm"/>
    </Label-rectangle>
  </Template>
  <Template brand="Mylabels" part="CD" size="A4" _description="CD labels">
    <Label-cd id="0" radius="58mm" hole="8mm"><Layout nx="1" ny="2"/></Label-cd>
  </Template>
</Glabels-templates>
)xml";

QByteArray Hash(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

class LabelTemplateImportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mHome.Home().Prepare(QStringLiteral(QM_BUILD_DIR "/share/quillmark"));
        mSysdata = mHome.Home().SysDataDir();
        ASSERT_TRUE(QFileInfo::exists(QDir(mSysdata).filePath("LBLTPL.DBF")));
        ASSERT_EQ(mTemplates.Open(mSysdata), QString());
    }

    QString Write(const QString& name, const QByteArray& text)
    {
        const QString path = mHome.Path(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return path;
    }

    TLabelTemplateImport::TResult Import(const QString& name, const QByteArray& text)
    {
        return TLabelTemplateImport::Run(Write(name, text), mSysdata, mTemplates);
    }

    QString UserTable() const { return QDir(mSysdata).filePath("LBLUSER.DBF"); }

    // The list's entries with these descriptions, as "description own|shipped".
    QStringList Listed(const QStringList& descriptions)
    {
        QStringList listed;
        for (const TLabelTemplates::TEntry& e : mTemplates.Entries(QString()))
            if (descriptions.contains(e.description))
                listed << e.description + (e.own ? " own" : " shipped");
        return listed;
    }

    test::TTestHome mHome;
    QString mSysdata;
    TLabelTemplates mTemplates;
};

const QStringList kMine = {"Herma 4283  Arch File Labels (small)",
                           "Herma 5090  Arch File Labels (small)", "Mylabels M-21  Address",
                           "Mylabels M-22  Address"};

TEST_F(LabelTemplateImportTest, AddsTheSheetsAsTheUsersOwnBesideTheShippedOnes)
{
    const QByteArray shippedBefore = Hash(QDir(mSysdata).filePath("LBLTPL.DBF"));
    const auto result = Import("mine-templates.xml", kOwnFile);
    EXPECT_TRUE(result.Succeeded());
    EXPECT_EQ(result.templates, 5);
    EXPECT_EQ(result.added, 3);
    EXPECT_EQ(result.alreadyListed, 1);
    EXPECT_EQ(result.replaced, 0);
    EXPECT_EQ(result.firstDescription, "Herma 4283  Arch File Labels (small)");
    EXPECT_EQ(result.makers, (QStringList{"Herma", "Mylabels"}));
    EXPECT_EQ(result.Summary(),
              "From \"mine-templates.xml\": 3 label sheets added, 1 already listed.\r\n"
              "1 template left out:\r\n"
              "  Mylabels CD: Label-cd cannot be described (disc labels)");

    // In tag order among the shipped rows; 5090 with the user's measures takes the shipped
    // row's place.
    EXPECT_EQ(Listed(kMine),
              (QStringList{"Herma 4283  Arch File Labels (small) shipped",
                           "Herma 5090  Arch File Labels (small) own", "Mylabels M-21  Address own",
                           "Mylabels M-22  Address own"}));
    const std::optional<TLabelGeometry> own =
        mTemplates.Find("Herma 5090  Arch File Labels (small)");
    ASSERT_TRUE(own);
    EXPECT_EQ(own->down, 7);
    EXPECT_FLOAT_EQ(own->verticalPitch, 1.575f);
    const std::optional<TLabelGeometry> twin = mTemplates.Find("Mylabels M-22  Address");
    ASSERT_TRUE(twin);
    EXPECT_EQ(twin->across * twin->down, 21);
    EXPECT_FLOAT_EQ(twin->labelWidth, 2.756f);
    EXPECT_EQ(twin->templateDescription, "Mylabels M-22  Address");
    EXPECT_TRUE(mTemplates.Makers().contains("Mylabels"));

    // The picker's maker filter finds them in both tables alike.
    EXPECT_EQ(mTemplates.Matching(" UPPER(manufac)=\"MYLABELS\" "),
              (QStringList{"Mylabels M-21  Address", "Mylabels M-22  Address"}));
    EXPECT_EQ(Hash(QDir(mSysdata).filePath("LBLTPL.DBF")), shippedBefore);

    // The table is an ordinary xBase table with the shipped table's columns and tag.
    auto table = xbase::TTable::Open(UserTable().toStdString(), {xbase::TOpenMode::ReadOnly});
    EXPECT_EQ(table->RecordCount(), 3u);
    EXPECT_EQ(table->TagOrder("DESCRIPT"), 1);
    EXPECT_EQ(table->Fields().size(),
              data::TSystemTables::Schema(data::TSystemTable::UserLabelTemplates).fields.size());
}

TEST_F(LabelTemplateImportTest, TheSameFileAgainAddsNothingAndANewerOneReplaces)
{
    ASSERT_TRUE(Import("mine-templates.xml", kOwnFile).Succeeded());
    auto again = Import("mine-templates.xml", kOwnFile);
    EXPECT_TRUE(again.Succeeded());
    EXPECT_EQ(again.added, 0);
    EXPECT_EQ(again.alreadyListed, 4);
    EXPECT_TRUE(again.Summary().startsWith("From \"mine-templates.xml\": 4 already listed.\r\n"));

    QByteArray newer = kOwnFile;
    newer.replace("x0=\"0\" y0=\"0\" dx=\"70mm\"", "x0=\"0\" y0=\"1mm\" dx=\"70mm\"");
    again = Import("mine-templates.xml", newer);
    EXPECT_EQ(again.replaced, 2); // M-21 and its equivalent M-22
    EXPECT_EQ(again.added, 0);
    EXPECT_FLOAT_EQ(mTemplates.Find("Mylabels M-22  Address")->topMargin, 0.039f);
    auto table = xbase::TTable::Open(UserTable().toStdString(), {xbase::TOpenMode::ReadOnly});
    EXPECT_EQ(table->RecordCount(), 3u);
}

TEST_F(LabelTemplateImportTest, OwnSheetsOutliveARebuildAndAReinstallOfTheShippedTable)
{
    ASSERT_TRUE(Import("mine-templates.xml", kOwnFile).Succeeded());
    const QStringList expected = {"Herma 4283  Arch File Labels (small) shipped",
                                  "Herma 5090  Arch File Labels (small) own",
                                  "Mylabels M-21  Address own", "Mylabels M-22  Address own"};
    mTemplates.Close();

    // "Rebuild System File indexes": the user's table is rebuilt with LBLTPL, not dropped.
    QFile::remove(QDir(mSysdata).filePath("LBLUSER.CDX"));
    QStringList texts;
    data::TSystemTables::RebuildAll(mSysdata, [&](const QString& t) { texts << t; });
    EXPECT_EQ(texts.size(), 6);
    EXPECT_TRUE(QFileInfo::exists(QDir(mSysdata).filePath("LBLUSER.CDX")));
    ASSERT_EQ(mTemplates.Open(mSysdata), QString());
    EXPECT_EQ(Listed(kMine), expected);
    mTemplates.Close();

    // A reinstall puts a fresh shipped table in place: removed, then seeded again.
    for (const char* name : {"LBLTPL.DBF", "LBLTPL.CDX"})
        ASSERT_TRUE(QFile::remove(QDir(mSysdata).filePath(name)));
    mHome.Home().Prepare(QStringLiteral(QM_BUILD_DIR "/share/quillmark"));
    ASSERT_EQ(mTemplates.Open(mSysdata), QString());
    EXPECT_EQ(Listed(kMine), expected);
    EXPECT_EQ(mTemplates.OwnProblem(), QString());
}

TEST_F(LabelTemplateImportTest, AFileThatIsNoTemplateFileOrHoldsNothingUsableAddsNothing)
{
    auto result = Import("notes.xml", "Herma 4226, 48.3 x 25.4 mm");
    EXPECT_FALSE(result.Succeeded());
    EXPECT_EQ(result.Summary(), "Nothing was imported from \"notes.xml\": it is empty or not XML.");

    result = Import("document.glabels", "<Glabels-document/>");
    EXPECT_EQ(result.Summary(),
              "Nothing was imported from \"document.glabels\": it is XML, but not a label "
              "template file (its first element is <Glabels-document>, not "
              "<Glabels-templates>).");

    result = Import("discs-templates.xml", R"(<Glabels-templates>
      <Template brand="A" part="1" size="A4"><Label-cd radius="2in" hole="1in"/></Template>
      <Template brand="A" part="2" size="A4"><Label-cd radius="2in" hole="1in"/></Template>
      </Glabels-templates>)");
    EXPECT_FALSE(result.Succeeded());
    EXPECT_EQ(result.Summary(),
              "Nothing was imported from \"discs-templates.xml\": none of its 2 templates "
              "describes a sheet the label table can hold.\r\n"
              "2 templates left out:\r\n"
              "  A 1: Label-cd cannot be described (disc labels)\r\n"
              "  A 2: Label-cd cannot be described (disc labels)");

    result = Import("empty-templates.xml", "<Glabels-templates/>");
    EXPECT_EQ(result.Summary(),
              "Nothing was imported from \"empty-templates.xml\": it describes no label sheets.");
    EXPECT_FALSE(QFileInfo::exists(UserTable()));
}

TEST_F(LabelTemplateImportTest, AFullDiskStopsTheImportWithoutHalfRows)
{
    ASSERT_TRUE(Import("mine-templates.xml", kOwnFile).Succeeded());
    // A maker's file of many sheets, written onto a disk with room for a few rows only.
    QByteArray many = "<Glabels-templates>";
    for (int i = 0; i < 60; ++i)
        many += QStringLiteral(R"(<Template brand="Bulk" part="B%1" size="A4" _description="Labels">
            <Label-rectangle id="0" width="%2mm" height="20mm">
            <Layout nx="2" ny="2" x0="10mm" y0="10mm" dx="100mm" dy="30mm"/></Label-rectangle>
            </Template>)")
                    .arg(100 + i)
                    .arg(20 + i)
                    .toUtf8();
    many += "</Glabels-templates>";
    const QString path = Write("bulk-templates.xml", many);
    const qint64 size = QFileInfo(UserTable()).size();
    TLabelTemplateImport::TResult result;
    {
        test::TFileSizeLimit limit(uint64_t(size + 3 * 181));
        if (!limit.Available())
            GTEST_SKIP() << "no file size limit on this platform";
        result = TLabelTemplateImport::Run(path, mSysdata, mTemplates);
    }
    EXPECT_FALSE(result.Succeeded());
    EXPECT_FALSE(result.writeFailed.isEmpty());
    EXPECT_LT(result.added, 60);
    EXPECT_TRUE(result.Summary().contains("Writing your label sheets stopped: "))
        << result.Summary().toStdString();

    // Whatever reached the table reads back whole, and the same import then finishes the job.
    mTemplates.Close();
    data::TSystemTables::RebuildAll(mSysdata, {});
    ASSERT_EQ(mTemplates.Open(mSysdata), QString());
    EXPECT_EQ(mTemplates.OwnProblem(), QString());
    for (const TLabelTemplates::TEntry& e : mTemplates.Entries(" UPPER(manufac)=\"BULK\" ")) {
        QString problem;
        const auto g = mTemplates.Find(e.description, &problem);
        ASSERT_TRUE(g) << e.description.toStdString();
        EXPECT_EQ(problem, QString());
        EXPECT_EQ(g->across * g->down, 4);
    }
    result = TLabelTemplateImport::Run(path, mSysdata, mTemplates);
    EXPECT_TRUE(result.Succeeded()) << result.Summary().toStdString();
    EXPECT_EQ(mTemplates.Matching(" UPPER(manufac)=\"BULK\" ").size(), 60);
}

} // namespace
} // namespace qm::labels
