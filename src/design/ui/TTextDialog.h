#pragma once

// "Text": one edit field labelled "Enter Text", filled with the object's caption. The caller
// applies Text() after Ok (TGPLabel::ApplyText).

#include <QDialog>

class QLineEdit;

namespace qm::design {

class TDesignDialogButtons;

class TTextDialog : public QDialog {
public:
    static constexpr int kHelpContext = 1201;

    explicit TTextDialog(const QString& caption, QWidget* parent = nullptr);

    QString Text() const;
    QLineEdit* TextEdit() const { return mTextEdit; }
    TDesignDialogButtons* Buttons() const { return mButtons; }

private:
    QLineEdit* mTextEdit;
    TDesignDialogButtons* mButtons;
};

} // namespace qm::design
