#pragma once

// "Intelligent Mail Settings": the section "Intelligent Mail" of the settings file, the values a
// new Intelligent Mail barcode starts with and the counter's next serial number. Ok checks every
// value and refuses a bad one with a message naming it (the dialog stays open on that field);
// Settings() then gives the values. Edit() is the whole round trip the designers and Preferences
// run: read the file, show the dialog, write the file after Ok.

#include "design/objects/TImbSettings.h"

#include <QDialog>

class QLineEdit;

namespace qm::data {
class TSettingsFile;
}

namespace qm::design {

class TDesignDialogButtons;

class TImbSettingsDialog : public QDialog {
public:
    static constexpr int kHelpContext = 1210;

    explicit TImbSettingsDialog(const TImbSettings& settings, QWidget* parent = nullptr);

    TImbSettings Settings() const;

    // Reads the settings file, shows the dialog and writes the values after Ok (a write that
    // fails says so). True when the file was written.
    static bool Edit(data::TSettingsFile& settings, QWidget* parent);

    QLineEdit* BarcodeIdEdit() const { return mBarcodeId; }
    QLineEdit* ServiceTypeEdit() const { return mServiceType; }
    QLineEdit* MailerIdEdit() const { return mMailerId; }
    QLineEdit* NextSerialEdit() const { return mNextSerial; }
    TDesignDialogButtons* Buttons() const { return mButtons; }

    void accept() override;

private:
    QLineEdit* mBarcodeId;
    QLineEdit* mServiceType;
    QLineEdit* mMailerId;
    QLineEdit* mNextSerial;
    TDesignDialogButtons* mButtons;
};

} // namespace qm::design
