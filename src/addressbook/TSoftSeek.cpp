#include "addressbook/TSoftSeek.h"

#include "addressbook/TAddressBook.h"
#include "data/TWin1252.h"

namespace qm::addressbook {

bool TSoftSeek::Run(TAddressBook& book, const QString& tag, const QString& text)
{
    if (text.isEmpty() || !book.IsOpen())
        return false;
    book.SetCurrentOrder(tag);
    data::TDataSet& ds = book.DataSet();
    const uint32_t remembered = ds.RecNo();
    bool found = false;
    {
        const auto exact = data::TApolloEnv::ScopedExact(false);
        const auto soft = data::TApolloEnv::ScopedSoftSeek(true);
        try {
            found = book.Apollo().Seek(data::TWin1252::Upper(text));
        } catch (const std::exception&) {
            found = false;
        }
    }
    if (!found && remembered != 0) {
        try {
            ds.GoTo(remembered);
        } catch (const std::exception&) {
            // Going back is best effort; the record shown stays as the seek left it.
        }
    }
    return found;
}

} // namespace qm::addressbook
