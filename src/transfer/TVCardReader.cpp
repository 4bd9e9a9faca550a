#include "transfer/TVCardReader.h"

#include "data/TWin1252.h"
#include "transfer/TTransferError.h"

#include <QByteArray>
#include <QStringDecoder>
#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace qm::transfer {

namespace {

std::string Upper(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::string Lower(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string_view Trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

bool Is(std::string_view line, const char* what)
{
    const std::string_view trimmed = Trimmed(line);
    const std::string_view want(what);
    if (trimmed.size() != want.size())
        return false;
    for (size_t i = 0; i < want.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(trimmed[i])) != want[i])
            return false;
    return true;
}

bool Blank(std::string_view line)
{
    return Trimmed(line).empty();
}

// The end of the name and parameters: the first colon outside double quotes (npos: none).
size_t ValueColon(std::string_view line)
{
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ':' && !quoted)
            return i;
    }
    return std::string_view::npos;
}

bool QuotedPrintable(std::string_view line)
{
    const size_t colon = ValueColon(line);
    const std::string head = Upper(line.substr(0, colon == std::string_view::npos ? 0 : colon));
    return head.find("QUOTED-PRINTABLE") != std::string::npos;
}

void AppendCapped(std::string& line, std::string_view more, bool& cut)
{
    const size_t room =
        TVCardReader::kMaxLineBytes - std::min(line.size(), TVCardReader::kMaxLineBytes);
    if (more.size() > room) {
        cut = true;
        more = more.substr(0, room);
    }
    line.append(more);
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

QByteArray DecodeQuotedPrintable(std::string_view value)
{
    QByteArray bytes;
    bytes.reserve(qsizetype(value.size()));
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '=' && i + 2 < value.size()) {
            const int high = HexDigit(value[i + 1]);
            const int low = HexDigit(value[i + 2]);
            if (high >= 0 && low >= 0) {
                bytes.append(char(high * 16 + low));
                i += 2;
                continue;
            }
        }
        bytes.append(value[i]);
    }
    return bytes;
}

bool ValidUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

// Splits at unescaped separators and unescapes each part (or keeps the escapes).
QStringList SplitEscaped(const QString& value, QChar separator, bool unescape = true)
{
    QStringList parts;
    QString part;
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == QLatin1Char('\\') && i + 1 < value.size() && !unescape) {
            part += c;
            part += value[++i];
        } else if (c == QLatin1Char('\\') && i + 1 < value.size()) {
            const QChar next = value[++i];
            if (next == QLatin1Char('n') || next == QLatin1Char('N'))
                part += QLatin1Char('\n');
            else if (next == QLatin1Char('\\') || next == QLatin1Char(',') ||
                     next == QLatin1Char(';') || next == QLatin1Char(':'))
                part += next;
            else
                part += QString(c) + next;
        } else if (c == separator) {
            parts << part;
            part.clear();
        } else {
            part += c;
        }
    }
    parts << part;
    return parts;
}

} // namespace

bool TVCardProperty::HasType(const char* type) const
{
    return std::find(types.begin(), types.end(), type) != types.end();
}

QString TVCardProperty::Text() const
{
    return SplitEscaped(value, QChar(0)).join(QString());
}

QStringList TVCardProperty::Components() const
{
    return SplitEscaped(value, QLatin1Char(';'));
}

QStringList TVCardProperty::Items() const
{
    return SplitEscaped(value, QLatin1Char(','));
}

QStringList TVCardProperty::ComponentItems(int i) const
{
    return SplitEscaped(SplitEscaped(value, QLatin1Char(';'), false).value(i), QLatin1Char(','));
}

TVCardReader::TVCardReader(TByteSource& source, bool utf8)
    : mSource(source), mUtf8(utf8), mBuffer(size_t(1) << 16)
{
}

bool TVCardReader::Kept(const std::string& name)
{
    static const char* const kept[] = {"N",
                                       "FN",
                                       "ORG",
                                       "TITLE",
                                       "ADR",
                                       "TEL",
                                       "EMAIL",
                                       "NOTE",
                                       "BDAY",
                                       "CATEGORIES",
                                       "X-QUILLMARK-DATE",
                                       "X-QUILLMARK-COMMENT1",
                                       "X-QUILLMARK-COMMENT2"};
    return std::any_of(std::begin(kept), std::end(kept), [&](const char* k) { return name == k; });
}

