#include "addressbook/ui/TSearchDialog.h"

#include "data/TSortOrders.h"
#include "data/ui/THelpWindow.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace qm::addressbook {

TSearchDialog::TSearchDialog(const QString& currentTag, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TSearchDialog"));
    setWindowTitle(QStringLiteral("Search"));
    auto* layout = new QVBoxLayout(this);

    auto* ordersLabel = new QLabel(QStringLiteral("Search &Order"), this);
    mOrders = new QListWidget(this);
    mOrders->setObjectName(QStringLiteral("SearchOrderList"));
    ordersLabel->setBuddy(mOrders);
    for (const data::TSortOrder& order : data::TSortOrders::All()) {
        auto* item = new QListWidgetItem(data::TSortOrders::CaptionText(order.caption), mOrders);
        item->setData(Qt::UserRole, QString::fromLatin1(order.tag));
        if (currentTag.compare(QLatin1String(order.tag), Qt::CaseInsensitive) == 0)
            mOrders->setCurrentItem(item);
    }
    if (!mOrders->currentItem())
        mOrders->setCurrentRow(0);
    layout->addWidget(ordersLabel);
    layout->addWidget(mOrders, 1);

    mEntryLabel = new QLabel(this);
    mEntryLabel->setObjectName(QStringLiteral("SearchEntryLabel"));
    mEntry = new QLineEdit(this);
    mEntry->setObjectName(QStringLiteral("SearchEntry"));
    mEntryLabel->setBuddy(mEntry);
    layout->addWidget(mEntryLabel);
    layout->addWidget(mEntry);
    connect(mOrders, &QListWidget::currentRowChanged, this, &TSearchDialog::OrderListChange);
    OrderListChange();

    auto* buttons = new QDialogButtonBox(this);
    auto* ok = buttons->addButton(QStringLiteral("Ok"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    auto* cancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    auto* help = buttons->addButton(QStringLiteral("Help"), QDialogButtonBox::HelpRole);
    help->setObjectName(QStringLiteral("HelpButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this,
            [this] { data::THelpWindow::ShowContext(kHelpContext, this); });
    layout->addWidget(buttons);
    mEntry->setFocus();
    setMinimumWidth(320);
}

QString TSearchDialog::OrderTag() const
{
    const QListWidgetItem* item = mOrders->currentItem();
    return item ? item->data(Qt::UserRole).toString() : QString();
}

QString TSearchDialog::Text() const
{
    return mEntry->text();
}

QString TSearchDialog::EntryLabelText() const
{
    return mEntryLabel->text();
}

void TSearchDialog::OrderListChange()
{
    const QListWidgetItem* item = mOrders->currentItem();
    mEntryLabel->setText(QStringLiteral("Search ") + (item ? item->text() : QString()) +
                         QStringLiteral(" starting with..."));
}

} // namespace qm::addressbook
