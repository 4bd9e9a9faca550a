#include "data/TFileReplace.h"

#include <QFile>
#include <QFileDevice>
#include <cerrno>
#include <cstring>

#if defined(Q_OS_WIN)
#include <io.h>
#include <windows.h>
#else
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace qm::data {

QString TFileReplace::ErrorText(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

bool TFileReplace::Sync(QFileDevice& file, QString* reason)
{
    const int fd = file.handle();
    if (fd < 0) {
        if (reason)
            *reason = QStringLiteral("the file is not open");
        return false;
    }
#if defined(Q_OS_WIN)
    const int done = ::_commit(fd);
#else
    int done;
    do {
        done = ::fsync(fd);
    } while (done != 0 && errno == EINTR);
#endif
    if (done != 0) {
        if (reason)
            *reason = ErrorText(errno);
        return false;
    }
    return true;
}

bool TFileReplace::Replace(const QString& from, const QString& to, QString* reason)
{
#if defined(Q_OS_WIN)
    if (!::MoveFileExW(reinterpret_cast<const wchar_t*>(from.utf16()),
                       reinterpret_cast<const wchar_t*>(to.utf16()),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        if (reason)
            *reason = QStringLiteral("error %1").arg(::GetLastError());
        return false;
    }
    return true;
#else
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0) {
        if (reason)
            *reason = ErrorText(errno);
        return false;
    }
    return true;
#endif
}

bool TFileReplace::SyncFolder(const QString& folder)
{
#if defined(Q_OS_WIN)
    (void)folder; // MOVEFILE_WRITE_THROUGH made the rename durable
    return true;
#else
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    const bool done = ::fsync(fd) == 0;
    ::close(fd);
    return done;
#endif
}

} // namespace qm::data
