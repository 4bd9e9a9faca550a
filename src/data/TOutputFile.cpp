#include "data/TOutputFile.h"

#include "data/TFileReplace.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>

namespace qm::data {
namespace {

const QString kMarker = QStringLiteral(".qm-tmp-");
constexpr int kSuffixLength = 6;

TOutputFile::TFaultHook& Hook()
{
    static TOutputFile::TFaultHook hook;
    return hook;
}

QString RandomSuffix()
{
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString suffix;
    for (int i = 0; i < kSuffixLength; ++i)
        suffix += QLatin1Char(kLetters[QRandomGenerator::global()->bounded(62)]);
    return suffix;
}

// The file that gets replaced: links are followed as far as they go.
QString FinalTarget(const QString& name)
{
    const QFileInfo info(name);
    if (info.isSymLink()) {
        const QString canonical = info.canonicalFilePath();
        return canonical.isEmpty() ? info.symLinkTarget() : canonical;
    }
    return info.absoluteFilePath();
}

} // namespace

TOutputFile::TOutputFile(const QString& target) : QFile(target), mGiven(target) {}

TOutputFile::~TOutputFile()
{
    Discard();
}

QString TOutputFile::Refusal(const QString& name)
{
    const QFileInfo target(name);
    if (target.exists() && !target.isFile())
        return QStringLiteral("it is not a regular file (a folder, a device or a pipe)");
    return {};
}

bool TOutputFile::IsTemporaryName(const QString& fileName)
{
    const qsizetype at = fileName.lastIndexOf(kMarker);
    if (at <= 0 || fileName.size() != at + kMarker.size() + kSuffixLength)
        return false;
    for (qsizetype i = at + kMarker.size(); i < fileName.size(); ++i) {
        const char c = fileName[i].toLatin1();
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')))
            return false;
    }
    return true;
}

int TOutputFile::RemoveLeftovers(const QString& target)
{
    const QFileInfo info(FinalTarget(target));
    const QDir folder = info.absoluteDir();
    const QString prefix = info.fileName() + kMarker;
    int removed = 0;
    const QStringList names =
        folder.entryList({QStringLiteral("*") + kMarker + QStringLiteral("*")},
                         QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names)
        if (name.startsWith(prefix) && name.size() == prefix.size() + kSuffixLength &&
            IsTemporaryName(name) && QFile::remove(folder.filePath(name)))
            ++removed;
    return removed;
}

QString TOutputFile::NewTemporaryPath(const QString& target)
{
    const QString destination = FinalTarget(target);
    RemoveLeftovers(destination);
    QString path;
    do
        path = destination + kMarker + RandomSuffix();
    while (QFileInfo::exists(path));
    return path;
}

bool TOutputFile::Publish(const QString& temporary, const QString& target, QString* reason)
{
    const QString destination = FinalTarget(target);
    const TFaultHook& hook = Hook();
    const auto fail = [&](const QString& why) {
        QFile::remove(temporary);
        if (reason)
            *reason = why;
        return false;
    };
    if (const QString refusal = Refusal(target); !refusal.isEmpty())
        return fail(refusal);
    QFile file(temporary);
    if (!file.open(QIODevice::ReadWrite))
        return fail(file.errorString());
    QString why;
    if (const int injected = hook ? hook(TStep::Sync, destination) : 0; injected != 0)
        return fail(TFileReplace::ErrorText(injected));
    if (!TFileReplace::Sync(file, &why))
        return fail(why);
    file.close();
    if (QFileInfo::exists(destination))
        QFile::setPermissions(temporary, QFile::permissions(destination));
    if (const int injected = hook ? hook(TStep::Rename, destination) : 0; injected != 0)
        return fail(TFileReplace::ErrorText(injected));
    if (!TFileReplace::Replace(temporary, destination, &why))
        return fail(why);
    TFileReplace::SyncFolder(QFileInfo(destination).absolutePath());
    return true;
}

TOutputFile::TFaultHook TOutputFile::SetFaultHook(TFaultHook hook)
{
    TFaultHook previous = std::move(Hook());
    Hook() = std::move(hook);
    return previous;
}

int TOutputFile::Injected(TStep step) const
{
    const TFaultHook& hook = Hook();
    return hook ? hook(step, mTarget) : 0;
}

QString TOutputFile::SystemReason(int error) const
{
    // Qt reports a write the system cut short (a disk that filled up part-way) without the
    // system's reason ("Unknown error"); the failing call's error number has it.
    return error != 0 ? TFileReplace::ErrorText(error) : errorString();
}

bool TOutputFile::Fail(const QString& reason)
{
    if (mFailure.isEmpty())
        mFailure = reason.isEmpty() ? QStringLiteral("the file could not be written") : reason;
    setErrorString(mFailure);
    return false;
}

bool TOutputFile::open(OpenMode mode)
{
    if (isOpen()) {
        setErrorString(QStringLiteral("the file is already open"));
        return false;
    }
    mFailure.clear();
    mCommitted = false;
    if (!(mode & WriteOnly) || (mode & Append)) {
        setErrorString(QStringLiteral("an output file is written whole, from its start"));
        return false;
    }
    if (const QString refusal = Refusal(mGiven); !refusal.isEmpty()) {
        setErrorString(refusal);
        return false;
    }
    mTarget = FinalTarget(mGiven);
    RemoveLeftovers(mTarget);
    const OpenMode flags = (mode & ~OpenMode(Truncate)) | NewOnly;
    for (int attempt = 0; attempt < 100; ++attempt) {
        mTemporary = mTarget + kMarker + RandomSuffix();
        setFileName(mTemporary);
        if (QFile::open(flags))
            return true;
        if (!QFileInfo::exists(mTemporary))
            break; // not a name clash: the folder refuses the file
    }
    const QString reason = errorString();
    mTemporary.clear();
    setFileName(mGiven);
    setErrorString(reason);
    return false;
}

qint64 TOutputFile::writeData(const char* data, qint64 length)
{
    // After a failure nothing more reaches the file: its bytes would be out of place.
    if (!mFailure.isEmpty())
        return -1;
    if (const int injected = Injected(TStep::Write); injected != 0) {
        Fail(TFileReplace::ErrorText(injected));
        return -1;
    }
    errno = 0;
    const qint64 written = QFile::writeData(data, length);
    if (written != length)
        Fail(SystemReason(errno));
    return written;
}

bool TOutputFile::commit()
{
    if (!isOpen() || mTemporary.isEmpty())
        return Fail(QStringLiteral("the file is not open"));
    bool ok = mFailure.isEmpty();
    QString reason;
    if (ok) {
        // Qt's own flush on close reports nothing: the buffered tail is written and checked here.
        if (const int injected = Injected(TStep::Flush); injected != 0)
            ok = Fail(TFileReplace::ErrorText(injected));
        else if (errno = 0; !flush() || error() != NoError)
            ok = Fail(SystemReason(errno));
    }
    if (ok) {
        if (const int injected = Injected(TStep::Sync); injected != 0)
            ok = Fail(TFileReplace::ErrorText(injected));
        else if (!TFileReplace::Sync(*this, &reason))
            ok = Fail(reason);
    }
    QFile::close();
    if (ok && error() != NoError)
        ok = Fail(errorString());
    if (ok) {
        // A replaced file keeps its permissions.
        if (QFileInfo::exists(mTarget))
            setPermissions(QFile::permissions(mTarget));
        if (const int injected = Injected(TStep::Rename); injected != 0)
            ok = Fail(TFileReplace::ErrorText(injected));
        else if (!TFileReplace::Replace(mTemporary, mTarget, &reason))
            ok = Fail(reason);
    }
    if (!ok) {
        Discard();
        setErrorString(mFailure);
        return false;
    }
    TFileReplace::SyncFolder(QFileInfo(mTarget).absolutePath());
    mTemporary.clear();
    mCommitted = true;
    setFileName(mGiven);
    return true;
}

void TOutputFile::cancelWriting()
{
    Discard();
}

void TOutputFile::Discard()
{
    if (mTemporary.isEmpty())
        return;
    if (isOpen())
        QFile::close();
    QFile::remove(mTemporary);
    mTemporary.clear();
    setFileName(mGiven);
}

} // namespace qm::data
