#include "design/ui/TDesignDialogButtons.h"

#include "data/ui/THelpWindow.h"

#include <QDialog>
#include <QPushButton>

namespace qm::design {

TDesignDialogButtons::TDesignDialogButtons(QDialog& dialog, int helpContext)
    : QDialogButtonBox(&dialog)
{
    mOk = addButton(QStringLiteral("Ok"), QDialogButtonBox::AcceptRole);
    mOk->setObjectName(QStringLiteral("OkButton"));
    mOk->setDefault(true);
    mCancel = addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    mCancel->setObjectName(QStringLiteral("CancelButton"));
    mHelp = addButton(QStringLiteral("Help"), QDialogButtonBox::HelpRole);
    mHelp->setObjectName(QStringLiteral("HelpButton"));
    connect(this, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    connect(this, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    QDialog* d = &dialog;
    connect(mHelp, &QPushButton::clicked, d,
            [d, helpContext] { data::THelpWindow::ShowContext(helpContext, d); });
}

} // namespace qm::design
