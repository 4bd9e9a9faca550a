// The "table" command group: inspects, queries and maintains xBase tables from the command line.
// Its --help text is the documentation of the commands and of their output formats; scripts rely
// on those formats, so they change only by adding.

#include "data/TAddressFileIndexTags.h"
#include "data/TAddressFileLayout.h"
#include "tools/TCsvReader.h"
#include "tools/TCsvWriter.h"
#include "tools/TProgressLine.h"
#include "tools/TTableArgs.h"
#include "tools/TTextEncoding.h"
#include "tools/TToolCommand.h"
#include "xbase/TTableCheck.h"
#include "xbase/TTableRawHeader.h"

#include "xbase/TCompoundIndex.h"
#include "xbase/TCursor.h"
#include "xbase/TEngineSettings.h"
#include "xbase/TFieldDef.h"
#include "xbase/TIndexTag.h"
#include "xbase/TTable.h"
#include "xbase/TXbaseError.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <ostream>
#include <sstream>

namespace qm::tools {

namespace {

using xbase::TCursor;
using xbase::TErrorKind;
using xbase::TFieldDef;
using xbase::TFieldInfo;
using xbase::TFieldType;
using xbase::TOpenMode;
using xbase::TSettingScope;
using xbase::TTable;
using xbase::TTableOptions;
using xbase::TXbaseError;

constexpr int kExitOk = 0;
constexpr int kExitNegative = 1;
constexpr int kExitUsage = 2;
constexpr int kExitFile = 3;

// Work on at least this many records reports its progress on standard error.
constexpr uint32_t kProgressRecords = 10000;

const char* const kHelp = R"(Usage: quillmark-tool table COMMAND FILE [ARGUMENTS...]

Inspects, queries and maintains xBase tables: DBF files with their memo file (FPT, or DBT for
dBase tables) and their compound index (the CDX file of the same name), as Quillmark's address
files and system tables are stored. Tables hold Windows-1252 text; everything the commands read
from the command line and write to standard output is UTF-8.

Commands:
  info FILE
      Prints the header, the fields, the index tags and the record count (format below).

  dump FILE [--tag T] [--query EXPR] [--limit N]
      Prints the records as RFC 4180 CSV (UTF-8, lines ended by CR LF, fields quoted when they
      hold a comma, a quote, a line break or a leading or trailing blank). The first line is
      RECNO,DELETED, then the field names. Then one line per record, in record order or in the
      order of tag T: its record number, T or F for its deletion mark, and every field, memos
      included. Character fields lose their trailing blanks, numbers their leading blanks;
      logical fields show T or F (empty when unset), dates YYYYMMDD (empty when blank); the
      binary types of other software show as numbers (I, Y, B) and "YYYYMMDD HH:MM:SS" (T).
      --query EXPR keeps only the records for which the xBase expression EXPR is true; records
      carrying the deletion mark are listed too (flagged T). --limit N stops after N records.

  count FILE --query EXPR [--tag T]
      Prints the number of records for which EXPR is true and that carry no deletion mark, as
      the address file sees them. With --tag, counts in that tag's order (a tag with a FOR
      condition or a unique tag lists fewer records).

  seek FILE --tag T [--exact] [--soft] KEY
      Seeks KEY on tag T among the records without a deletion mark and prints the record number
      of the first match. KEY is compared with the stored keys as given: on a tag such as
      UPPER(LNAME) give it in upper case. Without --exact a key starting with KEY matches (SM
      finds SMITH); with --exact the whole key must be equal. When nothing matches it prints
      "not found" and exits with 1; with --soft it also prints "next: " and the record number of
      the record with the next greater key, or "next: eof" when there is none. Numeric tags take
      a number, date tags YYYYMMDD, logical tags T or F.

  create FILE "NAME TYPE WIDTH[.DEC],..."
      Creates an empty table with these fields. TYPE is C (character, width 1-254), N
      (numeric, width 1-20, decimals), L (logical), D (date) or M (memo); L, D and M need no
      width. Example: "LNAME C 30,AMOUNT N 10.2,PAID L,NOTES M". A table with a memo field gets
      an FPT memo file. An existing file is not replaced.

