// The operating system's files, POSIX flavour. Locks are flock() locks: they belong to the open
// file description, so two opens in one process exclude each other just as two processes do
// (fcntl locks would not, and would be dropped by closing any descriptor of the file).

#include "xbase/TFileIoSystem.h"
#include "xbase/TXbaseError.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qm::xbase {
namespace {

[[noreturn]] void ThrowOs(const std::string& what, const std::string& path, int err)
{
    throw TXbaseError(TErrorKind::Io, what + ": " + std::strerror(err), path,
                      TXbaseError::kNoOffset, err);
}

class TNativeFile : public TFileIo {
public:
    TNativeFile(int fd, std::string path) : mFd(fd), mPath(std::move(path)) {}
    ~TNativeFile() override { ::close(mFd); }

    const std::string& Path() const override { return mPath; }

    size_t ReadAt(uint64_t offset, void* data, size_t size) override
    {
        size_t done = 0;
        auto* p = static_cast<char*>(data);
        while (done < size) {
            const ssize_t n = ::pread(mFd, p + done, size - done, off_t(offset + done));
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                ThrowOs("cannot read", mPath, errno);
            }
            if (n == 0)
                break;
            done += size_t(n);
        }
        return done;
    }

    void WriteAt(uint64_t offset, const void* data, size_t size) override
    {
        size_t done = 0;
        const auto* p = static_cast<const char*>(data);
        while (done < size) {
            const ssize_t n = ::pwrite(mFd, p + done, size - done, off_t(offset + done));
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                ThrowOs("cannot write", mPath, errno);
            }
            done += size_t(n);
        }
    }

    uint64_t Size() override
    {
        struct stat st {};
        if (::fstat(mFd, &st) != 0)
            ThrowOs("cannot read the file size", mPath, errno);
        return uint64_t(st.st_size);
    }

    // Maps the file a piece at a time: no copy, and only the pages looked at are touched. Each
    // piece is unmapped before the next, so the process never holds more than one piece.
    void Scan(uint64_t from, uint64_t to, TScanVisitor visit, void* context) override
    {
        if (to <= from)
            return;
        if (to > Size())
            throw TXbaseError(TErrorKind::Damaged, "the file ends early", mPath, int64_t(to));
        constexpr uint64_t kPiece = 16 << 20;
        static const uint64_t pageSize = uint64_t(::sysconf(_SC_PAGESIZE));
        for (uint64_t at = from; at < to;) {
            const uint64_t base = at / pageSize * pageSize;
            const uint64_t end = std::min(to, base + kPiece);
            const size_t length = size_t(end - base);
            void* map = ::mmap(nullptr, length, PROT_READ, MAP_SHARED, mFd, off_t(base));
            if (map == MAP_FAILED) {
                TFileIo::Scan(at, to, visit, context); // the plain way for what is left
                return;
            }
            try {
                visit(context, at, static_cast<const uint8_t*>(map) + (at - base),
                      size_t(end - at));
            } catch (...) {
                ::munmap(map, length);
                throw;
            }
            ::munmap(map, length);
            at = end;
        }
    }

    void Truncate(uint64_t size) override
    {
        if (::ftruncate(mFd, off_t(size)) != 0)
            ThrowOs("cannot change the file size", mPath, errno);
    }

    void Sync() override
    {
        if (::fdatasync(mFd) != 0)
            ThrowOs("cannot flush the file to the disk", mPath, errno);
    }

private:
    int mFd;
    std::string mPath;
};

// A rename lives in the folder: until the folder is flushed a power cut may undo it.
void SyncFolderOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? std::string(".")
                               : slash == 0               ? "/"
                                                          : path.substr(0, slash);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return; // a folder that cannot be opened for this cannot be flushed either
    const int result = ::fsync(fd);
    const int err = errno;
    ::close(fd);
    // Some file systems cannot flush a folder at all (EINVAL); that is no failure of ours.
    if (result != 0 && err != EINVAL && err != ENOTSUP && err != EROFS)
        ThrowOs("cannot flush the folder to the disk", folder, err);
}

