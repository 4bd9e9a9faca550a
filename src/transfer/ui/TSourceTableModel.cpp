#include "transfer/ui/TSourceTableModel.h"

#include "data/TWin1252.h"
#include "transfer/TDbfSourceTable.h"
#include "transfer/TTransferError.h"
#include "xbase/TTable.h"

namespace qm::transfer {

TSourceTableModel::TSourceTableModel(TDbfSourceTable& source, QObject* parent)
    : QAbstractTableModel(parent), mSource(source)
{
}

int TSourceTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(mSource.RecordCount());
}

int TSourceTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(mSource.Table().Fields().size());
}

QVariant TSourceTableModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    try {
        mSource.Go(uint32_t(index.row() + 1));
        std::string text;
        mSource.Text(index.column(), text);
        QString shown =
            data::TWin1252::Decode(text.data(), qsizetype(std::min<size_t>(text.size(), 200)));
        shown.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        return shown;
    } catch (const TTransferError& error) {
        return error.Message();
    }
}

QVariant TSourceTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    return QString::fromStdString(mSource.Table().Fields()[size_t(section)].name);
}

} // namespace qm::transfer
