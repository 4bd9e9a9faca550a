#pragma once

// The records a letter print takes from the main window's address table ("What to Print"), and
// putting the table back afterwards. Created before printing, it remembers the current record and
// query; Apply sets the choice up and positions the table on the first record to print; the
// destructor restores the query and goes back to the remembered record, also after an error
// (errors while restoring are ignored).

#include <QString>
#include <cstdint>

namespace qm::data {
class TDataSet;
}

namespace qm::letters {

enum class TLetterWhat {
    AllRecords,     // every record not marked deleted, whatever the filter
    MatchingFilter, // the main window's query as it is
    CurrentRecord,  // the current record only
};

class TLetterScope {
public:
    static constexpr const char* kAllRecordsQuery = "!ISDEL";

    explicit TLetterScope(data::TDataSet& dataSet);
    ~TLetterScope();
    TLetterScope(const TLetterScope&) = delete;
    TLetterScope& operator=(const TLetterScope&) = delete;

    // Returns the information message to show ("Current record is out of range. Starting with
    // first record") or an empty text.
    QString Apply(TLetterWhat what, bool startFromCurrent);

    uint32_t RememberedRecord() const { return mRecNo; }

    static QString OutOfRangeMessage();

private:
    // Whether the record is one the current query and deletion setting show.
    bool Shown(uint32_t recNo);

    data::TDataSet& mSet;
    uint32_t mRecNo = 0;
    std::string mQuery;
};

} // namespace qm::letters
