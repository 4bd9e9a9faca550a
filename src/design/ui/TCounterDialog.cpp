#include "design/ui/TCounterDialog.h"

#include "data/ui/TWindowPlacement.h"
#include "design/ui/TDesignDialogButtons.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace qm::design {

TCounterDialog::TCounterDialog(const TCounterSettings& s, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TCounterDialog"));
    setWindowTitle(QStringLiteral("Counter"));

    mStartingNumber = new QSpinBox(this);
    mStartingNumber->setObjectName(QStringLiteral("StartingNumberEdit"));
    mStartingNumber->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    mStartingNumber->setValue(s.startingNumber);
    mRepeat = new QSpinBox(this);
    mRepeat->setObjectName(QStringLiteral("RepeatEdit"));
    mRepeat->setRange(1, 999);
    mRepeat->setValue(std::clamp(s.repeatEach, 1, 999));
    mTextBefore = new QLineEdit(s.textBefore, this);
    mTextBefore->setObjectName(QStringLiteral("TextBeforeEdit"));
    mTextAfter = new QLineEdit(s.textAfter, this);
    mTextAfter->setObjectName(QStringLiteral("TextAfterEdit"));
    mLeadingZeros = new QSpinBox(this);
    mLeadingZeros->setObjectName(QStringLiteral("LeadingZerosEdit"));
    mLeadingZeros->setRange(0, 9);
    mLeadingZeros->setValue(std::clamp(s.leadingZeros, 0, 9));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Starting Number"), mStartingNumber);
    form->addRow(QStringLiteral("Repeat number for #of  labels?"), mRepeat);
    form->addRow(QStringLiteral("Text  before"), mTextBefore);
    form->addRow(QStringLiteral("Text after"), mTextAfter);
    auto* zeros = new QHBoxLayout;
    zeros->addWidget(mLeadingZeros);
    zeros->addWidget(new QLabel(QStringLiteral("digits"), this));
    zeros->addStretch();
    form->addRow(QStringLiteral("Leading zeros to"), zeros);

    mButtons = new TDesignDialogButtons(*this, kHelpContext);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(mButtons);
    data::TWindowPlacement::Centre(*this, parent ? parent->window() : nullptr);
}

TCounterSettings TCounterDialog::Settings() const
{
    TCounterSettings s;
    s.startingNumber = mStartingNumber->value();
    s.repeatEach = mRepeat->value();
    s.textBefore = mTextBefore->text();
    s.textAfter = mTextAfter->text();
    s.leadingZeros = mLeadingZeros->value();
    return s;
}

} // namespace qm::design
