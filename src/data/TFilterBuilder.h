#pragma once

// Turns the 18 filter entries and the tagged-only flag into one xBase expression.
//
// An entry is a small pattern language: ";" separates alternatives (or), "+" conditions that must
// all hold (and), "^" conditions that must not (and not), binding in that order; each piece may
// start with ">=", ">", "<=", "<" (comparisons) or "$" (contained in); otherwise it is a prefix
// match ("BR" finds every value starting with BR). Pieces that are empty (a separator first, last
// or twice in a row) are left out; an entry of separators only is no condition.
//
// Literals are written with a delimiter the value does not contain ("...", else '...', else
// [...]), so no typed text can end a literal early and add a term to the query; a value holding
// all three is refused.

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace qm::data {

struct TFilterEntries {
    static constexpr int kCount = 18;
    std::array<QString, kCount> entries; // in filter-file order (see FieldExpression)
    bool taggedOnly = false;

    bool IsEmpty() const;
    void Clear();
    friend bool operator==(const TFilterEntries&, const TFilterEntries&) = default;
};

class TFilterBuilder {
public:
    // The field expression of entry i (filter-file order).
    static const char* FieldExpression(int i);
    // The control name of entry i ("qLName", ...).
    static const char* ControlName(int i);

    struct TResult {
        QString expression; // empty: no filter
        QString error;      // non-empty: the entries cannot be turned into a filter
    };
    static TResult Build(const TFilterEntries& filter, const QString& tagIdentifier);
    // One entry's term for field expression field; empty when the entry holds no condition.
    static TResult Term(const QString& field, const QString& text);

    // Filter files: 18 lines as typed. Fewer lines leave the missing entries empty; extra lines
    // are ignored.
    static QString FileText(const TFilterEntries& filter);
    static TFilterEntries FromFileText(const QString& text);
};

} // namespace qm::data
