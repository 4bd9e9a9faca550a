#include "addressbook/ui/TCopyRecordDialog.h"

#include "data/ui/TWindowPlacement.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QVBoxLayout>

namespace qm::addressbook {

TCopyRecordDialog::TCopyRecordDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TCopyRecordDialog"));
    setWindowTitle(QStringLiteral("Copy Record To Clipboard"));
    auto* layout = new QVBoxLayout(this);
    const char* captions[] = {"&Name, Organization, Title", "&Address", "&Phone Numbers", "C&odes",
                              "Comments 1 && 2"};
    for (size_t i = 0; i < mChecks.size(); ++i) {
        mChecks[i] = new QCheckBox(QString::fromLatin1(captions[i]), this);
        mChecks[i]->setChecked(true);
        layout->addWidget(mChecks[i]);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    data::TWindowPlacement::Centre(*this, parent ? parent->window() : nullptr);
}

data::TClipboardParts TCopyRecordDialog::Parts() const
{
    data::TClipboardParts parts;
    parts.names = mChecks[0]->isChecked();
    parts.address = mChecks[1]->isChecked();
    parts.phones = mChecks[2]->isChecked();
    parts.codes = mChecks[3]->isChecked();
    parts.comments = mChecks[4]->isChecked();
    return parts;
}

} // namespace qm::addressbook
