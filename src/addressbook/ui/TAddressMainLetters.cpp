// "Print Letters": the letters window gets the records through the hand-over and gives them back
// with the printer chosen before.

#include "addressbook/THandOver.h"
#include "addressbook/ui/TAddressMain.h"
#include "data/TMessageService.h"
#include "data/TProgramHome.h"
#include "letters/ui/TqMLetters.h"
#include "print/TRPDevice.h"

namespace qm::addressbook {

void TAddressMain::PrintLettersItemClick()
{
    // Only with an open file whose view shows a record.
    if (!mBook.IsOpen() || mBook.DataSet().IsEmpty() || mBook.DataSet().Editing())
        return;
    print::TRPDevice& device = print::TRPDevice::Instance();
    const QString printerBefore = device.DeviceName();
    {
        THandOverOptions options;
        THandOver handOver(mBook, options);
        letters::TqMLetters letters(mBook.DataSet(), mBook.FilterExpression(),
                                    data::TProgramHome::Current().SysDataDir(), this);
        if (!letters.OpenFailure().isEmpty())
            data::TMessageService::Inform(this, letters.OpenFailure());
        else
            RunDialog(letters);
    }
    // The printer chosen in the letters window was for its prints only.
    if (!device.JobRunning() && device.DeviceName() != printerBefore)
        device.SelectPrinterByName(printerBefore);
    UpdateCommands();
}

} // namespace qm::addressbook
