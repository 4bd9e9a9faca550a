#pragma once

// "Envelope Print": the last look before an envelope job. The "Printer Setup" panel shows the
// printer, source, paper and orientation the job will use, with a red warning when the paper
// does not match the envelope; the "Paper Feed" panel shows the feed picture and description.
// "Printer Setup" opens the system's set-up dialog; "Paper Feed Method" the feed dialog, whose
// Ok also turns the job to the feed's orientation. Ok gives the feed values (Feed()).

#include "envelopes/TEnvelopeFeedMethod.h"
#include "envelopes/TEnvelopeSizes.h"

#include <QDialog>
#include <functional>
#include <optional>

class QLabel;
class QPushButton;

namespace qm::print {
class TBaseReport;
}

namespace qm::envelopes {

class TEnvelopeFeedPicture;

class TEnvelopePrePrint : public QDialog {
public:
    static constexpr int kHelpContext = 1404;

    // job: the window's job for printer set-up (not owned, must outlive the dialog).
    TEnvelopePrePrint(print::TBaseReport& job, const TEnvelopeFeedMethod& feed, int code,
                      QWidget* parent = nullptr);

    const TEnvelopeFeedMethod& Feed() const { return mFeed; }

    QLabel* PrinterLabel() const { return mPrinter; }
    QLabel* SourceLabel() const { return mSource; }
    QLabel* PaperLabel() const { return mPaper; }
    QLabel* OrientationLabel() const { return mOrientation; }
    QLabel* WarningLabel() const { return mWarning; }
    QLabel* FeedLabel() const { return mFeedText; }
    TEnvelopeFeedPicture* Picture() const { return mPicture; }
    QPushButton* PrinterSetupButton() const { return mSetupButton; }
    QPushButton* FeedButton() const { return mFeedButton; }
    QPushButton* OkButton() const { return mOkButton; }
    QPushButton* CancelButton() const { return mCancelButton; }

    void PrinterSetupClick();
    void FeedButtonClick();

    // Turns the job and the printer to the feed's orientation at once, so that the page size the
    // job reports before it runs is the one it will print on.
    static void TurnJob(print::TBaseReport& job, TFeedOrientation orientation);

    // Replace the dialogs (tests): the printer set-up (true on Ok) and the feed dialog (the
    // chosen values, nothing when cancelled).
    std::function<bool(QWidget*)> OnPrinterSetup;
    std::function<std::optional<TEnvelopeFeedMethod>(const TEnvelopeFeedMethod&, QWidget*)>
        OnChooseFeed;

private:
    void RefreshPrinter();
    void RefreshFeed();

    print::TBaseReport& mJob;
    TEnvelopeFeedMethod mFeed;
    int mCode;
    QLabel* mPrinter = nullptr;
    QLabel* mSource = nullptr;
    QLabel* mPaper = nullptr;
    QLabel* mOrientation = nullptr;
    QLabel* mWarning = nullptr;
    QLabel* mFeedText = nullptr;
    TEnvelopeFeedPicture* mPicture = nullptr;
    QPushButton* mSetupButton = nullptr;
    QPushButton* mFeedButton = nullptr;
    QPushButton* mOkButton = nullptr;
    QPushButton* mCancelButton = nullptr;
};

} // namespace qm::envelopes
