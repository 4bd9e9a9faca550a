#include "maintenance/ui/TConvertCaseDialog.h"
#include "maintenance/ui/TMaintenanceWidgets.h"

#include "data/TDataSet.h"
#include "data/TMessageService.h"
#include "data/ui/TEventPump.h"
#include "data/ui/THelpWindow.h"
#include "maintenance/TMaintenanceError.h"
#include "maintenance/TMaintenanceFields.h"
#include "xbase/TXbaseError.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qm::maintenance {

using data::TMessageService;

TConvertCaseDialog::TConvertCaseDialog(data::TDataSet& dataSet, bool filterSet, QWidget* parent)
    : QDialog(parent), mDataSet(dataSet)
{
    setObjectName(QString::fromLatin1(kClassName));
    setWindowTitle(QStringLiteral("Convert Case"));
    auto* layout = new QVBoxLayout(this);
    auto* options = new QHBoxLayout;
    auto* scope = new QGroupBox(QStringLiteral("Records"), this);
    auto* scopes = new QVBoxLayout(scope);
    mCurrent = new QRadioButton(QStringLiteral("C&urrent Record Only"), scope);
    mCurrent->setObjectName(QStringLiteral("CurrentRadio"));
    mAll = new QRadioButton(QStringLiteral("All &Records"), scope);
    mAll->setObjectName(QStringLiteral("AllRadio"));
    mFilter = new QRadioButton(QStringLiteral("All Records &Matching Filter"), scope);
    mFilter->setObjectName(QStringLiteral("FilterRadio"));
    mFilter->setEnabled(filterSet);
    mCurrent->setChecked(true);
    for (QRadioButton* r : {mCurrent, mAll, mFilter})
        scopes->addWidget(r);
    options->addWidget(scope);
    auto* kind = new QGroupBox(QStringLiteral("Conversion"), this);
    auto* kinds = new QVBoxLayout(kind);
    mUpper = new QRadioButton(QStringLiteral("U&ppercase"), kind);
    mUpper->setObjectName(QStringLiteral("UpperRadio"));
    mProper = new QRadioButton(QStringLiteral("First letter &capitalized"), kind);
    mProper->setObjectName(QStringLiteral("ProperRadio"));
    mLower = new QRadioButton(QStringLiteral("&Lowercase"), kind);
    mLower->setObjectName(QStringLiteral("LowerRadio"));
    mUpper->setChecked(true);
    for (QRadioButton* r : {mUpper, mProper, mLower})
        kinds->addWidget(r);
    options->addWidget(kind);
    layout->addLayout(options);

    auto* fieldsBox = new QGroupBox(QStringLiteral("Fields"), this);
    auto* grid = new QGridLayout(fieldsBox);
    int i = 0;
    for (const TFieldChoice& choice : TMaintenanceFields::CaseFields()) {
        auto* check = new QCheckBox(choice.label, fieldsBox);
        check->setObjectName(choice.field + QStringLiteral("Check"));
        check->setChecked(true);
        mFields[choice.field] = check;
        grid->addWidget(check, i / 3, i % 3);
        ++i;
    }
    mAllFields = new QCheckBox(QStringLiteral("&All"), fieldsBox);
    mAllFields->setObjectName(QStringLiteral("AllFieldsCheck"));
    mAllFields->setChecked(true);
    connect(mAllFields, &QCheckBox::clicked, this, [this](bool on) {
        for (auto& [field, check] : mFields)
            check->setChecked(on);
    });
    grid->addWidget(mAllFields, i / 3 + 1, 0);
    layout->addWidget(fieldsBox);

    mBar = TMaintenanceWidgets::ProgressBar(this);
    layout->addWidget(mBar);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    mConvert = new QPushButton(QStringLiteral("Con&vert"), this);
    mConvert->setObjectName(QStringLiteral("ConvertButton"));
    mConvert->setDefault(true);
    connect(mConvert, &QPushButton::clicked, this, &TConvertCaseDialog::ConvertButtonClick);
    mCancel = new QPushButton(QStringLiteral("Cancel"), this);
    mCancel->setObjectName(QStringLiteral("CancelButton"));
    connect(mCancel, &QPushButton::clicked, this, &TConvertCaseDialog::CancelButtonClick);
    auto* help = TMaintenanceWidgets::HelpButton(this, kHelpContext);
    for (QPushButton* b : {mConvert, mCancel, help}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
}

QCheckBox* TConvertCaseDialog::FieldCheck(const QString& field) const
{
    const auto it = mFields.find(field);
    return it == mFields.end() ? nullptr : it->second;
}

TCaseOptions TConvertCaseDialog::Options() const
{
    TCaseOptions options;
    options.scope = mAll->isChecked()      ? TCaseScope::AllRecords
                    : mFilter->isChecked() ? TCaseScope::FilterMatches
                                           : TCaseScope::CurrentRecord;
    options.kind = mProper->isChecked()  ? TCaseKind::Proper
                   : mLower->isChecked() ? TCaseKind::Lower
                                         : TCaseKind::Upper;
    for (const TFieldChoice& choice : TMaintenanceFields::CaseFields())
        if (mFields.at(choice.field)->isChecked())
            options.fields << choice.field;
    return options;
}

void TConvertCaseDialog::ConvertButtonClick()
{
    if (mRunning)
        return;
    const TCaseOptions options = Options();
    if (options.fields.isEmpty()) {
        TMessageService::Inform(this, QStringLiteral("No fields checked for conversion"));
        return;
    }
    if (!TMessageService::Ask(this, QStringLiteral("Convert"),
                              QStringLiteral("Convert now? This process cannot be undone.."),
                              false))
        return;
    mRunning = true;
    mStop = false;
    mConvert->setEnabled(false);
    if (options.scope == TCaseScope::AllRecords)
        mBar->show();
    data::TEventPump pump;
    try {
        mOutcome = TCaseConversionRun(mDataSet, options).Run([&](const TRunStep& step) {
            mBar->setValue(step.Percent());
            pump.Pump();
            if (mAfterRecord)
                mAfterRecord(step);
            return mStop;
        });
    } catch (const TMaintenanceError& error) {
        TMessageService::Inform(this, error.Message());
    } catch (const xbase::TXbaseError& error) {
        TMessageService::Inform(this, QString::fromStdString(error.Message()));
    }
    mRunning = false;
    accept();
}

void TConvertCaseDialog::CancelButtonClick()
{
    if (!mRunning) {
        QDialog::reject();
        return;
    }
    if (TMessageService::Ask(this, QStringLiteral("CANCEL"),
                             QStringLiteral("Cancel case conversion?")))
        mStop = true;
}

void TConvertCaseDialog::reject()
{
    CancelButtonClick();
}

} // namespace qm::maintenance
