#pragma once

// A grid over a data set whose cells are edited in place: typing in a cell moves the data set to
// the row's record and puts it into edit state; the pending values show in that row until they are
// posted (Save, or moving to another record) or cancelled (Undo). Calculated columns stay
// read-only.
//
// A validator may refuse a pending record before it is posted; moving to another record then stays
// on it. The owner calls Reset() after the records or the order change.

#include "data/TGridModel.h"

#include <functional>

namespace qm::maintenance {

class TEditGridModel : public data::TGridModel {
public:
    // Returns an empty text when the pending record may be posted, else the message to show.
    using TValidator = std::function<QString(data::TDataSet&)>;

    explicit TEditGridModel(data::TDataSet& dataSet, QObject* parent = nullptr);

    void SetValidator(TValidator validator) { mValidator = std::move(validator); }

    // Posts the pending edit after the validator agrees; shows its message and returns false when
    // it does not (or when the engine refuses the record).
    bool PostPending();
    void CancelPending();
    // Moves the data set to the row's record, posting a pending edit first; false when that failed.
    bool MoveToRow(int row);
    // The field a column shows, and its width in characters (0 for calculated columns).
    QString FieldOfColumn(int column) const;
    int WidthOfColumn(int column) const;

    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    data::TDataSet& mDataSet;
    TValidator mValidator;
};

} // namespace qm::maintenance
