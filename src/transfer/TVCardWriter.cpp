#include "transfer/TVCardWriter.h"

#include "data/TWin1252.h"
#include "xbase/TTable.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace qm::transfer {

namespace {

QString Field(const xbase::TTable& table, const char* name)
{
    const int field = table.FieldIndex(name);
    if (field < 0)
        return {};
    const std::string_view text = table.GetTrimmed(field);
    return data::TWin1252::Decode(text.data(), qsizetype(text.size()));
}

QString Escaped(QString text, bool commas = true)
{
    text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    text.replace(QLatin1Char(';'), QStringLiteral("\\;"));
    if (commas)
        text.replace(QLatin1Char(','), QStringLiteral("\\,"));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\\n"));
    text.replace(QLatin1Char('\r'), QStringLiteral("\\n"));
    text.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    return text;
}

// One content line, folded: at most 75 bytes a line, never inside a UTF-8 sequence.
void Line(std::string& out, const QString& line)
{
    const QByteArray bytes = line.toUtf8();
    qsizetype start = 0;
    qsizetype room = 75;
    while (bytes.size() - start > room) {
        qsizetype end = start + room;
        while (end > start && (static_cast<unsigned char>(bytes[end]) & 0xC0) == 0x80)
            --end;
        out.append(bytes.constData() + start, size_t(end - start));
        out.append("\r\n ");
        start = end;
        room = 74; // the blank that starts a continued line counts
    }
    out.append(bytes.constData() + start, size_t(bytes.size() - start));
    out.append("\r\n");
}

void Optional(std::string& out, const QString& head, const QString& value)
{
    if (!value.isEmpty())
        Line(out, head + QLatin1Char(':') + value);
}

} // namespace

void TVCardWriter::Card(const xbase::TTable& table, TVCardVersion version, std::string& out)
{
    const bool v4 = version == TVCardVersion::V40;
    const QString last = Field(table, "LNAME");
    const QString first = Field(table, "FNAME");
    const QString middle = Field(table, "MIDDLE");
    const QString prefix = Field(table, "PREFIX");
    const QString org = Field(table, "ORG");
    out.append("BEGIN:VCARD\r\n");
    out.append(v4 ? "VERSION:4.0\r\n" : "VERSION:3.0\r\n");
    Line(out, QStringLiteral("N:") + Escaped(last) + QLatin1Char(';') + Escaped(first) +
                  QLatin1Char(';') + Escaped(middle) + QLatin1Char(';') + Escaped(prefix) +
                  QLatin1Char(';'));
    QStringList full;
    for (const QString& part : {prefix, first, middle, last})
        if (!part.isEmpty())
            full << part;
    Line(out, QStringLiteral("FN:") + Escaped(full.isEmpty() ? org : full.join(QLatin1Char(' '))));
    Optional(out, QStringLiteral("ORG"), Escaped(org));
    Optional(out, QStringLiteral("TITLE"), Escaped(Field(table, "TITLE")));

    const QString street = Field(table, "STREET");
    const QString street2 = Field(table, "STREET2");
    const QStringList address = {Field(table, "CITY"), Field(table, "STATE"), Field(table, "ZIP"),
                                 Field(table, "COUNTRY")};
    if (!street.isEmpty() || !street2.isEmpty() || !address.join(QString()).isEmpty()) {
        QString adr = QStringLiteral("ADR:;;") + Escaped(street);
        if (!street2.isEmpty())
            adr += QStringLiteral("\\n") + Escaped(street2);
        for (const QString& part : address)
            adr += QLatin1Char(';') + Escaped(part);
        Line(out, adr);
    }
    Optional(out,
             v4 ? QStringLiteral("TEL;TYPE=home,voice;PREF=1")
                : QStringLiteral("TEL;TYPE=home,voice,pref"),
             Escaped(Field(table, "PHONE")));
    Optional(out, QStringLiteral("TEL;TYPE=work,voice"), Escaped(Field(table, "PHONE2")));
    Optional(out, QStringLiteral("TEL;TYPE=fax"), Escaped(Field(table, "FAX")));
    Optional(out, v4 ? QStringLiteral("EMAIL") : QStringLiteral("EMAIL;TYPE=internet"),
             Escaped(Field(table, "EMAIL")));
    const QString codes = Field(table, "CODES");
    if (!codes.isEmpty()) {
        QStringList items = codes.split(QLatin1Char(','));
        for (QString& item : items)
            item = Escaped(item);
        Line(out, QStringLiteral("CATEGORIES:") + items.join(QLatin1Char(',')));
    }
    if (const int memo = table.FieldIndex("MEMO"); memo >= 0) {
        const std::string text = table.GetMemo(memo);
        Optional(out, QStringLiteral("NOTE"),
                 Escaped(data::TWin1252::Decode(text.data(), qsizetype(text.size()))));
    }
    Optional(out, QStringLiteral("X-QUILLMARK-DATE"), Escaped(Field(table, "DATE")));
    Optional(out, QStringLiteral("X-QUILLMARK-COMMENT1"), Escaped(Field(table, "USER1")));
    Optional(out, QStringLiteral("X-QUILLMARK-COMMENT2"), Escaped(Field(table, "USER2")));
    out.append("END:VCARD\r\n");
}

} // namespace qm::transfer
