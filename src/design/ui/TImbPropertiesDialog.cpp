#include "design/ui/TImbPropertiesDialog.h"

#include "data/TDataField.h"
#include "data/TDataSet.h"
#include "data/TMessageService.h"
#include "data/TProgramHome.h"
#include "data/TSettingsFile.h"
#include "data/ui/TWindowPlacement.h"
#include "design/barcode/TImbCode.h"
#include "design/core/TFieldPickList.h"
#include "design/core/TGBasePanel.h"
#include "design/objects/TGIMBarCode.h"
#include "design/ui/TDesignDialogButtons.h"
#include "design/ui/TImbSettingsDialog.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qm::design {

namespace {

QComboBox* FieldBox(QWidget* parent, const char* name, const QStringList& fields,
                    const QString& current)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setEditable(true);
    box->addItems(fields);
    box->setCurrentText(current);
    return box;
}

QLineEdit* DigitsEdit(QWidget* parent, const char* name, const QString& text, int maxLength)
{
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QLatin1String(name));
    edit->setMaxLength(maxLength);
    return edit;
}

} // namespace

TImbPropertiesDialog::TImbPropertiesDialog(const TGIMBarCode& code, const data::TDataSet* dataSet,
                                           QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TImbPropertiesDialog"));
    setWindowTitle(QStringLiteral("Intelligent Mail Barcode"));

    // The record's character fields by name, as the barcode reads them.
    const QStringList fields =
        dataSet != nullptr ? TFieldPickList::CharacterFieldNames(*dataSet) : QStringList();
    mZipField = FieldBox(this, "ZipFieldBox", fields, code.ZipCodeField());
    mAddressField = FieldBox(this, "AddressFieldBox", fields, code.AddressField());
    mBarcodeId = DigitsEdit(this, "BarcodeIdEdit", code.BarcodeId(), 2);
    mServiceType = DigitsEdit(this, "ServiceTypeEdit", code.ServiceType(), 3);
    mMailerId = DigitsEdit(this, "MailerIdEdit", code.MailerId(), 9);

    auto* fieldsGroup = new QGroupBox(QStringLiteral("Routing code from the record"), this);
    auto* fieldsForm = new QFormLayout(fieldsGroup);
    fieldsForm->addRow(QStringLiteral("&ZIP code field:"), mZipField);
    fieldsForm->addRow(QStringLiteral("&Address field:"), mAddressField);

    auto* trackingGroup = new QGroupBox(QStringLiteral("Tracking code"), this);
    auto* trackingForm = new QFormLayout(trackingGroup);
    trackingForm->addRow(QStringLiteral("&Barcode identifier (2 digits):"), mBarcodeId);
    trackingForm->addRow(QStringLiteral("&Service type (3 digits):"), mServiceType);
    trackingForm->addRow(QStringLiteral("&Mailer identifier (6 or 9 digits):"), mMailerId);

    mCounter =
        new QRadioButton(QStringLiteral("&Counter (next serial number in the settings)"), this);
    mCounter->setObjectName(QStringLiteral("CounterButton"));
    mRecordNumber = new QRadioButton(QStringLiteral("&Record number"), this);
    mRecordNumber->setObjectName(QStringLiteral("RecordNumberButton"));
    (code.SerialSource() == TImbSerialSource::ssRecordNumber ? mRecordNumber : mCounter)
        ->setChecked(true);
    mSettingsButton = new QPushButton(QStringLiteral("S&ettings..."), this);
    mSettingsButton->setObjectName(QStringLiteral("SettingsButton"));
    mSettingsButton->setAutoDefault(false);
    auto* serialGroup = new QGroupBox(QStringLiteral("Serial number"), this);
    auto* serialLayout = new QVBoxLayout(serialGroup);
    serialLayout->addWidget(mCounter);
    serialLayout->addWidget(mRecordNumber);
    serialLayout->addWidget(mSettingsButton, 0, Qt::AlignLeft);
    connect(mSettingsButton, &QPushButton::clicked, this, [this] {
        data::TSettingsFile settings(data::TProgramHome::Current().SettingsPath());
        TImbSettingsDialog::Edit(settings, this);
    });

    mButtons = new TDesignDialogButtons(*this, kHelpContext);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fieldsGroup);
    layout->addWidget(trackingGroup);
    layout->addWidget(serialGroup);
    layout->addWidget(mButtons);
    data::TWindowPlacement::Centre(*this, parent ? parent->window() : nullptr);
}

void TImbPropertiesDialog::accept()
{
    const std::pair<QWidget*, QString> checks[] = {
        {mZipField, mZipField->currentText().trimmed().isEmpty()
                        ? QStringLiteral("Choose the field that holds the ZIP code.")
                        : QString()},
        {mBarcodeId, TImbCode::BarcodeIdProblem(mBarcodeId->text().trimmed())},
        {mServiceType, TImbCode::ServiceTypeProblem(mServiceType->text().trimmed())},
        {mMailerId, TImbCode::MailerIdProblem(mMailerId->text().trimmed())},
    };
    for (const auto& [control, problem] : checks) {
        if (problem.isEmpty())
            continue;
        data::TMessageService::Inform(this, problem, windowTitle());
        control->setFocus();
        return;
    }
    QDialog::accept();
}

void TImbPropertiesDialog::Apply(TGIMBarCode& code) const
{
    code.SetZipCodeField(mZipField->currentText().trimmed());
    code.SetAddressField(mAddressField->currentText().trimmed());
    code.SetBarcodeId(mBarcodeId->text().trimmed());
    code.SetServiceType(mServiceType->text().trimmed());
    code.SetMailerId(mMailerId->text().trimmed());
    code.SetSerialSource(mRecordNumber->isChecked() ? TImbSerialSource::ssRecordNumber
                                                    : TImbSerialSource::ssCounter);
}

bool TImbPropertiesDialog::Edit(TGIMBarCode& code, QWidget* parent)
{
    const TGBasePanel* panel = code.Panel();
    TImbPropertiesDialog dialog(code, panel ? panel->DataSet() : nullptr, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    dialog.Apply(code);
    code.ShowData();
    code.Invalidate();
    code.NotifyChanged();
    return true;
}

} // namespace qm::design
