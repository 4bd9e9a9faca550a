// The shipped tables as the build wrote them into the data folder, read back through the engine.

#include "data/TSystemTables.h"
#include "data/sysdata/TShippedTableSchema.h"
#include "xbase/TCursor.h"
#include "xbase/TEngineSettings.h"
#include "xbase/TExpression.h"
#include "xbase/TTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>

namespace qm::data::sysdata {
namespace {

using xbase::TCursor;
using xbase::TTable;

std::unique_ptr<TTable> OpenShipped(const std::string& name)
{
    return TTable::Open(std::string(QM_SYSDATA_DIR) + "/" + name + ".DBF",
                        {xbase::TOpenMode::ReadOnly});
}

// The current record's fields by name.
class TRow {
public:
    explicit TRow(const TTable& table) : mTable(table) {}
    std::string Text(const char* name) const
    {
        return std::string(mTable.GetTrimmed(mTable.FieldIndex(name)));
    }
    double Number(const char* name) const { return mTable.GetNumeric(mTable.FieldIndex(name)); }
    int Count(const char* name) const { return static_cast<int>(Number(name)); }

private:
    const TTable& mTable;
};

void ExpectSchema(const TTable& table, const TShippedTableSchema& schema)
{
    ASSERT_EQ(table.Fields().size(), schema.fields.size());
    for (std::size_t f = 0; f < schema.fields.size(); ++f) {
        EXPECT_EQ(table.Fields()[f].name, schema.fields[f].name);
        EXPECT_EQ(table.Fields()[f].type, schema.fields[f].type);
        EXPECT_EQ(table.Fields()[f].length, schema.fields[f].length);
        EXPECT_EQ(table.Fields()[f].decimals, schema.fields[f].decimals);
    }
    EXPECT_EQ(table.TagCount(), 1);
    EXPECT_EQ(table.TagOrder(schema.tag), 1);
    EXPECT_FALSE(table.IndexStale());
}

class TLabelTemplatesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mTable = OpenShipped("LBLTPL");
        mCursor = std::make_unique<TCursor>(*mTable);
        mCursor->SelectTag("DESCRIPT");
    }

    // Moves to the template with exactly this description (seeking its upper-case key).
    void GoTo(const std::string& description)
    {
        xbase::TSettingScope exact(&xbase::TEngineSettings::exact, true);
        std::string key = description;
        for (char& c : key)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        ASSERT_TRUE(mCursor->Seek(key)) << description;
        ASSERT_EQ(TRow(*mTable).Text("DESCRIPT"), description);
    }

    uint32_t CountWhere(const std::string& filter)
    {
        mCursor->SetQuery(filter);
        const uint32_t count = mCursor->Count();
        mCursor->ClearQuery();
        return count;
    }

    std::unique_ptr<TTable> mTable;
    std::unique_ptr<TCursor> mCursor;
};

TEST_F(TLabelTemplatesTest, HasTheColumnsAndTagOfItsSchema)
{
    ExpectSchema(*mTable, TShippedTableSchema::LabelTemplates());
    EXPECT_GT(mTable->RecordCount(), 300u);
}

TEST_F(TLabelTemplatesTest, Avery5160AndItsInkjetTwinHaveTheSheetsGeometry)
{
    // Named like the default layout's template, so the picker finds it by exact description.
    for (const char* name : {"Avery 5160  Address", "Avery 8160  Address"}) {
        GoTo(name);
        const TRow row(*mTable);
        EXPECT_DOUBLE_EQ(row.Number("LBLHEIGHT"), 1.0);
        EXPECT_DOUBLE_EQ(row.Number("LBLWIDTH"), 2.625);
        EXPECT_EQ(row.Count("NBRACROSS"), 3);
        EXPECT_EQ(row.Count("NBRDOWN"), 10);
        EXPECT_DOUBLE_EQ(row.Number("TOPMARG"), 0.5);
        EXPECT_DOUBLE_EQ(row.Number("LEFTMARG"), 0.156);
        EXPECT_DOUBLE_EQ(row.Number("HORIZPITCH"), 2.781);
        EXPECT_DOUBLE_EQ(row.Number("VERTPITCH"), 1.0);
        EXPECT_DOUBLE_EQ(row.Number("SHEETWIDTH"), 8.5);
        EXPECT_DOUBLE_EQ(row.Number("SHEETDEPTH"), 11.0);
        EXPECT_EQ(row.Text("PAPERSIZE"), "LTR");
        EXPECT_EQ(row.Text("LBLSHAPE"), "RR");
        EXPECT_EQ(row.Text("MANUFAC"), "AVERY");
        EXPECT_EQ(row.Text("PRODTYPE"), "ADDRESS/SHIPPING LABELS");
        EXPECT_DOUBLE_EQ(row.Number("MIDEXTRAX"), 0.0);
    }
    GoTo("Avery 5160  Address");
    EXPECT_EQ(TRow(*mTable).Text("PRINTER"), "LJ");
    GoTo("Avery 8160  Address");
    EXPECT_EQ(TRow(*mTable).Text("PRINTER"), "IJ");
}

