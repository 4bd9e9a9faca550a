#include "tools/TRecordScopeArgs.h"

#include "data/TFilterBuilder.h"
#include "data/TFilterFiles.h"
#include "data/TWin1252.h"
#include "tools/TTextEncoding.h"
#include "xbase/TCursor.h"
#include "xbase/TTable.h"
#include "xbase/TXbaseError.h"

#include <optional>

namespace qm::tools {
namespace {

std::optional<uint32_t> RecordNumber(const std::string& text)
{
    if (text.empty() || text.size() > 10)
        return std::nullopt;
    uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + uint64_t(c - '0');
    }
    if (value < 1 || value > 0xFFFFFFFFull)
        return std::nullopt;
    return uint32_t(value);
}

} // namespace

TRecordScopeArgs::TTake TRecordScopeArgs::Take(const std::vector<std::string>& args, size_t& i,
                                               std::string& problem)
{
    const std::string& a = args[i];
    if (a == "--all") {
        ++mScopes;
        return TTake::Taken;
    }
    if (a == "--tagged") {
        mTagged = true;
        return TTake::Taken;
    }
    if (a != "--query" && a != "--filter-file" && a != "--record" && a != "--order" &&
        a != "--start-record")
        return TTake::NotMine;
    if (i + 1 >= args.size()) {
        problem = a + " needs a value";
        return TTake::Error;
    }
    const std::string& value = args[++i];
    if (a == "--query") {
        mQuery = value;
        ++mScopes;
    } else if (a == "--filter-file") {
        mFilterFile = value;
        ++mScopes;
    } else if (a == "--order") {
        mOrder = value;
    } else {
        const std::optional<uint32_t> n = RecordNumber(value);
        if (!n) {
            problem = a + " takes a record number from 1, not '" + value + "'";
            return TTake::Error;
        }
        if (a == "--record") {
            mRecord = *n;
            ++mScopes;
        } else {
            mStartRecord = *n;
        }
    }
    return TTake::Taken;
}

std::string TRecordScopeArgs::Check() const
{
    if (mScopes > 1)
        return "choose one of --all, --query, --filter-file and --record";
    if (mRecord > 0 && mStartRecord > 0)
        return "--start-record does not go with --record";
    if (mRecord > 0 && mTagged)
        return "--tagged does not go with --record";
    if (!mQuery.empty() && mQuery.find_first_not_of(" \t") == std::string::npos)
        return "--query needs an expression";
    return {};
}

std::string TRecordScopeArgs::Usage(const std::string& defaultOrder)
{
    std::string text =
        "  --all            every record not marked deleted (default)\n"
        "  --query EXPR     the records an xBase expression selects (\".and. !ISDEL\" is "
        "appended)\n"
        "  --filter-file F  the records a saved filter (.FLT) selects\n"
        "  --tagged         tagged records only; goes with --all, --query and --filter-file\n"
        "  --record N       record N only (\"Only current record\")\n";
    text += "  --order TAG      the sort order's tag the records are taken in";
    text += defaultOrder.empty() ? std::string("\n") : " (default " + defaultOrder + ")\n";
    text +=
        "  --start-record N start from record N in that order (\"Start from current record\");\n"
        "                   a record the job does not take starts it from its first record\n";
    return text;
}

std::vector<std::string> TRecordScopeArgs::InputFiles() const
{
    if (mFilterFile.empty())
        return {};
    return {mFilterFile};
}

std::string TRecordScopeArgs::JobQuery(const QString& tagIdentifier, std::string& problem,
                                       int* code) const
{
    *code = 0;
    data::TFilterEntries entries;
    if (!mFilterFile.empty()) {
        const QString path = QString::fromStdString(mFilterFile);
        if (const QString bad = data::TFilterFiles::RestoreError(path); !bad.isEmpty()) {
            problem = "--filter-file " + mFilterFile + ": " + bad.toStdString();
            *code = 2;
            return {};
        }
        QString error;
        if (!data::TFilterFiles::Read(path, entries, error)) {
            problem = mFilterFile + ": " + error.toStdString();
            *code = 3;
            return {};
        }
    }
    entries.taggedOnly = mTagged;
    const data::TFilterBuilder::TResult built = data::TFilterBuilder::Build(entries, tagIdentifier);
    if (!built.error.isEmpty()) {
        problem = (mFilterFile.empty() ? std::string("--tagged") : "--filter-file " + mFilterFile) +
                  ": " + built.error.toStdString();
        *code = 2;
        return {};
    }
    QChar badChar;
    const std::optional<QByteArray> filter = data::TWin1252::Encode(built.expression, &badChar);
    if (!filter) {
        problem = mFilterFile + ": the filter holds a character the address file cannot store";
        *code = 2;
        return {};
    }

    std::string condition = filter->toStdString();
    if (!mQuery.empty()) {
        std::string query;
        char32_t bad = 0;
        if (!TTextEncoding::Utf8ToWin1252(mQuery, query, &bad)) {
            problem = "--query holds the character " + TTextEncoding::CodePointName(bad) +
                      ", which the address file cannot store";
            *code = 2;
            return {};
        }
        condition = condition.empty() ? query : "(" + query + ").and.(" + condition + ")";
    }
    return condition.empty() ? std::string("!ISDEL") : "(" + condition + ").and. !ISDEL";
}

int TRecordScopeArgs::Apply(xbase::TCursor& cursor, const std::string& defaultOrder,
                            const QString& tagIdentifier, const std::string& prefix,
                            std::ostream& err) const
{
    const uint64_t count = cursor.Table().RecordCount();
    if (mRecord > 0) {
        if (mRecord > count) {
            err << prefix << "there is no record " << mRecord << " (the file has " << count
                << ")\n";
            return 1;
        }
        try {
            cursor.Go(mRecord);
        } catch (const xbase::TXbaseError& e) {
            err << prefix << "record " << mRecord << ": " << e.what() << "\n";
            return 3;
        }
        return 0;
    }

    const std::string order = mOrder.empty() ? defaultOrder : mOrder;
    if (!order.empty()) {
        try {
            cursor.SelectTag(order);
        } catch (const xbase::TXbaseError& e) {
            err << prefix << "--order " << order << ": " << e.what() << "\n";
            return 2;
        }
    }

    std::string problem;
    int code = 0;
    const std::string query = JobQuery(tagIdentifier, problem, &code);
    if (code != 0) {
        err << prefix << problem << "\n";
        return code;
    }
    try {
        cursor.SetQuery(query);
    } catch (const xbase::TXbaseError& e) {
        if (!mQuery.empty())
            err << prefix << "--query \"" << mQuery << "\": " << e.what() << "\n";
        else if (!mFilterFile.empty())
            err << prefix << "--filter-file " << mFilterFile << ": " << e.what() << "\n";
        else
            err << prefix << e.what() << "\n";
        return 2;
    }
    try {
        bool startThere = false;
        if (mStartRecord > 0 && mStartRecord <= count) {
            // Is the record one of the job's? Asked of the engine with the job's own query.
            cursor.SetQuery(query + ".and. RECNO()=" + std::to_string(mStartRecord));
            cursor.GoTop();
            startThere = !cursor.Eof();
            cursor.SetQuery(query);
        }
        if (startThere) {
            cursor.Go(mStartRecord);
        } else {
            if (mStartRecord > 0)
                err << "Current record is out of range. Starting with first record\n";
            cursor.GoTop();
        }
    } catch (const xbase::TXbaseError& e) {
        err << prefix << e.what() << "\n";
        return 3;
    }
    return 0;
}

} // namespace qm::tools
