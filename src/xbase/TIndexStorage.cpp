#include "xbase/TIndexStorage.h"

#include "xbase/TXbaseError.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// The plain-file storage is the index layer's one use of the operating system's file calls.

namespace qm::xbase {
namespace {

class TFileIndexStorage : public TIndexStorage {
public:
    TFileIndexStorage(std::string path, int fd) : mPath(std::move(path)), mFd(fd) {}
    ~TFileIndexStorage() override { ::close(mFd); }

    const std::string& Name() const override { return mPath; }

    uint64_t Size() const override
    {
        struct stat st {};
        if (::fstat(mFd, &st) != 0)
            throw TXbaseError(TErrorKind::Io, "cannot read the size of the index file", mPath,
                              TXbaseError::kNoOffset, errno);
        return static_cast<uint64_t>(st.st_size);
    }

    size_t Read(uint64_t offset, void* buffer, size_t size) override
    {
        size_t done = 0;
        while (done < size) {
            const ssize_t n = ::pread(mFd, static_cast<char*>(buffer) + done, size - done,
                                      static_cast<off_t>(offset + done));
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                throw TXbaseError(TErrorKind::Io,
                                  std::string("cannot read the index file: ") +
                                      std::strerror(errno),
                                  mPath, static_cast<int64_t>(offset), errno);
            }
            if (n == 0)
                break;
            done += static_cast<size_t>(n);
        }
        return done;
    }

    void Write(uint64_t offset, const void* data, size_t size) override
    {
        size_t done = 0;
        while (done < size) {
            const ssize_t n = ::pwrite(mFd, static_cast<const char*>(data) + done, size - done,
                                       static_cast<off_t>(offset + done));
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                throw TXbaseError(TErrorKind::Io,
                                  std::string("cannot write the index file: ") +
                                      std::strerror(errno),
                                  mPath, static_cast<int64_t>(offset), errno);
            }
            done += static_cast<size_t>(n);
        }
    }

    void Sync() override
    {
        if (::fdatasync(mFd) != 0)
            throw TXbaseError(TErrorKind::Io,
                              std::string("cannot flush the index file: ") + std::strerror(errno),
                              mPath, TXbaseError::kNoOffset, errno);
    }

    void Truncate(uint64_t size) override
    {
        if (::ftruncate(mFd, static_cast<off_t>(size)) != 0)
            throw TXbaseError(TErrorKind::Io,
                              std::string("cannot resize the index file: ") + std::strerror(errno),
                              mPath, TXbaseError::kNoOffset, errno);
    }

private:
    std::string mPath;
    int mFd;
};

} // namespace

std::unique_ptr<TIndexStorage> OpenIndexStorage(const std::string& path, TIndexOpenMode mode)
{
    int flags = O_CLOEXEC;
    switch (mode) {
    case TIndexOpenMode::ReadOnly:
        flags |= O_RDONLY;
        break;
    case TIndexOpenMode::ReadWrite:
        flags |= O_RDWR;
        break;
    case TIndexOpenMode::Create:
        flags |= O_RDWR | O_CREAT | O_TRUNC;
        break;
    }
    const int fd = ::open(path.c_str(), flags, 0644);
    if (fd < 0) {
        const int err = errno;
        if (err == ENOENT)
            throw TXbaseError(TErrorKind::NotFound, "the index file does not exist", path,
                              TXbaseError::kNoOffset, err);
        throw TXbaseError(TErrorKind::Io,
                          std::string("cannot open the index file: ") + std::strerror(err), path,
                          TXbaseError::kNoOffset, err);
    }
    return std::make_unique<TFileIndexStorage>(path, fd);
}

size_t TMemoryIndexStorage::Read(uint64_t offset, void* buffer, size_t size)
{
    if (offset >= mBytes.size())
        return 0;
    const size_t n = std::min<uint64_t>(size, mBytes.size() - offset);
    std::memcpy(buffer, mBytes.data() + offset, n);
    return n;
}

void TMemoryIndexStorage::Write(uint64_t offset, const void* data, size_t size)
{
    if (mBytes.size() < offset + size)
        mBytes.resize(offset + size);
    std::memcpy(mBytes.data() + offset, data, size);
}

} // namespace qm::xbase
