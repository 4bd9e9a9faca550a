#include "transfer/ui/TTransferCommands.h"

#include "addressbook/TAddressBook.h"
#include "addressbook/THandOver.h"
#include "data/TMessageService.h"
#include "transfer/ui/TAsciiImport.h"
#include "transfer/ui/TCopyOut.h"
#include "transfer/ui/TDBFImport.h"
#include "transfer/ui/TImportOlder.h"

#include <QDir>
#include <QHash>

namespace qm::transfer {

namespace {

const QString kNoFile = QStringLiteral("You need to have a database file open first");

// The labels and visibility of the main window's fields, taken before its table closes.
TFieldMatch::TLabelOf MainLabels(const addressbook::TAddressBook& book)
{
    QHash<QString, TFieldMatch::TLabel> labels;
    for (const auto& field : const_cast<addressbook::TAddressBook&>(book).DataSet().Fields())
        labels.insert(field->Name().toUpper(), {field->DisplayLabel(), field->Visible()});
    return [labels](const QString& name) {
        return labels.value(name.toUpper(), TFieldMatch::TLabel{name, true});
    };
}

// The ASCII and DBF imports: the window holds the file while it runs.
template <typename TWindow>
void RunOwnTableImport(addressbook::TAddressBook& book, QWidget* parent,
                       const TTransferCommands::TRunDialog& run)
{
    if (!book.IsOpen()) {
        data::TMessageService::Inform(parent, kNoFile);
        return;
    }
    const QString path = book.CurrentPath();
    const QString order = book.SortTag();
    const QString working = QDir::currentPath();
    const TFieldMatch::TLabelOf labels = MainLabels(book);
    book.SetBusy(false);
    book.CloseFile();
    {
        TWindow window(labels, parent);
        if (window.OpenAddressFile(path))
            run(window);
        else
            data::TMessageService::Inform(
                parent, QStringLiteral("Unknown error. Unable to do ASCII import at this time"));
    }
    QDir::setCurrent(working);
    book.SetBusy(true);
    if (book.OpenAddressFile(path)) {
        book.SetCurrentOrder(order);
        book.ApplyFilter();
        book.DataSet().First();
    }
}

} // namespace

bool TTransferCommands::Handles(const QString& actionName)
{
    return actionName == QLatin1String("ImportAsciiItem") ||
           actionName == QLatin1String("ImportDbfItem") ||
           actionName == QLatin1String("Import1xItem") ||
           actionName == QLatin1String("Import2xItem") || actionName == QLatin1String("ExportItem");
}

bool TTransferCommands::Run(const QString& actionName, addressbook::TAddressBook& book,
                            QWidget* parent, const TRunDialog& run)
{
    if (actionName == QLatin1String("ImportAsciiItem"))
        ImportAscii(book, parent, run);
    else if (actionName == QLatin1String("ImportDbfItem"))
        ImportDbf(book, parent, run);
    else if (actionName == QLatin1String("Import1xItem"))
        ImportOlder(true, book, parent, run);
    else if (actionName == QLatin1String("Import2xItem"))
        ImportOlder(false, book, parent, run);
    else if (actionName == QLatin1String("ExportItem"))
        Export(book, parent, run);
    else
        return false;
    return true;
}

void TTransferCommands::ImportAscii(addressbook::TAddressBook& book, QWidget* parent,
                                    const TRunDialog& run)
{
    RunOwnTableImport<TAsciiImport>(book, parent, run);
}

void TTransferCommands::ImportDbf(addressbook::TAddressBook& book, QWidget* parent,
                                  const TRunDialog& run)
{
    RunOwnTableImport<TDBFImport>(book, parent, run);
}

void TTransferCommands::ImportOlder(bool version1, addressbook::TAddressBook& book, QWidget* parent,
                                    const TRunDialog& run)
{
    if (!book.IsOpen()) {
        data::TMessageService::Inform(parent, kNoFile);
        return;
    }
    const QString working = QDir::currentPath();
    addressbook::THandOverOptions options;
    options.rememberQuery = false;
    options.applyFilterAfter = true;
    {
        addressbook::THandOver handOver(book, options);
        if (book.DataSet().Editing())
            book.DataSet().Cancel();
        book.Apollo().SetQuery(QString());
        TImportOlder window(version1 ? TOlderImportSource::TVersion::V1
                                     : TOlderImportSource::TVersion::V2,
                            book.DataSet().Table(), book.CurrentPath(), parent);
        run(window);
    }
    QDir::setCurrent(working);
}

void TTransferCommands::Export(addressbook::TAddressBook& book, QWidget* parent,
                               const TRunDialog& run)
{
    if (!book.IsOpen() || book.DataSet().IsEmpty()) {
        data::TMessageService::Inform(
            parent, QStringLiteral("No active records for current filter. Nothing to copy"));
        return;
    }
    const QString working = QDir::currentPath();
    addressbook::THandOverOptions options;
    options.rememberQuery = false;
    {
        addressbook::THandOver handOver(book, options);
        const uint32_t total = book.Apollo().QueryRecCount();
        TCopyOut window(book.DataSet().Cursor(), total, book.CurrentPath(), parent);
        run(window);
    }
    QDir::setCurrent(working);
}

} // namespace qm::transfer
