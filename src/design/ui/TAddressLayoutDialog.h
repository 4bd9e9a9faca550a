#pragma once

// "Address Label Layout": which parts of the address block print, where the ZIP goes (the four
// ZIP choices are enabled only while the ZIP box is checked) and upper case. Options() after
// Ok; the caller applies them and refreshes the panel (TGDMultiLineAddressLabel::ApplyOptions).

#include "design/text/TAddressBlock.h"

#include <QDialog>

class QCheckBox;
class QRadioButton;

namespace qm::design {

class TDesignDialogButtons;

class TAddressLayoutDialog : public QDialog {
public:
    static constexpr int kHelpContext = 1207;

    explicit TAddressLayoutDialog(const TAddressBlockOptions& options, QWidget* parent = nullptr);

    TAddressBlockOptions Options() const;

    QCheckBox* NameBox() const { return mName; }
    QCheckBox* TitleBox() const { return mTitle; }
    QCheckBox* OrganizationBox() const { return mOrganization; }
    QCheckBox* Address1Box() const { return mAddress1; }
    QCheckBox* Address2Box() const { return mAddress2; }
    QCheckBox* CityStateBox() const { return mCityState; }
    QCheckBox* ZipBox() const { return mZip; }
    QCheckBox* PhoneBox() const { return mPhone; }
    QCheckBox* CountryBox() const { return mCountry; }
    QCheckBox* UppercaseBox() const { return mUppercase; }
    QRadioButton* ZipButton(TZipOptions option) const { return mZipButtons[int(option)]; }
    TDesignDialogButtons* Buttons() const { return mButtons; }

private:
    void ZipBoxClick();

    QCheckBox* mName;
    QCheckBox* mTitle;
    QCheckBox* mOrganization;
    QCheckBox* mAddress1;
    QCheckBox* mAddress2;
    QCheckBox* mCityState;
    QCheckBox* mZip;
    QCheckBox* mPhone;
    QCheckBox* mCountry;
    QCheckBox* mUppercase;
    QRadioButton* mZipButtons[4];
    TDesignDialogButtons* mButtons;
};

} // namespace qm::design