  index FILE TAG EXPR
      Adds the tag TAG with the key expression EXPR to the table's compound index (creating the
      index file when there is none) and fills it from the records. A tag of that name is
      replaced.

  append-csv FILE CSV
      Appends one record per line of the RFC 4180 CSV file CSV (UTF-8, or Windows-1252 when the
      file is not valid UTF-8; no header line; empty lines are skipped). Each line has one value
      per field, in field order: character text (longer text is cut to the field width, with a
      warning), a number, T or F for logical fields (also Y, N or empty), YYYYMMDD or empty for
      dates, the text for memos. The whole file is checked before anything is appended, so a bad
      line appends nothing. Every tag of the index is kept up to date.

  reindex FILE
      Rebuilds every tag of the table's index from the records, in a new index file that
      replaces the old one only when complete. An address file whose index file is missing or
      damaged gets its 26 tags built from nothing.

  pack FILE
      Removes the records carrying the deletion mark, compacts the memo file and rebuilds the
      index.

  zap FILE
      Removes every record and memo and empties the index.

  check FILE
      Verifies the header against the file length, the memo pointers of every record, and every
      tag of the index against the records. Prints "ok", or the first problem found and exits
      with 1.

Output of info, one "name: value" line each, in this order:
  file: PATH
  version: 0xF5                   the first byte of the file (0x03 no memo, 0xF5 with memo, ...)
  code page mark: 0x03            byte 29 (0x03 is Windows-1252)
  last update: YYYY-MM-DD
  records: N
  header length: N
  record length: N
  memo: yes|no
  fields: N
  field I: NAME TYPE WIDTH DECIMALS          one line per field, I from 1
  index: PATH|none
  index state: current|stale                 only with an index; stale asks for reindex
  tags: N                                    only with an index
  tag I: NAME KEYTYPE KEYLENGTH EXPRESSION   one line per tag, I from 1
  tag I for: EXPRESSION                      only for a tag with a FOR condition
  tag I flags: descending unique             only for a tag with either flag

Long work (indexing, packing, appending many records) shows a progress line on standard error
when that is a terminal; otherwise only the summary and messages are written.

Exit codes: 0 success, 1 a negative answer (seek found nothing, check found a problem),
2 bad usage (unknown command or option, bad expression, unknown tag), 3 a file could not be
read or written (missing, damaged, in use by another program).
)";

class TUsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A bad input file: exit code 3 with the message.
class TInputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::string ToTable(std::string_view utf8, std::string_view what)
{
    std::string out;
    char32_t bad = 0;
    if (!TTextEncoding::Utf8ToWin1252(utf8, out, &bad))
        throw TUsageError(std::string(what) + " holds the character " +
                          TTextEncoding::CodePointName(bad) +
                          ", which tables (Windows-1252) cannot hold");
    return out;
}

std::unique_ptr<TTable> OpenTable(const std::string& path, TOpenMode mode)
{
    TTableOptions options;
    options.mode = mode;
    return TTable::Open(path, options);
}

void SelectTag(TCursor& cursor, const std::string& tag)
{
    if (cursor.Table().TagOrder(tag) == 0) {
        if (cursor.Table().Index() == nullptr)
            throw TUsageError("the table has no index, so it has no tag " + tag);
        throw TUsageError("the table's index has no tag " + tag);
    }
    cursor.SelectTag(tag);
}

// --- commands ---

