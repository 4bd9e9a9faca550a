#pragma once

// One count of write-like steps across the table engine and the program's own output files, for
// fault sweeps: the engine's files go through a TFileIoFaulty (write, truncate, create, flush,
// rename, remove) and every data::TOutputFile asks the same count before each write, flush,
// fsync and rename. From step failAt on, every step fails (as after a kill, or on a disk that
// stays full): the engine's with its injected I/O error, the output files' with the error number
// given. While the object lives, the system tables are opened through it; everything goes back
// when it goes. failAt 0 fails nothing and only counts.

#include "data/TOutputFile.h"
#include "xbase/TFileIoFaulty.h"

#include <cerrno>
#include <cstdint>

namespace qm::test {

class TFaultInjection {
public:
    explicit TFaultInjection(std::uint64_t failAt, int error = ENOSPC);
    ~TFaultInjection();
    TFaultInjection(const TFaultInjection&) = delete;
    TFaultInjection& operator=(const TFaultInjection&) = delete;

    std::uint64_t Steps() const { return mFaulty.Operations(); }
    bool Failed() const { return mFaulty.Failed(); }
    xbase::TFileIoFaulty& Engine() { return mFaulty; }

private:
    xbase::TFileIoFaulty mFaulty;
    xbase::TFileIoSystem* mPreviousFiles;
    data::TOutputFile::TFaultHook mPreviousHook;
};

} // namespace qm::test
