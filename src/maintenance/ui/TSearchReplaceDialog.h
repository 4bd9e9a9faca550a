#pragma once

// "Search and Replace": the field, the condition (exactly equal, or contains) with the find value
// and case sensitivity, the action (the whole field, or only the matching text) with the replace
// value, and the records (all, or the filter matches). Both entries are limited to the field's
// width. "Replace " asks the three-line question (Yes by default) and runs TSearchReplaceRun with
// "Replacing Records " and a progress bar, then shows "Replacement done" (and the records left
// unchanged because the new value would not fit) and closes.

#include "maintenance/TSearchReplaceRun.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace qm::data {
class TDataSet;
}

namespace qm::maintenance {

class TSearchReplaceDialog : public QDialog {
public:
    static constexpr int kHelpContext = 1003;
    static constexpr const char* kClassName = "TSearchReplaceDialog";

    TSearchReplaceDialog(data::TDataSet& dataSet, const QString& filterExpression,
                         QWidget* parent = nullptr);

    QComboBox* FieldChoice() const { return mField; }
    QRadioButton* ExactlyRadio() const { return mExactly; }
    QRadioButton* ContainsRadio() const { return mContains; }
    QLineEdit* FindEdit() const { return mFind; }
    QCheckBox* CaseCheck() const { return mCase; }
    QRadioButton* WholeRadio() const { return mWhole; }
    QRadioButton* PartialRadio() const { return mPartial; }
    QLineEdit* ReplaceEdit() const { return mReplace; }
    QRadioButton* ReplaceAll() const { return mAll; }
    QRadioButton* ReplaceFilter() const { return mFilter; }
    QPushButton* ReplaceButton() const { return mReplaceButton; }
    TReplaceOptions Options() const;
    const TSearchReplaceRun::TOutcome& Outcome() const { return mOutcome; }

    void ReplaceButtonClick();

protected:
    void reject() override;

private:
    void FieldChanged();

    data::TDataSet& mDataSet;
    QString mFilterExpression;
    QComboBox* mField = nullptr;
    QRadioButton* mExactly = nullptr;
    QRadioButton* mContains = nullptr;
    QLineEdit* mFind = nullptr;
    QCheckBox* mCase = nullptr;
    QRadioButton* mWhole = nullptr;
    QRadioButton* mPartial = nullptr;
    QLineEdit* mReplace = nullptr;
    QRadioButton* mAll = nullptr;
    QRadioButton* mFilter = nullptr;
    QLabel* mStatus = nullptr;
    QProgressBar* mBar = nullptr;
    QPushButton* mReplaceButton = nullptr;
    QPushButton* mCancel = nullptr;
    bool mRunning = false;
    TSearchReplaceRun::TOutcome mOutcome;
};

} // namespace qm::maintenance