int Info(const TTableArgs& args, std::ostream& out)
{
    const std::string& path = args.Positional(0);
    // Opened first: opening settles a replacement of the table that a crash cut short.
    auto table = OpenTable(path, TOpenMode::ReadOnly);
    const xbase::TTableRawHeader raw = xbase::TTableRawHeader::Read(path);
    char buffer[64];
    out << "file: " << path << "\n";
    std::snprintf(buffer, sizeof buffer, "0x%02X", raw.version);
    out << "version: " << buffer << "\n";
    std::snprintf(buffer, sizeof buffer, "0x%02X", raw.codePageMark);
    out << "code page mark: " << buffer << "\n";
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", raw.year, raw.month, raw.day);
    out << "last update: " << buffer << "\n";
    out << "records: " << table->RecordCount() << "\n";
    out << "header length: " << raw.headerLength << "\n";
    out << "record length: " << raw.recordLength << "\n";
    out << "memo: " << (table->HasMemo() ? "yes" : "no") << "\n";
    const auto& fields = table->Fields();
    out << "fields: " << fields.size() << "\n";
    for (size_t i = 0; i < fields.size(); ++i)
        out << "field " << i + 1 << ": " << TTextEncoding::Win1252ToUtf8(fields[i].name) << ' '
            << static_cast<char>(fields[i].type) << ' ' << fields[i].length << ' '
            << static_cast<int>(fields[i].decimals) << "\n";
    const xbase::TCompoundIndex* index = table->Index();
    if (index == nullptr) {
        out << "index: none\n";
        return kExitOk;
    }
    out << "index: " << table->IndexPath() << "\n";
    out << "index state: " << (table->IndexStale() ? "stale" : "current") << "\n";
    out << "tags: " << table->TagCount() << "\n";
    for (int order = 1; order <= table->TagCount(); ++order) {
        const xbase::TTagInfo& info = table->Index()->Tag(order).Info();
        out << "tag " << order << ": " << info.name << ' ' << static_cast<char>(info.keyType) << ' '
            << info.keyLength << ' ' << TTextEncoding::Win1252ToUtf8(info.keyExpression) << "\n";
        if (!info.forExpression.empty())
            out << "tag " << order << " for: " << TTextEncoding::Win1252ToUtf8(info.forExpression)
                << "\n";
        if (info.descending || info.unique)
            out << "tag " << order << " flags:" << (info.descending ? " descending" : "")
                << (info.unique ? " unique" : "") << "\n";
    }
    return kExitOk;
}

int Dump(const TTableArgs& args, std::ostream& out)
{
    int64_t limit = -1;
    if (args.Has("limit")) {
        limit = args.Number("limit");
        if (limit < 0)
            throw TUsageError("--limit needs a number of records, 0 or more");
    }
    auto table = OpenTable(args.Positional(0), TOpenMode::ReadOnly);
    TSettingScope showMarked(&xbase::TEngineSettings::deleted, false);
    TCursor cursor(*table);
    if (args.Has("tag"))
        SelectTag(cursor, args.Value("tag"));
    if (args.Has("query"))
        cursor.SetQuery(ToTable(args.Value("query"), "the query"));
    cursor.SetTurboRead(!args.Has("tag"));

    TCsvWriter csv(out);
    csv.Field("RECNO");
    csv.Field("DELETED");
    const auto& fields = table->Fields();
    for (const TFieldInfo& field : fields)
        csv.Field(TTextEncoding::Win1252ToUtf8(field.name));
    csv.EndRecord();
    int64_t written = 0;
    for (cursor.GoTop(); !cursor.Eof() && (limit < 0 || written < limit); cursor.Skip()) {
        csv.Field(std::to_string(cursor.RecNo()));
        csv.Field(table->Deleted() ? "T" : "F");
        for (size_t i = 0; i < fields.size(); ++i)
            csv.Field(TTextEncoding::Win1252ToUtf8(table->GetText(static_cast<int>(i))));
        csv.EndRecord();
        ++written;
    }
    cursor.SetTurboRead(false);
    out.flush();
    return kExitOk;
}

int Count(const TTableArgs& args, std::ostream& out)
{
    if (!args.Has("query"))
        throw TUsageError("count needs --query EXPR");
    auto table = OpenTable(args.Positional(0), TOpenMode::ReadOnly);
    TSettingScope hideMarked(&xbase::TEngineSettings::deleted, true);
    TCursor cursor(*table);
    if (args.Has("tag"))
        SelectTag(cursor, args.Value("tag"));
    cursor.SetQuery(ToTable(args.Value("query"), "the query"));
    out << cursor.Count() << "\n";
    return kExitOk;
}

