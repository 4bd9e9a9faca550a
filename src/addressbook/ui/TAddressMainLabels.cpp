// "Print Labels": hands the records to the label window as the main window does for every
// printing window (THandOver) and takes them back afterwards, with the printer as it was.

#include "addressbook/THandOver.h"
#include "addressbook/ui/TAddressMain.h"
#include "data/TMessageService.h"
#include "labels/ui/TLabelSetupScreen.h"
#include "print/TRPDevice.h"

namespace qm::addressbook {

namespace {

// Clears the table's scope and gives the printer its default page set-up and the printer chosen
// before the window opened; runs before the hand-over puts the query and record back.
class TLabelWindowAfter {
public:
    explicit TLabelWindowAfter(TAddressBook& book)
        : mBook(book), mPrinter(print::TRPDevice::Instance().DeviceName())
    {
        mBook.SetCalculateNames(true);
    }
    ~TLabelWindowAfter()
    {
        try {
            mBook.SetCalculateNames(false);
            if (mBook.IsOpen())
                mBook.Apollo().SetScope({}, {});
            print::TRPDevice& device = print::TRPDevice::Instance();
            if (!device.JobRunning() && device.HasPrinter()) {
                device.SetOrientation(print::TOrientation::poDefault);
                device.SetPaperSize(1);
                device.SetCopies(1);
                if (!mPrinter.isEmpty())
                    device.SelectPrinterByName(mPrinter);
            }
        } catch (...) {
            // Putting things back never fails the command that ran.
        }
    }
    TLabelWindowAfter(const TLabelWindowAfter&) = delete;
    TLabelWindowAfter& operator=(const TLabelWindowAfter&) = delete;

private:
    TAddressBook& mBook;
    QString mPrinter;
};

} // namespace

void TAddressMain::PrintLabelsItemClick()
{
    if (!mBook.Commands().idle)
        return;
    {
        THandOver handOver(mBook, THandOverOptions{});
        TLabelWindowAfter after(mBook);
        labels::TLabelSetupScreen screen(mBook.Apollo(), mBook.Commands().filtered, this);
        if (!screen.OpenFailure().isEmpty()) {
            data::TMessageService::Inform(this, screen.OpenFailure());
            return;
        }
        RunDialog(screen);
    }
    UpdateCommands();
}

} // namespace qm::addressbook
