#pragma once

// Bulk loops write many records; committing after each one would wait for the disk every time.
// The pacer commits the table at most every half second, so a program killed meanwhile keeps all
// but the last half second of work, with its index in step. A run ends with Finish(), whose
// commit failure is the run's failure; a run left by an exception is committed once more by the
// destructor as far as that goes (the run's own error is the one reported).

#include <cstdint>
#include <functional>

namespace qm::xbase {
class TTable;
}

namespace qm::maintenance {

class TCommitPacer {
public:
    static constexpr int kIntervalMs = 500;
    // Milliseconds from a monotonic source; only differences between readings count. Empty: the
    // steady system clock. Tests pass a clock they step by hand.
    using TClock = std::function<std::int64_t()>;

    explicit TCommitPacer(xbase::TTable& table, TClock clock = {});
    ~TCommitPacer();
    TCommitPacer(const TCommitPacer&) = delete;
    TCommitPacer& operator=(const TCommitPacer&) = delete;

    // Call after each record written.
    void Wrote();
    // Commits what is pending; throws the engine's error when that fails.
    void Finish();
    int Commits() const { return mCommits; }

private:
    xbase::TTable& mTable;
    TClock mClock;
    std::int64_t mSince = 0; // the clock's reading at the start or at the last commit
    bool mPending = false;
    int mCommits = 0;
};

} // namespace qm::maintenance