int Seek(const TTableArgs& args, std::ostream& out)
{
    if (!args.Has("tag"))
        throw TUsageError("seek needs --tag T");
    const std::string key = ToTable(args.Positional(1), "the key");
    auto table = OpenTable(args.Positional(0), TOpenMode::ReadOnly);
    TSettingScope hideMarked(&xbase::TEngineSettings::deleted, true);
    TSettingScope exact(&xbase::TEngineSettings::exact, args.Has("exact"));
    TSettingScope soft(&xbase::TEngineSettings::softSeek, args.Has("soft"));
    TCursor cursor(*table);
    SelectTag(cursor, args.Value("tag"));
    if (cursor.Seek(key)) {
        out << cursor.RecNo() << "\n";
        return kExitOk;
    }
    out << "not found\n";
    if (args.Has("soft")) {
        if (cursor.Eof())
            out << "next: eof\n";
        else
            out << "next: " << cursor.RecNo() << "\n";
    }
    return kExitNegative;
}

std::vector<TFieldDef> ParseFieldDefs(const std::string& text)
{
    std::vector<TFieldDef> defs;
    std::stringstream items(text);
    std::string item;
    while (std::getline(items, item, ',')) {
        std::stringstream words(item);
        std::string name, type, width, extra;
        words >> name >> type >> width >> extra;
        if (name.empty() && type.empty())
            throw TUsageError("empty field description in \"" + text + "\"");
        if (type.size() != 1 || !extra.empty())
            throw TUsageError("\"" + item + "\" is not NAME TYPE WIDTH[.DEC]");
        TFieldDef def;
        def.name = name;
        const char t = static_cast<char>(std::toupper(static_cast<unsigned char>(type[0])));
        switch (t) {
        case 'C':
        case 'N':
        case 'F':
        case 'L':
        case 'D':
        case 'M':
            def.type = static_cast<TFieldType>(t);
            break;
        default:
            throw TUsageError("field " + name + ": type " + type +
                              " is not one of C, N, F, L, D, M");
        }
        const bool needsWidth = t == 'C' || t == 'N' || t == 'F';
        if (width.empty()) {
            if (needsWidth)
                throw TUsageError("field " + name + " needs a width");
        } else {
            const size_t dot = width.find('.');
            const std::string whole = width.substr(0, dot);
            const std::string decimals = dot == std::string::npos ? "" : width.substr(dot + 1);
            auto number = [&](const std::string& digits) {
                if (digits.empty() || digits.size() > 3 ||
                    digits.find_first_not_of("0123456789") != std::string::npos)
                    throw TUsageError("field " + name + ": \"" + width +
                                      "\" is not WIDTH or WIDTH.DECIMALS");
                return std::atoi(digits.c_str());
            };
            def.length = number(whole);
            if (dot != std::string::npos)
                def.decimals = number(decimals);
        }
        defs.push_back(def);
    }
    if (defs.empty())
        throw TUsageError("no fields given");
    return defs;
}

int Create(const TTableArgs& args)
{
    const auto defs = ParseFieldDefs(args.Positional(1));
    try {
        xbase::MakeFieldList(defs);
    } catch (const TXbaseError& e) {
        throw TUsageError(e.Message());
    }
    auto table = TTable::Create(args.Positional(0), defs);
    table->Close();
    return kExitOk;
}

int Index(const TTableArgs& args, std::ostream& err)
{
    const std::string expression = ToTable(args.Positional(2), "the key expression");
    auto table = OpenTable(args.Positional(0), TOpenMode::Exclusive);
    TProgressLine progress(err, "indexing " + args.Positional(1),
                           table->RecordCount() >= kProgressRecords);
    table->AddTag(args.Positional(1), expression, progress.Callback());
    progress.Finish();
    table->Close();
    return kExitOk;
}

