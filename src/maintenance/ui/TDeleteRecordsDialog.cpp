#include "maintenance/ui/TDeleteRecordsDialog.h"
#include "maintenance/ui/TMaintenanceWidgets.h"

#include "data/TMessageService.h"
#include "data/ui/TEventPump.h"
#include "data/ui/THelpWindow.h"
#include "maintenance/TMaintenanceError.h"
#include "xbase/TXbaseError.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qm::maintenance {

using data::TMessageService;

TDeleteRecordsDialog::TDeleteRecordsDialog(data::TDataSet& dataSet, const QString& filterExpression,
                                           QWidget* parent)
    : QDialog(parent), mDataSet(dataSet), mFilterExpression(filterExpression)
{
    setObjectName(QString::fromLatin1(kClassName));
    setWindowTitle(QStringLiteral("Delete Records"));
    auto* layout = new QVBoxLayout(this);
    auto* box = new QGroupBox(this);
    auto* choices = new QVBoxLayout(box);
    mAll = new QRadioButton(QStringLiteral("Delete &All Records"), box);
    mAll->setObjectName(QStringLiteral("DeleteAll"));
    mFilter = new QRadioButton(QStringLiteral("Delete Records matching current &Filter"), box);
    mFilter->setObjectName(QStringLiteral("DeleteFilter"));
    mNotFilter =
        new QRadioButton(QStringLiteral("Delete Records which do &NOT match current Filter"), box);
    mNotFilter->setObjectName(QStringLiteral("DeleteNotFilter"));
    mAll->setChecked(true);
    const bool filterSet = !filterExpression.trimmed().isEmpty();
    mFilter->setEnabled(filterSet);
    mNotFilter->setEnabled(filterSet);
    for (QRadioButton* r : {mAll, mFilter, mNotFilter})
        choices->addWidget(r);
    layout->addWidget(box);
    mStatus = TMaintenanceWidgets::StatusLabel(this);
    layout->addWidget(mStatus);
    mBar = TMaintenanceWidgets::ProgressBar(this);
    layout->addWidget(mBar);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    mDelete = new QPushButton(QStringLiteral("&Delete Now"), this);
    mDelete->setObjectName(QStringLiteral("DeleteButton"));
    connect(mDelete, &QPushButton::clicked, this, &TDeleteRecordsDialog::DeleteButtonClick);
    mCancel = new QPushButton(QStringLiteral("Cancel"), this);
    mCancel->setObjectName(QStringLiteral("CancelButton"));
    connect(mCancel, &QPushButton::clicked, this, &TDeleteRecordsDialog::reject);
    auto* help = TMaintenanceWidgets::HelpButton(this, kHelpContext);
    for (QPushButton* b : {mDelete, mCancel, help}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    layout->addLayout(buttons);
}

void TDeleteRecordsDialog::DeleteButtonClick()
{
    if (mRunning)
        return;
    const TDeleteScope scope = mNotFilter->isChecked() ? TDeleteScope::NotMatching
                               : mFilter->isChecked()  ? TDeleteScope::Matching
                                                       : TDeleteScope::All;
    // Removing every record cannot be taken back: that question defaults to No.
    if (!TMessageService::Ask(this, QStringLiteral("DELETE"), QStringLiteral("Are you sure?"),
                              scope != TDeleteScope::All))
        return;
    mRunning = true;
    mDelete->setEnabled(false);
    mCancel->setEnabled(false);
    mStatus->setText(QStringLiteral("Deleting Records "));
    mStatus->show();
    mBar->show();
    data::TEventPump pump;
    bool failed = false;
    try {
        mDeleted = TDeleteRecordsRun(mDataSet, scope, mFilterExpression)
                       .Run([&](const TRunStep& step) {
                           mBar->setValue(step.Percent());
                           pump.Pump();
                           return false;
                       })
                       .deleted;
    } catch (const TMaintenanceError& error) {
        failed = true;
        TMessageService::Inform(this, error.Message());
    } catch (const xbase::TXbaseError& error) {
        failed = true;
        TMessageService::Inform(this, QString::fromStdString(error.Message()));
    }
    mRunning = false;
    if (!failed) {
        mStatus->setText(TDeleteRecordsRun::CountText(mDeleted));
        pump.Pump(true);
        // The count stays in the window behind the advice.
        TMessageService::Inform(this, QStringLiteral("For optimum space usage, please select\r\n"
                                                     "[Rebuild Indexes] from the File menu"));
    }
    accept();
}

void TDeleteRecordsDialog::reject()
{
    if (!mRunning)
        QDialog::reject();
}

} // namespace qm::maintenance
