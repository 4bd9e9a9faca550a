#pragma once

// "Counter": starting number (any whole number), repeat count (1 to 999), texts before and
// after, leading zeros (0 to 9). Settings() gives the values after Ok; the caller applies them
// (TGCounterLabel::ApplySettings).

#include "design/objects/TGCounterLabel.h"

#include <QDialog>

class QLineEdit;
class QSpinBox;

namespace qm::design {

class TDesignDialogButtons;

class TCounterDialog : public QDialog {
public:
    static constexpr int kHelpContext = 1203;

    explicit TCounterDialog(const TCounterSettings& settings, QWidget* parent = nullptr);

    TCounterSettings Settings() const;

    QSpinBox* StartingNumberEdit() const { return mStartingNumber; }
    QSpinBox* RepeatEdit() const { return mRepeat; }
    QLineEdit* TextBeforeEdit() const { return mTextBefore; }
    QLineEdit* TextAfterEdit() const { return mTextAfter; }
    QSpinBox* LeadingZerosEdit() const { return mLeadingZeros; }
    TDesignDialogButtons* Buttons() const { return mButtons; }

private:
    QSpinBox* mStartingNumber;
    QSpinBox* mRepeat;
    QLineEdit* mTextBefore;
    QLineEdit* mTextAfter;
    QSpinBox* mLeadingZeros;
    TDesignDialogButtons* mButtons;
};

} // namespace qm::design
