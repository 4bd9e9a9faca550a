#pragma once

// "Delete Records": all records (removed for good at once), the records matching the filter, or
// those that do not; "Delete Now" asks "Are you sure?" (No by default for all records, which cannot
// be taken back) and runs TDeleteRecordsRun with "Deleting Records " and a progress bar, then shows
// the count and the rebuild advice and closes. The run cannot be cancelled.

#include "maintenance/TDeleteRecordsRun.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace qm::data {
class TDataSet;
}

namespace qm::maintenance {

class TDeleteRecordsDialog : public QDialog {
public:
    static constexpr int kHelpContext = 1046;
    static constexpr const char* kClassName = "TDeleteRecordsDialog";

    // filterExpression: the main window's filter ("" when none is set).
    TDeleteRecordsDialog(data::TDataSet& dataSet, const QString& filterExpression,
                         QWidget* parent = nullptr);

    QRadioButton* DeleteAll() const { return mAll; }
    QRadioButton* DeleteFilter() const { return mFilter; }
    QRadioButton* DeleteNotFilter() const { return mNotFilter; }
    QPushButton* DeleteButton() const { return mDelete; }
    uint32_t Deleted() const { return mDeleted; }

    void DeleteButtonClick();

protected:
    void reject() override;

private:
    data::TDataSet& mDataSet;
    QString mFilterExpression;
    QRadioButton* mAll = nullptr;
    QRadioButton* mFilter = nullptr;
    QRadioButton* mNotFilter = nullptr;
    QLabel* mStatus = nullptr;
    QProgressBar* mBar = nullptr;
    QPushButton* mDelete = nullptr;
    QPushButton* mCancel = nullptr;
    bool mRunning = false;
    uint32_t mDeleted = 0;
};

} // namespace qm::maintenance
