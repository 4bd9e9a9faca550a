#include "transfer/TFieldMatch.h"

#include "data/TAddressFileLayout.h"
#include "xbase/TTable.h"

namespace qm::transfer {

namespace {

bool SameText(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

TMatchKind KindOf(xbase::TFieldType type)
{
    using T = xbase::TFieldType;
    switch (type) {
    case T::Character:
    case T::Numeric:
    case T::Float:
    case T::Logical:
    case T::Integer:
    case T::Currency:
    case T::Double:
    case T::DateTime:
    case T::VarChar:
        return TMatchKind::Character;
    case T::Date:
        return TMatchKind::Date;
    case T::Memo:
        return TMatchKind::Memo;
    default:
        return TMatchKind::Other;
    }
}

} // namespace

TFieldMatch::TFieldMatch(std::vector<TMatchTarget> targets, std::vector<TMatchSource> sources)
    : mTargets(std::move(targets)), mSources(std::move(sources)), mRowSource(mTargets.size(), -1)
{
}

std::vector<TMatchTarget> TFieldMatch::AddressTargets(const xbase::TTable& table,
                                                      const TLabelOf& labelOf, bool withMemoAndDate)
{
    std::vector<TMatchTarget> targets;
    for (const xbase::TFieldInfo& field : table.Fields()) {
        const QString name = QString::fromStdString(field.name);
        if (field.type != xbase::TFieldType::Character || name == QLatin1String("DATE") ||
            name == QLatin1String("TAG"))
            continue;
        const TLabel label = labelOf(name);
        if (!label.visible)
            continue;
        targets.push_back({label.label, name, TMatchKind::Character, int(field.length)});
    }
    if (withMemoAndDate) {
        if (table.FieldIndex("MEMO") >= 0)
            targets.push_back(
                {QStringLiteral("Memo"), QStringLiteral("MEMO"), TMatchKind::Memo, 0});
        if (const int date = table.FieldIndex("DATE"); date >= 0)
            targets.push_back({QStringLiteral("Date"), QStringLiteral("DATE"), TMatchKind::Date,
                               int(table.Fields()[size_t(date)].length)});
    }
    return targets;
}

std::vector<TMatchTarget> TFieldMatch::StandardTargets(const xbase::TTable& table,
                                                       bool withMemoAndDate)
{
    return AddressTargets(
        table,
        [](const QString& name) {
            const data::TFieldObject* object = data::TAddressFileLayout::FindFieldObject(name);
            if (!object)
                return TLabel{name, true};
            return TLabel{QString::fromLatin1(object->displayLabel), object->visibleInGrids};
        },
        withMemoAndDate);
}

std::vector<TMatchSource> TFieldMatch::TableSources(const xbase::TTable& table)
{
    std::vector<TMatchSource> sources;
    for (const xbase::TFieldInfo& field : table.Fields())
        sources.push_back({QString::fromStdString(field.name), KindOf(field.type)});
    return sources;
}

std::vector<TMatchSource> TFieldMatch::TextSources(int count)
{
    std::vector<TMatchSource> sources;
    for (int i = 0; i < count; ++i)
        sources.push_back(
            {QStringLiteral("Field ") + QString::number(i + 1), TMatchKind::Character});
    return sources;
}

void TFieldMatch::SetColumnNames(const QStringList& names)
{
    for (size_t i = 0; i < mSources.size(); ++i)
        mSources[i].column = names.value(qsizetype(i)).simplified();
}

int TFieldMatch::RowOf(int source) const
{
    for (size_t row = 0; row < mRowSource.size(); ++row)
        if (mRowSource[row] == source)
            return int(row);
    return -1;
}

bool TFieldMatch::Accepts(int row, int source) const
{
    if (row < 0 || size_t(row) >= mTargets.size() || source < 0 ||
        size_t(source) >= mSources.size())
        return false;
    const TMatchKind target = mTargets[size_t(row)].kind;
    const TMatchKind from = mSources[size_t(source)].kind;
    switch (target) {
    case TMatchKind::Character:
        return from == TMatchKind::Character || from == TMatchKind::Date;
    case TMatchKind::Memo:
        return from == TMatchKind::Memo;
    case TMatchKind::Date:
        return from == TMatchKind::Date;
    case TMatchKind::Other:
        return false;
    }
    return false;
}

std::vector<int> TFieldMatch::Offered(int row) const
{
    std::vector<int> offered;
    for (size_t source = 0; source < mSources.size(); ++source)
        if (Accepts(row, int(source)))
            offered.push_back(int(source));
    return offered;
}

bool TFieldMatch::Assign(int row, int source)
{
    if (!Accepts(row, source))
        return false;
    for (int& s : mRowSource)
        if (s == source)
            s = -1;
    mRowSource[size_t(row)] = source;
    return true;
}

void TFieldMatch::ClearRow(int row)
{
    mRowSource.at(size_t(row)) = -1;
}

void TFieldMatch::ClearAll()
{
    std::fill(mRowSource.begin(), mRowSource.end(), -1);
}

bool TFieldMatch::AnyMatched() const
{
    return std::any_of(mRowSource.begin(), mRowSource.end(), [](int s) { return s >= 0; });
}

void TFieldMatch::Preset()
{
    ClearAll();
    for (size_t source = 0; source < mSources.size(); ++source) {
        const TMatchSource& s = mSources[source];
        for (size_t row = 0; row < mTargets.size(); ++row) {
            if (mRowSource[row] >= 0 || !Accepts(int(row), int(source)))
                continue;
            const TMatchTarget& t = mTargets[row];
            const bool named = s.kind == TMatchKind::Memo
                                   ? t.kind == TMatchKind::Memo
                                   : SameText(t.label, s.name) || SameText(t.field, s.name);
            if (named) {
                mRowSource[row] = int(source);
                break;
            }
        }
    }
}

QString TFieldMatch::ApplyMap(const QString& map)
{
    ClearAll();
    const QStringList pairs = map.split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (pairs.isEmpty())
        return QStringLiteral("the map names no field");
    for (const QString& pair : pairs) {
        const qsizetype eq = pair.indexOf(QLatin1Char('='));
        if (eq < 0)
            return QStringLiteral("'%1' is not SOURCE=TARGET").arg(pair.trimmed());
        const QString from = pair.left(eq).trimmed();
        const QString to = pair.mid(eq + 1).trimmed();
        int source = -1;
        for (size_t i = 0; i < mSources.size(); ++i)
            if (source < 0 && (SameText(mSources[i].name, from) ||
                               SameText(mSources[i].name, QStringLiteral("Field ") + from) ||
                               (!mSources[i].column.isEmpty() &&
                                SameText(mSources[i].column, from.simplified()))))
                source = int(i);
        if (source < 0)
            return QStringLiteral("the source has no field '%1'").arg(from);
        int row = -1;
        for (size_t i = 0; i < mTargets.size() && row < 0; ++i)
            if (SameText(mTargets[i].label, to) || SameText(mTargets[i].field, to))
                row = int(i);
        if (row < 0)
            return QStringLiteral("the address file has no import target '%1'").arg(to);
        if (RowOf(source) >= 0)
            return QStringLiteral("the source field '%1' is matched twice").arg(from);
        if (SourceOf(row) >= 0)
            return QStringLiteral("the target '%1' is fed twice").arg(to);
        if (!Accepts(row, source))
            return QStringLiteral("'%1' cannot feed '%2' (a memo feeds only Memo, Date takes only "
                                  "a date field)")
                .arg(from, to);
        mRowSource[size_t(row)] = source;
    }
    return {};
}

} // namespace qm::transfer
