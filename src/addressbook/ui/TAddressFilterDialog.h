#pragma once

// The "Address Filter" form: the 18 filter entries and the "Tagged" check box, placed where the
// record form has its fields (TRecordFormLayout), with the hint panel and the date hint.
//
// It works on the main window's filter state directly: Test copies the entries into it and
// applies the filter, so the main window shows the matches at once. The state it started with is
// remembered; Cancel puts it back. Either way the caller applies the filter again afterwards.

#include "data/TFilterBuilder.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace qm::addressbook {

class TAddressBook;

class TAddressFilterDialog : public QDialog {
public:
    static constexpr int kHelpContext = 1033;
    static const QString kHint;
    static const QString kDateHint;

    TAddressFilterDialog(TAddressBook& book, QWidget* parent = nullptr);

    // The entry of filter entry i (TFilterEntries order), named after its control ("qLName").
    QLineEdit* Entry(int i) const { return mEntries[size_t(i)]; }
    QCheckBox* TaggedCheck() const { return mTagged; }
    QLabel* DateHintLabel() const { return mDateHintLabel; }
    QString MatchText() const;

    void TestButtonClick();
    void ClearButtonClick();
    void OKButtonClick();
    void CancelButtonClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    data::TFilterEntries FromControls() const;
    void ToControls(const data::TFilterEntries& filter);

    TAddressBook& mBook;
    data::TFilterEntries mRemembered;
    bool mLastRefused = false;
    int mLastCount = 0;
    std::array<QLineEdit*, data::TFilterEntries::kCount> mEntries{};
    QCheckBox* mTagged = nullptr;
    QLabel* mDateHintLabel = nullptr;
    QLabel* mMatch = nullptr;
};

} // namespace qm::addressbook
