#pragma once

// "Intelligent Mail Barcode": the properties of one barcode object. The ZIP code and address
// fields (picked from the data set's fields or typed), the barcode identifier, service type and
// mailer identifier, and where the serial number comes from (the counter of the settings file or
// the record number). Ok refuses a bad value with a message naming it; Apply() then copies the
// values into an object. "Settings..." opens the "Intelligent Mail Settings" dialog.

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qm::data {
class TDataSet;
}

namespace qm::design {

class TDesignDialogButtons;
class TGIMBarCode;

class TImbPropertiesDialog : public QDialog {
public:
    static constexpr int kHelpContext = 1209;

    // dataSet (may be null) gives the field names offered.
    TImbPropertiesDialog(const TGIMBarCode& code, const data::TDataSet* dataSet,
                         QWidget* parent = nullptr);

    // Copies the dialog's values into code.
    void Apply(TGIMBarCode& code) const;

    // Opens the dialog for the object; true when Ok changed it.
    static bool Edit(TGIMBarCode& code, QWidget* parent);

    QComboBox* ZipFieldBox() const { return mZipField; }
    QComboBox* AddressFieldBox() const { return mAddressField; }
    QLineEdit* BarcodeIdEdit() const { return mBarcodeId; }
    QLineEdit* ServiceTypeEdit() const { return mServiceType; }
    QLineEdit* MailerIdEdit() const { return mMailerId; }
    QRadioButton* CounterButton() const { return mCounter; }
    QRadioButton* RecordNumberButton() const { return mRecordNumber; }
    QPushButton* SettingsButton() const { return mSettingsButton; }
    TDesignDialogButtons* Buttons() const { return mButtons; }

    void accept() override;

private:
    QComboBox* mZipField;
    QComboBox* mAddressField;
    QLineEdit* mBarcodeId;
    QLineEdit* mServiceType;
    QLineEdit* mMailerId;
    QRadioButton* mCounter;
    QRadioButton* mRecordNumber;
    QPushButton* mSettingsButton;
    TDesignDialogButtons* mButtons;
};

} // namespace qm::design
