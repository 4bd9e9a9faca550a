#pragma once

// What the two matching windows share: the "Field Match" grid (one row per target under the label
// the main window shows, the source field matched to it beside it; 0.3 and 0.7 of the width), the
// "&Select Field" pop-up (also a double-click on a row) with "(none)" and the sources the row
// takes, the current one checked; "&Clear Current", "Clear &All", "Ok" and "Cancel". The window
// works on a copy of the matches; Match() gives them after "Ok".

#include "transfer/TFieldMatch.h"

#include <QDialog>
#include <functional>

class QTableWidget;
class QVBoxLayout;

namespace qm::transfer {

class TMatchFieldsDialog : public QDialog {
public:
    const TFieldMatch& Match() const { return mMatch; }
    QTableWidget* MatchGrid() const { return mGrid; }

    // The pop-up's entries for the current row: "(none)" then the offered source names.
    QStringList PopupEntries() const;
    // Chooses pop-up entry index (0 = "(none)") for the current row, as a click in the menu does.
    void ChoosePopupEntry(int index);
    // Tests answer the pop-up with this instead of showing the menu (the entry index, -1: none).
    void SetPopupChooser(std::function<int(const QStringList&)> chooser)
    {
        mPopupChooser = std::move(chooser);
    }

    void SelectFieldButtonClick();
    void ClearCurrentButtonClick();
    void ClearAllButtonClick();

protected:
    // sourceName(i) is how the pop-up and grid name source i.
    TMatchFieldsDialog(const QString& caption, const TFieldMatch& match, const QString& fileName,
                       int helpContext, QWidget* parent);
    // Subclasses put their grid above the match grid here.
    QVBoxLayout* TopArea() const { return mTop; }
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // Subclasses change the matches here and then show them with Refresh().
    TFieldMatch& EditMatch() { return mMatch; }
    void Refresh();

private:
    void FitColumns();

    TFieldMatch mMatch;
    QTableWidget* mGrid = nullptr;
    QVBoxLayout* mTop = nullptr;
    std::function<int(const QStringList&)> mPopupChooser;
};

} // namespace qm::transfer
