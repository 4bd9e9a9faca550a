// "Print Envelopes": the envelope window keeps its own record scope per print; the hand-over only
// clears the busy flag, and the printer set-up is put back so that envelope paper never reaches
// other printing.

#include "addressbook/THandOver.h"
#include "addressbook/ui/TAddressMain.h"
#include "envelopes/ui/TPrinterSetupKeeper.h"
#include "envelopes/ui/TQMEnvelopes.h"

namespace qm::addressbook {

void TAddressMain::PrintEnvelopesItemClick()
{
    THandOverOptions options;
    options.disableControls = false;
    options.rememberRecord = false;
    options.rememberQuery = false;
    options.rememberOrder = false;
    envelopes::TPrinterSetupKeeper printer;
    THandOver handOver(mBook, options);
    mBook.SetCalculateNames(true);
    {
        envelopes::TQMEnvelopes window(mBook.DataSet(), this);
        RunDialog(window);
    }
    mBook.SetCalculateNames(false);
}

} // namespace qm::addressbook