// The 26 tags of an address file when the table has every address-file field; else none.
std::vector<TTable::TTagSpec> AddressFileTags(const TTable& table)
{
    for (const xbase::TFieldDef& def : data::TAddressFileLayout::FieldDefs({}))
        if (table.FieldIndex(def.name) < 0)
            return {};
    return data::AddressFileIndexTags();
}

int Reindex(const TTableArgs& args, std::ostream& err)
{
    const std::string& path = args.Positional(0);
    std::unique_ptr<TTable> table;
    std::string unreadable; // why the index file could not be opened
    try {
        table = OpenTable(path, TOpenMode::Exclusive);
    } catch (const TXbaseError& e) {
        if (e.Kind() != TErrorKind::Damaged)
            throw;
        // The index may be what is damaged: the table alone opens, or the first error stands.
        TTableOptions options;
        options.mode = TOpenMode::Exclusive;
        options.openIndex = false;
        try {
            table = TTable::Open(path, options);
        } catch (const TXbaseError&) {
            throw e;
        }
        unreadable = e.what();
    }
    const std::vector<TTable::TTagSpec> addressTags = AddressFileTags(*table);
    if (table->Index() == nullptr) {
        if (!addressTags.empty()) {
            // An address file is never left without its index: its tags are known.
            TProgressLine progress(err, "building the address file's index",
                                   table->RecordCount() >= kProgressRecords);
            table->ReplaceIndex(addressTags, progress.Callback());
            progress.Finish();
            table->Close();
            return kExitOk;
        }
        table->Close();
        if (!unreadable.empty())
            throw TInputError(unreadable + " (its tags cannot be read, so the index cannot be "
                                           "rebuilt; add them again with \"table index\")");
        err << "quillmark-tool table: " << path << " has no index file to rebuild\n";
        return kExitOk;
    }
    TProgressLine progress(err, "reindexing", table->RecordCount() >= kProgressRecords);
    table->Reindex(progress.Callback());
    progress.Finish();
    table->Close();
    return kExitOk;
}

int Pack(const TTableArgs& args, std::ostream& err)
{
    auto table = OpenTable(args.Positional(0), TOpenMode::Exclusive);
    TProgressLine progress(err, "packing", table->RecordCount() >= kProgressRecords);
    table->Pack(progress.Callback());
    progress.Finish();
    table->Close();
    return kExitOk;
}

int Zap(const TTableArgs& args)
{
    auto table = OpenTable(args.Positional(0), TOpenMode::Exclusive);
    table->Zap();
    table->Close();
    return kExitOk;
}

// One CSV value checked against its field; returns the Windows-1252 text to store.
std::string CsvValue(const std::string& raw, TCsvReader::TEncoding encoding,
                     const TFieldInfo& field, int64_t line, bool& cut)
{
    auto fail = [&](const std::string& what) {
        return TInputError("line " + std::to_string(line) + ", field " + field.name + ": " + what);
    };
    std::string text;
    if (encoding == TCsvReader::TEncoding::Utf8) {
        char32_t bad = 0;
        if (!TTextEncoding::Utf8ToWin1252(raw, text, &bad))
            throw fail("the character " + TTextEncoding::CodePointName(bad) +
                       " cannot be stored (tables hold Windows-1252 text)");
    } else {
        text = raw;
    }
    switch (field.type) {
    case TFieldType::Character:
        if (text.size() > field.length) {
            // Only blanks past the width are no loss.
            if (text.find_first_not_of(' ', field.length) != std::string::npos)
                cut = true;
            text.resize(field.length);
        }
        return text;
    case TFieldType::Numeric:
    case TFieldType::Float: {
        const size_t start = text.find_first_not_of(' ');
        if (start == std::string::npos)
            return {};
        const size_t end = text.find_last_not_of(' ');
        std::string number = text.substr(start, end - start + 1);
        char* stop = nullptr;
        const double value = std::strtod(number.c_str(), &stop);
        if (stop != number.c_str() + number.size() ||
            number.find_first_of("xXpPnNiI") != std::string::npos)
            throw fail("\"" + raw + "\" is not a number");
        // A number too wide for the field would be stored as asterisks: refuse it instead.
        char formatted[400];
        const int width = std::snprintf(formatted, sizeof formatted, "%.*f",
                                        static_cast<int>(field.decimals), value);
        if (width < 0 || width > static_cast<int>(field.length))
            throw fail(number + " does not fit in " + std::to_string(field.length) +
                       " characters with " + std::to_string(field.decimals) + " decimals");
        return number;
    }
    case TFieldType::Logical: {
        if (text.empty())
            return "F";
        if (text.size() == 1) {
            const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
            if (c == 'T' || c == 'Y')
                return "T";
            if (c == 'F' || c == 'N')
                return "F";
        }
        throw fail("\"" + raw + "\" is not T or F");
    }
    case TFieldType::Date:
        if (text.find_first_not_of(' ') == std::string::npos)
            return {};
        if (text.size() != 8 || text.find_first_not_of("0123456789") != std::string::npos)
            throw fail("\"" + raw + "\" is not a date written YYYYMMDD");
        return text;
    case TFieldType::Memo:
        return text;
    default:
        throw fail("fields of type " + std::string(1, static_cast<char>(field.type)) +
                   " cannot be written");
    }
}

