#include "TFaultInjection.h"
#include "TTestHome.h"
#include "letters/TLetterStore.h"
#include "richtext/TRichDocument.h"
#include "tools/TToolCommand.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>
#include <sstream>
#include <streambuf>

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

TEST(LettersCommandTest, ImportSaysHowManyBytesItStored)
{
    // 200 bytes: a multiple of 4, so the memo gets a blank more, and the count says so.
    test::TTestHome home;
    const QByteArray rtf = "{\\rtf1 " + QByteArray(192, 'a') + "}";
    ASSERT_EQ(rtf.size(), 200);
    Write(home.Path("in.rtf"), rtf);
    const TRun run =
        Tool({"letters", "import", home.Path("in.rtf").toStdString(), "--description", "Sized"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "Added \"Sized\" (201 bytes)\n");
    ASSERT_EQ(Tool({"letters", "export", "Sized", home.Path("out.rtf").toStdString()}).code, 0);
    EXPECT_EQ(ReadAll(home.Path("out.rtf")).size(), 201);
}

TEST(LettersCommandTest, ImportRefusesATextTheReaderCouldNotOpenAgain)
{
    // Nine megabytes of accented text are stored as far more RTF (each letter an escape): past
    // what a letter may hold, so nothing is stored and the sizes are named.
    test::TTestHome home;
    Write(home.Path("big.txt"), QString(4500000, QChar(0xE9)).toUtf8());
    const TRun run =
        Tool({"letters", "import", home.Path("big.txt").toStdString(), "--description", "Big"});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("a letter holds at most 16,777,216 bytes"), std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("would be stored as 18,"), std::string::npos) << run.err;
    EXPECT_EQ(Tool({"letters", "list"}).out, "");
}

TEST(LettersCommandTest, ImportFailingAtAnyStepSaysSoAndKeepsTheLetters)
{
    test::TTestHome home;
    Write(home.Path("in.rtf"), Rtf("Dear [Full Name]"));
    for (const char* name : {"Welcome", "Reminder"})
        ASSERT_EQ(
            Tool({"letters", "import", home.Path("in.rtf").toStdString(), "--description", name})
                .code,
            0);
    const QString sysdata = home.Path("sysdata");
    const QString saved = home.Path("saved");
    QDir().mkpath(saved);
    for (const QString& name : QDir(sysdata).entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(QDir(sysdata).filePath(name), QDir(saved).filePath(name)));
    const auto restore = [&] {
        for (const QString& name : QDir(saved).entryList(QDir::Files)) {
            QFile::remove(QDir(sysdata).filePath(name));
            QFile::copy(QDir(saved).filePath(name), QDir(sysdata).filePath(name));
        }
    };
    const std::vector<std::string> import = {"letters", "import", home.Path("in.rtf").toStdString(),
                                             "--description", "Invoice"};
    std::uint64_t steps = 0;
    {
        test::TFaultInjection count(0);
        ASSERT_EQ(Tool(import).code, 0);
        steps = count.Steps();
    }
    ASSERT_GT(steps, 3u);
    ::testing::Test::RecordProperty("steps", int(steps));
    for (std::uint64_t k = 1; k <= steps; ++k) {
        SCOPED_TRACE("failing from step " + std::to_string(k));
        restore();
        TRun run;
        {
            test::TFaultInjection faults(k);
            run = Tool(import);
        }
        EXPECT_EQ(run.code, 3);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find("LETTER.DBF"), std::string::npos) << run.err;
        // Read-only, a list taken while the index is out of step comes in the order the
        // letters were added (and says so); the letters are what counts.
        QStringList listed =
            QString::fromStdString(Tool({"letters", "list"}).out).split('\n', Qt::SkipEmptyParts);
        listed.sort();
        EXPECT_TRUE(listed == QStringList({"Reminder", "Welcome"}) ||
                    listed == QStringList({"Invoice", "Reminder", "Welcome"}))
            << listed.join(',').toStdString();
    }
}

// A stream that takes nothing, as standard output on a full disk.
class TFullStream : public std::streambuf {
protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
    std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

TEST(LettersCommandTest, AClosingMessageThatCannotBeWrittenFailsTheCommand)
{
    test::TTestHome home;
    Write(home.Path("in.rtf"), Rtf("Dear [Full Name]"));
    TFullStream full;
    std::ostream out(&full);
    std::ostringstream err;
    EXPECT_EQ(tools::RunTool({"letters", "import", home.Path("in.rtf").toStdString(),
                              "--description", "Welcome"},
                             out, err),
              3);
    EXPECT_NE(err.str().find("the output could not be written"), std::string::npos) << err.str();

    // The program itself, with its standard output on a full device.
    if (!QFileInfo::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QUILLMARK_HOME", home.Dir());
    tool.setProcessEnvironment(env);
    tool.setStandardOutputFile("/dev/full");
    tool.start(QStringLiteral(QM_BUILD_DIR "/bin/quillmark-tool"), {"letters", "list"});
    ASSERT_TRUE(tool.waitForFinished(20000));
    EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(tool.exitCode(), 3);
    EXPECT_TRUE(tool.readAllStandardError().contains("No space left on device"));
}

} // namespace
} // namespace qm::letters
