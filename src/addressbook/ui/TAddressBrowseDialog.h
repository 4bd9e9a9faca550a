#pragma once

// The "Address Browse" grid: the main table's shown fields in the stored column order
// (FIELDS.LST), one row per shown record, bound to the main window's data set so that moving in
// the grid moves the main window's current record and the other way round. Columns can be resized
// and moved, nothing edited. Rows come lazily from TGridModel, so a file of any size opens at once.
// Columns start as wide as their fields (TBrowseColumnWidths); widths the user drags are kept in
// the widths object, which outlives the window.
//
// After the window closes, WriteColumnOrder() stores every field name in the current column
// order (the caller does it, also after Ok).

#include <QDialog>
#include <QStringList>

class QTableView;

namespace qm::data {
class TGridModel;
}

namespace qm::addressbook {

class TAddressBook;
class TBrowseColumnWidths;

class TAddressBrowseDialog : public QDialog {
public:
    static constexpr int kHelpContext = 1034;
    static constexpr const char* kClassName = "TAddressBrowseDialog";
    // The settings section's name ("_Placement" follows); earlier copies wrote kClassName's.
    static constexpr const char* kPlacementName = "TAddressBrowseForm";
    // The size it was designed at, at 96 pixels per inch.
    static constexpr int kDesignWidth = 620;
    static constexpr int kDesignHeight = 380;

    TAddressBrowseDialog(TAddressBook& book, TBrowseColumnWidths& widths,
                         QWidget* parent = nullptr);
    ~TAddressBrowseDialog() override;

    QTableView* Grid() const { return mGrid; }
    data::TGridModel& Model() const { return *mModel; }
    // Every field of the table in the current column order (shown ones as the grid has them).
    QStringList ColumnOrder() const;
    // Writes ColumnOrder() to FIELDS.LST; returns the error text, empty on success.
    QString WriteColumnOrder() const;

    void FirstButtonClick();
    void PriorButtonClick();
    void NextButtonClick();
    void LastButtonClick();
    void TagButtonClick();
    void GridDblClick(const QModelIndex& index);

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void GridCurrentChange(const QModelIndex& current);
    void SelectRow(int row);
    void SelectCurrentRecord();
    void SizeColumns();

    TAddressBook& mBook;
    TBrowseColumnWidths& mWidths;
    bool mSizingColumns = false;
    QStringList mOrder; // every field, in column order
    data::TGridModel* mModel = nullptr;
    QTableView* mGrid = nullptr;
    bool mSyncing = false;
    bool mPlaced = false;
};

} // namespace qm::addressbook
