#include "addressbook/ui/TAddressBrowseDialog.h"

#include "addressbook/TAddressBook.h"
#include "addressbook/TBrowseColumnWidths.h"
#include "addressbook/TColumnOrder.h"
#include "data/TCalculatedFields.h"
#include "data/TGridModel.h"
#include "data/TMessageService.h"
#include "data/TPlacementRules.h"
#include "data/TProgramHome.h"
#include "data/TSettingsFile.h"
#include "data/ui/THelpWindow.h"
#include "data/ui/TWindowPlacement.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

namespace qm::addressbook {

TAddressBrowseDialog::TAddressBrowseDialog(TAddressBook& book, TBrowseColumnWidths& widths,
                                           QWidget* parent)
    : QDialog(parent), mBook(book), mWidths(widths)
{
    setObjectName(QString::fromLatin1(kClassName));
    setWindowTitle(QStringLiteral("Address Browse"));
    setSizeGripEnabled(true);

    data::TDataSet& ds = book.DataSet();
    QStringList fields;
    for (const auto& field : ds.Fields())
        fields << field->Name();
    mOrder = TColumnOrder::Apply(fields, TColumnOrder::Read(TColumnOrder::FilePath()));
    QStringList shown;
    for (const QString& name : mOrder)
        if (const data::TDataField* f = ds.FindField(name); f && f->Visible())
            shown << name;

    mModel = new data::TGridModel(ds, this);
    mModel->SetCalcCell([this](const data::TGridRow& row, const QString& field) {
        return data::TCalculatedFields::ForGridRow(row, field, mBook.TagIdentifier());
    });
    mModel->SetColumns(shown);

    auto* layout = new QVBoxLayout(this);
    mGrid = new QTableView(this);
    mGrid->setObjectName(QStringLiteral("Grid"));
    mGrid->setModel(mModel);
    mGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    mGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    mGrid->horizontalHeader()->setSectionsMovable(true);
    mGrid->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    // Fixed row heights: the view never measures rows it does not show.
    mGrid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    mGrid->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    mGrid->verticalHeader()->hide();
    SizeColumns();
    connect(mGrid->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int logical, int, int width) {
                if (!mSizingColumns && logical < mModel->Columns().size())
                    mWidths.Choose(mModel->Columns()[logical], width);
            });
    connect(mGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { GridCurrentChange(current); });
    connect(mGrid, &QTableView::doubleClicked, this, &TAddressBrowseDialog::GridDblClick);
    layout->addWidget(mGrid, 1);

    auto* buttons = new QHBoxLayout;
    const auto add = [&](const char* name, const QString& caption, QStyle::StandardPixmap icon,
                         void (TAddressBrowseDialog::*slot)()) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        if (icon != QStyle::SP_CustomBase)
            b->setIcon(style()->standardIcon(icon));
        if (slot)
            connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
        return b;
    };
    add("FirstButton", {}, QStyle::SP_MediaSkipBackward, &TAddressBrowseDialog::FirstButtonClick)
        ->setToolTip(QStringLiteral("First"));
    add("PriorButton", {}, QStyle::SP_MediaSeekBackward, &TAddressBrowseDialog::PriorButtonClick)
        ->setToolTip(QStringLiteral("Previous"));
    add("NextButton", {}, QStyle::SP_MediaSeekForward, &TAddressBrowseDialog::NextButtonClick)
        ->setToolTip(QStringLiteral("Next"));
    add("LastButton", {}, QStyle::SP_MediaSkipForward, &TAddressBrowseDialog::LastButtonClick)
        ->setToolTip(QStringLiteral("Last"));
    buttons->addSpacing(12);
    add("TagButton", QStringLiteral("&Tag"), QStyle::SP_CustomBase,
        &TAddressBrowseDialog::TagButtonClick);
    buttons->addStretch();
    auto* ok = add("OKButton", QStringLiteral("Ok"), QStyle::SP_CustomBase, nullptr);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* help = add("HelpButton", QStringLiteral("Help"), QStyle::SP_CustomBase, nullptr);
    connect(help, &QPushButton::clicked, this,
            [this] { data::THelpWindow::ShowContext(kHelpContext, this); });
    layout->addLayout(buttons);

    SelectCurrentRecord();
}

TAddressBrowseDialog::~TAddressBrowseDialog() = default;

void TAddressBrowseDialog::SizeColumns()
{
    mSizingColumns = true;
    QHeaderView* header = mGrid->horizontalHeader();
    const QFontMetrics cell = mGrid->fontMetrics();
    const QFontMetrics heading = header->fontMetrics();
    // The style's margins around a cell's text and a heading's text (both sides).
    const int cellPadding = 2 * (mGrid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1) + 4;
    const int headingPadding = 2 * header->style()->pixelMetric(QStyle::PM_HeaderMargin) + 8;
    const data::TDataSet& ds = mBook.DataSet();
    const QStringList columns = mModel->Columns();
    for (int i = 0; i < columns.size(); ++i) {
        const data::TDataField* field = ds.FindField(columns[i]);
        const QString title = mModel->headerData(i, Qt::Horizontal).toString();
        const int width =
            mWidths.Chosen(columns[i])
                .value_or(TBrowseColumnWidths::FitWidth(
                    field ? field->Size() : 0, cell.horizontalAdvance(QLatin1Char('0')),
                    cellPadding, heading.horizontalAdvance(title) + headingPadding));
        header->resizeSection(i, width);
    }
    mSizingColumns = false;
}

