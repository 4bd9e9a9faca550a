#include "envelopes/ui/TPrinterSetupKeeper.h"

namespace qm::envelopes {

TPrinterSetupKeeper::TPrinterSetupKeeper()
    : mIndex(print::TRPDevice::Instance().PrinterIndex()),
      mBin(print::TRPDevice::Instance().CurrentBin()), mSetup(print::TRPDevice::Instance().Setup())
{
}

TPrinterSetupKeeper::~TPrinterSetupKeeper()
{
    print::TRPDevice& device = print::TRPDevice::Instance();
    if (device.JobRunning())
        return;
    try {
        if (mIndex >= 0 && mIndex < int(device.Items().size()))
            device.SetPrinterIndex(mIndex);
        const QStringList bins = device.BinNames();
        if (mBin >= 0 && mBin < bins.size())
            device.SelectBinByName(bins[mBin]);
        // Custom sizes are kept in tenths of a millimetre.
        device.SetPaperSize(mSetup.paperSize, mSetup.paperWidth / 254.0,
                            mSetup.paperLength / 254.0);
        device.SetOrientation(mSetup.orientation);
    } catch (...) {
        // Restoring must never end the program; the printer keeps what it has.
    }
}

} // namespace qm::envelopes
