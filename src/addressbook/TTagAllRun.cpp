#include "addressbook/TTagAllRun.h"

#include "addressbook/TAddressBook.h"

#include <QElapsedTimer>

namespace qm::addressbook {

TTagAllRun::TOutcome TTagAllRun::Run(const std::function<bool(int tagged)>& afterRecord)
{
    data::TDataSet& ds = mBook.DataSet();
    TOutcome outcome;
    if (!ds.Active())
        return outcome;
    struct TControlsOff {
        data::TDataSet& ds;
        explicit TControlsOff(data::TDataSet& d) : ds(d) { ds.DisableControls(); }
        ~TControlsOff()
        {
            try {
                if (ds.Editing())
                    ds.Cancel();
                // Tags already posted reach the disk even when the loop ended with an error.
                ds.Table().Commit();
                ds.First();
            } catch (...) {
            }
            ds.EnableControls();
        }
    } controlsOff(ds);

    const QString tag = mBook.TagIdentifier();
    // Committing after every record would wait for the disk each time; every half second keeps a
    // copy that is killed meanwhile to the tags of the last half second, index in step.
    QElapsedTimer sinceCommit;
    sinceCommit.start();
    ds.First();
    while (!ds.IsEmpty()) {
        ds.Edit();
        ds.SetAsString(QStringLiteral("TAG"), tag);
        ds.Post();
        ++outcome.tagged;
        if (sinceCommit.elapsed() >= 500) {
            ds.Table().Commit();
            sinceCommit.restart();
        }
        ds.Next();
        const bool atEnd = ds.Eof();
        if (afterRecord && afterRecord(outcome.tagged)) {
            outcome.cancelled = !atEnd;
            break;
        }
        if (atEnd)
            break;
    }
    return outcome;
}

} // namespace qm::addressbook
