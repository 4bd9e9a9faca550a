#include "transfer/TVCardImportSource.h"

#include "transfer/TImportText.h"
#include "transfer/TStoredMemo.h"
#include "transfer/TTextFileSource.h"
#include "transfer/TTransferError.h"
#include "xbase/TTable.h"

#include <QFile>
#include <QStringDecoder>
#include <algorithm>

namespace qm::transfer {

namespace {

QString Counted(int64_t n, const char* one, const char* many)
{
    return QString::number(n) + QLatin1Char(' ') + QString::fromLatin1(n == 1 ? one : many);
}

// The order in which properties of one kind fill fields: preferred, home, work, the rest; within
// each in file order.
std::vector<const TVCardProperty*> Ranked(std::vector<const TVCardProperty*> properties)
{
    const auto rank = [](const TVCardProperty* p) {
        if (p->pref > 0)
            return p->pref;
        if (p->HasType("home"))
            return 1000;
        if (p->HasType("work"))
            return 1001;
        return 1002;
    };
    std::stable_sort(
        properties.begin(), properties.end(),
        [&](const TVCardProperty* a, const TVCardProperty* b) { return rank(a) < rank(b); });
    return properties;
}

// "(cell, voice)" from the types that say what kind it is; empty when there are none.
QString Types(const TVCardProperty& p)
{
    QStringList shown;
    for (const std::string& type : p.types)
        if (type != "pref" && type != "internet" && type != "x400")
            shown << QString::fromStdString(type);
    return shown.isEmpty()
               ? QString()
               : QStringLiteral(" (") + shown.join(QStringLiteral(", ")) + QLatin1Char(')');
}

QString JoinNonEmpty(const QStringList& parts, const QString& separator)
{
    QStringList kept;
    for (const QString& part : parts)
        if (!part.trimmed().isEmpty())
            kept << part.trimmed();
    return kept.join(separator);
}

QString Number(const TVCardProperty& tel)
{
    QString text = tel.Text().trimmed();
    if (text.startsWith(QLatin1String("tel:"), Qt::CaseInsensitive))
        text = text.mid(4);
    return text;
}

const char* const kNameFields[] = {"LNAME", "FNAME", "MIDDLE", "PREFIX"};

struct TAddress {
    QString street, street2, city, state, zip, country;
};

TAddress AddressOf(const TVCardProperty& adr)
{
    const QStringList c = adr.Components();
    QStringList lines;
    const QString street = c.value(2);
    if (!street.trimmed().isEmpty())
        lines = street.split(QLatin1Char('\n'));
    for (const QString& extra : {c.value(1), c.value(0)})
        if (!extra.trimmed().isEmpty())
            lines << extra;
    TAddress a;
    a.street = lines.value(0).trimmed();
    a.street2 = JoinNonEmpty(lines.mid(1), QStringLiteral(", "));
    a.city = c.value(3).trimmed();
    a.state = c.value(4).trimmed();
    a.zip = c.value(5).trimmed();
    a.country = c.value(6).trimmed();
    return a;
}

QString OneLine(const TAddress& a)
{
    return JoinNonEmpty({a.street, a.street2,
                         JoinNonEmpty({a.city, a.state, a.zip}, QStringLiteral(" ")), a.country},
                        QStringLiteral(", "));
}

bool ToWin1252(const QString& text, std::string& out, char32_t* bad)
{
    out.clear();
    const QList<uint> codes = text.toUcs4();
    for (const uint code : codes) {
        const int byte = TImportText::Win1252Byte(char32_t(code));
        if (byte < 0) {
            *bad = char32_t(code);
            return false;
        }
        out.push_back(char(byte));
    }
    return true;
}

} // namespace

TVCardImportSource::TVCardImportSource(const QString& path, const xbase::TTable& target)
{
    auto file = std::make_unique<TTextFileSource>(path);
    mFile = file.get();
    mUtf8 = file->Utf8Values();
    mBytes = std::move(file);
    MapFields(target);
    Rewind();
}

TVCardImportSource::TVCardImportSource(std::unique_ptr<TByteSource> bytes, bool utf8,
                                       const xbase::TTable& target)
    : mBytes(std::move(bytes)), mUtf8(utf8)
{
    MapFields(target);
    mReader = std::make_unique<TVCardReader>(*mBytes, mUtf8);
}

TVCardImportSource::~TVCardImportSource() = default;

void TVCardImportSource::MapFields(const xbase::TTable& target)
{
    for (const char* name : {"LNAME",   "FNAME", "MIDDLE", "PREFIX", "TITLE",   "ORG",   "STREET",
                             "STREET2", "CITY",  "STATE",  "ZIP",    "COUNTRY", "PHONE", "PHONE2",
                             "FAX",     "EMAIL", "CODES",  "USER1",  "USER2",   "DATE"})
        if (const int field = target.FieldIndex(name); field >= 0)
            mFields.emplace_back(QString::fromLatin1(name), field);
    mMemo = target.FieldIndex("MEMO");
}

bool TVCardImportSource::LooksLikeVCard(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray head = file.read(4096);
    if (head.startsWith("\xEF\xBB\xBF"))
        head.remove(0, 3);
    else if (head.startsWith("\xFF\xFE") || head.startsWith("\xFE\xFF")) {
        QStringDecoder decoder(head.startsWith("\xFF\xFE") ? QStringConverter::Utf16LE
                                                           : QStringConverter::Utf16BE);
        const QString text = decoder.decode(head.mid(2));
        head = text.toUtf8();
    }
    return head.trimmed().toUpper().startsWith("BEGIN:VCARD");
}

QMap<QString, QString> TVCardImportSource::Contact(const TVCard& card)
{
    QMap<QString, QString> fields;
    QStringList notes;
    QStringList extras;
    std::vector<const TVCardProperty*> adrs, phones, faxes, emails;
    QString fn;
    QString org;
    bool haveN = false;
    QStringList categories;
    for (const TVCardProperty& p : card.properties) {
        const std::string& name = p.name;
        if (name == "N" && !haveN) {
            haveN = true;
            const auto part = [&](int i) {
                return JoinNonEmpty(p.ComponentItems(i), QStringLiteral(" "));
            };
            fields[QStringLiteral("LNAME")] = part(0);
            fields[QStringLiteral("FNAME")] = part(1);
            fields[QStringLiteral("MIDDLE")] = part(2);
            fields[QStringLiteral("PREFIX")] = part(3);
            if (const QString suffix = part(4); !suffix.isEmpty())
                extras << QStringLiteral("Name suffix: ") + suffix;
        } else if (name == "FN" && fn.isEmpty()) {
            fn = p.Text().trimmed();
        } else if (name == "ORG" && org.isEmpty()) {
            org = JoinNonEmpty(p.Components(), QStringLiteral(", "));
            fields[QStringLiteral("ORG")] = org;
        } else if (name == "TITLE") {
            if (!fields.contains(QStringLiteral("TITLE")))
                fields[QStringLiteral("TITLE")] = p.Text().trimmed();
            else
                extras << QStringLiteral("Title: ") + p.Text().trimmed();
        } else if (name == "ADR") {
            adrs.push_back(&p);
        } else if (name == "TEL") {
            (p.HasType("fax") ? faxes : phones).push_back(&p);
        } else if (name == "EMAIL") {
            emails.push_back(&p);
        } else if (name == "NOTE") {
            notes << p.Text();
        } else if (name == "BDAY") {
            extras << QStringLiteral("Birthday: ") + p.Text().trimmed();
        } else if (name == "CATEGORIES") {
            for (const QString& item : p.Items())
                if (!item.isEmpty())
                    categories << item;
        } else if (name == "X-QUILLMARK-DATE") {
            fields[QStringLiteral("DATE")] = p.Text().trimmed();
        } else if (name == "X-QUILLMARK-COMMENT1") {
            fields[QStringLiteral("USER1")] = p.Text();
        } else if (name == "X-QUILLMARK-COMMENT2") {
            fields[QStringLiteral("USER2")] = p.Text();
        }
    }
    const bool named =
        std::any_of(std::begin(kNameFields), std::end(kNameFields), [&](const char* field) {
            return !fields.value(QLatin1String(field)).isEmpty();
        });
    if (!named && !fn.isEmpty() && fn != org)
        fields[QStringLiteral("LNAME")] = fn;

    adrs = Ranked(adrs);
    for (size_t i = 0; i < adrs.size(); ++i) {
        const TAddress a = AddressOf(*adrs[i]);
        if (i == 0) {
            fields[QStringLiteral("STREET")] = a.street;
            fields[QStringLiteral("STREET2")] = a.street2;
            fields[QStringLiteral("CITY")] = a.city;
            fields[QStringLiteral("STATE")] = a.state;
            fields[QStringLiteral("ZIP")] = a.zip;
            fields[QStringLiteral("COUNTRY")] = a.country;
        } else if (const QString line = OneLine(a); !line.isEmpty()) {
            extras << QStringLiteral("Address") + Types(*adrs[i]) + QStringLiteral(": ") + line;
        }
    }
    // Home numbers fill Phone 1, work numbers Phone 2, the others whichever is still empty.
    phones = Ranked(phones);
    const TVCardProperty* phone1 = nullptr;
    const TVCardProperty* phone2 = nullptr;
    for (const TVCardProperty* p : phones) {
        if (!phone1 && p->HasType("home") && !p->HasType("work"))
            phone1 = p;
        else if (!phone2 && p->HasType("work") && !p->HasType("home"))
            phone2 = p;
    }
    for (const TVCardProperty* p : phones) {
        if (p == phone1 || p == phone2 || (p->HasType("home") != p->HasType("work")))
            continue;
        if (!phone1)
            phone1 = p;
        else if (!phone2)
            phone2 = p;
    }
    for (const TVCardProperty* p : phones) {
        if (p == phone1)
            fields[QStringLiteral("PHONE")] = Number(*p);
        else if (p == phone2)
            fields[QStringLiteral("PHONE2")] = Number(*p);
        else
            extras << QStringLiteral("Phone") + Types(*p) + QStringLiteral(": ") + Number(*p);
    }
    faxes = Ranked(faxes);
    for (size_t i = 0; i < faxes.size(); ++i) {
        if (i == 0)
            fields[QStringLiteral("FAX")] = Number(*faxes[i]);
        else
            extras << QStringLiteral("Fax") + Types(*faxes[i]) + QStringLiteral(": ") +
                          Number(*faxes[i]);
    }
    emails = Ranked(emails);
    for (size_t i = 0; i < emails.size(); ++i) {
        if (i == 0)
            fields[QStringLiteral("EMAIL")] = emails[i]->Text().trimmed();
        else
            extras << QStringLiteral("Email") + Types(*emails[i]) + QStringLiteral(": ") +
                          emails[i]->Text().trimmed();
    }
    if (!categories.isEmpty())
        fields[QStringLiteral("CODES")] = categories.join(QLatin1Char(','));

    QString memo = notes.join(QLatin1Char('\n'));
    if (!extras.isEmpty())
        memo +=
            (memo.isEmpty() ? QString() : QStringLiteral("\n")) + extras.join(QLatin1Char('\n'));
    if (!memo.isEmpty())
        fields[QStringLiteral("MEMO")] = memo;
    return fields;
}

void TVCardImportSource::CheckCharacters(const TVCard& card)
{
    std::string scratch;
    char32_t bad = 0;
    for (const TVCardProperty& p : card.properties)
        if (!ToWin1252(p.Text(), scratch, &bad))
            throw TTransferError(
                QStringLiteral("The character ") + TImportText::CharacterName(bad) +
                QStringLiteral(" in the card on line %1, property %2 (line %3), cannot be stored "
                               "in the address file, which holds Windows-1252 text.")
                    .arg(card.line)
                    .arg(QString::fromStdString(p.name))
                    .arg(p.line));
}

void TVCardImportSource::Rewind()
{
    if (mFile)
        mFile->Rewind();
    else if (auto* memory = dynamic_cast<TMemoryByteSource*>(mBytes.get()))
        memory->Rewind();
    mReader = std::make_unique<TVCardReader>(*mBytes, mUtf8);
    mRecords = 0;
}

int64_t TVCardImportSource::Check(const std::function<bool()>& tick)
{
    int64_t cards = 0;
    while (mReader->Next(mCard)) {
        CheckCharacters(mCard);
        ++cards;
        if (tick && tick())
            return -1;
    }
    return cards;
}

bool TVCardImportSource::Next(TImportRecord& record)
{
    record.Clear();
    if (!mReader->Next(mCard))
        return false;
    ++mRecords;
    const QMap<QString, QString> contact = Contact(mCard);
    char32_t bad = 0;
    const auto fail = [&] {
        throw TTransferError(
            QStringLiteral("The character ") + TImportText::CharacterName(bad) +
            QStringLiteral(" in the card on line %1 cannot be stored.").arg(mCard.line));
    };
    for (const auto& [name, field] : mFields) {
        QString value = contact.value(name);
        if (value.isEmpty())
            continue;
        value.replace(QLatin1Char('\n'), QLatin1Char(' '));
        if (!ToWin1252(value, record.Add(field), &bad))
            fail();
    }
    if (mMemo >= 0 && contact.contains(QStringLiteral("MEMO"))) {
        QString memo = contact.value(QStringLiteral("MEMO"));
        memo.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        memo.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        memo.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
        std::string& text = record.Add(mMemo);
        if (!ToWin1252(memo, text, &bad))
            fail();
        TStoredMemo::Apply(text);
    }
    return true;
}

QString TVCardImportSource::ReadTally() const
{
    return Counted(mReader->LinesRead(), "line", "lines") + QStringLiteral(" read formed ") +
           Counted(mRecords, "record", "records") + QStringLiteral(".");
}

} // namespace qm::transfer
