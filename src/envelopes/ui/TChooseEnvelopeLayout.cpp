#include "envelopes/ui/TChooseEnvelopeLayout.h"

#include "data/ui/THelpWindow.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace qm::envelopes {

TChooseEnvelopeLayout::TChooseEnvelopeLayout(std::vector<TEnvelopeSizeEntry> entries, int code,
                                             QWidget* parent)
    : QDialog(parent), mEntries(std::move(entries)), mCode(code)
{
    setObjectName(QStringLiteral("TChooseEnvelopeLayout"));
    setWindowTitle(QStringLiteral("Envelope Size"));

    mList = new QListWidget(this);
    mList->setObjectName(QStringLiteral("SizeList"));
    int current = 0;
    for (std::size_t i = 0; i < mEntries.size(); ++i) {
        mList->addItem(mEntries[i].text);
        if (mEntries[i].code == code)
            current = int(i);
    }
    if (!mEntries.empty())
        mList->setCurrentRow(current);
    mList->setMinimumWidth(mList->sizeHintForColumn(0) + 2 * mList->frameWidth() + 24);
    connect(mList, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

    auto* buttons = new QDialogButtonBox(this);
    mOkButton = buttons->addButton(QStringLiteral("Ok"), QDialogButtonBox::AcceptRole);
    mOkButton->setObjectName(QStringLiteral("OkButton"));
    mOkButton->setDefault(true);
    mCancelButton = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    mCancelButton->setObjectName(QStringLiteral("CancelButton"));
    QPushButton* help = buttons->addButton(QStringLiteral("Help"), QDialogButtonBox::HelpRole);
    help->setObjectName(QStringLiteral("HelpButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this,
            [this] { data::THelpWindow::ShowContext(kHelpContext, this); });

    auto* label = new QLabel(QStringLiteral("&Envelope size:"), this);
    label->setBuddy(mList);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(mList, 1);
    layout->addWidget(buttons);
}

int TChooseEnvelopeLayout::Code() const
{
    const int row = mList->currentRow();
    if (row < 0 || row >= int(mEntries.size()) || mList->selectedItems().isEmpty())
        return mCode;
    return mEntries[std::size_t(row)].code;
}

} // namespace qm::envelopes
