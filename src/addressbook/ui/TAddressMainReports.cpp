// The Print menu's report commands and "Count Zip Codes": each runs the printer presence check
// and hands the records to its window as the main window does for every other window
// (THandOver), taking them back afterwards.

#include "addressbook/THandOver.h"
#include "addressbook/ui/TAddressMain.h"
#include "data/TMessageService.h"
#include "print/TRPDevice.h"
#include "print/ui/TPrinterCheck.h"
#include "reports/ui/TCountZipCodes.h"
#include "reports/ui/TPrintCurrentRecord.h"
#include "reports/ui/TReportSetup.h"

namespace qm::addressbook {

namespace {

// Selects the printer that was chosen before a printing window again, whatever the window's
// print dialog chose.
class TPrinterKeeper {
public:
    TPrinterKeeper() : mName(print::TRPDevice::Instance().DeviceName()) {}
    ~TPrinterKeeper()
    {
        try {
            print::TRPDevice& device = print::TRPDevice::Instance();
            if (!mName.isEmpty() && device.DeviceName() != mName && !device.JobRunning())
                device.SelectPrinterByName(mName);
        } catch (...) {
        }
    }
    TPrinterKeeper(const TPrinterKeeper&) = delete;
    TPrinterKeeper& operator=(const TPrinterKeeper&) = delete;

private:
    QString mName;
};

// The calculated name fields exist while a report window is open.
class TNameFields {
public:
    explicit TNameFields(TAddressBook& book) : mBook(book) { mBook.SetCalculateNames(true); }
    ~TNameFields()
    {
        try {
            mBook.SetCalculateNames(false);
        } catch (...) {
        }
    }
    TNameFields(const TNameFields&) = delete;
    TNameFields& operator=(const TNameFields&) = delete;

private:
    TAddressBook& mBook;
};

} // namespace

void TAddressMain::PrintReportsItemClick()
{
    if (!mBook.Commands().idle)
        return;
    if (!print::CheckPrinterPresence(this))
        return;
    {
        TPrinterKeeper printer;
        THandOver handOver(mBook, THandOverOptions{});
        TNameFields names(mBook);
        reports::TReportSetup dialog(mBook.DataSet(), mBook.Apollo(),
                                     !mBook.FilterExpression().isEmpty(), this);
        if (!dialog.OpenFailure().isEmpty()) {
            data::TMessageService::Inform(this, dialog.OpenFailure());
            return;
        }
        RunDialog(dialog);
    }
    UpdateCommands();
}

void TAddressMain::PrintCurrentItemClick()
{
    if (!mBook.Commands().idle)
        return;
    if (!print::CheckPrinterPresence(this))
        return;
    reports::TPrintCurrentRecord dialog(mBook.DataSet(), this);
    RunDialog(dialog);
    UpdateCommands();
}

void TAddressMain::CountZipItemClick()
{
    if (!mBook.Commands().idle)
        return;
    if (!print::CheckPrinterPresence(this))
        return;
    {
        THandOverOptions options;
        options.clearBusy = false;
        options.rememberQuery = false;
        THandOver handOver(mBook, options);
        reports::TCountZipCodes dialog(mBook.DataSet(), this);
        RunDialog(dialog);
    }
    UpdateCommands();
}

} // namespace qm::addressbook
