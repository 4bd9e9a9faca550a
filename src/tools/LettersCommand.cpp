// "quillmark-tool letters": the letters of the program home (sysdata/LETTER.DBF) without their
// windows: list them, export one as an RTF file, import an RTF file as a new letter, and check a
// letter's spelling.

#include "tools/TJobFiles.h"
#include "tools/TToolCommand.h"
#include "tools/TToolEnvironment.h"

#include "data/TDataSet.h"
#include "data/TOutputFile.h"
#include "data/TProgramHome.h"
#include "data/TSystemTables.h"
#include "data/TWin1252.h"
#include "letters/TLetterStore.h"
#include "richtext/TRichDocument.h"
#include "richtext/TRtfReader.h"
#include "spelling/TSpellChecker.h"
#include "spelling/TSpellSession.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <map>
#include <ostream>

namespace qm::tools {
namespace {

const char* const kUsage =
    "usage: quillmark-tool letters list\n"
    "       quillmark-tool letters export NAME OUT.rtf\n"
    "       quillmark-tool letters import FILE.rtf --description D\n"
    "       quillmark-tool letters spell (NAME | --rtf FILE)\n"
    "The form letters of the program home (sysdata/LETTER.DBF), as the \"Print Letters\" window\n"
    "keeps them.\n"
    "\n"
    "  list      one description per line, in the window's order\n"
    "  export    writes the stored RTF text of the letter NAME (its description) to OUT.rtf,\n"
    "            byte for byte\n"
    "  import    adds a letter with the description D (at most 50 characters) whose text is the\n"
    "            RTF file (or a plain text file, stored as RTF); a file the letter reader refuses\n"
    "            adds nothing\n"
    "  spell     lists the words of a letter (or of an RTF file) that the dictionary does not\n"
    "            know, one per line with the number of times it occurs; merge markers and words\n"
    "            with digits are skipped\n"
    "\n"
    "Exit codes: 0 done (spell: no unknown word), 1 no such letter, unknown words or a file\n"
    "the reader refuses, 2 bad usage, 3 a file could not be read or written.\n";

constexpr const char* kPrefix = "quillmark-tool letters: ";

int Usage(std::ostream& err, const std::string& problem)
{
    err << kPrefix << problem << "\n" << kUsage;
    return 2;
}

QString SysdataDir()
{
    data::TProgramHome home = TToolEnvironment::ProgramHome();
    return home.SysDataDir();
}

std::string Native(const QString& path)
{
    return QDir::toNativeSeparators(path).toStdString();
}

// Opens the home's letters; without a LETTER.DBF only an import creates one.
int OpenStore(letters::TLetterStore& store, bool create, std::ostream& err)
{
    const QString sysdata = SysdataDir();
    const QString path = data::TSystemTables::FilePath(data::TSystemTable::Letter, sysdata);
    if (!create && !QFileInfo(path).isFile())
        return -1;
    if (create)
        QDir().mkpath(sysdata);
    try {
        if (const QString failure = store.Open(sysdata, !create); !failure.isEmpty()) {
            err << kPrefix << failure.toStdString() << " (" << Native(path) << ")\n";
            return 3;
        }
    } catch (const std::exception& e) {
        err << kPrefix << Native(path) << ": " << e.what() << "\n";
        return 3;
    }
    if (!store.Notice().isEmpty())
        err << kPrefix << store.Notice().toStdString() << "\n";
    return 0;
}

// Closes the store after a change; 0, or 3 when what was pending could not be written.
int CloseStore(letters::TLetterStore& store, std::ostream& err)
{
    try {
        store.Close();
    } catch (const std::exception& e) {
        err << kPrefix << "LETTER.DBF: " << e.what() << "\n";
        return 3;
    }
    return 0;
}

int FindLetter(letters::TLetterStore& store, const std::string& name, int& row, std::ostream& err)
{
    const int opened = OpenStore(store, false, err);
    if (opened > 0)
        return opened;
    row = opened < 0 ? -1 : store.Find(QString::fromStdString(name));
    if (row < 0) {
        err << kPrefix << "no letter \"" << name << "\" in LETTER.DBF\n";
        return 1;
    }
    return 0;
}

int List(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (!args.empty())
        return Usage(err, "list takes no arguments");
    letters::TLetterStore store;
    if (const int opened = OpenStore(store, false, err); opened > 0)
        return opened;
    for (const letters::TLetterRow& row : store.Rows())
        out << row.description.toStdString() << "\n";
    return 0;
}

int Export(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.size() != 2)
        return Usage(err, "export takes NAME and OUT.rtf");
    const std::string letterTable =
        data::TSystemTables::FilePath(data::TSystemTable::Letter, SysdataDir()).toStdString();
    if (TJobFiles::NamesAnInput(args[1], letterTable))
        return Usage(err, args[1] + " is a file of the letters table; choose another file");
    letters::TLetterStore store;
    int row = -1;
    if (const int found = FindLetter(store, args[0], row, err); found != 0)
        return found;
    QByteArray rtf;
    try {
        rtf = store.Rtf(row);
    } catch (const std::exception& e) {
        err << kPrefix << "LETTER.DBF: " << e.what() << "\n";
        return 3;
    }
    const QString target = QString::fromStdString(args[1]);
    data::TOutputFile file(target);
    if (!file.open(QIODevice::WriteOnly) || file.write(rtf) != rtf.size() || !file.commit()) {
        err << kPrefix << args[1] << ": " << file.errorString().toStdString() << "\n";
        return 3;
    }
    out << "Wrote " << rtf.size() << " bytes to " << args[1] << "\n";
    return 0;
}

// Reads an RTF file through the letter reader's limits; returns 0 or the exit code (message
// written) and fills document.
int ReadRtfFile(const std::string& name, QByteArray& bytes, richtext::TRichDocument& document,
                std::ostream& err)
{
    QFile file(QString::fromStdString(name));
    if (!file.open(QIODevice::ReadOnly)) {
        err << kPrefix << name << ": " << file.errorString().toStdString() << "\n";
        return 3;
    }
    if (file.size() > richtext::TRtfReader::MaxInputBytes) {
        err << kPrefix << name << ": the file is larger than the 16 MB a letter may hold\n";
        return 1;
    }
    bytes = file.readAll();
    const richtext::TRtfReadResult read = document.LoadRtf(bytes);
    if (!read.ok) {
        err << kPrefix << name << ": " << read.error.toStdString();
        if (read.offset >= 0)
            err << " (at byte " << read.offset << ")";
        err << "\n";
        return 1;
    }
    if (!read.dropped.isEmpty())
        err << kPrefix << name << ": left out " << read.dropped.join(", ").toStdString() << "\n";
    return 0;
}

int Import(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::string file, description;
    bool described = false;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--description") {
            if (i + 1 >= args.size())
                return Usage(err, "--description needs a value");
            description = args[++i];
            described = true;
        } else if (file.empty() && !args[i].starts_with("--")) {
            file = args[i];
        } else {
            return Usage(err, "unknown argument '" + args[i] + "'");
        }
    }
    if (file.empty() || !described)
        return Usage(err, "import takes FILE.rtf and --description D");
    const QString text = QString::fromStdString(description);
    if (text.trimmed().isEmpty())
        return Usage(err, "--description must not be empty");
    if (text.size() > letters::TLetterStore::kDescriptionLength)
        return Usage(err, "--description holds at most 50 characters");
    QChar bad;
    if (!data::TWin1252::CanEncode(text, &bad))
        return Usage(err, "--description: the character '" + QString(bad).toStdString() +
                              "' cannot be stored");

    TToolEnvironment::EnsureGuiApplication();
    QByteArray bytes;
    richtext::TRichDocument document;
    if (const int read = ReadRtfFile(file, bytes, document, err); read != 0)
        return read;
    // RTF is stored as it came (nothing the editor would not show is lost); plain text becomes
    // the writer's RTF.
    const QByteArray stored =
        richtext::TRtfReader::LooksLikeRtf(bytes) ? bytes : document.SaveRtf();

    // A text the reader would refuse once stored is never stored.
    if (const QString problem =
            letters::TLetterStore::SizeProblem(letters::TLetterStore::StoredText(stored).size());
        !problem.isEmpty()) {
        err << kPrefix << file << ": " << problem.toStdString() << "\n";
        return 1;
    }

    letters::TLetterStore store;
    if (const int opened = OpenStore(store, true, err); opened != 0)
        return opened;
    qsizetype written = 0;
    try {
        written = store.Rtf(store.Append(text, stored)).size();
    } catch (const data::TDataSetError& e) {
        err << kPrefix << "LETTER.DBF: " << e.Message().toStdString() << "\n";
        return 3;
    } catch (const std::exception& e) {
        err << kPrefix << "LETTER.DBF: " << e.what() << "\n";
        return 3;
    }
    if (const int closed = CloseStore(store, err); closed != 0)
        return closed;
    // The bytes the memo holds, the stored-memo rule's blank included.
    out << "Added \"" << description << "\" (" << written << " bytes)\n";
    return 0;
}

