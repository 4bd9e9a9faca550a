#pragma once

// "Paper Feed Method": how envelopes go into the printer (position, orientation, facing and,
// for landscape, clockwise rotation), with a picture redrawn after every click. Ok gives the four
// values (Feed()); Cancel discards them.

#include "envelopes/TEnvelopeFeedMethod.h"

#include <QDialog>

class QCheckBox;
class QPushButton;
class QRadioButton;

namespace qm::envelopes {

class TEnvelopeFeedPicture;

class TEnvelopeFeed : public QDialog {
public:
    static constexpr int kHelpContext = 1405;

    explicit TEnvelopeFeed(const TEnvelopeFeedMethod& feed, QWidget* parent = nullptr);

    // The values as the buttons show them.
    TEnvelopeFeedMethod Feed() const;

    QRadioButton* LeftButton() const { return mLeft; }
    QRadioButton* RightButton() const { return mRight; }
    QRadioButton* CenterButton() const { return mCenter; }
    QRadioButton* PortraitButton() const { return mPortrait; }
    QRadioButton* LandscapeButton() const { return mLandscape; }
    QRadioButton* UpButton() const { return mUp; }
    QRadioButton* DownButton() const { return mDown; }
    QCheckBox* ClockwiseBox() const { return mClockwise; }
    TEnvelopeFeedPicture* Picture() const { return mPicture; }
    QPushButton* OkButton() const { return mOkButton; }
    QPushButton* CancelButton() const { return mCancelButton; }

private:
    void Refresh();

    QRadioButton* mLeft = nullptr;
    QRadioButton* mRight = nullptr;
    QRadioButton* mCenter = nullptr;
    QRadioButton* mPortrait = nullptr;
    QRadioButton* mLandscape = nullptr;
    QRadioButton* mUp = nullptr;
    QRadioButton* mDown = nullptr;
    QCheckBox* mClockwise = nullptr;
    TEnvelopeFeedPicture* mPicture = nullptr;
    QPushButton* mOkButton = nullptr;
    QPushButton* mCancelButton = nullptr;
};

} // namespace qm::envelopes