void Lock(int fd, TFileLock lock, const std::string& path)
{
    if (lock == TFileLock::None)
        return;
    const int op = (lock == TFileLock::Exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
    while (::flock(fd, op) != 0) {
        const int err = errno;
        if (err == EINTR)
            continue;
        ::close(fd);
        if (err == EWOULDBLOCK)
            throw TXbaseError(TErrorKind::InUse, "the file is in use by another program or window",
                              path, TXbaseError::kNoOffset, err);
        ThrowOs("cannot lock", path, err);
    }
}

class TNativeSystem : public TFileIoSystem {
public:
    std::unique_ptr<TFileIo> Open(const std::string& path, TFileAccess access,
                                  TFileLock lock) override
    {
        const int flags = (access == TFileAccess::ReadOnly ? O_RDONLY : O_RDWR) | O_CLOEXEC;
        const int fd = ::open(path.c_str(), flags);
        if (fd < 0) {
            const int err = errno;
            if (err == ENOENT)
                throw TXbaseError(TErrorKind::NotFound, "the file does not exist", path,
                                  TXbaseError::kNoOffset, err);
            ThrowOs("cannot open", path, err);
        }
        Lock(fd, lock, path);
        return std::make_unique<TNativeFile>(fd, path);
    }

    std::unique_ptr<TFileIo> Create(const std::string& path, TFileLock lock, bool replace) override
    {
        const int flags = O_RDWR | O_CREAT | O_CLOEXEC | (replace ? 0 : O_EXCL);
        const int fd = ::open(path.c_str(), flags, 0666);
        if (fd < 0) {
            const int err = errno;
            if (err == EEXIST)
                throw TXbaseError(TErrorKind::Usage, "the file already exists", path,
                                  TXbaseError::kNoOffset, err);
            ThrowOs("cannot create", path, err);
        }
        Lock(fd, lock, path);
        // Emptied only once the lock is ours, so a file someone else holds is left alone.
        if (replace && ::ftruncate(fd, 0) != 0) {
            const int err = errno;
            ::close(fd);
            ThrowOs("cannot empty", path, err);
        }
        return std::make_unique<TNativeFile>(fd, path);
    }

    bool Exists(const std::string& path) override
    {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0;
    }

    void Remove(const std::string& path) override
    {
        if (::unlink(path.c_str()) != 0 && errno != ENOENT)
            ThrowOs("cannot remove", path, errno);
    }

    void RenameEntry(const std::string& from, const std::string& to) override
    {
        if (::rename(from.c_str(), to.c_str()) != 0)
            ThrowOs("cannot rename to " + to, from, errno);
    }

    void SyncFolder(const std::string& path) override { SyncFolderOf(path); }

    bool Link(const std::string& existing, const std::string& name) override
    {
        if (::link(existing.c_str(), name.c_str()) == 0)
            return true;
        const int err = errno;
        // File systems without hard links (FAT, some network shares) refuse them this way.
        if (err == EPERM || err == ENOTSUP || err == EOPNOTSUPP || err == EXDEV || err == EMLINK ||
            err == ENOSYS)
            return false;
        ThrowOs("cannot make a second name " + name, existing, err);
    }

    std::string FindCompanion(const std::string& path, std::string_view ext) override
    {
        const std::string wanted = CompanionPath(path, ext);
        if (Exists(wanted))
            return wanted;
        namespace fs = std::filesystem;
        std::error_code ec;
        const fs::path p(wanted);
        const fs::path dir = p.has_parent_path() ? p.parent_path() : fs::path(".");
        const std::string name = p.filename().string();
        for (const auto& entry : fs::directory_iterator(dir, ec)) {
            const std::string candidate = entry.path().filename().string();
            if (candidate.size() != name.size())
                continue;
            bool same = true;
            for (size_t i = 0; i < name.size() && same; ++i) {
                char a = candidate[i], b = name[i];
                if (a >= 'a' && a <= 'z')
                    a = char(a - 32);
                if (b >= 'a' && b <= 'z')
                    b = char(b - 32);
                same = a == b;
            }
            if (same)
                return p.has_parent_path() ? (dir / candidate).string() : candidate;
        }
        return {};
    }
};

} // namespace

TFileIoSystem& TFileIoSystem::Native()
{
    static TNativeSystem system;
    return system;
}

} // namespace qm::xbase
