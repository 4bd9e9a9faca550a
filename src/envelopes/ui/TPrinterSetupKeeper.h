#pragma once

// Keeps the process's printer set-up while envelopes are printed: remembers the selected
// printer, its paper source, paper size and orientation, and puts them back when it goes out of
// scope (also after an error), so that envelope paper never reaches other printing. Errors while
// restoring are ignored; nothing is restored while a job still runs.

#include "print/TRPDevice.h"

namespace qm::envelopes {

class TPrinterSetupKeeper {
public:
    TPrinterSetupKeeper();
    ~TPrinterSetupKeeper();
    TPrinterSetupKeeper(const TPrinterSetupKeeper&) = delete;
    TPrinterSetupKeeper& operator=(const TPrinterSetupKeeper&) = delete;

private:
    int mIndex;
    int mBin;
    print::TDeviceSetup mSetup;
};

} // namespace qm::envelopes
