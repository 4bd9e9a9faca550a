#pragma once

// Fast reading of the current record's stored fields for the report loops: the engine's field
// numbers are looked up once per name, and values are read from the table's record buffer
// without trailing blanks (memos whole), as the data set shows them while browsing.

#include <QString>
#include <utility>
#include <vector>

namespace qm::data {
class TDataSet;
}

namespace qm::reports {

class TRecordValues {
public:
    explicit TRecordValues(data::TDataSet& dataSet) : mDataSet(dataSet) {}

    // field: an address file field name; an unknown field reads as empty.
    QString Value(const char* field);

private:
    int Index(const char* field);

    data::TDataSet& mDataSet;
    std::vector<std::pair<const char*, int>> mIndexes;
};

} // namespace qm::reports
