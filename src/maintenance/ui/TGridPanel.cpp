#include "maintenance/ui/TGridPanel.h"

#include "data/TDataSet.h"
#include "data/TMessageService.h"
#include "maintenance/ui/TEditGridModel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

namespace qm::maintenance {
namespace {

// Entries are limited to the field's width.
class TWidthDelegate : public QStyledItemDelegate {
public:
    TWidthDelegate(const TEditGridModel& model, QObject* parent)
        : QStyledItemDelegate(parent), mModel(model)
    {
    }
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            line->setMaxLength(qMax(1, mModel.WidthOfColumn(index.column())));
        return editor;
    }

private:
    const TEditGridModel& mModel;
};

} // namespace

TGridPanel::TGridPanel(data::TDataSet& dataSet, QWidget* parent)
    : QWidget(parent), mDataSet(dataSet)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    mCaption = new QLabel(QStringLiteral("Click on field to begin editing"), this);
    mCaption->setObjectName(QStringLiteral("GridCaption"));
    layout->addWidget(mCaption);

    mModel = new TEditGridModel(dataSet, this);
    mGrid = new QTableView(this);
    mGrid->setObjectName(QStringLiteral("Grid"));
    mGrid->setModel(mModel);
    mGrid->setItemDelegate(new TWidthDelegate(*mModel, mGrid));
    mGrid->setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
    mGrid->setSelectionBehavior(QAbstractItemView::SelectItems);
    mGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    mGrid->horizontalHeader()->setSectionsMovable(true);
    mGrid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    mGrid->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    mGrid->verticalHeader()->hide();
    connect(mGrid->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TGridPanel::GridCurrentChange);
    layout->addWidget(mGrid, 1);

    auto* row = new QHBoxLayout;
    const auto nav = [&](const char* name, const QString& tip, QStyle::StandardPixmap icon,
                         void (TGridPanel::*slot)()) {
        auto* b = new QPushButton(this);
        b->setObjectName(QString::fromLatin1(name));
        b->setIcon(style()->standardIcon(icon));
        b->setToolTip(tip);
        b->setAccessibleName(tip);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        row->addWidget(b);
    };
    nav("FirstButton", QStringLiteral("First"), QStyle::SP_MediaSkipBackward,
        &TGridPanel::FirstButtonClick);
    nav("PriorButton", QStringLiteral("Prior"), QStyle::SP_MediaSeekBackward,
        &TGridPanel::PriorButtonClick);
    nav("NextButton", QStringLiteral("Next"), QStyle::SP_MediaSeekForward,
        &TGridPanel::NextButtonClick);
    nav("LastButton", QStringLiteral("Last"), QStyle::SP_MediaSkipForward,
        &TGridPanel::LastButtonClick);
    row->addSpacing(12);
    mButtons = new QHBoxLayout;
    row->addLayout(mButtons);
    row->addStretch();
    layout->addLayout(row);
}

TGridPanel::~TGridPanel() = default;

void TGridPanel::SetColumns(const QStringList& fields)
{
    mModel->SetColumns(fields);
}

void TGridPanel::Refresh()
{
    mModel->Reset();
    mSyncing = true;
    SelectRow(mModel->RowOfRecNo(mDataSet.RecNo()));
    mSyncing = false;
}

void TGridPanel::Release()
{
    mModel->Reset();
}

int TGridPanel::MoveColumn(const QString& field, int visual)
{
    const int logical = int(mModel->Columns().indexOf(field));
    if (logical < 0)
        return -1;
    QHeaderView* header = mGrid->horizontalHeader();
    const int old = header->visualIndex(logical);
    header->moveSection(old, visual);
    return old;
}

void TGridPanel::SelectRow(int row)
{
    if (row < 0 || row >= mModel->rowCount())
        return;
    const QModelIndex index = mModel->index(row, qMax(0, mGrid->currentIndex().column()));
    mGrid->setCurrentIndex(index);
    mGrid->scrollTo(index);
}

void TGridPanel::GridCurrentChange(const QModelIndex& current, const QModelIndex& previous)
{
    if (mSyncing || !current.isValid() || current.row() == previous.row())
        return;
    if (!mModel->MoveToRow(current.row())) {
        // The pending record was refused: stay on it.
        mSyncing = true;
        SelectRow(previous.row());
        mSyncing = false;
    }
}

void TGridPanel::FirstButtonClick()
{
    SelectRow(0);
}

void TGridPanel::PriorButtonClick()
{
    const int row = mGrid->currentIndex().row();
    if (row <= 0)
        data::TMessageService::Beep();
    else
        SelectRow(row - 1);
}

void TGridPanel::NextButtonClick()
{
    const int row = mGrid->currentIndex().row();
    if (row + 1 >= mModel->rowCount())
        data::TMessageService::Beep();
    else
        SelectRow(row + 1);
}

void TGridPanel::LastButtonClick()
{
    SelectRow(mModel->rowCount() - 1);
}

} // namespace qm::maintenance