TEST_F(TLabelTemplatesTest, A4AndSpecialStockRows)
{
    GoTo("Avery L7160  Mailing"); // 21 per A4 sheet, 38.1 mm rows
    TRow row(*mTable);
    EXPECT_EQ(row.Text("PAPERSIZE"), "A4");
    EXPECT_EQ(row.Text("PRINTER"), "LJ");
    EXPECT_EQ(row.Count("NBRACROSS") * row.Count("NBRDOWN"), 21);
    EXPECT_DOUBLE_EQ(row.Number("VERTPITCH"), 1.5);
    EXPECT_DOUBLE_EQ(row.Number("SHEETWIDTH"), 8.268);
    EXPECT_DOUBLE_EQ(row.Number("SHEETDEPTH"), 11.693);

    GoTo("Avery 5366  Filing");
    EXPECT_EQ(row.Text("PRODTYPE"), "FILE FOLDER LABELS");
    EXPECT_EQ(row.Count("NBRACROSS") * row.Count("NBRDOWN"), 30);

    GoTo("Avery 5195  Round");
    EXPECT_EQ(row.Text("LBLSHAPE"), "EL");
    EXPECT_DOUBLE_EQ(row.Number("LBLWIDTH"), row.Number("LBLHEIGHT"));

    // Continuous stock: one fan-fold page holds whole rows, so pages stay in step.
    GoTo("Avery 4013  Continuous Address");
    EXPECT_EQ(row.Text("PRINTER"), "DM");
    EXPECT_EQ(row.Text("PAPERSIZE"), "USERP");
    EXPECT_DOUBLE_EQ(row.Number("LBLHEIGHT"), 0.938);
    EXPECT_DOUBLE_EQ(row.Number("LBLWIDTH"), 3.5);
    EXPECT_DOUBLE_EQ(row.Number("SHEETDEPTH"), row.Count("NBRDOWN") * row.Number("VERTPITCH"));

    // A label-printer roll: one label per page, long side across.
    GoTo("Costar 30252  Address");
    EXPECT_EQ(row.Text("PRINTER"), "LP");
    EXPECT_EQ(row.Text("MANUFAC"), "COSTAR");
    EXPECT_EQ(row.Text("PAPERSIZE"), "USERL");
    EXPECT_DOUBLE_EQ(row.Number("LBLWIDTH"), 3.5);
    EXPECT_DOUBLE_EQ(row.Number("LBLHEIGHT"), 1.125);
    EXPECT_EQ(row.Count("NBRACROSS") * row.Count("NBRDOWN"), 1);
}

