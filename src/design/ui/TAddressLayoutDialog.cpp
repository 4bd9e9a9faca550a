#include "design/ui/TAddressLayoutDialog.h"

#include "data/ui/TWindowPlacement.h"
#include "design/ui/TDesignDialogButtons.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qm::design {

TAddressLayoutDialog::TAddressLayoutDialog(const TAddressBlockOptions& o, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TAddressLayoutDialog"));
    setWindowTitle(QStringLiteral("Address Label Layout"));
    auto box = [this](const char* caption, const char* name, bool checked) {
        auto* b = new QCheckBox(QString::fromLatin1(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setChecked(checked);
        return b;
    };
    mName = box("&Name", "NameBox", o.useName);
    mTitle = box("&Title", "TitleBox", o.useTitle);
    mOrganization = box("&Organization", "OrganizationBox", o.useCompany);
    mAddress1 = box("Address &1", "Address1Box", o.useStreet);
    mAddress2 = box("Address &2", "Address2Box", o.useStreet2);
    mCityState = box("City + &State", "CityStateBox", o.useCityState);
    mZip = box("&Zip/Postal code", "ZipBox", o.useZip);
    mPhone = box("&Phone #1", "PhoneBox", o.usePhone);
    mCountry = box("&Country", "CountryBox", o.useCountry);
    mUppercase = box("&Uppercase", "UppercaseBox", o.upperCase);

    auto* zipGroup = new QGroupBox(this);
    auto* zipLayout = new QVBoxLayout(zipGroup);
    const char* captions[4] = {"&After state", "&Before city", "A&fter country", "B&efore country"};
    for (int i = 0; i < 4; ++i) {
        mZipButtons[i] = new QRadioButton(QString::fromLatin1(captions[i]), zipGroup);
        mZipButtons[i]->setObjectName(QStringLiteral("ZipOption%1").arg(i));
        zipLayout->addWidget(mZipButtons[i]);
    }
    mZipButtons[int(o.zipOptions)]->setChecked(true);
    connect(mZip, &QCheckBox::toggled, this, &TAddressLayoutDialog::ZipBoxClick);

    mButtons = new TDesignDialogButtons(*this, kHelpContext);
    auto* parts = new QVBoxLayout;
    for (QCheckBox* b : {mName, mTitle, mOrganization, mAddress1, mAddress2, mCityState, mZip,
                         mPhone, mCountry, mUppercase})
        parts->addWidget(b);
    auto* body = new QHBoxLayout;
    body->addLayout(parts);
    body->addWidget(zipGroup, 0, Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addWidget(mButtons);
    ZipBoxClick();
    data::TWindowPlacement::Centre(*this, parent ? parent->window() : nullptr);
}

void TAddressLayoutDialog::ZipBoxClick()
{
    for (QRadioButton* b : mZipButtons)
        b->setEnabled(mZip->isChecked());
}

TAddressBlockOptions TAddressLayoutDialog::Options() const
{
    TAddressBlockOptions o;
    o.useName = mName->isChecked();
    o.useTitle = mTitle->isChecked();
    o.useCompany = mOrganization->isChecked();
    o.useStreet = mAddress1->isChecked();
    o.useStreet2 = mAddress2->isChecked();
    o.useCityState = mCityState->isChecked();
    o.useZip = mZip->isChecked();
    o.usePhone = mPhone->isChecked();
    o.useCountry = mCountry->isChecked();
    o.upperCase = mUppercase->isChecked();
    for (int i = 0; i < 4; ++i)
        if (mZipButtons[i]->isChecked())
            o.zipOptions = TZipOptions(i);
    return o;
}

} // namespace qm::design
