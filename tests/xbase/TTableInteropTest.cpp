// Tables must open in other DBF software: Debian's python3-dbfread and python3-dbf read what the
// engine writes, and the engine reads what python3-dbf writes (FoxPro, dBase III and Visual
// FoxPro tables with their memo files).

#include "xbase/TTable.h"
#include "xbase/TXbaseError.h"

#include "TTableTestFiles.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <sys/wait.h>

using namespace qm::xbase;
using namespace qm::xbase::test;

namespace {

// Runs a Python script with the system interpreter (where the Debian modules live); returns its
// standard output, and fails the test on a non-zero exit.
std::string RunPython(const TTempDir& dir, const std::string& script)
{
    const std::string file = dir.File("script.py");
    WriteBytes(file, script);
    const std::string command = std::string(QM_SYSTEM_PYTHON) + " " + file + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        ADD_FAILURE() << "cannot run " << command;
        return {};
    }
    std::string out;
    std::array<char, 4096> buf;
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), pipe)) > 0)
        out.append(buf.data(), n);
    const int status = pclose(pipe);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << out;
    return out;
}

// A table of the engine with every field type it writes, a deleted record and Windows-1252 text.
void WriteEngineTable(const std::string& path)
{
    auto t = TTable::Create(path, {{"LNAME", TFieldType::Character, 20, 0},
                                   {"PRICE", TFieldType::Numeric, 8, 2},
                                   {"COUNT", TFieldType::Numeric, 5, 0},
                                   {"ACTIVE", TFieldType::Logical, 1, 0},
                                   {"BORN", TFieldType::Date, 8, 0},
                                   {"NOTES", TFieldType::Memo, 10, 0}});
    t->AppendBlank();
    t->PutString(0, "M\xFCller"); // Müller in Windows-1252
    t->PutNumeric(1, 1234.5);
    t->PutNumeric(2, -42);
    t->PutLogical(3, true);
    t->PutDate(4, "19991231");
    t->PutMemo(5, "first line\r\nsecond \xE9");
    t->Post();
    t->AppendBlank();
    t->PutString(0, "Deleted one");
    t->SetDeleted(true);
    t->AppendBlank();
    t->PutString(0, "Smith");
    t->PutLogical(3, false);
    t->PutMemo(5, std::string(3000, 'x'));
    t->Post();
    t->AddTag("LNAME", "UPPER(LNAME)");
    t->Close();
}

} // namespace

