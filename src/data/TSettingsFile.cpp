#include "data/TSettingsFile.h"

#include "data/TIniText.h"
#include "data/TOutputFile.h"
#include "data/TWin1252.h"

#include <QFile>
#include <QFileInfo>
#include <functional>

namespace qm::data {
namespace {

// A settings file larger than this is not a settings file; reading it whole on every call would
// only make the program crawl, so it reads as empty (every value takes its default).
constexpr qint64 kMaxFileSize = 64 * 1024 * 1024;

std::string Utf8(const QString& s)
{
    return s.toUtf8().toStdString();
}

struct TLoaded {
    TIniText text;
    bool utf8 = true;
};

TLoaded Load(const QString& path)
{
    TLoaded loaded;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileSize)
        return loaded;
    const QByteArray bytes = file.readAll();
    loaded.utf8 = TWin1252::IsValidUtf8(bytes);
    loaded.text = TIniText(bytes.toStdString());
    return loaded;
}

} // namespace

TSettingsWriteError::TSettingsWriteError(const QString& path, const QString& reason)
    : std::runtime_error(("Unable to write to " + path).toStdString()),
      mMessage("Unable to write to " + path), mReason(reason)
{
}

TSettingsFile::TSettingsFile(QString path) : mPath(std::move(path)) {}

std::optional<QString> TSettingsFile::Raw(const QString& section, const QString& key) const
{
    const TLoaded loaded = Load(mPath);
    const auto value = loaded.text.Value(Utf8(section), Utf8(key));
    if (!value)
        return std::nullopt;
    const QByteArray bytes = QByteArray::fromStdString(*value);
    return loaded.utf8 ? QString::fromUtf8(bytes) : TWin1252::Decode(bytes);
}

QString TSettingsFile::ReadString(const QString& section, const QString& key,
                                  const QString& def) const
{
    const auto value = Raw(section, key);
    if (!value)
        return def.left(kMaxStringLength);
    return value->left(kMaxStringLength);
}

std::optional<int> TSettingsFile::ParseInteger(const QString& text)
{
    bool ok = false;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        const QStringView digits = QStringView(text).mid(2);
        if (digits.front() == '+' || digits.front() == '-')
            return std::nullopt;
        const uint value = digits.toUInt(&ok, 16);
        return ok ? std::optional<int>(static_cast<int>(value)) : std::nullopt;
    }
    const int value = text.toInt(&ok, 10);
    if (!ok || text.trimmed() != text)
        return std::nullopt;
    return value;
}

int TSettingsFile::ReadInteger(const QString& section, const QString& key, int def) const
{
    const auto value = Raw(section, key);
    if (!value)
        return def;
    return ParseInteger(value->left(kMaxStringLength)).value_or(def);
}

bool TSettingsFile::ReadBool(const QString& section, const QString& key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

bool TSettingsFile::HasKey(const QString& section, const QString& key) const
{
    return Raw(section, key).has_value();
}

namespace {

void Store(const QString& path, const std::function<void(TIniText&, bool utf8)>& change)
{
    const QFileInfo info(path);
    QByteArray original;
    bool utf8 = true;
    if (info.exists()) {
        if (!info.isFile())
            throw TSettingsWriteError(path, QStringLiteral("not a file"));
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw TSettingsWriteError(path, file.errorString());
        // A file without any write permission is read-only to us even when the operating system
        // would let a privileged user write it.
        constexpr auto kWriteBits =
            QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
        if (!info.isWritable() || !(info.permissions() & kWriteBits))
            throw TSettingsWriteError(path, QStringLiteral("the file is read-only"));
        if (file.size() > kMaxFileSize)
            throw TSettingsWriteError(path, QStringLiteral("the file is too large"));
        original = file.readAll();
        utf8 = TWin1252::IsValidUtf8(original);
    } else {
        original = QByteArrayLiteral("\xEF\xBB\xBF");
    }
    TIniText text(original.toStdString());
    change(text, utf8);

    TOutputFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        throw TSettingsWriteError(path, out.errorString());
    const std::string& bytes = text.Bytes();
    if (out.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()) || !out.commit())
        throw TSettingsWriteError(path, out.errorString());
}

std::string EncodeValue(const QString& value, bool utf8)
{
    if (!utf8) {
        if (const auto bytes = TWin1252::Encode(value))
            return bytes->toStdString();
    }
    return Utf8(value);
}

} // namespace

void TSettingsFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    // Reading trims blanks and one pair of matching quotes, so a value with blanks at either end
    // (or already wrapped in quotes) is written in quotes to read back exactly as typed.
    QString stored = value;
    const bool wrapped = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                         value.back() == value.front();
    if (!value.isEmpty() && (value.front().isSpace() || value.back().isSpace() || wrapped))
        stored = QLatin1Char('"') + value + QLatin1Char('"');
    Store(mPath, [&](TIniText& text, bool utf8) {
        text.SetValue(Utf8(section), Utf8(key), EncodeValue(stored, utf8));
    });
}

void TSettingsFile::WriteInteger(const QString& section, const QString& key, int value)
{
    WriteString(section, key, QString::number(value));
}

void TSettingsFile::WriteBool(const QString& section, const QString& key, bool value)
{
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TSettingsFile::DeleteKey(const QString& section, const QString& key)
{
    if (!HasKey(section, key))
        return;
    Store(mPath, [&](TIniText& text, bool) { text.RemoveKey(Utf8(section), Utf8(key)); });
}

} // namespace qm::data
