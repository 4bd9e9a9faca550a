#pragma once

// The letter print status window ("Print Status Screen"): a centred bold status line and one
// button. The run starts when the window is first shown: each record of the address table from
// the current one on gets a fresh merged copy of the template, printed copies times, with
// "Printing page N" after each record. While printing, the button (and Escape, and the close
// box) only asks for a stop, which the run looks at after the current record with the question
// "Cancel print job?"; afterwards the button reads "OK" and closes the window, and the status
// line reads "Letter Print Completed!", "Letter Print Canceled!" or "Letter Print Failed!" (the
// error is shown as well, and a half-written PDF removed by the sink); a completed print to a
// PDF file names the file on a second line ("Written to ...").

#include "data/ui/TEventPump.h"
#include "letters/TLetterRun.h"

#include <QDate>
#include <QDialog>
#include <functional>
#include <memory>

class QLabel;
class QPushButton;

namespace qm::data {
class TDataSet;
}
namespace qm::richtext {
class TRichDocument;
}

namespace qm::letters {

class TLetterPageSink;

class TLetterPrint : public QDialog {
public:
    static constexpr int kHelpContext = 7021;
    using TClock = std::function<QDate()>;

    // The template, data set and sink are not owned and must outlive the window.
    TLetterPrint(const richtext::TRichDocument& letterTemplate, data::TDataSet& addresses,
                 TLetterPageSink& sink, int copies, bool onlyCurrent, QWidget* parent = nullptr);

    void SetClock(TClock clock) { mClock = std::move(clock); }

    QLabel* StatusLabel() const { return mStatusLabel; }
    QPushButton* CancelButton() const { return mCancelButton; }
    bool Finished() const { return mFinished; }
    const TLetterRunOutcome& Outcome() const { return mOutcome; }

    void CancelButtonClick();

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void FormActivate();
    bool AfterRecord(const QString& status);

    const richtext::TRichDocument& mTemplate;
    data::TDataSet& mAddresses;
    TLetterPageSink& mSink;
    int mCopies;
    bool mOnlyCurrent;
    TClock mClock;
    QLabel* mStatusLabel = nullptr;
    QPushButton* mCancelButton = nullptr;
    bool mActivated = false;
    bool mRunning = false;
    bool mFinished = false;
    bool mCancelRequested = false;
    TLetterRunOutcome mOutcome;
    data::TEventPump mPump;
};

} // namespace qm::letters
