#pragma once

// The field matching of an import: one row per target field of the address file (shown by the
// display label the main window uses), each fed by at most one source field, and each source
// field feeding at most one row. Rows and sources have a kind: a character row takes any source
// that is not a memo (numbers, logicals and dates as their text), the memo row only memo sources,
// the date row only date sources. Sources of other kinds (binary fields of other software) are
// never offered.

#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace qm::xbase {
class TTable;
}

namespace qm::transfer {

enum class TMatchKind { Character, Memo, Date, Other };

struct TMatchTarget {
    QString label; // the display label shown in the grid
    QString field; // the address file's field name
    TMatchKind kind = TMatchKind::Character;
    int width = 0; // characters (character rows)
};

struct TMatchSource {
    QString name; // "Field 3" for text files, the field name for tables
    TMatchKind kind = TMatchKind::Character;
    QString column; // a text file's column name from its first line; empty when it has none

    // How the windows show it: "Field 3 (Given Name)" when the column has a name.
    QString Shown() const
    {
        return column.isEmpty() ? name : name + QStringLiteral(" (") + column + QLatin1Char(')');
    }
};

class TFieldMatch {
public:
    // How the main window labels a field: its display label and whether it is shown.
    struct TLabel {
        QString label;
        bool visible = true;
    };
    using TLabelOf = std::function<TLabel(const QString& field)>;

    TFieldMatch() = default;
    TFieldMatch(std::vector<TMatchTarget> targets, std::vector<TMatchSource> sources);

    // The targets of the text import: the address file's visible character fields in table order
    // (not the record date, the tag, the deleted flag or the memo). With withMemoAndDate (the DBF
    // import) a "Memo" row and a "Date" row (the record date, stored as YYYYMMDD) follow.
    static std::vector<TMatchTarget> AddressTargets(const xbase::TTable& table,
                                                    const TLabelOf& labelOf, bool withMemoAndDate);
    // The standard labels of the address file's field objects.
    static std::vector<TMatchTarget> StandardTargets(const xbase::TTable& table,
                                                     bool withMemoAndDate);
    // The sources of a table: its fields by name and kind.
    static std::vector<TMatchSource> TableSources(const xbase::TTable& table);
    // The sources of a text file: "Field 1" to "Field n".
    static std::vector<TMatchSource> TextSources(int count);

    const std::vector<TMatchTarget>& Targets() const { return mTargets; }
    const std::vector<TMatchSource>& Sources() const { return mSources; }
    // Names the text file's columns from its first line (an empty list takes the names away).
    void SetColumnNames(const QStringList& names);

    int SourceOf(int row) const { return mRowSource.at(size_t(row)); } // -1: none
    int RowOf(int source) const;                                       // -1: unmatched
    // Whether a row may take a source (kinds agree).
    bool Accepts(int row, int source) const;
    // The sources the row's pop-up offers, in source order.
    std::vector<int> Offered(int row) const;
    // Feeds the row from the source after taking the source from any other row; a source the row
    // does not accept changes nothing (returns false).
    bool Assign(int row, int source);
    void ClearRow(int row);
    void ClearAll();
    bool AnyMatched() const;

    // The presets of the DBF import: each character, numeric, logical or date source takes the
    // first row (in order) whose label or field name equals its name in any letter case, that
    // accepts it and that no source took before; a memo source takes the memo row when free.
    void Preset();

    // Matches by the tool's --map text: "1=Last Name,4=ZIP" (text files: source positions) or
    // "CITY=City,NOTES=Codes" (tables: source names), or a text file's column names when its
    // first line holds them ("Given Name=First Name"); targets by label or field name, any case.
    // Returns an empty text, or what is wrong.
    QString ApplyMap(const QString& map);

private:
    std::vector<TMatchTarget> mTargets;
    std::vector<TMatchSource> mSources;
    std::vector<int> mRowSource;
};

} // namespace qm::transfer
