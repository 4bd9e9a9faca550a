#pragma once

// The "Ok", "Cancel" and "Help" row every design-object dialog ends with. Ok accepts, Cancel
// rejects (the dialogs change nothing until their caller reads them after Ok), Help opens the
// dialog's help page.

#include <QDialogButtonBox>

class QDialog;
class QPushButton;

namespace qm::design {

class TDesignDialogButtons : public QDialogButtonBox {
public:
    TDesignDialogButtons(QDialog& dialog, int helpContext);

    QPushButton* OkButton() const { return mOk; }
    QPushButton* CancelButton() const { return mCancel; }
    QPushButton* HelpButton() const { return mHelp; }

private:
    QPushButton* mOk;
    QPushButton* mCancel;
    QPushButton* mHelp;
};

} // namespace qm::design
