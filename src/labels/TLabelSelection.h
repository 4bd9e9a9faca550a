#pragma once

// Which label positions of a sheet are filled: one flag per position, numbered from 0 row by row
// (TLabelSheet), the same for every sheet of a job. The selection always covers every position of
// its sheet, whatever the sheet's size; flags of positions beyond the sheet are never kept, so
// they cannot make an empty selection look filled.

#include <QString>
#include <optional>
#include <vector>

namespace qm::labels {

class TLabelSelection {
public:
    // All positions of a sheet with that many positions selected.
    explicit TLabelSelection(int positions = 0);

    int Positions() const { return static_cast<int>(mSelected.size()); }
    // Fits the selection to a sheet of another size: positions it had keep their flags, new ones
    // are selected.
    void Resize(int positions);

    bool Selected(int position) const;
    void SetSelected(int position, bool selected);
    void Toggle(int position);
    void SelectAll();
    void SelectNone();
    int SelectedCount() const;
    bool AnySelected() const { return SelectedCount() > 0; }

    // "You must select at least one card to print": what Ok shows with no position selected.
    static QString NothingSelectedMessage();

    // Reads a position list as typed on the command line: numbers from 1 and ranges "6-30"
    // separated by commas, blanks allowed around each ("6-30,32"). Every number must be on the
    // sheet. On error returns nothing and sets the message, naming the part that is wrong.
    static std::optional<TLabelSelection> Parse(const QString& list, int positions,
                                                QString* error = nullptr);

private:
    std::vector<bool> mSelected;
};

} // namespace qm::labels
