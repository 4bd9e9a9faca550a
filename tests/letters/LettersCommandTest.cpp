#include "TTestHome.h"
#include "letters/TLetterStore.h"
#include "richtext/TRichDocument.h"
#include "tools/TToolCommand.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>
#include <sstream>

namespace qm::letters {
namespace {

struct TRun {
    int code = 0;
    std::string out;
    std::string err;
};

TRun Tool(const std::vector<std::string>& args)
{
    std::ostringstream out;
    std::ostringstream err;
    TRun run;
    run.code = tools::RunTool(args, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

void Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray Rtf(const QString& text)
{
    richtext::TRichDocument letter;
    QTextCursor(&letter.Document()).insertText(text);
    return letter.SaveRtf();
}

TEST(LettersCommandTest, ImportListExport)
{
    test::TTestHome home;
    EXPECT_EQ(Tool({"letters", "list"}).out, ""); // no LETTER.DBF: nothing, nothing created
    EXPECT_FALSE(QFileInfo::exists(home.Path("sysdata/LETTER.DBF")));

    const QByteArray rtf = Rtf("Dear [Full Name]");
    Write(home.Path("in.rtf"), rtf);
    TRun run =
        Tool({"letters", "import", home.Path("in.rtf").toStdString(), "--description", "Welcome"});
    ASSERT_EQ(run.code, 0) << run.err;
    Write(home.Path("plain.txt"), "Plain words\nSecond line\n");
    run =
        Tool({"letters", "import", home.Path("plain.txt").toStdString(), "--description", "Plain"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(Tool({"letters", "list"}).out, "Plain\nWelcome\n");

    run = Tool({"letters", "export", "Welcome", home.Path("out.rtf").toStdString()});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(ReadAll(home.Path("out.rtf")), TLetterStore::StoredText(rtf));
    // Plain text is stored as RTF.
    run = Tool({"letters", "export", "Plain", home.Path("plain.rtf").toStdString()});
    ASSERT_EQ(run.code, 0);
    EXPECT_TRUE(ReadAll(home.Path("plain.rtf")).startsWith("{\\rtf1"));
    EXPECT_EQ(Tool({"letters", "export", "Nobody", home.Path("x.rtf").toStdString()}).code, 1);
    // Never over the letters table's own memo file, which holds the texts.
    EXPECT_EQ(
        Tool({"letters", "export", "Welcome", home.Path("sysdata/LETTER.FPT").toStdString()}).code,
        2);
    EXPECT_EQ(Tool({"letters", "list"}).out, "Plain\nWelcome\n");
    EXPECT_EQ(Tool({"letters", "export", "Welcome", home.Path("out.rtf").toStdString()}).code, 0);
}

TEST(LettersCommandTest, ImportRefusesWhatTheReaderRefuses)
{
    test::TTestHome home;
    Write(home.Path("deep.rtf"), "{\\rtf1 " + QByteArray(1500, '{') + "x" + QByteArray(1500, '}'));
    const TRun run =
        Tool({"letters", "import", home.Path("deep.rtf").toStdString(), "--description", "Deep"});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("deep.rtf"), std::string::npos) << run.err;
    EXPECT_EQ(Tool({"letters", "list"}).out, ""); // no row written
    EXPECT_EQ(Tool({"letters", "import", home.Path("deep.rtf").toStdString(), "--description",
                    std::string(51, 'x')})
                  .code,
              2);
    EXPECT_EQ(
        Tool({"letters", "import", home.Path("none.rtf").toStdString(), "--description", "None"})
            .code,
        3);
}

TEST(LettersCommandTest, SpellListsUnknownWordsPastMarkers)
{
    test::TTestHome home;
    Write(home.Path("quillm.aff"), "SET UTF-8\n");
    Write(home.Path("quillm.dic"), "4\nDear\nthank\nyou\nfor\n");
    Write(home.Path("in.rtf"), Rtf("Dear [Full Name], thank you for teh teh order 42b."));
    const TRun run = Tool({"letters", "spell", "--rtf", home.Path("in.rtf").toStdString()});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out, "teh\t2\norder\t1\n");
    Write(home.Path("ok.rtf"), Rtf("Dear [Last], thank you"));
    EXPECT_EQ(Tool({"letters", "spell", "--rtf", home.Path("ok.rtf").toStdString()}).code, 0);
}

} // namespace
} // namespace qm::letters