TEST_F(TLabelTemplatesTest, EveryRowHasKnownCodesAndAGridThatFitsItsSheet)
{
    const std::set<std::string> printers = {"LJ", "IJ", "DM", "LP"};
    const std::set<std::string> papers = {"LTR", "LTRL", "A4", "A4L", "A5", "USERP", "USERL"};
    const std::set<std::string> shapes = {"RR", "SR", "EL"};
    const std::set<std::string> groups = {"ADDRESS/SHIPPING LABELS", "CARD PRODUCTS",
                                          "DISKETTE LABELS",         "FILE FOLDER LABELS",
                                          "INDEX PRODUCTS",          "MISCELLANEOUS"};
    std::set<std::string> descriptions;
    const TRow row(*mTable);
    for (uint32_t r = 1; r <= mTable->RecordCount(); ++r) {
        mTable->Go(r);
        const std::string name = row.Text("DESCRIPT");
        SCOPED_TRACE(name);
        EXPECT_TRUE(descriptions.insert(name).second) << "listed twice";
        EXPECT_TRUE(printers.count(row.Text("PRINTER")));
        EXPECT_TRUE(papers.count(row.Text("PAPERSIZE")));
        EXPECT_TRUE(shapes.count(row.Text("LBLSHAPE")));
        // Any maker, as the template database spells it, but what the picker's filter
        // expression and the LABEL column can hold.
        const std::string maker = row.Text("MANUFAC");
        EXPECT_FALSE(maker.empty());
        EXPECT_EQ(maker.find('"'), std::string::npos);
        EXPECT_NE(maker, "USER");
        EXPECT_TRUE(groups.count(row.Text("PRODTYPE")));

        const int across = row.Count("NBRACROSS");
        const int down = row.Count("NBRDOWN");
        ASSERT_GE(across, 1);
        ASSERT_GE(down, 1);
        // The checks the user-defined sheet dialog makes, so a template never holds what a
        // user could not type.
        EXPECT_GE(row.Number("LBLHEIGHT"), 0.3);
        EXPECT_GE(row.Number("LBLWIDTH"), 0.5);
        if (across >= 2) {
            EXPECT_GE(row.Number("HORIZPITCH"), row.Number("LBLWIDTH"));
        }
        if (down >= 2) {
            EXPECT_GE(row.Number("VERTPITCH"), row.Number("LBLHEIGHT"));
        }
        // The last label's far corner stays on the sheet (within the 3-decimal rounding).
        const double right = row.Number("LEFTMARG") + (across - 1) * row.Number("HORIZPITCH") +
                             std::max(0.0, row.Number("MIDEXTRAX")) + row.Number("LBLWIDTH");
        const double bottom = row.Number("TOPMARG") + (down - 1) * row.Number("VERTPITCH") +
                              std::max(0.0, row.Number("MIDEXTRAY")) + row.Number("LBLHEIGHT");
        EXPECT_LE(right, row.Number("SHEETWIDTH") + 0.011);
        EXPECT_LE(bottom, row.Number("SHEETDEPTH") + 0.011);
        // Landscape codes, and only they, have the long side across.
        const std::string paper = row.Text("PAPERSIZE");
        const bool landscape = paper == "LTRL" || paper == "A4L" || paper == "USERL";
        if (row.Number("SHEETWIDTH") != row.Number("SHEETDEPTH")) {
            EXPECT_EQ(landscape, row.Number("SHEETWIDTH") > row.Number("SHEETDEPTH"));
        }
    }
}

TEST_F(TLabelTemplatesTest, EveryMakersSheetsOnEveryPaper)
{
    EXPECT_EQ(mTable->RecordCount(), 1544u);
    std::map<std::string, int> makers;
    std::set<std::string> papers;
    const TRow row(*mTable);
    for (uint32_t r = 1; r <= mTable->RecordCount(); ++r) {
        mTable->Go(r);
        ++makers[row.Text("MANUFAC")];
        papers.insert(row.Text("PAPERSIZE"));
    }
    EXPECT_EQ(makers["AVERY"], 329);
    EXPECT_EQ(makers["Herma"], 106);
    EXPECT_EQ(makers["OnlineLbls"], 178);
    EXPECT_EQ(makers["Zweckform"], 22);
    EXPECT_EQ(makers["COSTAR"], 8);
    EXPECT_GT(makers["Uline"], 0);
    EXPECT_EQ(papers, (std::set<std::string>{"LTR", "A4", "A5", "USERP", "USERL"}));

    // An equivalent product number is found through its own row.
    GoTo("Herma 5090  Arch File Labels (small)");
    EXPECT_EQ(TRow(*mTable).Count("NBRDOWN"), 6);
    GoTo("Zweckform 3474  Address");
    EXPECT_EQ(TRow(*mTable).Count("NBRACROSS") * TRow(*mTable).Count("NBRDOWN"), 24);
}

