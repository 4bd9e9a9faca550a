#pragma once

// The replacement texts of a letter's merge markers, composed from one address record. A marker
// is "[" + name + "]" with a name of the table below, letter case included. The texts are kept in
// the table's order; "Name and Address" lines end with CR LF, which the merge turns into
// paragraph breaks.

#include <QDate>
#include <QLocale>
#include <QString>
#include <functional>
#include <vector>

namespace qm::letters {

struct TMergeText {
    QString name; // "Full Name"
    QString text;
};

class TMergeTexts {
public:
    // A record field's value by field name ("LNAME"), trailing blanks allowed.
    using TValue = std::function<QString(const QString& field)>;

    static constexpr int kCount = 22;

    // The 22 texts for the record. today gives "Today's Date" (mm/dd/yyyy) and "Long Date"
    // ("mmm d, yyyy" with the locale's abbreviated month name).
    static TMergeTexts FromRecord(const TValue& value, const QDate& today,
                                  const QLocale& locale = QLocale());

    const std::vector<TMergeText>& Texts() const { return mTexts; }
    // The text of a marker name; empty for a name that is not in the table.
    QString Text(const QString& name) const;

    // The marker names in the table's (merge) order.
    static const std::vector<QString>& MarkerNames();
    // The designer's "Insert field" list order.
    static const std::vector<QString>& InsertFieldNames();

    // "Mr. John Q. Smith " from prefix, first, middle and last: each non-empty part followed by
    // one blank, the middle name with a period.
    static QString NameLine(const TValue& value);
    // The address block: name line, title/organisation, street, street 2, city line, country;
    // every emitted line ends with CR LF.
    static QString NameAndAddress(const TValue& value);

private:
    std::vector<TMergeText> mTexts;
};

} // namespace qm::letters
