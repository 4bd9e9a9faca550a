#pragma once

// "Dial Phone Number": dials the number shown (the record's PHONE or PHONE2) through the modem.
// The prefix, the hidden modem set-up string, the port choice with its device and the method are
// read from the settings file on the first activation and written back by "Dial". The dialog stays
// open after a dial; "Cancel" closes it. While a dial runs, the buttons are disabled and closing
// is refused, so the dial always ends with the port closed.

#include "dialer/TDialSettings.h"
#include "dialer/TDialer.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qm::dialer {

class TDialDialog : public QDialog {
public:
    static constexpr int kHelpContext = 1031;

    explicit TDialDialog(const QString& number, QWidget* parent = nullptr,
                         std::unique_ptr<TModemPort> port = {});
    ~TDialDialog() override;

    QLineEdit* NumberEdit() const { return mNumberEdit; }
    QLineEdit* PrefixEdit() const { return mPrefixEdit; }
    QComboBox* PortCombo() const { return mPortCombo; }
    QComboBox* DeviceCombo() const { return mDeviceCombo; }
    QRadioButton* ToneRadio() const { return mToneRadio; }
    QRadioButton* PulseRadio() const { return mPulseRadio; }
    QLineEdit* InitEdit() const { return mInitEdit; }
    QPushButton* DialButton() const { return mDialButton; }
    QPushButton* HelpButton() const { return mHelpButton; }
    QPushButton* CancelButton() const { return mCancelButton; }

    TDialer& Dialer() { return mDialer; }
    // The last dial's outcome, or nothing before the first.
    std::optional<TDialer::TOutcome> LastOutcome() const { return mLastOutcome; }
    bool Dialing() const { return mDialing; }

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormActivate();
    void DialButtonClick();
    void PortComboChange(int index);
    TDialSettings Values() const;
    void SetBusy(bool busy);

    QLineEdit* mNumberEdit = nullptr;
    QLineEdit* mPrefixEdit = nullptr;
    QComboBox* mPortCombo = nullptr;
    QComboBox* mDeviceCombo = nullptr;
    QRadioButton* mToneRadio = nullptr;
    QRadioButton* mPulseRadio = nullptr;
    QLabel* mInitLabel = nullptr;
    QLineEdit* mInitEdit = nullptr;
    QPushButton* mDialButton = nullptr;
    QPushButton* mHelpButton = nullptr;
    QPushButton* mCancelButton = nullptr;

    TDialer mDialer;
    std::array<QString, 4> mDevices; // edited device per port choice
    int mShownPort = 0;              // the choice whose device the device box shows
    bool mActivated = false;
    bool mDialing = false;
    std::optional<TDialer::TOutcome> mLastOutcome;
};

} // namespace qm::dialer
