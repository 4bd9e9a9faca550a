#include "TTestHome.h"
#include "data/TAddressFile.h"
#include "data/TDataSet.h"
#include "letters/TLetterStore.h"
#include "richtext/TRichDocument.h"
#include "tools/TToolCommand.h"

#include <QDir>
#include <QFile>
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

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class PrintLettersCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        table = home.Path("ADDR.DBF").toStdString();
        ASSERT_EQ(data::TAddressFile::Create(home.Path("ADDR.DBF"), {}), QString());
        data::TDataSet set;
        data::TAddressFile::DeclareFieldObjects(set);
        ASSERT_TRUE(data::TAddressFile::Open(set, home.Path("ADDR.DBF")).opened);
        struct TPerson {
            const char *first, *last, *city;
            bool deleted;
        };
        for (const TPerson& p :
             {TPerson{"Ann", "Avery", "Here", false}, TPerson{"[Last]", "Baker", "There", false},
              TPerson{"Cy", "Cole", "Here", true}}) {
            set.Append();
            set.SetAsString("FNAME", p.first);
            set.SetAsString("LNAME", p.last);
            set.SetAsString("CITY", p.city);
            if (p.deleted)
                set.SetAsBoolean("ISDEL", true);
            set.Post();
        }
        set.Close();
        WriteTemplate(QStringLiteral("Dear [First] [Last] of [City], [Long Date] [sic]"), 1);
    }

    // A template of `pages` pages (explicit page breaks), the text on the first.
    void WriteTemplate(const QString& text, int pages)
    {
        richtext::TRichDocument letter;
        QTextCursor cursor(&letter.Document());
        cursor.insertText(text);
        for (int p = 1; p < pages; ++p) {
            cursor.insertBlock();
            cursor.insertText(QStringLiteral("Page %1").arg(p + 1));
            letter.SetPageBreakBefore(cursor.position(), true);
        }
        rtf = home.Path("letter.rtf").toStdString();
        QFile file(QString::fromStdString(rtf));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(letter.SaveRtf());
    }

    test::TTestHome home;
    std::string table;
    std::string rtf;
};

TEST_F(PrintLettersCommandTest, MergedTextOnePassFormFeedBetweenLetters)
{
    const std::string out = home.Path("out.txt").toStdString();
    const TRun run = Tool({"print", "letters", "--table", table, "--rtf", rtf, "--all", "--today",
                           "2026-03-07", "--text", out});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "2 record(s), 0 page(s)\n");
    const QString text = QString::fromUtf8(ReadAll(QString::fromStdString(out)));
    EXPECT_EQ(text, "Dear Ann Avery of Here, Mar 7, 2026 [sic]\n\f"
                    "Dear [Last] Baker of There, Mar 7, 2026 [sic]\n");
}

TEST_F(PrintLettersCommandTest, QueryRecordAndStartRecord)
{
    const std::string out = home.Path("out.txt").toStdString();
    TRun run = Tool({"print", "letters", "--table", table, "--rtf", rtf, "--query",
                     "CITY = \"There\"", "--text", out, "--copies", "3"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(QString::fromUtf8(ReadAll(QString::fromStdString(out))).count('\f'), 2);
    run = Tool(
        {"print", "letters", "--table", table, "--rtf", rtf, "--start-record", "3", "--text", out});
    EXPECT_EQ(run.code, 0);
    EXPECT_EQ(run.err, "Current record is out of range. Starting with first record\n");
    EXPECT_EQ(run.out, "2 record(s), 0 page(s)\n");
    run =
        Tool({"print", "letters", "--table", table, "--rtf", rtf, "--record", "2", "--text", out});
    EXPECT_EQ(run.out, "1 record(s), 0 page(s)\n");
}

TEST_F(PrintLettersCommandTest, PdfPagesAndOnePerRecord)
{
    WriteTemplate(QStringLiteral("[Full Name]"), 2);
    const QString pdf = home.Path("out.pdf");
    TRun run = Tool({"print", "letters", "--table", table, "--rtf", rtf, "--pdf", pdf.toStdString(),
                     "--copies", "2"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "2 record(s), 8 page(s)\n");
    EXPECT_TRUE(ReadAll(pdf).startsWith("%PDF-"));

    QDir().mkpath(home.Path("each"));
    run = Tool({"print", "letters", "--table", table, "--rtf", rtf, "--pdf-dir",
                home.Path("each").toStdString()});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(QDir(home.Path("each")).entryList(QDir::Files),
              QStringList({"record-0000001.pdf", "record-0000002.pdf"}));

    QDir().mkpath(home.Path("rtf"));
    run = Tool({"print", "letters", "--table", table, "--rtf", rtf, "--rtf-out",
                home.Path("rtf").toStdString(), "--record", "1"});
    ASSERT_EQ(run.code, 0) << run.err;
    richtext::TRichDocument merged;
    ASSERT_TRUE(merged.LoadRtf(ReadAll(home.Path("rtf/record-0000001.rtf"))).ok);
    EXPECT_TRUE(merged.Document().toPlainText().startsWith("Ann Avery "));
}

TEST_F(PrintLettersCommandTest, StoredLetterAndRefusedTemplates)
{
    QDir().mkpath(home.Path("sysdata"));
    {
        TLetterStore store;
        ASSERT_EQ(store.Open(home.Path("sysdata")), QString());
        store.Append("Thanks", ReadAll(QString::fromStdString(rtf)));
        store.Append("Broken", QByteArray("{\\rtf1 ") + QByteArray(1200, '{'));
    }
    const std::string out = home.Path("out.txt").toStdString();
    TRun run = Tool({"print", "letters", "--table", table, "--letter", "thanks", "--text", out,
                     "--record", "1", "--today", "2026-01-02"});
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(ReadAll(QString::fromStdString(out)), "Dear Ann Avery of Here, Jan 2, 2026 [sic]\n");

    // The reader's limits: a message naming the source, nothing written.
    QFile::remove(QString::fromStdString(out));
    run = Tool({"print", "letters", "--table", table, "--letter", "Broken", "--text", out});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("the letter \"Broken\""), std::string::npos) << run.err;
    EXPECT_FALSE(QFile::exists(QString::fromStdString(out)));
    run = Tool({"print", "letters", "--table", table, "--letter", "None", "--text", out});
    EXPECT_EQ(run.code, 1);
}

TEST_F(PrintLettersCommandTest, UsageErrors)
{
    EXPECT_EQ(Tool({"print", "letters", "--table", table, "--rtf", rtf}).code, 2);
    EXPECT_EQ(
        Tool({"print", "letters", "--table", table, "--rtf", rtf, "--text", "a", "--pdf", "b"})
            .code,
        2);
    EXPECT_EQ(Tool({"print", "letters", "--table", table, "--rtf", rtf, "--text", "a", "--copies",
                    "1000"})
                  .code,
              2);
    EXPECT_EQ(Tool({"print", "letters", "--table", table, "--rtf", rtf, "--text", "a", "--today",
                    "2026-02-30"})
                  .code,
              2);
    // The output may not be a file the job reads.
    EXPECT_EQ(Tool({"print", "letters", "--table", table, "--rtf", rtf, "--text", rtf}).code, 2);
    EXPECT_EQ(Tool({"print", "letters", "--help"}).code, 0);
}

} // namespace
} // namespace qm::letters
