#pragma once

// "Label Layout": how the designer's Change Layout takes the new sheet: from the template list
// (the default) or typed in as a user-defined layout.

#include <QDialog>

class QPushButton;
class QRadioButton;

namespace qm::labels {

class TLabelLayoutChoice : public QDialog {
public:
    enum class TChoice { Cancelled, Template, Manual };

    explicit TLabelLayoutChoice(QWidget* parent = nullptr);

    // Runs the dialog.
    static TChoice Ask(QWidget* parent);
    TChoice Choice() const;

    QRadioButton* TemplateRadio() const { return mTemplateRadio; }
    QRadioButton* ManualRadio() const { return mManualRadio; }
    QPushButton* OKButton() const { return mOKButton; }

private:
    QRadioButton* mTemplateRadio = nullptr;
    QRadioButton* mManualRadio = nullptr;
    QPushButton* mOKButton = nullptr;
};

} // namespace qm::labels
