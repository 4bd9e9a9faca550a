#pragma once

// The records of a source table for the read-only "Import DBF File Browser" grid: one row per
// record in record order, one column per field, values as the import takes them (converted from
// the table's code page). Rows are read when the grid asks for them.

#include <QAbstractTableModel>

namespace qm::transfer {

class TDbfSourceTable;

class TSourceTableModel : public QAbstractTableModel {
public:
    TSourceTableModel(TDbfSourceTable& source, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    TDbfSourceTable& mSource;
};

} // namespace qm::transfer
