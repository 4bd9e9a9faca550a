#include "data/TGridModel.h"

#include "data/TDataSet.h"
#include "data/TWin1252.h"
#include "xbase/TCursor.h"

namespace qm::data {

class TGridModel::TRecordRow : public TGridRow {
public:
    TRecordRow(const TDataSet& dataSet, xbase::TRecordView view) : mDataSet(dataSet), mView(view) {}

    QString Value(const QString& field) const override
    {
        const TDataField* f = mDataSet.FindField(field);
        if (!f || f->Calculated() || f->EngineIndex() < 0)
            return {};
        const auto& info = mDataSet.Table().Fields()[size_t(f->EngineIndex())];
        if (info.type == xbase::TFieldType::Memo)
            return {};
        std::string_view bytes = mView.Field(info);
        while (!bytes.empty() && (bytes.back() == ' ' || bytes.back() == '\0'))
            bytes.remove_suffix(1);
        if (info.type == xbase::TFieldType::Logical)
            return (!bytes.empty() &&
                    std::string_view("TtYy").find(bytes[0]) != std::string_view::npos)
                       ? QStringLiteral("T")
                       : QStringLiteral("F");
        QString text = TWin1252::Decode(bytes.data(), qsizetype(bytes.size()));
        if (info.type == xbase::TFieldType::Numeric || info.type == xbase::TFieldType::Float)
            text = text.trimmed();
        return text;
    }
    uint32_t RecNo() const override { return mView.recNo; }
    bool Deleted() const override { return mView.Deleted(); }

private:
    const TDataSet& mDataSet;
    xbase::TRecordView mView;
};

TGridModel::TGridModel(TDataSet& dataSet, QObject* parent)
    : QAbstractTableModel(parent), mDataSet(dataSet)
{
    Reset();
}

TGridModel::~TGridModel() = default;

void TGridModel::SetColumns(const QStringList& fieldNames)
{
    beginResetModel();
    mColumns = fieldNames;
    endResetModel();
}

void TGridModel::Reset()
{
    beginResetModel();
    if (mColumns.isEmpty())
        for (const auto& field : mDataSet.Fields())
            if (field->Visible())
                mColumns << field->Name();
    mRecNos.clear();
    mWalkDone = false;
    mRowCount = 0;
    mCursor.reset();
    if (mDataSet.Active()) {
        const xbase::TCursor& source = mDataSet.Cursor();
        mCursor = std::make_unique<xbase::TCursor>(mDataSet.Table());
        if (source.SingleIndexOrder())
            mCursor->SetOrder(*source.SingleIndexOrder());
        else
            mCursor->SetOrder(source.Order());
        mCursor->SetQuery(source.Query());
        mRowCount = int(mCursor->Count());
        RestoreDataSetPosition();
    }
    endResetModel();
}

void TGridModel::RestoreDataSetPosition() const
{
    if (mDataSet.RecNo() != 0 && mDataSet.Table().RecNo() != mDataSet.RecNo())
        mDataSet.Cursor().Go(mDataSet.RecNo());
}

bool TGridModel::Extend(int row) const
{
    if (row < int(mRecNos.size()))
        return true;
    if (!mCursor || mWalkDone)
        return false;
    if (mRecNos.empty())
        mCursor->GoTop();
    else {
        mCursor->Go(mRecNos.back());
        mCursor->Skip(1);
    }
    // Read-ahead pays only in record order; in an index order the records come from all over the
    // file and every read would fetch a whole read-ahead block.
    const bool recordOrder = mCursor->Order() == 0 && !mCursor->SingleIndexOrder();
    mCursor->SetTurboRead(recordOrder);
    while (int(mRecNos.size()) <= row && !mCursor->Eof()) {
        mRecNos.push_back(mCursor->RecNo());
        if (int(mRecNos.size()) <= row)
            mCursor->Skip(1);
    }
    mCursor->SetTurboRead(false);
    if (mCursor->Eof())
        mWalkDone = true;
    RestoreDataSetPosition();
    return row < int(mRecNos.size());
}

uint32_t TGridModel::RecNoOfRow(int row) const
{
    if (row < 0 || row >= mRowCount || !Extend(row))
        return 0;
    return mRecNos[size_t(row)];
}

int TGridModel::RowOfRecNo(uint32_t recNo) const
{
    if (recNo == 0)
        return -1;
    for (int row = 0; row < mRowCount; ++row) {
        if (!Extend(row))
            return -1;
        if (mRecNos[size_t(row)] == recNo)
            return row;
    }
    return -1;
}

int TGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : mRowCount;
}

int TGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(mColumns.size());
}

QVariant TGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole || index.column() >= mColumns.size())
        return {};
    const uint32_t recNo = RecNoOfRow(index.row());
    if (recNo == 0)
        return {};
    const TRecordRow row(mDataSet, mDataSet.Table().ReadRecord(recNo));
    const QString& field = mColumns[index.column()];
    const TDataField* f = mDataSet.FindField(field);
    if (f && f->Calculated())
        return mCalc ? mCalc(row, f->Name()) : QString();
    return row.Value(field);
}

QVariant TGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section < 0 || section >= mColumns.size())
        return {};
    const TDataField* field = mDataSet.FindField(mColumns[section]);
    return field ? field->DisplayLabel() : mColumns[section];
}

} // namespace qm::data