int TVCardReader::Peek()
{
    if (mPos == mEnd) {
        if (mAtEnd)
            return -1;
        mEnd = mSource.Read(mBuffer.data(), mBuffer.size());
        mPos = 0;
        if (mEnd == 0) {
            mAtEnd = true;
            return -1;
        }
    }
    return static_cast<unsigned char>(mBuffer[mPos]);
}

bool TVCardReader::ReadPhysical(std::string& out, bool& cut)
{
    out.clear();
    cut = false;
    if (Peek() < 0)
        return false;
    ++mLine;
    while (Peek() >= 0) {
        const char* begin = mBuffer.data() + mPos;
        const char* end = mBuffer.data() + mEnd;
        const char* p = begin;
        while (p < end && *p != '\r' && *p != '\n')
            ++p;
        AppendCapped(out, std::string_view(begin, size_t(p - begin)), cut);
        mPos += size_t(p - begin);
        if (p < end) {
            const char c = *p;
            ++mPos;
            if (c == '\r' && Peek() == '\n')
                ++mPos;
            return true;
        }
    }
    return true;
}

bool TVCardReader::NextLogical(std::string& line, int64_t& lineNumber, bool& cut)
{
    for (;;) {
        if (!mHavePending) {
            if (!ReadPhysical(mPending, mPendingCut))
                return false;
            mPendingLine = mLine;
        }
        mHavePending = false;
        line.swap(mPending);
        lineNumber = mPendingLine;
        cut = mPendingCut;
        const bool qp = QuotedPrintable(line);
        bool more = false;
        while (ReadPhysical(mPending, more)) {
            mPendingLine = mLine;
            mPendingCut = more;
            if (!mPending.empty() && (mPending[0] == ' ' || mPending[0] == '\t')) {
                AppendCapped(line, std::string_view(mPending).substr(1), cut);
                cut = cut || more;
            } else if (qp && !line.empty() && line.back() == '=') {
                line.pop_back();
                AppendCapped(line, mPending, cut);
                cut = cut || more;
            } else {
                mHavePending = true;
                break;
            }
        }
        if (!Blank(line))
            return true;
    }
}

namespace {

QString Decode(const QByteArray& bytes, const std::string& charset, int64_t line)
{
    const std::string set = Upper(charset);
    if (set.empty())
        return ValidUtf8(bytes) ? QString::fromUtf8(bytes) : data::TWin1252::Decode(bytes);
    if (set == "UTF-8" || set == "UTF8")
        return QString::fromUtf8(bytes);
    if (set == "ISO-8859-1" || set == "ISO8859-1" || set == "LATIN1" || set == "US-ASCII" ||
        set == "ASCII")
        return QString::fromLatin1(bytes);
    if (set == "WINDOWS-1252" || set == "CP1252")
        return data::TWin1252::Decode(bytes);
    QStringDecoder decoder(set.c_str());
    if (!decoder.isValid())
        throw TTransferError(QStringLiteral("Line %1: the character set %2 is not known.")
                                 .arg(line)
                                 .arg(QString::fromStdString(charset)));
    return decoder.decode(bytes);
}

} // namespace

