#pragma once

// The area distribution centres of the bulk-mail presort: each row a name (printed on its group
// marker) and the 3-digit ZIP prefixes it serves, in the order the groups are printed. The
// shipped table is compiled into the program from resources/presort/adc-table.txt.

#include <QString>
#include <QStringList>
#include <vector>

namespace qm::labels {

struct TAdcRow {
    QString name;
    QStringList prefixes; // as listed; only membership counts
};

class TAdcTable {
public:
    // Rows from the data file's text: "name<TAB>prefix prefix ...", '#' lines and blank lines
    // ignored. A line without a tab is skipped.
    static TAdcTable Parse(const QString& text);
    // The table compiled into the program.
    static const TAdcTable& Shipped();

    const std::vector<TAdcRow>& Rows() const { return mRows; }

private:
    std::vector<TAdcRow> mRows;
};

} // namespace qm::labels
