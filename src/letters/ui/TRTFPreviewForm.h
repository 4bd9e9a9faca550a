#pragma once

// The letter preview ("Preview Letters"): the template merged with the main window's current
// record, shown page by page on a white page inside a scroll box, with zoom buttons, page buttons
// and record buttons that move the address table and merge again. Up and Down scroll the page;
// a left click on the page zooms in, any other button zooms out. The decisions (zoom, page
// stack, panel geometry) are TLetterPreviewState's.

#include "data/TRecordMove.h"
#include "letters/TLetterPreviewState.h"
#include "richtext/TRichDocument.h"

#include <QDate>
#include <QDialog>
#include <functional>

class QLabel;
class QScrollArea;
class QToolButton;
class QPushButton;

namespace qm::data {
class TDataSet;
}

namespace qm::letters {

class TLetterPageView;

class TRTFPreviewForm : public QDialog {
public:
    static constexpr int kHelpContext = 7022;
    using TClock = std::function<QDate()>;

    // The template is copied; the data set is not owned and must outlive the window.
    TRTFPreviewForm(const richtext::TRichDocument& letterTemplate, data::TDataSet& addresses,
                    QWidget* parent = nullptr);
    ~TRTFPreviewForm() override;

    void SetClock(TClock clock) { mClock = std::move(clock); }

    const TLetterPreviewState& State() const { return mState; }
    const richtext::TRichDocument& Final() const { return mFinal; }
    QWidget* PagePanel() const;

    void ZoomInClick();
    void ZoomOutClick();
    void PageWidthClick();
    void WholePageClick();
    void NextPageClick();
    void PriorPageClick();
    void FirstRecordClick();
    void PriorRecordClick();
    void NextRecordClick();
    void LastRecordClick();

    // Draws the current page on the painter into the text area (the page view calls it).
    void DrawPage(QPainter& painter, const QRect& textArea);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void done(int result) override;

private:
    void FormActivate();
    void Merge();
    void ZoomChanged();
    void MoveRecord(data::TRecordStep step);
    void RecordMoved();
    void UpdateButtons();
    void SavePlacement();
    int ScreenDpi() const;
    TLetterPageTwips Page() const;

    richtext::TRichDocument mTemplate;
    richtext::TRichDocument mFinal;
    data::TDataSet& mAddresses;
    TClock mClock;
    TLetterPreviewState mState;
    bool mReady = false;
    bool mActivated = false;
    bool mPlacementSaved = false;
    bool mDrawErrorShown = false;

    QScrollArea* mScrollBox = nullptr;
    TLetterPageView* mPage = nullptr;
    QToolButton* mZoomInButton = nullptr;
    QToolButton* mZoomOutButton = nullptr;
    QToolButton* mPageWidthButton = nullptr;
    QToolButton* mWholePageButton = nullptr;
    QToolButton* mPriorPageButton = nullptr;
    QToolButton* mNextPageButton = nullptr;
    QToolButton* mFirstRecordButton = nullptr;
    QToolButton* mPriorRecordButton = nullptr;
    QToolButton* mNextRecordButton = nullptr;
    QToolButton* mLastRecordButton = nullptr;
    QLabel* mZoomLabel = nullptr;
    QPushButton* mOkButton = nullptr;
};

} // namespace qm::letters
