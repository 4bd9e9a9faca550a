#include "labels/ui/TLabelLayoutChoice.h"

#include "data/ui/THelpWindow.h"
#include "data/ui/TWindowPlacement.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qm::labels {

namespace {
constexpr int kDesignerHelpContext = 5103;
}

TLabelLayoutChoice::TLabelLayoutChoice(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TLabelLayoutChoice"));
    setWindowTitle(QStringLiteral("Label Layout"));
    auto* group = new QGroupBox(this);
    mTemplateRadio =
        new QRadioButton(QStringLiteral("&Select layout from a list of templates"), group);
    mTemplateRadio->setObjectName(QStringLiteral("TemplateRadio"));
    mTemplateRadio->setChecked(true);
    mManualRadio = new QRadioButton(
        QStringLiteral("&Enter the layout values manually (user defined layout)"), group);
    mManualRadio->setObjectName(QStringLiteral("ManualRadio"));
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(mTemplateRadio);
    groupLayout->addWidget(mManualRadio);

    auto* buttons = new QDialogButtonBox(this);
    mOKButton = buttons->addButton(QDialogButtonBox::Ok);
    mOKButton->setObjectName(QStringLiteral("OKButton"));
    mOKButton->setDefault(true);
    QPushButton* cancel = buttons->addButton(QDialogButtonBox::Cancel);
    cancel->setObjectName(QStringLiteral("CancelButton"));
    QPushButton* help = buttons->addButton(QDialogButtonBox::Help);
    help->setObjectName(QStringLiteral("HelpButton"));
    help->setAutoDefault(false);
    connect(mOKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this,
            [this] { data::THelpWindow::ShowContext(kDesignerHelpContext, this); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
    data::TWindowPlacement::Centre(*this, parent ? parent->window() : nullptr);
}

TLabelLayoutChoice::TChoice TLabelLayoutChoice::Choice() const
{
    if (result() != QDialog::Accepted)
        return TChoice::Cancelled;
    return mManualRadio->isChecked() ? TChoice::Manual : TChoice::Template;
}

TLabelLayoutChoice::TChoice TLabelLayoutChoice::Ask(QWidget* parent)
{
    TLabelLayoutChoice dialog(parent);
    dialog.exec();
    return dialog.Choice();
}

} // namespace qm::labels
