#pragma once

// "Print Envelope": the user's envelope layouts (the ENVELOPE rows) with a picture of the selected
// one at 30 %, the commands that manage them (Modify opens the designer, New, Delete, Clone), and
// the print side: what to print, the current record, printer set-up, Preview and Print.
//
// Print and Preview: the layout is loaded into the window's design panel, the envelope printer
// settings are applied and the paper set to the envelope's size in the feed's orientation; the
// "Envelope Print" dialog confirms printer and feed (both then saved to the settings file); the
// records are scoped (TEnvelopeRecordScope, which gives filter, order and record back in every
// case) and the status window (TEnvelopeForm) runs the job; a preview then opens at whole page.
//
// The address data set is not owned and must outlive the window. Every modal dialog runs
// through RunDialog, which tests replace to drive the dialogs.

#include "envelopes/TEnvelopeFeedMethod.h"
#include "envelopes/TEnvelopeLayout.h"
#include "envelopes/TEnvelopeLayoutStore.h"
#include "envelopes/TEnvelopeRecordScope.h"
#include "print/TReportPrinter.h"

#include <QDialog>
#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace qm::data {
class TDataSet;
}

namespace qm::design {
class TGDataPanel;
class TGOwner;
} // namespace qm::design

namespace qm::envelopes {

class TQMEnvelopes : public QDialog {
public:
    static constexpr int kHelpContext = 1401;
    static constexpr const char* kClassName = "TQMEnvelopes";
    static constexpr float kPictureScale = 0.3f;

    TQMEnvelopes(data::TDataSet& addresses, QWidget* parent = nullptr);
    ~TQMEnvelopes() override;

    // Runs a modal dialog; exec() unless a test replaces it.
    std::function<int(QDialog&)> RunDialog;

    TEnvelopeLayoutStore& Store() { return mStore; }
    int CurrentRow() const;
    const TEnvelopeFeedMethod& Feed() const { return mFeed; }
    // The picture of the selected layout as last drawn (null when there is none).
    const QImage& PictureImage() const { return mPictureImage; }

    // ---- controls
    QListWidget* Grid() const { return mGrid; }
    QLabel* Picture() const { return mPicture; }
    QPushButton* ModifyButton() const { return mModifyButton; }
    QPushButton* NewButton() const { return mNewButton; }
    QPushButton* DeleteButton() const { return mDeleteButton; }
    QPushButton* CloneButton() const { return mCloneButton; }
    QRadioButton* AllRecordsButton() const { return mAllRecords; }
    QRadioButton* FilterButton() const { return mMatchingFilter; }
    QRadioButton* CurrentRecordButton() const { return mCurrentRecord; }
    QCheckBox* StartFromCurrentBox() const { return mStartFromCurrent; }
    QLabel* RecordLabel() const { return mRecordLabel; }
    QToolButton* FirstButton() const { return mFirstButton; }
    QToolButton* PriorButton() const { return mPriorButton; }
    QToolButton* NextButton() const { return mNextButton; }
    QToolButton* LastButton() const { return mLastButton; }
    QPushButton* PrinterSetupButton() const { return mSetupButton; }
    QPushButton* PreviewButton() const { return mPreviewButton; }
    QPushButton* PrintButton() const { return mPrintButton; }
    QPushButton* OkButton() const { return mOkButton; }

    // ---- commands
    void ModifyClick();
    void NewClick();
    void DeleteClick();
    void CloneClick();
    void PrinterSetupClick();
    void PrintClick() { PrintOrPreview(false); }
    void PreviewClick() { PrintOrPreview(true); }

    // Replaces the system's printer set-up dialog (tests); true on Ok.
    std::function<bool(QWidget*)> OnPrinterSetup;

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void BuildControls();
    void FillGrid(int select);
    void UpdateEnabling();
    void DrawPicture();
    void ShowRecord();
    void LoadSettings();
    void SaveSettings();
    std::optional<int> ChooseSize(int code);
    // Loads a layout file into a panel; false (after the message) when it cannot be read.
    bool LoadLayout(design::TGDataPanel& panel, const QString& path);
    void Design(TEnvelopeLayout values);
    void PrintOrPreview(bool preview);
    TEnvelopeRecords Records() const;

    data::TDataSet& mAddresses;
    TEnvelopeLayoutStore mStore;
    TEnvelopeFeedMethod mFeed;
    print::TReportPrinter mJob; // printer set-up only
    std::unique_ptr<design::TGOwner> mOwner;
    std::unique_ptr<design::TGDataPanel> mPanel;
    QImage mPictureImage;
    bool mActivated = false;
    bool mPlacementSaved = false;

    QListWidget* mGrid = nullptr;
    QLabel* mPicture = nullptr;
    QPushButton* mModifyButton = nullptr;
    QPushButton* mNewButton = nullptr;
    QPushButton* mDeleteButton = nullptr;
    QPushButton* mCloneButton = nullptr;
    QRadioButton* mAllRecords = nullptr;
    QRadioButton* mMatchingFilter = nullptr;
    QRadioButton* mCurrentRecord = nullptr;
    QCheckBox* mStartFromCurrent = nullptr;
    QLabel* mRecordLabel = nullptr;
    QToolButton* mFirstButton = nullptr;
    QToolButton* mPriorButton = nullptr;
    QToolButton* mNextButton = nullptr;
    QToolButton* mLastButton = nullptr;
    QPushButton* mSetupButton = nullptr;
    QPushButton* mPreviewButton = nullptr;
    QPushButton* mPrintButton = nullptr;
    QPushButton* mOkButton = nullptr;
    QPushButton* mHelpButton = nullptr;
};

} // namespace qm::envelopes
