#include "maintenance/ui/TCheckDialogBase.h"
#include "maintenance/ui/TMaintenanceWidgets.h"

#include "addressbook/TAddressBook.h"
#include "data/TAddressFile.h"
#include "data/TCalculatedFields.h"
#include "data/TMessageService.h"
#include "data/ui/TEventPump.h"
#include "maintenance/TMaintenanceError.h"
#include "maintenance/TResultIndex.h"
#include "maintenance/ui/TEditGridModel.h"
#include "maintenance/ui/TGridPanel.h"
#include "xbase/TCursor.h"
#include "xbase/TXbaseError.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>

namespace qm::maintenance {

using data::TMessageService;

TCheckDialogBase::TCheckDialogBase(addressbook::TAddressBook& book, QWidget* parent)
    : QDialog(parent), mBook(book)
{
    // Both checks open at one size and grow with their result grid.
    setSizeGripEnabled(true);
    setMinimumSize(560, 300);
    resize(760, 440);
    mPanel = new TGridPanel(book.DataSet(), this);
    mPanel->Model().SetCalcCell([this](const data::TGridRow& row, const QString& field) {
        return data::TCalculatedFields::ForGridRow(row, field, mBook.TagIdentifier());
    });
    mPanel->hide();
    connect(mPanel->Grid(), &QTableView::doubleClicked, this, &TCheckDialogBase::GridDblClick);
    mBar = TMaintenanceWidgets::ProgressBar(this);
    mCount = new QLabel(this);
    mCount->setObjectName(QStringLiteral("CountLabel"));
}

TCheckDialogBase::~TCheckDialogBase()
{
    DropResults();
}

QString TCheckDialogBase::CountText() const
{
    return mCount->text();
}

TRunProgress TCheckDialogBase::Progress(std::function<QString(uint32_t)> countText)
{
    auto pump = std::make_shared<data::TEventPump>();
    auto lastFound = std::make_shared<int64_t>(-1);
    return [this, pump, lastFound, countText](const TRunStep& step) {
        const int percent = step.Percent();
        if (percent > 0 && percent < 100) {
            mBar->setValue(percent);
            mBar->show();
        }
        if (int64_t(step.found) != *lastFound) {
            *lastFound = step.found;
            mCount->setText(countText(step.found));
        }
        pump->Pump();
        if (mAfterRecord)
            mAfterRecord(step);
        return mStop;
    };
}

void TCheckDialogBase::AskCancel()
{
    if (TMessageService::Ask(this, QStringLiteral("CANCEL"), QStringLiteral("Cancel operation?")))
        mStop = true;
}

void TCheckDialogBase::ShowFailure(const std::exception& error)
{
    if (const auto* failure = dynamic_cast<const TMaintenanceError*>(&error)) {
        TMessageService::Inform(this, failure->Message());
        if (!failure->MissingTag().isEmpty() &&
            TMessageService::Ask(this, QStringLiteral("Warning"),
                                 data::TAddressFile::RebuildQuestion(mBook.CurrentPath())))
            mRebuildWanted = true;
        return;
    }
    if (const auto* engine = dynamic_cast<const xbase::TXbaseError*>(&error)) {
        TMessageService::Inform(this, QString::fromStdString(engine->Message()));
        return;
    }
    TMessageService::Inform(this, QString::fromLocal8Bit(error.what()));
}

void TCheckDialogBase::ShowResults()
{
    mPanel->show();
    mPanel->Refresh();
}

void TCheckDialogBase::DropResults()
{
    if (!mIndex)
        return;
    data::TDataSet& ds = mBook.DataSet();
    try {
        if (ds.Editing())
            ds.Cancel();
        if (ds.Active() && mIndex->IsOrder()) {
            ds.Cursor().SetOrder(0);
            ds.Resync();
        }
        mPanel->Release();
    } catch (...) {
    }
    mIndex.reset(); // closes the index and deletes its file
}

void TCheckDialogBase::TagButtonClick()
{
    if (!mPanel->isVisible() || mBook.DataSet().IsEmpty())
        return;
    if (!mPanel->Model().PostPending())
        return;
    const bool busy = mBook.Busy();
    mBook.ToggleTag();
    mBook.SetBusy(busy);
    mPanel->Grid()->viewport()->update();
}

void TCheckDialogBase::TagAllButtonClick(const QString& question)
{
    if (!mPanel->isVisible() || !mPanel->Model().PostPending())
        return;
    if (!TMessageService::Ask(this, QStringLiteral("TAG ALL"), question))
        return;
    const uint32_t recNo = mBook.DataSet().RecNo();
    if (mTagAll)
        mTagAll();
    if (recNo != 0)
        mBook.DataSet().GoTo(recNo);
    mPanel->Refresh();
}

void TCheckDialogBase::GridDblClick(const QModelIndex& index)
{
    if (!index.isValid() ||
        mPanel->Model().FieldOfColumn(index.column()) != QLatin1String("Tagged"))
        return;
    if (!mPanel->Model().MoveToRow(index.row()))
        return;
    TagButtonClick();
}

void TCheckDialogBase::reject()
{
    if (mRunning) {
        AskCancel();
        return;
    }
    QDialog::reject();
}

void TCheckDialogBase::done(int result)
{
    if (mRunning)
        return;
    // An edit still pending in the grid is kept, as leaving a row would keep it.
    if (mBook.DataSet().Editing() && !mPanel->Model().PostPending())
        return;
    DropResults();
    QDialog::done(result);
}

} // namespace qm::maintenance
