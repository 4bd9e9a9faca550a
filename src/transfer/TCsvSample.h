#pragma once

// The sample of a comma-separated file read when the user chooses it: its first records (at most
// kMaxRecords), split as the import splits them. It tells how many source fields the file has
// (the largest field count of the sample records that stand on one line each, so that every field
// the grid shows can be matched and imported; of all sample records when every one spans lines),
// the longest value of each field, and the values for the sample grid.
// The file can be imported only when the sample holds at least two records.

#include "transfer/TByteSource.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace qm::transfer {

class TCsvSample {
public:
    static constexpr int kMaxRecords = 10;

    // Samples a file; a file that cannot be read or split gives Error() and no records.
    static TCsvSample FromFile(const QString& path);
    // Samples bytes already in an ASCII-compatible encoding (utf8: UTF-8, else Windows-1252).
    static TCsvSample FromSource(TByteSource& source, bool utf8);

    bool Usable() const { return mError.isEmpty() && mRows.size() >= 2; }
    // Why the file cannot be sampled (unreadable text, a quote never closed); empty otherwise.
    const QString& Error() const { return mError; }

    int FieldCount() const { return mFieldCount; }
    static QString FieldName(int index)
    {
        return QStringLiteral("Field ") + QString::number(index + 1);
    }
    int Longest(int index) const { return mLongest.at(size_t(index)); }
    // The sample records, each padded with empty values up to FieldCount() (a record that spans
    // lines may hold more).
    const std::vector<QStringList>& Rows() const { return mRows; }

private:
    QString mError;
    int mFieldCount = 0;
    std::vector<int> mLongest;
    std::vector<QStringList> mRows;
};

} // namespace qm::transfer
