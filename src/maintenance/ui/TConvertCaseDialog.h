#pragma once

// "Convert Case": which records (the current one, all, the filter matches), which conversion and
// which fields; "Convert" asks "Convert now? This process cannot be undone.." (No by default) and
// runs TCaseConversionRun with a progress bar; Cancel during the run asks "Cancel case conversion?"
// and stops after the current record.

#include "maintenance/TCaseConversionRun.h"

#include <QDialog>
#include <map>

class QCheckBox;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace qm::data {
class TDataSet;
}

namespace qm::maintenance {

class TConvertCaseDialog : public QDialog {
public:
    static constexpr int kHelpContext = 1045;
    static constexpr const char* kClassName = "TConvertCaseDialog";

    TConvertCaseDialog(data::TDataSet& dataSet, bool filterSet, QWidget* parent = nullptr);

    QRadioButton* CurrentRadio() const { return mCurrent; }
    QRadioButton* AllRadio() const { return mAll; }
    QRadioButton* FilterRadio() const { return mFilter; }
    QRadioButton* UpperRadio() const { return mUpper; }
    QRadioButton* ProperRadio() const { return mProper; }
    QRadioButton* LowerRadio() const { return mLower; }
    QCheckBox* FieldCheck(const QString& field) const;
    QCheckBox* AllFieldsCheck() const { return mAllFields; }
    QPushButton* ConvertButton() const { return mConvert; }
    TCaseOptions Options() const;
    const TCaseConversionRun::TOutcome& Outcome() const { return mOutcome; }
    void SetAfterRecordHook(std::function<void(const TRunStep&)> hook)
    {
        mAfterRecord = std::move(hook);
    }

    void ConvertButtonClick();
    void CancelButtonClick();

protected:
    void reject() override;

private:
    data::TDataSet& mDataSet;
    QRadioButton* mCurrent = nullptr;
    QRadioButton* mAll = nullptr;
    QRadioButton* mFilter = nullptr;
    QRadioButton* mUpper = nullptr;
    QRadioButton* mProper = nullptr;
    QRadioButton* mLower = nullptr;
    std::map<QString, QCheckBox*> mFields;
    QCheckBox* mAllFields = nullptr;
    QProgressBar* mBar = nullptr;
    QPushButton* mConvert = nullptr;
    QPushButton* mCancel = nullptr;
    bool mRunning = false;
    bool mStop = false;
    TCaseConversionRun::TOutcome mOutcome;
    std::function<void(const TRunStep&)> mAfterRecord;
};

} // namespace qm::maintenance
