#include "data/TFilterBuilder.h"

#include "data/TWin1252.h"

namespace qm::data {
namespace {

struct TEntrySpec {
    const char* control;
    const char* field;
};
constexpr std::array<TEntrySpec, TFilterEntries::kCount> kEntries = {{
    {"qLName", "LNAME"},
    {"qFName", "FNAME"},
    {"qTitle", "TITLE"},
    {"qOrg", "ORG"},
    {"qStreet", "STREET"},
    {"qstreet2", "STREET2"},
    {"qZip", "ZIP"},
    {"qCity", "CITY+STATE"},
    {"qState", "STATE"},
    {"qCountry", "COUNTRY"},
    {"qPhone", "PHONE"},
    {"qphone2", "PHONE2"},
    {"qFax", "FAX"},
    {"qEmail", "EMAIL"},
    {"qDate", "DATE"},
    {"qCodes", "CODES"},
    {"quser1", "USER1"},
    {"quser2", "USER2"},
}};

// Entries 1-14, 17, 18, 15, 16: the comments come before the date and the codes.
constexpr std::array<int, TFilterEntries::kCount> kBuildOrder = {0, 1,  2,  3,  4,  5,  6,  7,  8,
                                                                 9, 10, 11, 12, 13, 16, 17, 14, 15};

constexpr int kMaxValueLength = 99;

const QString kRefused = QStringLiteral(
    "A filter entry may not hold a double quote, a single quote and a closing bracket ] all "
    "at once. Please change the entry.");

std::optional<QString> Literal(const QString& value)
{
    if (!value.contains(QLatin1Char('"')))
        return QLatin1Char('"') + value + QLatin1Char('"');
    if (!value.contains(QLatin1Char('\'')))
        return QLatin1Char('\'') + value + QLatin1Char('\'');
    if (!value.contains(QLatin1Char(']')))
        return QLatin1Char('[') + value + QLatin1Char(']');
    return std::nullopt;
}

} // namespace

bool TFilterEntries::IsEmpty() const
{
    if (taggedOnly)
        return false;
    for (const QString& e : entries)
        if (!e.trimmed().isEmpty())
            return false;
    return true;
}

void TFilterEntries::Clear()
{
    for (QString& e : entries)
        e.clear();
    taggedOnly = false;
}

const char* TFilterBuilder::FieldExpression(int i)
{
    return kEntries[size_t(i)].field;
}

const char* TFilterBuilder::ControlName(int i)
{
    return kEntries[size_t(i)].control;
}

TFilterBuilder::TResult TFilterBuilder::Term(const QString& field, const QString& text)
{
    for (const auto& [separator, joiner] :
         {std::pair{QLatin1Char(';'), QLatin1String(".or.")},
          std::pair{QLatin1Char('+'), QLatin1String(".and.")},
          std::pair{QLatin1Char('^'), QLatin1String(".and..not.")}}) {
        if (!text.contains(separator))
            continue;
        QString term;
        int pieces = 0;
        for (const QString& piece : text.split(separator)) {
            const TResult inner = Term(field, piece);
            if (!inner.error.isEmpty())
                return inner;
            if (inner.expression.isEmpty())
                continue;
            if (pieces++ > 0)
                term += joiner;
            term += QLatin1Char('(') + inner.expression + QLatin1Char(')');
        }
        if (pieces == 0)
            return {};
        return {QLatin1Char('(') + term + QLatin1Char(')'), {}};
    }

    if (text.trimmed().isEmpty())
        return {};
    QString op = QStringLiteral("=");
    QString value = text;
    for (const char* candidate : {">=", ">", "<=", "<", "$"}) {
        if (text.startsWith(QLatin1String(candidate))) {
            op = QString::fromLatin1(candidate);
            value = text.mid(op.size());
            break;
        }
    }
    value = data::TWin1252::Upper(value.left(kMaxValueLength));
    const auto literal = Literal(value);
    if (!literal)
        return {{}, kRefused};
    if (op == QLatin1String("$"))
        return {*literal + QStringLiteral("$UPPER(") + field + QLatin1Char(')'), {}};
    return {QStringLiteral("UPPER(") + field + QLatin1Char(')') + op + *literal, {}};
}

TFilterBuilder::TResult TFilterBuilder::Build(const TFilterEntries& filter,
                                              const QString& tagIdentifier)
{
    QString expression;
    for (int i : kBuildOrder) {
        const QString& text = filter.entries[size_t(i)];
        if (text.trimmed().isEmpty())
            continue;
        const TResult term = Term(QString::fromLatin1(kEntries[size_t(i)].field), text);
        if (!term.error.isEmpty())
            return term;
        if (term.expression.isEmpty())
            continue;
        if (!expression.isEmpty())
            expression += QStringLiteral(" and ");
        expression += term.expression;
    }
    if (filter.taggedOnly) {
        if (!expression.isEmpty())
            expression += QStringLiteral(" and ");
        expression += QStringLiteral("(UPPER(TAG)=\"") + tagIdentifier + QStringLiteral("\")");
    }
    return {expression, {}};
}

QString TFilterBuilder::FileText(const TFilterEntries& filter)
{
    QString text;
    for (const QString& e : filter.entries)
        text += e + QStringLiteral("\r\n");
    return text;
}

TFilterEntries TFilterBuilder::FromFileText(const QString& text)
{
    QString normal = text;
    normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QStringList lines = normal.split(QLatin1Char('\n'));
    TFilterEntries filter;
    for (int i = 0; i < TFilterEntries::kCount && i < lines.size(); ++i)
        filter.entries[size_t(i)] = lines[i];
    return filter;
}

} // namespace qm::data