void TVCardReader::Parse(const std::string& line, int64_t lineNumber, bool cut, const TVCard& card,
                         std::vector<TVCardProperty>& into, size_t& cardBytes)
{
    const size_t colon = ValueColon(line);
    if (colon == std::string::npos)
        throw TTransferError(QStringLiteral("Line %1: this line of the card that begins on line "
                                            "%2 is not a vCard property (it has no colon).")
                                 .arg(lineNumber)
                                 .arg(card.line));
    const std::string_view head = std::string_view(line).substr(0, colon);
    // Name and parameters, split at semicolons outside quotes.
    std::vector<std::string_view> parts;
    bool quoted = false;
    size_t start = 0;
    for (size_t i = 0; i <= head.size(); ++i) {
        if (i < head.size() && head[i] == '"')
            quoted = !quoted;
        if (i == head.size() || (head[i] == ';' && !quoted)) {
            parts.push_back(head.substr(start, i - start));
            start = i + 1;
        }
    }
    std::string_view name = Trimmed(parts.front());
    if (const size_t dot = name.rfind('.'); dot != std::string_view::npos)
        name.remove_prefix(dot + 1);
    TVCardProperty property;
    property.name = Upper(name);
    if (!Kept(property.name))
        return;
    property.line = lineNumber;
    std::string encoding;
    std::string charset;
    for (size_t p = 1; p < parts.size(); ++p) {
        const std::string_view parameter = Trimmed(parts[p]);
        const size_t eq = parameter.find('=');
        if (eq == std::string_view::npos) {
            const std::string bare = Upper(parameter);
            if (bare == "QUOTED-PRINTABLE" || bare == "BASE64" || bare == "B" || bare == "8BIT" ||
                bare == "7BIT")
                encoding = bare;
            else if (!bare.empty())
                property.types.push_back(Lower(bare));
            continue;
        }
        const std::string key = Upper(Trimmed(parameter.substr(0, eq)));
        std::string value(Trimmed(parameter.substr(eq + 1)));
        value.erase(std::remove(value.begin(), value.end(), '"'), value.end());
        if (key == "TYPE") {
            size_t from = 0;
            while (from <= value.size()) {
                const size_t comma = std::min(value.find(',', from), value.size());
                const std::string type =
                    Lower(Trimmed(std::string_view(value).substr(from, comma - from)));
                if (!type.empty())
                    property.types.push_back(type);
                from = comma + 1;
            }
        } else if (key == "PREF") {
            property.pref = std::max(1, std::atoi(value.c_str()));
        } else if (key == "ENCODING") {
            encoding = Upper(value);
        } else if (key == "CHARSET") {
            charset = value;
        }
    }
    if (property.pref == 0 && property.HasType("pref"))
        property.pref = 1;
    if (encoding == "B" || encoding == "BASE64")
        return; // binary: nothing the address file holds
    const std::string_view raw = std::string_view(line).substr(colon + 1);
    if (cut || raw.size() > kMaxValueBytes)
        throw TTransferError(QStringLiteral("Line %1: the %2 of the card that begins on line %3 is "
                                            "longer than 1 MB.")
                                 .arg(lineNumber)
                                 .arg(QString::fromStdString(property.name))
                                 .arg(card.line));
    if (encoding == "QUOTED-PRINTABLE")
        property.value = Decode(DecodeQuotedPrintable(raw), charset, lineNumber);
    else if (!mUtf8)
        property.value =
            Decode(QByteArray(raw.data(), qsizetype(raw.size())),
                   charset.empty() ? std::string("WINDOWS-1252") : charset, lineNumber);
    else
        property.value = QString::fromUtf8(raw.data(), qsizetype(raw.size()));
    cardBytes += raw.size();
    if (cardBytes > kMaxCardBytes)
        throw TTransferError(
            QStringLiteral("Line %1: the card that begins on this line is larger than 4 MB.")
                .arg(card.line));
    into.push_back(std::move(property));
}

bool TVCardReader::Next(TVCard& card)
{
    card.properties.clear();
    std::string line;
    int64_t number = 0;
    bool cut = false;
    for (;;) {
        if (!NextLogical(line, number, cut)) {
            if (mCards == 0)
                throw TTransferError(
                    QStringLiteral("The file holds no vCard (no line BEGIN:VCARD)."));
            return false;
        }
        if (Is(line, "BEGIN:VCARD"))
            break;
        throw TTransferError(QStringLiteral("Line %1: this line stands outside a card; a vCard "
                                            "file holds cards from BEGIN:VCARD to END:VCARD.")
                                 .arg(number));
    }
    card.line = number;
    size_t cardBytes = 0;
    for (;;) {
        if (!NextLogical(line, number, cut))
            throw TTransferError(
                QStringLiteral("Line %1: the card that begins on this line has no END:VCARD.")
                    .arg(card.line));
        if (Is(line, "END:VCARD")) {
            ++mCards;
            return true;
        }
        if (Is(line, "BEGIN:VCARD"))
            throw TTransferError(QStringLiteral("Line %1: a card begins inside the card that "
                                                "begins on line %2, which has no END:VCARD.")
                                     .arg(number)
                                     .arg(card.line));
        Parse(line, number, cut, card, card.properties, cardBytes);
    }
}

} // namespace qm::transfer
