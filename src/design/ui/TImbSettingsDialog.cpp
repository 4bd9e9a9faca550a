#include "design/ui/TImbSettingsDialog.h"

#include "data/TMessageService.h"
#include "data/TSettingsFile.h"
#include "data/ui/TWindowPlacement.h"
#include "design/barcode/TImbCode.h"
#include "design/ui/TDesignDialogButtons.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace qm::design {

namespace {

QLineEdit* DigitsEdit(QWidget* parent, const char* name, const QString& text, int maxLength)
{
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QLatin1String(name));
    edit->setMaxLength(maxLength);
    const int width = edit->fontMetrics().horizontalAdvance(QString(maxLength + 2, QChar('0')));
    edit->setMinimumWidth(width + 12);
    return edit;
}

} // namespace

TImbSettingsDialog::TImbSettingsDialog(const TImbSettings& s, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TImbSettingsDialog"));
    setWindowTitle(QStringLiteral("Intelligent Mail Settings"));

    mBarcodeId = DigitsEdit(this, "BarcodeIdEdit", s.barcodeId, 2);
    mServiceType = DigitsEdit(this, "ServiceTypeEdit", s.serviceType, 3);
    mMailerId = DigitsEdit(this, "MailerIdEdit", s.mailerId, 9);
    mNextSerial = DigitsEdit(this, "NextSerialEdit", QString::number(s.nextSerial), 9);

    auto* intro = new QLabel(QStringLiteral("New Intelligent Mail barcodes start with these "
                                            "values.\nThe counter gives each printed piece the "
                                            "next serial number."),
                             this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Barcode identifier (2 digits):"), mBarcodeId);
    form->addRow(QStringLiteral("&Service type (3 digits):"), mServiceType);
    form->addRow(QStringLiteral("&Mailer identifier (6 or 9 digits):"), mMailerId);
    form->addRow(QStringLiteral("&Next serial number:"), mNextSerial);

    mButtons = new TDesignDialogButtons(*this, kHelpContext);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(form);
    layout->addWidget(mButtons);
    data::TWindowPlacement::Centre(*this, parent ? parent->window() : nullptr);
}

TImbSettings TImbSettingsDialog::Settings() const
{
    TImbSettings s;
    s.barcodeId = mBarcodeId->text().trimmed();
    s.serviceType = mServiceType->text().trimmed();
    s.mailerId = mMailerId->text().trimmed();
    s.nextSerial = std::max<std::int64_t>(0, TImbSettings::ParseSerial(mNextSerial->text()));
    return s;
}

void TImbSettingsDialog::accept()
{
    const QString mailerId = mMailerId->text().trimmed();
    const std::pair<QLineEdit*, QString> checks[] = {
        {mBarcodeId, TImbCode::BarcodeIdProblem(mBarcodeId->text().trimmed())},
        {mServiceType, TImbCode::ServiceTypeProblem(mServiceType->text().trimmed())},
        {mMailerId, TImbCode::MailerIdProblem(mailerId)},
        {mNextSerial, TImbSettings::NextSerialProblem(mNextSerial->text(), mailerId)},
    };
    for (const auto& [edit, problem] : checks) {
        if (problem.isEmpty())
            continue;
        data::TMessageService::Inform(this, problem, windowTitle());
        edit->setFocus();
        edit->selectAll();
        return;
    }
    QDialog::accept();
}

bool TImbSettingsDialog::Edit(data::TSettingsFile& settings, QWidget* parent)
{
    TImbSettingsDialog dialog(TImbSettings::Read(settings), parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    try {
        dialog.Settings().Write(settings);
    } catch (const data::TSettingsWriteError& error) {
        data::TMessageService::Error(parent, QStringLiteral("Error"), error.Message());
        return false;
    }
    return true;
}

} // namespace qm::design
