#include "maintenance/ui/TSearchReplaceDialog.h"
#include "maintenance/ui/TMaintenanceWidgets.h"

#include "data/TDataField.h"
#include "data/TDataSet.h"
#include "data/TMessageService.h"
#include "data/TWin1252.h"
#include "data/ui/TEventPump.h"
#include "data/ui/THelpWindow.h"
#include "maintenance/TMaintenanceError.h"
#include "maintenance/TMaintenanceFields.h"
#include "xbase/TXbaseError.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qm::maintenance {

using data::TMessageService;

TSearchReplaceDialog::TSearchReplaceDialog(data::TDataSet& dataSet, const QString& filterExpression,
                                           QWidget* parent)
    : QDialog(parent), mDataSet(dataSet), mFilterExpression(filterExpression)
{
    setObjectName(QString::fromLatin1(kClassName));
    setWindowTitle(QStringLiteral("Search and Replace"));
    auto* layout = new QVBoxLayout(this);

    auto* fieldRow = new QFormLayout;
    mField = new QComboBox(this);
    mField->setObjectName(QStringLiteral("FieldChoice"));
    for (const TFieldChoice& choice : TMaintenanceFields::ReplaceFields())
        mField->addItem(choice.label, choice.field);
    fieldRow->addRow(QStringLiteral("Search for &field:"), mField);
    layout->addLayout(fieldRow);

    auto* where = new QGroupBox(QStringLiteral("Where the field value:"), this);
    auto* whereLayout = new QVBoxLayout(where);
    mExactly =
        new QRadioButton(QStringLiteral("Is &exactly equal to  (leave empty for blank)"), where);
    mExactly->setObjectName(QStringLiteral("ExactlyRadio"));
    mContains = new QRadioButton(QStringLiteral("C&ontains"), where);
    mContains->setObjectName(QStringLiteral("ContainsRadio"));
    mExactly->setChecked(true);
    mFind = new QLineEdit(where);
    mFind->setObjectName(QStringLiteral("FindEdit"));
    mFind->setAccessibleName(QStringLiteral("Find value"));
    mCase = new QCheckBox(QStringLiteral("Case &sensitive"), where);
    mCase->setObjectName(QStringLiteral("CaseCheck"));
    mCase->setChecked(true);
    for (QWidget* w : std::initializer_list<QWidget*>{mExactly, mContains, mFind, mCase})
        whereLayout->addWidget(w);
    layout->addWidget(where);

    auto* action = new QGroupBox(QStringLiteral("And do this action:"), this);
    auto* actionLayout = new QVBoxLayout(action);
    mWhole = new QRadioButton(QStringLiteral("Replace the &whole field with"), action);
    mWhole->setObjectName(QStringLiteral("WholeRadio"));
    mPartial = new QRadioButton(QStringLiteral("Replace only the &matching text with"), action);
    mPartial->setObjectName(QStringLiteral("PartialRadio"));
    mWhole->setChecked(true);
    mReplace = new QLineEdit(action);
    mReplace->setObjectName(QStringLiteral("ReplaceEdit"));
    mReplace->setAccessibleName(QStringLiteral("Replace value"));
    for (QWidget* w : std::initializer_list<QWidget*>{mWhole, mPartial, mReplace})
        actionLayout->addWidget(w);
    layout->addWidget(action);

    auto* scope = new QGroupBox(QStringLiteral("Using:"), this);
    auto* scopeLayout = new QHBoxLayout(scope);
    mAll = new QRadioButton(QStringLiteral("All &Records"), scope);
    mAll->setObjectName(QStringLiteral("ReplaceAll"));
    mFilter = new QRadioButton(QStringLiteral("Records matching current Fil&ter"), scope);
    mFilter->setObjectName(QStringLiteral("ReplaceFilter"));
    mAll->setChecked(true);
    mFilter->setEnabled(!filterExpression.trimmed().isEmpty());
    scopeLayout->addWidget(mAll);
    scopeLayout->addWidget(mFilter);
    layout->addWidget(scope);

    mStatus = TMaintenanceWidgets::StatusLabel(this);
    layout->addWidget(mStatus);
    mBar = TMaintenanceWidgets::ProgressBar(this);
    layout->addWidget(mBar);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    mReplaceButton = new QPushButton(QStringLiteral("&Replace "), this);
    mReplaceButton->setObjectName(QStringLiteral("ReplaceButton"));
    mReplaceButton->setDefault(true);
    connect(mReplaceButton, &QPushButton::clicked, this, &TSearchReplaceDialog::ReplaceButtonClick);
    mCancel = new QPushButton(QStringLiteral("Cancel"), this);
    mCancel->setObjectName(QStringLiteral("CancelButton"));
    connect(mCancel, &QPushButton::clicked, this, &TSearchReplaceDialog::reject);
    auto* help = TMaintenanceWidgets::HelpButton(this, kHelpContext);
    for (QPushButton* b : {mReplaceButton, mCancel, help})
        buttons->addWidget(b);
    layout->addLayout(buttons);

    connect(mField, &QComboBox::currentIndexChanged, this, [this] { FieldChanged(); });
    FieldChanged();
}

