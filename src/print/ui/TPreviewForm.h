#pragma once

// The page preview window: shows a recorded page stream one page at a time at a chosen zoom,
// with page and zoom buttons. Opened modally by the printing windows after a preview run; the
// caller keeps the stream and frees it after the window closed.

#include "print/TFilePreview.h"

#include <QDialog>
#include <memory>

class QLabel;
class QPushButton;
class QScrollArea;
class QToolButton;

namespace qm::print {

class TPreviewForm : public QDialog {
public:
    static constexpr int kHelpContext = 4020;
    // Initial zoom choices; any other value is a percentage.
    static constexpr int kWholePage = 1;
    static constexpr int kPageWidth = 2;

    TPreviewForm(const QByteArray& stream, const QString& caption, int initialZoom,
                 QWidget* parent = nullptr);
    ~TPreviewForm() override;

    TFilePreview* Preview() const { return mPreview.get(); }

    // The controls, named as the window's parts.
    QScrollArea* ScrollBox() const { return mScrollBox; }
    QLabel* PagePicture() const { return mPagePicture; }
    QToolButton* FirstPageButton() const { return mFirstButton; }
    QToolButton* PrevPageButton() const { return mPrevButton; }
    QToolButton* NextPageButton() const { return mNextButton; }
    QToolButton* LastPageButton() const { return mLastButton; }
    QToolButton* ZoomInButton() const { return mZoomInButton; }
    QToolButton* ZoomOutButton() const { return mZoomOutButton; }
    QToolButton* PageWidthButton() const { return mPageWidthButton; }
    QToolButton* WholePageButton() const { return mWholePageButton; }
    QPushButton* Zoom100Button() const { return mZoom100Button; }
    QPushButton* OkButton() const { return mOkButton; }
    QPushButton* HelpButton() const { return mHelpButton; }

    void FirstPageButtonClick();
    void PrevPageButtonClick();
    void NextPageButtonClick();
    void LastPageButtonClick();
    void ZoomInButtonClick();
    void ZoomOutButtonClick();
    void PageWidthButtonClick();
    void WholePageButtonClick();
    void Zoom100ButtonClick();
    void HelpButtonClick();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void done(int result) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormActivate();
    void ShowPage();
    void UpdateCaption();
    void UpdateViewport();
    void SavePlacement();

    QByteArray mStream;
    int mInitialZoom;
    std::unique_ptr<TFilePreview> mPreview;
    bool mActivated = false;
    bool mPlacementSaved = false;

    QScrollArea* mScrollBox = nullptr;
    QLabel* mPagePicture = nullptr;
    QToolButton* mFirstButton = nullptr;
    QToolButton* mPrevButton = nullptr;
    QToolButton* mNextButton = nullptr;
    QToolButton* mLastButton = nullptr;
    QToolButton* mZoomInButton = nullptr;
    QToolButton* mZoomOutButton = nullptr;
    QToolButton* mPageWidthButton = nullptr;
    QToolButton* mWholePageButton = nullptr;
    QPushButton* mZoom100Button = nullptr;
    QPushButton* mOkButton = nullptr;
    QPushButton* mHelpButton = nullptr;
};

} // namespace qm::print
