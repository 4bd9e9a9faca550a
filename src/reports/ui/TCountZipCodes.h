#pragma once

// "Count Zip Codes": counts the records of each five-character ZIP code of the main window's
// records (its filter in force) as soon as the window shows, then prints or previews the tally
// in four columns. Cancel during the count asks "Cancel Count?" and closes the window.

#include "reports/TZipTally.h"

#include <QDialog>
#include <QStringList>
#include <optional>

class QLabel;
class QPushButton;
class QWidget;

namespace qm::data {
class TDataSet;
}

namespace qm::reports {

class TCountZipCodes : public QDialog {
public:
    static constexpr int kHelpContext = 1311;

    explicit TCountZipCodes(data::TDataSet& dataSet, QWidget* parent = nullptr);

    bool Counted() const { return mLines.has_value(); }
    const QStringList& Lines() const { return *mLines; }
    const TZipTally& Tally() const { return mTally; }

    QLabel* ExplanationLabel() const { return mExplanation; }
    QLabel* StatusLabel() const { return mStatus; }
    QPushButton* CancelButton() const { return mCancelButton; }
    QWidget* BottomBar() const { return mBottomBar; }
    QPushButton* PrintButton() const { return mPrintButton; }
    QPushButton* PreviewButton() const { return mPreviewButton; }
    QPushButton* PrinterSetupButton() const { return mPrinterSetupButton; }
    QPushButton* OkButton() const { return mOkButton; }
    QPushButton* HelpButton() const { return mHelpButton; }

    // Counts now; returns false when the count was cancelled (the window then closes).
    bool Count();
    void CancelButtonClick();
    void PrintButtonClick();
    void PreviewButtonClick();
    void PrinterSetupButtonClick();
    void HelpButtonClick();

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void RunReport(bool preview);

    data::TDataSet& mDataSet;
    TZipTally mTally;
    std::optional<QStringList> mLines;
    bool mActivated = false;
    bool mCounting = false;
    bool mCancelRequested = false;

    QLabel* mExplanation = nullptr;
    QLabel* mStatus = nullptr;
    QPushButton* mCancelButton = nullptr;
    QWidget* mBottomBar = nullptr;
    QPushButton* mPrintButton = nullptr;
    QPushButton* mPreviewButton = nullptr;
    QPushButton* mPrinterSetupButton = nullptr;
    QPushButton* mOkButton = nullptr;
    QPushButton* mHelpButton = nullptr;
};

} // namespace qm::reports