int Spell(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    QByteArray bytes;
    std::string source;
    TToolEnvironment::EnsureGuiApplication();
    richtext::TRichDocument document;
    if (args.size() == 2 && args[0] == "--rtf") {
        source = args[1];
        if (const int read = ReadRtfFile(args[1], bytes, document, err); read != 0)
            return read;
    } else if (args.size() == 1 && !args[0].starts_with("--")) {
        letters::TLetterStore store;
        int row = -1;
        if (const int found = FindLetter(store, args[0], row, err); found != 0)
            return found;
        source = args[0];
        try {
            bytes = store.Rtf(row);
        } catch (const std::exception& e) {
            err << kPrefix << "LETTER.DBF: " << e.what() << "\n";
            return 3;
        }
        const richtext::TRtfReadResult read = document.LoadRtf(bytes);
        if (!read.ok) {
            err << kPrefix << "the letter \"" << source << "\": " << read.error.toStdString()
                << "\n";
            return 1;
        }
    } else {
        return Usage(err, "spell takes a letter's NAME or --rtf FILE");
    }
    const data::TProgramHome home = TToolEnvironment::ProgramHome();
    spelling::TSpellChecker checker(home.Dir());
    if (!checker.IsLoaded()) {
        err << kPrefix
            << "no dictionary: neither quillm.aff/quillm.dic in the program home nor "
               "the system's en_US\n";
        return 3;
    }
    // Each unknown word once, in the order of the text, with how often it occurs.
    std::map<QString, int> counts;
    QStringList order;
    spelling::TSpellSession session(checker, document.Document());
    while (session.Next()) {
        const QString word = session.Word();
        if (counts[word]++ == 0)
            order << word;
    }
    for (const QString& word : order)
        out << word.toStdString() << "\t" << counts[word] << "\n";
    return order.isEmpty() ? 0 : 1;
}

} // namespace

int RunLettersCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty())
        return Usage(err, "a command is needed");
    const std::string& verb = args[0];
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (verb == "--help" || verb == "-h") {
        out << kUsage;
        return 0;
    }
    if (verb == "list")
        return List(rest, out, err);
    if (verb == "export")
        return Export(rest, out, err);
    if (verb == "import")
        return Import(rest, out, err);
    if (verb == "spell")
        return Spell(rest, out, err);
    return Usage(err, "unknown command '" + verb + "'");
}

} // namespace qm::tools
