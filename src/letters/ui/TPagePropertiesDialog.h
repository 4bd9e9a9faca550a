#pragma once

// The letter's page settings ("Page Properties"): paper width and height, the four margins and
// the unit they are shown in. Values are held in twips; each edit converts its text as it
// changes, and a text that is not a number is refused with a message while the value is kept. Ok
// refuses a page that leaves no text area, naming the value. The unit chosen stays for the rest
// of the run.

#include "letters/TLetterBounds.h"
#include "letters/TPageUnits.h"

#include <QDialog>
#include <array>

class QComboBox;
class QLineEdit;

namespace qm::letters {

class TPagePropertiesDialog : public QDialog {
public:
    static constexpr int kHelpContext = 7012;

    explicit TPagePropertiesDialog(const TLetterPageTwips& page, QWidget* parent = nullptr);

    TLetterPageTwips Page() const { return mPage; }
    QComboBox* UnitList() const { return mUnit; }
    // Edits in the order width, height, top, bottom, left, right.
    QLineEdit* Edit(int index) const { return mEdits[size_t(index)]; }

    void accept() override;

    // The unit the dialog opens with (the last one confirmed in this run).
    static TPageUnit RememberedUnit();

private:
    int* Value(int index);
    void ShowValues();
    void EditChanged(int index);
    void UnitChanged();

    TLetterPageTwips mPage;
    TPageUnit mShownUnit = TPageUnit::Inch;
    std::array<QLineEdit*, 6> mEdits{};
    QComboBox* mUnit = nullptr;
    bool mShowing = false;
};

} // namespace qm::letters
