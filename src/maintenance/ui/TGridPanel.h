#pragma once

// The editable result grid of the checks and the state table editor: the caption "Click on field to
// begin editing", a grid over a data set whose cells are edited in place (entries limited to the
// field's width), and the navigator (first, prior, next, last). Moving in the grid moves the data
// set's current record. Buttons of the owning window go into ButtonRow().

#include <QStringList>
#include <QWidget>

class QHBoxLayout;
class QLabel;
class QTableView;

namespace qm::data {
class TDataSet;
class TGridModel;
} // namespace qm::data

namespace qm::maintenance {

class TEditGridModel;

class TGridPanel : public QWidget {
public:
    TGridPanel(data::TDataSet& dataSet, QWidget* parent = nullptr);
    ~TGridPanel() override;

    // Columns by field name (empty: every visible field). Call before Bind().
    void SetColumns(const QStringList& fields);
    TEditGridModel& Model() const { return *mModel; }
    QTableView* Grid() const { return mGrid; }
    QHBoxLayout* ButtonRow() const { return mButtons; }
    QLabel* Caption() const { return mCaption; }

    // Re-reads the records (order, query, count) and selects the data set's current record.
    void Refresh();
    // Moves the grid column showing field to the visual position; returns the old position.
    int MoveColumn(const QString& field, int visual);
    // Re-reads the records without selecting: after the data set left an order that goes away
    // (a result index about to be deleted), so the grid's own cursor lets go of it too.
    void Release();

    void FirstButtonClick();
    void PriorButtonClick();
    void NextButtonClick();
    void LastButtonClick();

private:
    void SelectRow(int row);
    void GridCurrentChange(const QModelIndex& current, const QModelIndex& previous);

    data::TDataSet& mDataSet;
    TEditGridModel* mModel = nullptr;
    QTableView* mGrid = nullptr;
    QLabel* mCaption = nullptr;
    QHBoxLayout* mButtons = nullptr;
    bool mSyncing = false;
};

} // namespace qm::maintenance