int AppendCsv(const TTableArgs& args, std::ostream& err)
{
    const std::string& csvPath = args.Positional(1);
    std::ifstream in(csvPath, std::ios::binary);
    if (!in)
        throw TXbaseError(TErrorKind::NotFound, "cannot open the CSV file", csvPath, -1, errno);
    in.seekg(0, std::ios::end);
    const auto size = static_cast<int64_t>(in.tellg());
    in.seekg(0);
    const TCsvReader::TEncoding encoding = TCsvReader::TextEncodingOf(in);

    auto table = OpenTable(args.Positional(0), TOpenMode::Exclusive);
    const auto& fields = table->Fields();
    const bool large = size >= (4 << 20);

    // First pass: every line is checked, so a bad line appends nothing.
    std::vector<std::string> values;
    int64_t cutValues = 0;
    {
        TProgressLine progress(err, "checking " + csvPath, large);
        TCsvReader reader(in);
        while (reader.Next(values)) {
            if (values.size() != fields.size())
                throw TInputError("line " + std::to_string(reader.RecordLine()) + ": " +
                                  std::to_string(values.size()) + " values, the table has " +
                                  std::to_string(fields.size()) + " fields");
            for (size_t i = 0; i < fields.size(); ++i) {
                bool cut = false;
                CsvValue(values[i], encoding, fields[i], reader.RecordLine(), cut);
                cutValues += cut;
            }
            progress(static_cast<int>(reader.BytesRead() * 100 / std::max<int64_t>(size, 1)));
        }
    }
    in.clear();
    in.seekg(0);

    TProgressLine progress(err, "appending " + csvPath, large);
    TCsvReader reader(in);
    while (reader.Next(values)) {
        table->AppendBlank();
        for (size_t i = 0; i < fields.size(); ++i) {
            bool cut = false;
            const std::string value =
                CsvValue(values[i], encoding, fields[i], reader.RecordLine(), cut);
            const int field = static_cast<int>(i);
            switch (fields[i].type) {
            case TFieldType::Memo:
                if (!value.empty())
                    table->PutMemo(field, value);
                break;
            case TFieldType::Logical:
                table->PutLogical(field, value == "T");
                break;
            case TFieldType::Date:
                table->PutDate(field, value);
                break;
            default:
                if (!value.empty())
                    table->PutString(field, value);
                break;
            }
        }
        table->Post();
        progress(static_cast<int>(reader.BytesRead() * 100 / std::max<int64_t>(size, 1)));
    }
    progress.Finish();
    table->Close();
    if (cutValues > 0)
        err << "quillmark-tool table: warning: " << cutValues
            << " values were longer than their field and were cut\n";
    return kExitOk;
}

