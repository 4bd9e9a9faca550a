#include "addressbook/THandOver.h"

#include "addressbook/TAddressBook.h"

namespace qm::addressbook {

THandOver::THandOver(TAddressBook& book, const THandOverOptions& options)
    : mBook(book), mOptions(options)
{
    data::TDataSet& ds = book.DataSet();
    if (ds.Active()) {
        mRecNo = ds.RecNo();
        mQuery = book.Apollo().Query();
    }
    mSortTag = book.SortTag();
    if (options.disableControls)
        ds.DisableControls();
    if (options.clearBusy)
        book.SetBusy(false);
}

THandOver::~THandOver()
{
    data::TDataSet& ds = mBook.DataSet();
    try {
        if (ds.Active()) {
            if (ds.Editing())
                ds.Cancel();
            if (mOptions.applyFilterAfter)
                mBook.ApplyFilter();
            else if (mOptions.rememberQuery && mBook.Apollo().Query() != mQuery)
                mBook.Apollo().SetQuery(mQuery);
            if (mOptions.rememberOrder)
                mBook.SetCurrentOrder(mSortTag);
            if (mOptions.firstRecordAfter)
                ds.First();
            else if (mOptions.rememberRecord && mRecNo != 0)
                ds.GoTo(mRecNo);
        }
    } catch (...) {
        // Putting the main window back must never fail the command that ran.
    }
    if (mOptions.disableControls)
        ds.EnableControls();
    if (mOptions.clearBusy)
        mBook.SetBusy(true);
}

} // namespace qm::addressbook
