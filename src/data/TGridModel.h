#pragma once

// A table model over a data set for the browse and check grids: one row per shown record in the
// data set's order and query, one column per chosen field object. Rows are found lazily with a
// cursor of the model's own over the same table, and their values read without moving the data
// set, so a grid over a 1,000,000-record file loads only the rows it shows.
//
// The model does not follow the data set by itself: its owner calls Reset() after the order, the
// query or the records change (post, delete, pack).

#include <QAbstractTableModel>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

namespace qm::xbase {
class TCursor;
}

namespace qm::data {

class TDataSet;

// The stored values of one row, for computing its calculated columns.
class TGridRow {
public:
    virtual ~TGridRow() = default;
    virtual QString Value(const QString& field) const = 0;
    virtual uint32_t RecNo() const = 0;
    virtual bool Deleted() const = 0;
};

class TGridModel : public QAbstractTableModel {
public:
    using TCalcCell = std::function<QString(const TGridRow& row, const QString& field)>;

    explicit TGridModel(TDataSet& dataSet, QObject* parent = nullptr);
    ~TGridModel() override;

    // The columns by field name, in order; empty: every visible field object in declared order.
    void SetColumns(const QStringList& fieldNames);
    QStringList Columns() const { return mColumns; }
    void SetCalcCell(TCalcCell calc) { mCalc = std::move(calc); }

    // Re-reads the order, query and count from the data set.
    void Reset();

    // The record shown in a row (0 when out of range), and the row of a record (-1 when it is not
    // shown).
    uint32_t RecNoOfRow(int row) const;
    int RowOfRecNo(uint32_t recNo) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    class TRecordRow;
    bool Extend(int row) const; // walks until the row is known; false when there is none
    void RestoreDataSetPosition() const;

    TDataSet& mDataSet;
    QStringList mColumns;
    TCalcCell mCalc;
    std::unique_ptr<xbase::TCursor> mCursor;
    int mRowCount = 0;
    mutable std::vector<uint32_t> mRecNos; // rows known so far, from the top
    mutable bool mWalkDone = false;
};

} // namespace qm::data