int Check(const TTableArgs& args, std::ostream& out)
{
    const xbase::TTableCheckResult result = xbase::TTableCheck::Run(args.Positional(0));
    if (result.ok) {
        out << "ok\n";
        return kExitOk;
    }
    out << result.problem << "\n";
    return kExitNegative;
}

struct TSubcommand {
    const char* name;
    int positional; // FILE and the other positional arguments
    std::vector<std::string> flags;
    std::vector<std::string> valued;
};

const std::vector<TSubcommand>& Subcommands()
{
    static const std::vector<TSubcommand> list = {
        {"info", 1, {}, {}},
        {"dump", 1, {}, {"tag", "query", "limit"}},
        {"count", 1, {}, {"query", "tag"}},
        {"seek", 2, {"exact", "soft"}, {"tag"}},
        {"create", 2, {}, {}},
        {"index", 3, {}, {}},
        {"append-csv", 2, {}, {}},
        {"reindex", 1, {}, {}},
        {"pack", 1, {}, {}},
        {"zap", 1, {}, {}},
        {"check", 1, {}, {}},
    };
    return list;
}

int ExitCodeOf(TErrorKind kind)
{
    switch (kind) {
    case TErrorKind::Syntax:
    case TErrorKind::Type:
    case TErrorKind::Usage:
        return kExitUsage;
    default:
        return kExitFile;
    }
}

} // namespace

int RunTableCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty()) {
        err << kHelp;
        return kExitUsage;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        out << kHelp;
        return kExitOk;
    }
    const auto& list = Subcommands();
    const auto sub = std::find_if(list.begin(), list.end(),
                                  [&](const TSubcommand& s) { return args[0] == s.name; });
    if (sub == list.end()) {
        err << "quillmark-tool table: unknown command '" << args[0]
            << "' (try quillmark-tool table --help)\n";
        return kExitUsage;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (std::find(rest.begin(), rest.end(), "--help") != rest.end()) {
        out << kHelp;
        return kExitOk;
    }
    const std::string name = sub->name;
    try {
        const TTableArgs parsed = TTableArgs::Parse(rest, sub->flags, sub->valued);
        if (parsed.PositionalCount() != static_cast<size_t>(sub->positional))
            throw TUsageError(name + " takes " + std::to_string(sub->positional) +
                              (sub->positional == 1 ? " argument" : " arguments") + ", not " +
                              std::to_string(parsed.PositionalCount()));
        if (name == "info")
            return Info(parsed, out);
        if (name == "dump")
            return Dump(parsed, out);
        if (name == "count")
            return Count(parsed, out);
        if (name == "seek")
            return Seek(parsed, out);
        if (name == "create")
            return Create(parsed);
        if (name == "index")
            return Index(parsed, err);
        if (name == "append-csv")
            return AppendCsv(parsed, err);
        if (name == "reindex")
            return Reindex(parsed, err);
        if (name == "pack")
            return Pack(parsed, err);
        if (name == "zap")
            return Zap(parsed);
        return Check(parsed, out);
    } catch (const TArgsError& e) {
        err << "quillmark-tool table " << name << ": " << e.what()
            << " (try quillmark-tool table --help)\n";
        return kExitUsage;
    } catch (const TUsageError& e) {
        err << "quillmark-tool table " << name << ": " << e.what() << "\n";
        return kExitUsage;
    } catch (const TInputError& e) {
        err << "quillmark-tool table " << name << ": " << e.what() << "\n";
        return kExitFile;
    } catch (const TCsvError& e) {
        err << "quillmark-tool table " << name << ": " << e.what() << "\n";
        return kExitFile;
    } catch (const TXbaseError& e) {
        err << "quillmark-tool table " << name << ": " << e.what() << "\n";
        return ExitCodeOf(e.Kind());
    } catch (const std::bad_alloc&) {
        err << "quillmark-tool table " << name << ": out of memory\n";
        return kExitFile;
    }
}

} // namespace qm::tools