void TSearchReplaceDialog::FieldChanged()
{
    const data::TDataField* field = mDataSet.FindField(mField->currentData().toString());
    const int width = field && field->Size() > 0 ? field->Size() : 32767;
    // setMaxLength cuts a longer text to the new width.
    mFind->setMaxLength(width);
    mReplace->setMaxLength(width);
}

TReplaceOptions TSearchReplaceDialog::Options() const
{
    TReplaceOptions options;
    options.field = mField->currentData().toString();
    options.find = mFind->text();
    options.exactly = mExactly->isChecked();
    options.caseSensitive = mCase->isChecked();
    options.wholeField = mWhole->isChecked();
    options.replacement = mReplace->text();
    options.scopeExpression = mFilter->isChecked() ? mFilterExpression : QString();
    return options;
}

void TSearchReplaceDialog::ReplaceButtonClick()
{
    if (mRunning)
        return;
    const TReplaceOptions options = Options();
    for (const QString* text : {&options.find, &options.replacement}) {
        QChar bad;
        if (!data::TWin1252::CanEncode(*text, &bad)) {
            TMessageService::Inform(this,
                                    QStringLiteral("The character \"%1\" cannot be stored in an "
                                                   "address file.")
                                        .arg(QString(bad)));
            return;
        }
    }
    if (!TMessageService::Ask(this, QStringLiteral("Replace"),
                              TSearchReplaceRun::Question(mField->currentText(), options)))
        return;
    mRunning = true;
    mReplaceButton->setEnabled(false);
    mCancel->setEnabled(false);
    mStatus->setText(QStringLiteral("Replacing Records "));
    mStatus->show();
    mBar->show();
    data::TEventPump pump;
    bool failed = false;
    try {
        mOutcome = TSearchReplaceRun(mDataSet, options).Run([&](const TRunStep& step) {
            mBar->setValue(step.Percent());
            pump.Pump();
            return false;
        });
    } catch (const TMaintenanceError& error) {
        failed = true;
        TMessageService::Inform(this, error.Message());
    } catch (const xbase::TXbaseError& error) {
        failed = true;
        TMessageService::Inform(this, QString::fromStdString(error.Message()));
    }
    mRunning = false;
    if (!failed) {
        mStatus->setText(TSearchReplaceRun::CountText(mOutcome.replaced));
        pump.Pump(true);
        TMessageService::Inform(this, TSearchReplaceRun::DoneText(mOutcome));
    }
    accept();
}

void TSearchReplaceDialog::reject()
{
    if (!mRunning)
        QDialog::reject();
}

} // namespace qm::maintenance
