#pragma once

// Matching the columns of a text file whose first line names them. Known names are the address
// file's own field names and display labels, and the column names of the address exports of
// common programs, kept in the shipped table resources/transfer/column-names.csv (one row per
// name: the name, the address-file field it fills and, optionally, a column whose presence the
// row needs). Names compare ignoring letter case and runs of blanks.
//
// The first line holds column names when every value is text that is not a number (empty values
// allowed) and at least two values are known names. Matching runs in three rounds, each column
// and each row taken at most once:
// 1. table rows with a condition that the header meets, in table order;
// 2. the rows' display labels and field names;
// 3. the other table rows, in table order (an earlier row takes its field first).
// A column that names nothing known stays unmatched.

#include "transfer/TFieldMatch.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace qm::transfer {

class TColumnNames {
public:
    struct TEntry {
        QString name;  // compared form (see Key)
        QString field; // the address file's field name
        QString when;  // compared form of a column the header must have; empty for none
    };

    // The shipped table (compiled into the program).
    static const TColumnNames& Shipped();
    // A table from its CSV text: "column,field[,when]" per line, '#' lines and blank lines
    // skipped. Malformed lines are skipped too and counted in Skipped().
    static TColumnNames Parse(const QByteArray& text);

    const std::vector<TEntry>& Entries() const { return mEntries; }
    int Skipped() const { return mSkipped; }

    // The form names compare in: trimmed, inner blanks as one, case folded.
    static QString Key(const QString& name);

    // Whether the values of a first line name columns, for these match rows.
    bool IsHeader(const QStringList& values, const std::vector<TMatchTarget>& targets) const;
    // Matches the columns (source i is column i) to the rows by name; rows and sources already
    // matched stay as they are. Returns the number of matches made.
    int MatchByName(TFieldMatch& match, const QStringList& columns) const;

private:
    bool Known(const QString& key, const std::vector<TMatchTarget>& targets) const;

    std::vector<TEntry> mEntries;
    int mSkipped = 0;
};

} // namespace qm::transfer
