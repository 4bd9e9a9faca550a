#include "addressbook/ui/TPreferencesDialog.h"

#include "data/TMessageService.h"
#include "data/TSettingsFile.h"
#include "data/ui/THelpWindow.h"
#include "data/ui/TWindowPlacement.h"
#include "design/ui/TImbSettingsDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qm::addressbook {
namespace {

struct TSkipControl {
    const char* name;
    const char* caption;
    TSkip which;
};

// Skip switches in the order the dialog shows them.
constexpr TSkipControl kSkipControls[] = {
    {"SkipLastName", "Last Name", TSkip::LastName},
    {"SkipfirstName", "First Name", TSkip::FirstName},
    {"SkipMiddleInitial", "Middle Initial", TSkip::MiddleInitial},
    {"SkipPrefix", "Prefix", TSkip::Prefix},
    {"Skiptitle", "Title", TSkip::Title},
    {"SkipOrganization", "Organization", TSkip::Organization},
    {"SkipAddress2", "Address 2", TSkip::Address2},
    {"skipState", "State/Province", TSkip::State},
    {"SkipZip", "Zip/Postal Code", TSkip::Zip},
    {"SkipCountry", "Country", TSkip::Country},
    {"SkipDate", "Date", TSkip::Date},
    {"SkipPhone1", "Phone #1", TSkip::Phone1},
    {"SkipPhone2", "Phone #2", TSkip::Phone2},
    {"SkipFax", "Fax", TSkip::Fax},
    {"SkipEmail", "E-Mail", TSkip::Email},
    {"SkipCodes", "Codes", TSkip::Codes},
    {"SkipComments1", "Comments #1", TSkip::Comments1},
    {"Skipcomments2", "Comments #2", TSkip::Comments2},
};

struct TFlagControl {
    const char* name;
    const char* caption;
    bool TPreferences::*member;
};

constexpr TFlagControl kAdding[] = {
    {"PlugDate", "Enter today's date in the date field", &TPreferences::plugDate},
    {"PlugCityState", "Automatically insert city and state/province", &TPreferences::plugCityState},
    {"AutoDupCheck", "Automatically check for duplicate names", &TPreferences::autoDupCheck},
};

constexpr TFlagControl kCarry[] = {
    {"CarryOrg", "Organization", &TPreferences::carryOrg},
    {"CarrySA1", "Address 1", &TPreferences::carrySA1},
    {"CarrySA2", "Address 2", &TPreferences::carrySA2},
    {"CarryCity", "City", &TPreferences::carryCity},
    {"CarryState", "State/Province", &TPreferences::carryState},
    {"CarryZip", "Zip/Postal Code", &TPreferences::carryZip},
    {"CarryCountry", "Country", &TPreferences::carryCountry},
};

} // namespace

TPreferencesDialog::TPreferencesDialog(data::TSettingsFile& settings, QWidget* parent)
    : QDialog(parent), mSettings(settings)
{
    setObjectName(QStringLiteral("TPreferencesDialog"));
    setWindowTitle(QStringLiteral("Preferences"));
    const TPreferences values = TPreferences::Load(settings);
    const auto makeCheck = [this](const char* name, const char* caption, bool value,
                                  QWidget* owner) {
        auto* check = new QCheckBox(QString::fromLatin1(caption), owner);
        check->setObjectName(QString::fromLatin1(name));
        check->setChecked(value);
        mChecks[QString::fromLatin1(name)] = check;
        return check;
    };

    auto* adding = new QGroupBox(QStringLiteral(" When adding new records"), this);
    auto* addingLayout = new QVBoxLayout(adding);
    for (const TFlagControl& c : kAdding)
        addingLayout->addWidget(makeCheck(c.name, c.caption, values.*c.member, adding));
    mDefCountry = new QLineEdit(values.defaultCountry, adding);
    mDefCountry->setObjectName(QStringLiteral("DefCountry"));
    mDefCountry->setMaxLength(30);
    auto* countryForm = new QFormLayout;
    countryForm->addRow(QStringLiteral("Default Country Name"), mDefCountry);
    addingLayout->addLayout(countryForm);

    auto* carry = new QGroupBox(QStringLiteral("Carry forward the following fields:"), this);
    auto* carryLayout = new QVBoxLayout(carry);
    for (const TFlagControl& c : kCarry)
        carryLayout->addWidget(makeCheck(c.name, c.caption, values.*c.member, carry));
    carryLayout->addStretch();

    auto* skip = new QGroupBox(QStringLiteral("Skip through the following fields:"), this);
    auto* skipLayout = new QGridLayout(skip);
    int i = 0;
    for (const TSkipControl& c : kSkipControls) {
        skipLayout->addWidget(makeCheck(c.name, c.caption, values.Skips(c.which), skip), i % 9,
                              i / 9);
        ++i;
    }

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("Ok"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("OkButton"));
    buttons->addButton(QDialogButtonBox::Cancel);
    QPushButton* help = buttons->addButton(QDialogButtonBox::Help);
    // The barcode settings are a section of their own, written by their own dialog's Ok.
    mImbButton =
        buttons->addButton(QStringLiteral("&Intelligent Mail..."), QDialogButtonBox::ActionRole);
    mImbButton->setObjectName(QStringLiteral("ImbSettingsButton"));
    mImbButton->setAutoDefault(false);
    connect(mImbButton, &QPushButton::clicked, this,
            [this] { design::TImbSettingsDialog::Edit(mSettings, this); });
    connect(ok, &QPushButton::clicked, this, &TPreferencesDialog::OkButtonClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this,
            [this] { data::THelpWindow::ShowContext(kHelpContext, this); });

    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(adding);
    left->addWidget(carry);
    columns->addLayout(left);
    columns->addWidget(skip);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(buttons);
    data::TWindowPlacement::Centre(*this, parent ? parent->window() : nullptr);
}

QCheckBox* TPreferencesDialog::Check(const QString& name) const
{
    const auto it = mChecks.find(name);
    return it == mChecks.end() ? nullptr : it->second;
}

TPreferences TPreferencesDialog::Values() const
{
    TPreferences p;
    for (const TFlagControl& c : kAdding)
        p.*c.member = Check(QString::fromLatin1(c.name))->isChecked();
    for (const TFlagControl& c : kCarry)
        p.*c.member = Check(QString::fromLatin1(c.name))->isChecked();
    for (const TSkipControl& c : kSkipControls)
        p.skip[size_t(c.which)] = Check(QString::fromLatin1(c.name))->isChecked();
    p.defaultCountry = mDefCountry->text();
    return p;
}

void TPreferencesDialog::OkButtonClick()
{
    try {
        Values().Save(mSettings);
    } catch (const data::TSettingsWriteError& error) {
        data::TMessageService::Inform(this, error.Message());
        return;
    }
    accept();
}

} // namespace qm::addressbook
