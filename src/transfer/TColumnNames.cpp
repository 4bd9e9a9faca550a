#include "transfer/TColumnNames.h"

#include <QFile>
#include <QSet>
#include <algorithm>

namespace qm::transfer {

namespace {

// Numbers, and values made like them: telephone numbers, postal codes, dates.
bool LooksNumeric(const QString& value)
{
    bool digit = false;
    for (const QChar c : value) {
        if (c.isDigit())
            digit = true;
        else if (!c.isSpace() && !QStringLiteral("+-.,()/:").contains(c))
            return false;
    }
    return digit;
}

int RowOfField(const TFieldMatch& match, const QString& field)
{
    const auto& targets = match.Targets();
    for (size_t row = 0; row < targets.size(); ++row)
        if (targets[row].field.compare(field, Qt::CaseInsensitive) == 0)
            return int(row);
    return -1;
}

} // namespace

QString TColumnNames::Key(const QString& name)
{
    return name.simplified().toCaseFolded();
}

const TColumnNames& TColumnNames::Shipped()
{
    static const TColumnNames names = [] {
        QFile file(QStringLiteral(":/transfer/column-names.csv"));
        if (!file.open(QIODevice::ReadOnly))
            return TColumnNames();
        return Parse(file.readAll());
    }();
    return names;
}

TColumnNames TColumnNames::Parse(const QByteArray& text)
{
    TColumnNames names;
    const QStringList lines = QString::fromUtf8(text).split(QLatin1Char('\n'));
    bool first = true;
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList parts = line.split(QLatin1Char(','));
        if (first && parts.value(0).trimmed() == QLatin1String("column")) {
            first = false;
            continue;
        }
        first = false;
        if (parts.size() < 2 || parts.size() > 3 || Key(parts[0]).isEmpty() ||
            parts[1].trimmed().isEmpty()) {
            ++names.mSkipped;
            continue;
        }
        names.mEntries.push_back({Key(parts[0]), parts[1].trimmed().toUpper(),
                                  parts.size() == 3 ? Key(parts[2]) : QString()});
    }
    return names;
}

bool TColumnNames::Known(const QString& key, const std::vector<TMatchTarget>& targets) const
{
    for (const TMatchTarget& target : targets)
        if (Key(target.label) == key || Key(target.field) == key)
            return true;
    for (const TEntry& entry : mEntries)
        if (entry.name == key)
            return true;
    return false;
}

bool TColumnNames::IsHeader(const QStringList& values,
                            const std::vector<TMatchTarget>& targets) const
{
    int known = 0;
    for (const QString& value : values) {
        if (LooksNumeric(value))
            return false;
        if (!value.trimmed().isEmpty() && Known(Key(value), targets))
            ++known;
    }
    return known >= 2;
}

int TColumnNames::MatchByName(TFieldMatch& match, const QStringList& columns) const
{
    QStringList keys;
    QSet<QString> present;
    for (const QString& column : columns) {
        keys << Key(column);
        present.insert(keys.back());
    }
    const int sources = std::min(int(keys.size()), int(match.Sources().size()));
    int made = 0;
    const auto take = [&](int row, int source) {
        if (row < 0 || source < 0 || match.SourceOf(row) >= 0 || match.RowOf(source) >= 0)
            return;
        if (match.Assign(row, source))
            ++made;
    };
    const auto columnOf = [&](const QString& key) {
        for (int source = 0; source < sources; ++source)
            if (keys[source] == key && match.RowOf(source) < 0)
                return source;
        return -1;
    };
    for (const TEntry& entry : mEntries)
        if (!entry.when.isEmpty() && present.contains(entry.when))
            take(RowOfField(match, entry.field), columnOf(entry.name));
    const auto& targets = match.Targets();
    for (int source = 0; source < sources; ++source) {
        if (keys[source].isEmpty())
            continue;
        for (size_t row = 0; row < targets.size(); ++row)
            if (Key(targets[row].label) == keys[source] ||
                Key(targets[row].field) == keys[source]) {
                take(int(row), source);
                break;
            }
    }
    for (const TEntry& entry : mEntries)
        if (entry.when.isEmpty())
            take(RowOfField(match, entry.field), columnOf(entry.name));
    return made;
}

} // namespace qm::transfer
