#include "maintenance/ui/TEditGridModel.h"

#include "data/TDataField.h"
#include "data/TDataSet.h"
#include "data/TMessageService.h"
#include "xbase/TXbaseError.h"

namespace qm::maintenance {

TEditGridModel::TEditGridModel(data::TDataSet& dataSet, QObject* parent)
    : data::TGridModel(dataSet, parent), mDataSet(dataSet)
{
}

QString TEditGridModel::FieldOfColumn(int column) const
{
    return column >= 0 && column < Columns().size() ? Columns()[column] : QString();
}

int TEditGridModel::WidthOfColumn(int column) const
{
    const data::TDataField* field = mDataSet.FindField(FieldOfColumn(column));
    if (!field || field->Calculated() || field->Type() != data::TDataFieldType::String)
        return 0;
    return field->Size();
}

Qt::ItemFlags TEditGridModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = data::TGridModel::flags(index);
    if (index.isValid() && WidthOfColumn(index.column()) > 0)
        flags |= Qt::ItemIsEditable;
    return flags;
}

QVariant TEditGridModel::data(const QModelIndex& index, int role) const
{
    if ((role == Qt::DisplayRole || role == Qt::EditRole) && index.isValid() &&
        mDataSet.Editing() && RecNoOfRow(index.row()) == mDataSet.RecNo()) {
        const QString field = FieldOfColumn(index.column());
        if (WidthOfColumn(index.column()) > 0)
            return mDataSet.AsString(field);
    }
    return data::TGridModel::data(index, role);
}

bool TEditGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || WidthOfColumn(index.column()) == 0)
        return false;
    if (!MoveToRow(index.row()))
        return false;
    const QString field = FieldOfColumn(index.column());
    try {
        if (value.toString() == mDataSet.AsString(field))
            return true;
        if (!mDataSet.Editing())
            mDataSet.Edit();
        mDataSet.SetAsString(field, value.toString());
    } catch (const data::TDataSetError& error) {
        data::TMessageService::Inform(nullptr, error.Message());
        return false;
    } catch (const xbase::TXbaseError& error) {
        data::TMessageService::Inform(nullptr, QString::fromStdString(error.Message()));
        return false;
    }
    emit dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
    return true;
}

bool TEditGridModel::PostPending()
{
    if (!mDataSet.Editing())
        return true;
    if (mValidator) {
        const QString problem = mValidator(mDataSet);
        if (!problem.isEmpty()) {
            data::TMessageService::Inform(nullptr, problem);
            return false;
        }
    }
    try {
        mDataSet.Post();
        mDataSet.Table().Commit();
    } catch (const xbase::TXbaseError& error) {
        data::TMessageService::Inform(nullptr, QString::fromStdString(error.Message()));
        return false;
    } catch (const data::TDataSetError& error) {
        data::TMessageService::Inform(nullptr, error.Message());
        return false;
    }
    const int row = RowOfRecNo(mDataSet.RecNo());
    if (row >= 0)
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    return true;
}

void TEditGridModel::CancelPending()
{
    if (!mDataSet.Editing())
        return;
    const int row = RowOfRecNo(mDataSet.RecNo());
    mDataSet.Cancel();
    if (row >= 0)
        emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

bool TEditGridModel::MoveToRow(int row)
{
    const uint32_t recNo = RecNoOfRow(row);
    if (recNo == 0)
        return false;
    if (recNo == mDataSet.RecNo())
        return true;
    if (!PostPending())
        return false;
    mDataSet.GoTo(recNo);
    return true;
}

} // namespace qm::maintenance
