#include "labels/TPresortFile.h"

#include "data/TOutputFile.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace qm::labels {

QByteArray TPresortFile::Encode(const QStringList& lines)
{
    QByteArray bytes("\xEF\xBB\xBF");
    for (const QString& line : lines) {
        bytes += line.toUtf8();
        bytes += "\r\n";
    }
    return bytes;
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
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    const QByteArray bytes = Encode(lines);
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