TEST(TTableInterop, DbfreadReadsWhatTheEngineWrites)
{
    TTempDir dir;
    WriteEngineTable(dir.File("ENGINE.DBF"));
    const std::string out = RunPython(dir, R"PY(
import dbfread, sys
t = dbfread.DBF(sys.argv[0].replace('script.py', 'ENGINE.DBF'), encoding='cp1252',
                load=True, ignore_missing_memofile=False)
print([(f.name, f.type, f.length, f.decimal_count) for f in t.fields])
for r in t.records:
    print(repr(r['LNAME']), r['PRICE'], r['COUNT'], r['ACTIVE'], r['BORN'], repr(r['NOTES'][:25]), len(r['NOTES'] or ''))
print('deleted', [r['LNAME'] for r in t.deleted])
)PY");
    EXPECT_NE(out.find("[('LNAME', 'C', 20, 0), ('PRICE', 'N', 8, 2), ('COUNT', 'N', 5, 0), "
                       "('ACTIVE', 'L', 1, 0), ('BORN', 'D', 8, 0), ('NOTES', 'M', 10, 0)]"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("'Müller' 1234.5 -42 True 1999-12-31 'first line\\r\\nsecond é' 20"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("'Smith' None None False None 'xxxxxxxxxxxxxxxxxxxxxxxxx' 3000"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("deleted ['Deleted one']"), std::string::npos) << out;
}

TEST(TTableInterop, PythonDbfOpensWhatTheEngineWritesAndWritesItBack)
{
    TTempDir dir;
    WriteEngineTable(dir.File("ENGINE.DBF"));
    const std::string out = RunPython(dir, R"PY(
import dbf, sys
path = sys.argv[0].replace('script.py', 'ENGINE.DBF')
t = dbf.Table(path, codepage='cp1252')
t.open(dbf.READ_WRITE)
print(len(t), t.field_names)
for r in t:
    print(repr(r.lname.rstrip()), r.price, r.active, r.born, len(r.notes), dbf.is_deleted(r))
with t[2] as r:
    r.lname = 'Jones'
    r.notes = 'written by python'
t.append(('Appended', 7.25, 3, True, None, 'new memo'))
t.close()
)PY");
    EXPECT_NE(out.find("3 ['lname', 'price', 'count', 'active', 'born', 'notes']"),
              std::string::npos)
        << out;
    EXPECT_NE(out.find("'Müller' 1234.5 True 1999-12-31 20 False"), std::string::npos) << out;
    EXPECT_NE(out.find("'Deleted one'"), std::string::npos) << out;

    auto t = TTable::Open(dir.File("ENGINE.DBF"));
    ASSERT_EQ(t->RecordCount(), 4u);
    EXPECT_TRUE(t->IndexStale()); // python appended without the index
    t->Go(2);
    EXPECT_TRUE(t->Deleted());
    t->Go(3);
    EXPECT_EQ(t->GetTrimmed(0), "Jones");
    EXPECT_EQ(t->GetMemo(5), "written by python");
    t->Go(4);
    EXPECT_EQ(t->GetTrimmed(0), "Appended");
    EXPECT_DOUBLE_EQ(t->GetNumeric(1), 7.25);
    EXPECT_EQ(t->GetMemo(5), "new memo");
    t->Go(1);
    EXPECT_EQ(t->GetMemo(5), "first line\r\nsecond \xE9");
}

TEST(TTableInterop, EngineReadsTablesPythonDbfWrites)
{
    TTempDir dir;
    RunPython(dir, R"PY(
import dbf, datetime, sys, os
here = os.path.dirname(sys.argv[0])
for kind in ['fp', 'db3', 'vfp']:
    layout = 'name C(20); age N(5,1); ok L; born D; notes M'
    if kind == 'vfp':
        layout += '; qty I; price Y; stamp T; ratio B'
    t = dbf.Table(os.path.join(here, 'PY_%s.DBF' % kind.upper()), layout, dbf_type=kind, codepage='cp1252')
    t.open(dbf.READ_WRITE)
    row = ('Gr\u00fc\u00dfe', 12.5, True, datetime.date(1980, 12, 31), 'memo \u00e9 text ' * 40)
    if kind == 'vfp':
        row += (-7, 12.5, datetime.datetime(2001, 2, 3, 4, 5, 6), 0.25)
    t.append(row)
    t.append(('Second',))
    dbf.delete(t[1])
    t.close()
)PY");
    for (const char* kind : {"FP", "DB3", "VFP"}) {
        SCOPED_TRACE(kind);
        auto t = TTable::Open(dir.File(std::string("PY_") + kind + ".DBF"), {TOpenMode::ReadOnly});
        ASSERT_EQ(t->RecordCount(), 2u);
        ASSERT_GE(t->Fields().size(), 5u);
        t->Go(1);
        EXPECT_EQ(t->GetTrimmed(0), "Gr\xFC\xDF"
                                    "e");
        EXPECT_DOUBLE_EQ(t->GetNumeric(1), 12.5);
        EXPECT_TRUE(t->GetLogical(2));
        EXPECT_EQ(t->GetDate(3), "19801231");
        std::string memo;
        for (int i = 0; i < 40; ++i)
            memo += "memo \xE9 text ";
        EXPECT_EQ(t->GetMemo(4), memo);
        EXPECT_FALSE(t->Deleted());
        if (std::string(kind) == "VFP") {
            EXPECT_EQ(t->GetText(t->FieldIndex("QTY")), "-7");
            EXPECT_EQ(t->GetText(t->FieldIndex("PRICE")), "12.5000");
            EXPECT_EQ(t->GetText(t->FieldIndex("STAMP")), "20010203 04:05:06");
            EXPECT_EQ(t->GetText(t->FieldIndex("RATIO")), "0.25");
        }
        t->Go(2);
        EXPECT_TRUE(t->Deleted());
        EXPECT_EQ(t->GetTrimmed(0), "Second");
        EXPECT_EQ(t->GetMemo(4), "");
    }
}
