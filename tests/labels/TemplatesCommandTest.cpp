// "quillmark-tool templates import" and "print templates --find", run in-process.

#include "tools/TToolCommand.h"

#include "TTestHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sstream>

namespace {

struct TResult {
    int code;
    std::string out;
    std::string err;
};

TResult Tool(const std::vector<std::string>& args)
{
    qputenv("QM_DATA_DIR", QM_BUILD_DIR "/share/quillmark");
    std::ostringstream out;
    std::ostringstream err;
    const int code = qm::tools::RunTool(args, out, err);
    return {code, out.str(), err.str()};
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::string Write(const qm::test::TTestHome& home, const char* name, const char* text)
{
    const QString path = home.Path(QString::fromLatin1(name));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    return path.toStdString();
}

const char* const kMine = R"(<Glabels-templates>
  <Template brand="Mylabels" part="M-21" size="A4" _description="Address labels">
    <Label-rectangle id="0" width="70mm" height="42.3mm" round="0">
      <Layout nx="3" ny="7" x0="0" y0="0" dx="70mm" dy="42.3mm"/>
    </Label-rectangle>
  </Template>
  <Template brand="Mylabels" part="M-22" equiv="M-21"/>
  <Template brand="Mylabels" part="CD" size="A4"><Label-cd radius="2in" hole="1in"/></Template>
</Glabels-templates>)";

} // namespace

TEST(TemplatesCommand, ImportAddsTheUsersOwnSheetsThatPrintTemplatesMarks)
{
    qm::test::TTestHome home; // no tables of its own: the installed templates are read
    TResult r = Tool({"templates", "import", Write(home, "mine-templates.xml", kMine)});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(Lines(r.out),
              (std::vector<std::string>{
                  "From \"mine-templates.xml\": 2 label sheets added.", "1 template left out:",
                  "  Mylabels CD: Label-cd cannot be described (disc labels)",
                  "Your own label sheets: " +
                      QDir::toNativeSeparators(home.Path("sysdata/LBLUSER.DBF")).toStdString()}));
    EXPECT_FALSE(QFileInfo::exists(home.Path("sysdata/LBLTPL.DBF")));

    r = Tool({"print", "templates", "--maker", "mylabels", "--product", "all"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(Lines(r.out), (std::vector<std::string>{" UPPER(manufac)=\"MYLABELS\" ",
                                                      "Mylabels M-21  Address\town",
                                                      "Mylabels M-22  Address\town"}));

    // A sheet of the user's own prints like a shipped one.
    QFile csv(home.Path("people.csv"));
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write(
        "Meier,Anna,Hauptstrasse 12,Stuttgart,70173\nSmith,John,1 Main St,Springfield,12345\n");
    csv.close();
    const std::string table = home.Path("people.dbf").toStdString();
    ASSERT_EQ(Tool({"import", table, "--new", "--csv", home.Path("people.csv").toStdString(),
                    "--map", "1=LNAME,2=FNAME,3=STREET,4=CITY,5=ZIP"})
                  .code,
              0);
    r = Tool(
        {"print", "labels", "--table", table, "--template", "Mylabels M-22  Address", "--list"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(Lines(r.out).at(1), "1 2 2.756 0.000 2"); // 70 mm across, from the left edge

    // Again: nothing new, still a success.
    r = Tool({"templates", "import", Write(home, "mine-templates.xml", kMine)});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(Lines(r.out).at(0), "From \"mine-templates.xml\": 2 already listed.");
}

TEST(TemplatesCommand, FilesThatAddNothingSayWhyWithTheirExitCode)
{
    qm::test::TTestHome home;
    TResult r = Tool({"templates", "import", Write(home, "notes.txt", "Herma 4226")});
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.err, "quillmark-tool templates: Nothing was imported from \"notes.txt\": it is "
                     "empty or not XML.\n");
    r = Tool({"templates", "import",
              Write(home, "discs.xml",
                    "<Glabels-templates><Template brand=\"A\" part=\"1\" size=\"A4\">"
                    "<Label-cd radius=\"2in\" hole=\"1in\"/></Template></Glabels-templates>")});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("none of its 1 template describes a sheet the label table can hold"),
              std::string::npos);
    r = Tool({"templates", "import", home.Path("missing.xml").toStdString()});
    EXPECT_EQ(r.code, 3);
    EXPECT_NE(r.err.find("it cannot be opened"), std::string::npos);
    EXPECT_FALSE(QFileInfo::exists(home.Path("sysdata/LBLUSER.DBF")));

    EXPECT_EQ(Tool({"templates"}).code, 2);
    EXPECT_EQ(Tool({"templates", "import"}).code, 2);
    EXPECT_EQ(Tool({"templates", "export"}).code, 2);
    EXPECT_EQ(Tool({"templates", "--help"}).code, 0);
}

TEST(TemplatesCommand, FindNarrowsTheListAndMarksTheRowTheWindowMovesTo)
{
    qm::test::TTestHome home;
    TResult r = Tool({"print", "templates", "--find", "5160"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(Lines(r.out),
              (std::vector<std::string>{
                  " UPPER(manufac)=\"AVERY\"  and  UPPER(printer)=\"LJ\"  and  "
                  "UPPER(PRODTYPE)=\"ADDRESS/SHIPPING LABELS\" ",
                  "Avery 15160  Address", "Avery 25160  Address", "Avery 5160  Address\tcurrent"}));

    // Every maker's sheets, found by maker and number.
    r = Tool({"print", "templates", "--maker", "all manufacturers", "--product", "All", "--find",
              "herma 4283"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(Lines(r.out),
              (std::vector<std::string>{"", "Herma 4283  Arch File Labels (small)\tcurrent"}));

    r = Tool({"print", "templates", "--maker", "Zweckform", "--european", "--find", "3474"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(Lines(r.out).at(0),
              " UPPER(manufac)=\"ZWECKFORM\"  and  UPPER(PRODTYPE)=\"ADDRESS/SHIPPING LABELS\" "
              " and  (\"A4\"$UPPER(PAPERSIZE) OR \"A5\"$UPPER(PAPERSIZE))");

    r = Tool({"print", "templates", "--find", "no such sheet"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(Lines(r.out).size(), 1u);
    EXPECT_EQ(Tool({"print", "templates", "--find"}).code, 2);
    r = Tool({"print", "templates", "--maker", "Nobody"});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("\"Costar LabelPrinter\", \"Agipa\""), std::string::npos);
    EXPECT_NE(r.err.find("\"Zweckform\", \"All Manufacturers\""), std::string::npos);
}