TEST_F(TLabelTemplatesTest, TheUsersOwnTableHasTheseColumns)
{
    // LBLUSER is made by the program (data layer) and must read like the shipped table.
    const auto& own = qm::data::TSystemTables::Schema(qm::data::TSystemTable::UserLabelTemplates);
    const auto& shipped = TShippedTableSchema::LabelTemplates();
    ASSERT_EQ(own.fields.size(), shipped.fields.size());
    for (std::size_t f = 0; f < own.fields.size(); ++f) {
        EXPECT_EQ(own.fields[f].name, shipped.fields[f].name);
        EXPECT_EQ(own.fields[f].type, shipped.fields[f].type);
        EXPECT_EQ(own.fields[f].length, shipped.fields[f].length);
        EXPECT_EQ(own.fields[f].decimals, shipped.fields[f].decimals);
    }
    EXPECT_EQ(std::string(own.tag), shipped.tag);
    EXPECT_EQ(std::string(own.tagExpression), shipped.tagExpression);
}

TEST_F(TLabelTemplatesTest, TagOrderIsTheUpperCaseDescriptionOrder)
{
    mCursor->GoTop();
    std::string previous;
    uint32_t seen = 0;
    for (; !mCursor->Eof(); mCursor->Skip()) {
        std::string key = TRow(*mTable).Text("DESCRIPT");
        for (char& c : key)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        EXPECT_LE(previous, key);
        previous = key;
        ++seen;
    }
    EXPECT_EQ(seen, mTable->RecordCount());
}

TEST_F(TLabelTemplatesTest, EveryManufacturerItemOfThePickerFindsSheets)
{
    // The picker's filter texts, joined as it joins them.
    const std::string avery = " UPPER(manufac)=\"AVERY\" ";
    const std::string costar = " UPPER(manufac)=\"COSTAR\" ";
    const auto printer = [](const char* code) {
        return std::string(" UPPER(printer)=\"") + code + "\" ";
    };
    const auto group = [](const char* name) {
        return std::string(" UPPER(PRODTYPE)=\"") + name + "\" ";
    };
    const std::string address = group("ADDRESS/SHIPPING LABELS");
    const std::string european = " (\"A4\"$UPPER(PAPERSIZE) OR \"A5\"$UPPER(PAPERSIZE))";

    for (const std::string& maker :
         {avery + " and " + printer("LJ"), avery + " and " + printer("IJ"),
          avery + " and " + printer("DM"), costar + " and " + printer("LP")})
        EXPECT_GT(CountWhere(maker + " and " + address), 0u) << maker;
    for (const char* name : {"CARD PRODUCTS", "DISKETTE LABELS", "FILE FOLDER LABELS",
                             "INDEX PRODUCTS", "MISCELLANEOUS"})
        EXPECT_GT(CountWhere(avery + " and " + printer("LJ") + " and " + group(name)), 0u) << name;
    EXPECT_GT(CountWhere(avery + " and " + printer("LJ") + " and " + address + " and " + european),
              0u);
    EXPECT_GT(CountWhere(avery + " and " + printer("IJ") + " and " + address + " and " + european),
              0u);
}

class TStateZipTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        mTable = OpenShipped("CSZ");
        mCursor = std::make_unique<TCursor>(*mTable);
        mCursor->SelectTag("STATE");
    }

    // What the state/ZIP check does: seek the state, compare with that first row only, byte by
    // byte, a shorter text sorting before its longer continuation.
    bool Passes(const std::string& state, const std::string& zip)
    {
        if (!mCursor->Seek(state))
            return false;
        const TRow row(*mTable);
        return !(zip < row.Text("LOW_ZIP")) && !(row.Text("HIGH_ZIP") < zip);
    }

    std::unique_ptr<TTable> mTable;
    std::unique_ptr<TCursor> mCursor;
};

TEST_F(TStateZipTest, HasTheColumnsAndTagOfItsSchema)
{
    ExpectSchema(*mTable, TShippedTableSchema::StateZip());
}

TEST_F(TStateZipTest, HoldsEveryStateDcTerritoryAndProvince)
{
    std::set<std::string> states;
    const TRow row(*mTable);
    for (uint32_t r = 1; r <= mTable->RecordCount(); ++r) {
        mTable->Go(r);
        states.insert(row.Text("STATE"));
        EXPECT_LE(row.Text("LOW_ZIP"), row.Text("HIGH_ZIP")) << row.Text("STATE");
    }
    // 50 states, DC, 5 territories, 3 freely associated states, 3 military, 13 Canadian.
    EXPECT_EQ(states.size(), 75u);
    for (const char* state : {"NY", "CA", "DC", "PR", "VI", "GU", "AS", "MP", "AA", "AE", "AP",
                              "ON", "QC", "NL", "NU", "NT", "YT"})
        EXPECT_TRUE(states.count(state)) << state;
}

