#pragma once

// The record options every "quillmark-tool print ..." verb (and "presort") shares: which records
// a job takes and in which order, as the "What to Print" panels of the print windows choose them.
//
//   --all              every record not marked deleted (the default)
//   --query EXPR       the records an xBase expression selects (".and. !ISDEL" is appended)
//   --filter-file F    the records a saved filter (.FLT) selects, built as the filter window does
//   --tagged           only tagged records (the settings file's tag identifier); goes with --all,
//                      --query and --filter-file
//   --record N         record N only ("Only current record")
//   --order TAG        the sort order's tag (the verb gives the default)
//   --start-record N   start from record N in that order ("Start from current record")
//
// A verb hands each argument to Take() first and parses the rest itself; then Check() and, once
// the address file is open, Apply().

#include <QString>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace qm::xbase {
class TCursor;
}

namespace qm::tools {

class TRecordScopeArgs {
public:
    enum class TTake {
        NotMine, // not a record option: the verb parses it
        Taken,   // taken (with its value); i is on the last argument used
        Error    // a record option with a bad or missing value: problem says why
    };
    // Looks at args[i]; takes it when it is a record option.
    TTake Take(const std::vector<std::string>& args, size_t& i, std::string& problem);
    // The checks across the options, once every argument was seen; empty when they go together.
    std::string Check() const;
    // The help lines of the options, for a verb's usage text; defaultOrder names the verb's
    // default sort tag.
    static std::string Usage(const std::string& defaultOrder);

    bool SingleRecord() const { return mRecord > 0; }
    uint32_t Record() const { return mRecord; }
    uint32_t StartRecord() const { return mStartRecord; }
    bool Tagged() const { return mTagged; }
    const std::string& Query() const { return mQuery; }
    const std::string& FilterFile() const { return mFilterFile; }
    // The --order tag as given; empty when the verb's default applies.
    const std::string& Order() const { return mOrder; }
    // The files the options make the job read (for the check that no output overwrites one).
    std::vector<std::string> InputFiles() const;

    // The query the job runs under, in the engine's encoding (Windows-1252): the --query text or
    // the filter file's expression, the tagged condition, and "!ISDEL". Empty with problem set
    // when the options cannot be turned into one (exit code in *code: 2 bad usage, 3 unreadable
    // filter file).
    std::string JobQuery(const QString& tagIdentifier, std::string& problem, int* code) const;

    // Puts the cursor of the opened address file (a data set's Cursor()) on the job: with --record
    // on that record (which must exist); otherwise the order (Order(), else defaultOrder; none when
    // both are empty), the job query and the first record, or the --start-record record when the
    // job takes it (else "Current record is out of range. Starting with first record" goes to err).
    // Returns 0, or the exit code after writing the message, prefixed, to err: 1 for a record past
    // the file, 2 for a bad order, query or filter, 3 for a filter file that cannot be read or a
    // read error.
    int Apply(xbase::TCursor& cursor, const std::string& defaultOrder, const QString& tagIdentifier,
              const std::string& prefix, std::ostream& err) const;

private:
    std::string mQuery, mFilterFile, mOrder;
    uint32_t mRecord = 0;
    uint32_t mStartRecord = 0;
    bool mTagged = false;
    int mScopes = 0; // how many of --all, --query, --filter-file and --record were given
};

} // namespace qm::tools
