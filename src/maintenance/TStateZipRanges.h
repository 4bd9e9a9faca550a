#pragma once

// The state/ZIP range table (CSZ) read once into memory for the state/ZIP check. A state may have
// several rows (New York: 10000-14999, 00500-00599 and 06390); a ZIP is valid when it lies in any
// row of its state.
//
// The rules, on Windows-1252 bytes with trailing blanks ignored:
// - the record's state must equal a row's abbreviation (as the table's STATE tag upper-cases it)
//   as a whole: "N" is no state and "ny" is not NY;
// - a ZIP lies in a row when LOW_ZIP <= ZIP and ZIP, cut to the length of HIGH_ZIP, <= HIGH_ZIP,
//   compared byte by byte with a shorter text before its longer continuation. So the ZIP+4
//   "36999-1234" lies in 35000..36999 as well as in 35000..36999-9999.

#include <QString>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qm::data {
class TDataSet;
}

namespace qm::maintenance {

class TStateZipRanges {
public:
    // Reads every row of the CSZ table in sysdataDir. Returns an empty text on success, else the
    // message to show (the table's open-or-create message); the ranges are then empty.
    QString Load(const QString& sysdataDir);
    // Reads a range table given by its path (any name). Returns an empty text on success, else
    // "Unable to open " + path.
    QString LoadFile(const QString& path);

    // One row (for tests and the editor's checks).
    void Add(std::string_view state, std::string_view lowZip, std::string_view highZip);
    int RowCount() const { return mRows; }

    bool KnowsState(std::string_view state) const;
    // Whether the state is known and the ZIP lies in one of its rows.
    bool Valid(std::string_view state, std::string_view zip) const;

    static bool InRange(std::string_view zip, std::string_view lowZip, std::string_view highZip);

private:
    bool ReadRows(data::TDataSet& table);

    struct TRange {
        std::string low;
        std::string high;
    };
    std::unordered_map<std::string, std::vector<TRange>> mStates;
    int mRows = 0;
};

} // namespace qm::maintenance
