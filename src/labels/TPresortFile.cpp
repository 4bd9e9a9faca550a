#include "labels/TPresortFile.h"

#include "data/TOutputFile.h"
#include "data/TWin1252.h"

#include <QDir>
#include <QFile>

namespace qm::labels {

std::optional<QByteArray> TPresortFile::Encode(const QStringList& lines, QChar* bad)
{
    QByteArray bytes;
    for (const QString& line : lines) {
        const std::optional<QByteArray> encoded = data::TWin1252::Encode(line, bad);
        if (!encoded)
            return std::nullopt;
        bytes += *encoded;
        bytes += "\r\n";
    }
    return bytes;
}

QStringList TPresortFile::Decode(const QByteArray& bytes)
{
    // Only a byte-order mark says UTF-8: a Windows-1252 key may well form valid UTF-8 bytes.
    static const QByteArray kUtf8Mark("\xEF\xBB\xBF");
    const QString text = bytes.startsWith(kUtf8Mark)
                             ? QString::fromUtf8(bytes.mid(kUtf8Mark.size()))
                             : data::TWin1252::Decode(bytes);
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool TPresortFile::Write(const QString& path, const QStringList& lines, QString* error,
                         const std::atomic<bool>* cancel)
{
    return Write(path, lines, error, [cancel] { return cancel && cancel->load(); });
}

bool TPresortFile::Write(const QString& path, const QStringList& lines, QString* error,
                         const std::function<bool()>& cancelled)
{
    data::TOutputFile file(path);
    const auto fail = [&](const QString& reason) {
        if (error)
            *error = QStringLiteral("Unable to write the presort list %1: %2")
                         .arg(QDir::toNativeSeparators(path), reason);
        return false;
    };
    QChar bad;
    const std::optional<QByteArray> encoded = Encode(lines, &bad);
    if (!encoded)
        return fail(QStringLiteral("the character \"%1\" (U+%2) cannot be held in Windows-1252")
                        .arg(bad)
                        .arg(bad.unicode(), 4, 16, QLatin1Char('0')));
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    const QByteArray& bytes = *encoded;
    if (file.write(bytes) != bytes.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return fail(reason);
    }
    if (cancelled()) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit())
        return fail(file.errorString());
    if (cancelled()) {
        QFile::remove(path);
        return false;
    }
    return true;
}

} // namespace qm::labels
