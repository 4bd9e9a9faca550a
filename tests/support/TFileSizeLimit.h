#pragma once

// Makes every file the test process writes stop growing past a size, as a full disk does: a
// write past the limit fails (EFBIG) instead of ending the process. The old limit comes back when
// the object goes. Available() is false where the platform has no such limit; tests skip then.

#if defined(__unix__) || defined(__APPLE__)
#include <csignal>
#include <sys/resource.h>
#define QM_HAS_FILE_SIZE_LIMIT 1
#endif

#include <cstdint>

namespace qm::test {

class TFileSizeLimit {
public:
    explicit TFileSizeLimit(std::uint64_t bytes)
    {
#ifdef QM_HAS_FILE_SIZE_LIMIT
        mOldHandler = std::signal(SIGXFSZ, SIG_IGN);
        mHave = getrlimit(RLIMIT_FSIZE, &mOld) == 0;
        rlimit limit = mOld;
        limit.rlim_cur = rlim_t(bytes);
        mHave = mHave && setrlimit(RLIMIT_FSIZE, &limit) == 0;
#else
        (void)bytes;
#endif
    }
    ~TFileSizeLimit()
    {
#ifdef QM_HAS_FILE_SIZE_LIMIT
        if (mHave)
            setrlimit(RLIMIT_FSIZE, &mOld);
        std::signal(SIGXFSZ, mOldHandler);
#endif
    }
    TFileSizeLimit(const TFileSizeLimit&) = delete;
    TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

    bool Available() const
    {
        return mHave;
    }

private:
    bool mHave = false;
#ifdef QM_HAS_FILE_SIZE_LIMIT
    rlimit mOld{};
    void (*mOldHandler)(int) = SIG_DFL;
#endif
};

} // namespace qm::test