void TAddressBrowseDialog::showEvent(QShowEvent* event)
{
    if (!mPlaced) {
        mPlaced = true;
        // Above 96 pixels per inch the design size grows by the resolution / 96 x 0.95.
        const data::TEdges size = data::TPlacementRules::ScaledDesignSize(
            kDesignWidth, kDesignHeight, data::TWindowPlacement::LogicalDpi(*this),
            devicePixelRatioF());
        resize(size.Width(), size.Height());
        data::TSettingsFile settings(data::TProgramHome::Current().SettingsPath());
        try {
            data::TWindowPlacement::AdoptOldName(*this, QString::fromLatin1(kClassName),
                                                 QString::fromLatin1(kPlacementName), settings);
            data::TWindowPlacement::Restore(*this, QString::fromLatin1(kPlacementName), settings);
        } catch (const data::TSettingsWriteError& error) {
            data::TMessageService::Inform(this, error.Message());
        }
    }
    QDialog::showEvent(event);
}

void TAddressBrowseDialog::done(int result)
{
    data::TSettingsFile settings(data::TProgramHome::Current().SettingsPath());
    try {
        data::TWindowPlacement::Save(*this, QString::fromLatin1(kPlacementName), settings);
    } catch (const data::TSettingsWriteError& error) {
        data::TMessageService::Inform(this, error.Message());
    }
    QDialog::done(result);
}

QStringList TAddressBrowseDialog::ColumnOrder() const
{
    // Shown fields as the grid has them now; hidden ones keep their places between them.
    const QHeaderView* header = mGrid->horizontalHeader();
    QStringList shown;
    for (int visual = 0; visual < header->count(); ++visual)
        shown << mModel->Columns()[header->logicalIndex(visual)];
    QStringList order = mOrder;
    qsizetype next = 0;
    for (QString& name : order)
        if (shown.contains(name))
            name = shown[next++];
    return order;
}

QString TAddressBrowseDialog::WriteColumnOrder() const
{
    return TColumnOrder::Write(TColumnOrder::FilePath(), ColumnOrder());
}

void TAddressBrowseDialog::SelectRow(int row)
{
    if (row < 0 || row >= mModel->rowCount())
        return;
    const QModelIndex index = mModel->index(row, qMax(0, mGrid->currentIndex().column()));
    mGrid->setCurrentIndex(index);
    mGrid->scrollTo(index);
}

void TAddressBrowseDialog::SelectCurrentRecord()
{
    const int row = mModel->RowOfRecNo(mBook.DataSet().RecNo());
    mSyncing = true;
    SelectRow(row);
    mSyncing = false;
}

void TAddressBrowseDialog::GridCurrentChange(const QModelIndex& current)
{
    if (mSyncing || !current.isValid())
        return;
    const uint32_t recNo = mModel->RecNoOfRow(current.row());
    if (recNo != 0 && recNo != mBook.DataSet().RecNo())
        mBook.DataSet().GoTo(recNo);
}

void TAddressBrowseDialog::FirstButtonClick()
{
    if (mModel->rowCount() > 0)
        SelectRow(0);
}

void TAddressBrowseDialog::PriorButtonClick()
{
    const int row = mGrid->currentIndex().row();
    if (row <= 0) {
        data::TMessageService::Beep();
        return;
    }
    SelectRow(row - 1);
}

void TAddressBrowseDialog::NextButtonClick()
{
    const int row = mGrid->currentIndex().row();
    if (row + 1 >= mModel->rowCount()) {
        data::TMessageService::Beep();
        return;
    }
    SelectRow(row + 1);
}

void TAddressBrowseDialog::LastButtonClick()
{
    if (mModel->rowCount() > 0)
        SelectRow(mModel->rowCount() - 1);
}

void TAddressBrowseDialog::TagButtonClick()
{
    if (!mGrid->currentIndex().isValid())
        return;
    const bool viewMayChange = mBook.Filter().taggedOnly;
    mBook.ToggleTag();
    if (viewMayChange) {
        // Untagging under a tagged-only filter takes the record out of the view.
        mModel->Reset();
        SelectCurrentRecord();
    } else {
        mGrid->viewport()->update();
    }
}

void TAddressBrowseDialog::GridDblClick(const QModelIndex& index)
{
    if (!index.isValid())
        return;
    if (index.row() != mGrid->currentIndex().row())
        SelectRow(index.row());
    TagButtonClick();
}

} // namespace qm::addressbook
