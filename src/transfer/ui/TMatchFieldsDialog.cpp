#include "transfer/ui/TMatchFieldsDialog.h"

#include "data/ui/THelpWindow.h"

#include <QAction>
#include <QCursor>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace qm::transfer {

TMatchFieldsDialog::TMatchFieldsDialog(const QString& caption, const TFieldMatch& match,
                                       const QString& fileName, int helpContext, QWidget* parent)
    : QDialog(parent), mMatch(match)
{
    setWindowTitle(caption);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    auto* layout = new QVBoxLayout(this);
    mTop = new QVBoxLayout;
    layout->addLayout(mTop, 2);
    layout->addWidget(new QLabel(QStringLiteral("Field Match"), this));
    mGrid = new QTableWidget(int(mMatch.Targets().size()), 2, this);
    mGrid->setObjectName(QStringLiteral("MatchGrid"));
    mGrid->setHorizontalHeaderLabels(
        {QStringLiteral("Quillmark Field"),
         QStringLiteral("Import from Field (in ") + fileName + QLatin1Char(')')});
    mGrid->verticalHeader()->hide();
    mGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    mGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    mGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mGrid->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(mGrid, 3);
    for (size_t row = 0; row < mMatch.Targets().size(); ++row)
        mGrid->setItem(int(row), 0, new QTableWidgetItem(mMatch.Targets()[row].label));
    mGrid->setCurrentCell(0, 0);
    connect(mGrid, &QTableWidget::cellDoubleClicked, this, [this] { SelectFieldButtonClick(); });

    auto* buttons = new QHBoxLayout;
    const auto button = [&](const QString& text, const char* name) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QLatin1String(name));
        buttons->addWidget(b);
        return b;
    };
    connect(button(QStringLiteral("&Select Field"), "SelectFieldButton"), &QPushButton::clicked,
            this, &TMatchFieldsDialog::SelectFieldButtonClick);
    connect(button(QStringLiteral("&Clear Current"), "ClearCurrentButton"), &QPushButton::clicked,
            this, &TMatchFieldsDialog::ClearCurrentButtonClick);
    connect(button(QStringLiteral("Clear &All"), "ClearAllButton"), &QPushButton::clicked, this,
            &TMatchFieldsDialog::ClearAllButtonClick);
    buttons->addStretch();
    QPushButton* ok = button(QStringLiteral("Ok"), "OKButton");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(button(QStringLiteral("Cancel"), "CancelButton"), &QPushButton::clicked, this,
            &QDialog::reject);
    connect(button(QStringLiteral("Help"), "HelpButton"), &QPushButton::clicked, this,
            [this, helpContext] { data::THelpWindow::ShowContext(helpContext, this); });
    layout->addLayout(buttons);
    Refresh();
}

void TMatchFieldsDialog::Refresh()
{
    for (size_t row = 0; row < mMatch.Targets().size(); ++row) {
        const int source = mMatch.SourceOf(int(row));
        const QString text = source < 0 ? QString() : mMatch.Sources()[size_t(source)].Shown();
        if (auto* item = mGrid->item(int(row), 1))
            item->setText(text);
        else
            mGrid->setItem(int(row), 1, new QTableWidgetItem(text));
    }
}

QStringList TMatchFieldsDialog::PopupEntries() const
{
    QStringList entries{QStringLiteral("(none)")};
    const int row = mGrid->currentRow();
    if (row < 0)
        return entries;
    for (const int source : mMatch.Offered(row))
        entries << mMatch.Sources()[size_t(source)].Shown();
    return entries;
}

void TMatchFieldsDialog::ChoosePopupEntry(int index)
{
    const int row = mGrid->currentRow();
    if (row < 0 || index < 0)
        return;
    if (index == 0) {
        mMatch.ClearRow(row);
    } else {
        const std::vector<int> offered = mMatch.Offered(row);
        if (size_t(index - 1) < offered.size())
            mMatch.Assign(row, offered[size_t(index - 1)]);
    }
    Refresh();
}

void TMatchFieldsDialog::SelectFieldButtonClick()
{
    const int row = mGrid->currentRow();
    if (row < 0)
        return;
    const QStringList entries = PopupEntries();
    if (mPopupChooser) {
        ChoosePopupEntry(mPopupChooser(entries));
        return;
    }
    QMenu menu(this);
    const int current = mMatch.SourceOf(row);
    const std::vector<int> offered = mMatch.Offered(row);
    for (int i = 0; i < entries.size(); ++i) {
        QAction* action = menu.addAction(entries[i]);
        action->setData(i);
        action->setCheckable(true);
        action->setChecked(i == 0 ? current < 0 : offered[size_t(i - 1)] == current);
    }
    if (QAction* chosen = menu.exec(QCursor::pos()))
        ChoosePopupEntry(chosen->data().toInt());
}

void TMatchFieldsDialog::ClearCurrentButtonClick()
{
    if (mGrid->currentRow() >= 0)
        mMatch.ClearRow(mGrid->currentRow());
    Refresh();
}

void TMatchFieldsDialog::ClearAllButtonClick()
{
    mMatch.ClearAll();
    Refresh();
}

void TMatchFieldsDialog::FitColumns()
{
    const int width = mGrid->viewport()->width();
    mGrid->setColumnWidth(0, int(width * 0.3));
}

void TMatchFieldsDialog::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    FitColumns();
}

void TMatchFieldsDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FitColumns();
}

} // namespace qm::transfer
