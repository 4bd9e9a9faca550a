#include "design/ui/TSelectFieldDialog.h"

#include "data/ui/TWindowPlacement.h"
#include "design/ui/TDesignDialogButtons.h"

#include <QListWidget>
#include <QVBoxLayout>

namespace qm::design {

TSelectFieldDialog::TSelectFieldDialog(const QStringList& labels, const QString& current,
                                       QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TSelectFieldDialog"));
    setWindowTitle(QStringLiteral("Select Field"));
    mFieldList = new QListWidget(this);
    mFieldList->setObjectName(QStringLiteral("FieldList"));
    mFieldList->addItems(labels);
    const int index = labels.indexOf(current);
    if (!labels.isEmpty())
        mFieldList->setCurrentRow(index >= 0 ? index : 0);
    mButtons = new TDesignDialogButtons(*this, kHelpContext);
    connect(mFieldList, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(mFieldList);
    layout->addWidget(mButtons);
    setMinimumSize(260, 320);
    data::TWindowPlacement::Centre(*this, parent ? parent->window() : nullptr);
}

QString TSelectFieldDialog::SelectedLabel() const
{
    const QListWidgetItem* item = mFieldList->currentItem();
    return item ? item->text() : QString();
}

} // namespace qm::design
