#pragma once

// Reading the rows of the program's own tables (letters, reports, envelope and label layouts) as
// their windows list them, and the layout file names their rows hold.

#include <QString>
#include <QStringList>
#include <functional>

namespace qm::data {

class TDataSet;

class TSystemTableRows {
public:
    // Calls row once for each row not marked deleted, with the data set standing on it, in the
    // order of the tag orderTag (the table's first tag when orderTag is empty) unless the cursor
    // has an order already. Nothing happens on a closed data set.
    static void ForEachListed(TDataSet& set, const char* orderTag,
                              const std::function<void()>& row);
    // The value of a character column on every row, marked rows included, trimmed and upper
    // case: the names the rows hold, whether their files exist or not. Empty for a closed data
    // set or a table without the column. The data set's own record is not moved.
    static QStringList HeldValues(const TDataSet& set, const char* column);
    // Character columns come back padded with blanks; leading blanks are the user's own.
    static QString RightTrimmed(QString text);
};

} // namespace qm::data