TEST_F(TStateZipTest, ZipsOfTheStateAndItsZipPlusFourPassTheCheck)
{
    EXPECT_TRUE(Passes("NY", "10001"));
    EXPECT_TRUE(Passes("NY", "14999-1234")); // ZIP+4 at the very top of the range
    EXPECT_TRUE(Passes("NY", "10000"));
    EXPECT_FALSE(Passes("NY", "09999"));
    EXPECT_FALSE(Passes("NY", "15001"));
    EXPECT_TRUE(Passes("CA", "94105-2233"));
    EXPECT_FALSE(Passes("CA", "96201"));
    EXPECT_TRUE(Passes("DC", "20001"));
    EXPECT_FALSE(Passes("DC", "20147")); // Ashburn, Virginia
    EXPECT_TRUE(Passes("PR", "00901"));  // San Juan
    EXPECT_TRUE(Passes("PR", "00603"));
    EXPECT_TRUE(Passes("FL", "34102"));  // Naples, in the first row with the rest of FL
    EXPECT_FALSE(Passes("ny", "10001")); // lower case is not found, as in the check
}

TEST_F(TStateZipTest, CanadianPostalCodesWithAndWithoutTheBlank)
{
    EXPECT_TRUE(Passes("ON", "K1A 0B1"));
    EXPECT_TRUE(Passes("ON", "K1A0B1"));
    EXPECT_TRUE(Passes("ON", "P7B 5E1"));
    EXPECT_FALSE(Passes("ON", "H2X 1Y4"));
    EXPECT_TRUE(Passes("QC", "H2X 1Y4"));
    EXPECT_TRUE(Passes("QC", "G1R 4S9"));
    EXPECT_TRUE(Passes("QC", "J8Y 3Z5"));
    EXPECT_TRUE(Passes("NU", "X0A 0H0"));  // Iqaluit
    EXPECT_FALSE(Passes("NU", "X1A 2P7")); // Yellowknife is in the Northwest Territories
    EXPECT_TRUE(Passes("NT", "X1A 2P7"));
    EXPECT_TRUE(Passes("BC", "V6B 4Y8"));
    EXPECT_FALSE(Passes("BC", "T2P 1J9"));
}

TEST_F(TStateZipTest, AStatesFirstRowInTableOrderIsItsMainRange)
{
    // Rows of one state keep table order in the tag, so a seek lands on the first of them.
    std::map<std::string, uint32_t> firstRow;
    const TRow row(*mTable);
    for (uint32_t r = 1; r <= mTable->RecordCount(); ++r) {
        mTable->Go(r);
        firstRow.emplace(row.Text("STATE"), r);
    }
    for (const auto& [state, recNo] : firstRow) {
        ASSERT_TRUE(mCursor->Seek(state)) << state;
        EXPECT_EQ(mCursor->RecNo(), recNo) << state;
    }
    ASSERT_TRUE(mCursor->Seek("NY"));
    EXPECT_EQ(row.Text("LOW_ZIP"), "10000");
    EXPECT_EQ(row.Text("HIGH_ZIP"), "14999-9999");
    // DC's federal block and Georgia's second block follow their main ranges.
    ASSERT_TRUE(mCursor->Seek("DC"));
    mCursor->Skip();
    EXPECT_EQ(row.Text("STATE"), "DC");
    EXPECT_LE(row.Text("LOW_ZIP"), std::string("20500"));
    EXPECT_GE(row.Text("HIGH_ZIP"), std::string("20500"));
    ASSERT_TRUE(mCursor->Seek("GA"));
    EXPECT_EQ(row.Text("HIGH_ZIP"), "31999-9999");
    mCursor->Skip();
    EXPECT_EQ(row.Text("STATE"), "GA");
    EXPECT_EQ(row.Text("LOW_ZIP"), "39800");
}

} // namespace
} // namespace qm::data::sysdata
