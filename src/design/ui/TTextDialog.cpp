#include "design/ui/TTextDialog.h"

#include "data/ui/TWindowPlacement.h"
#include "design/ui/TDesignDialogButtons.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace qm::design {

TTextDialog::TTextDialog(const QString& caption, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("TTextDialog"));
    setWindowTitle(QStringLiteral("Text"));
    auto* label = new QLabel(QStringLiteral("Enter Text"), this);
    mTextEdit = new QLineEdit(caption, this);
    mTextEdit->setObjectName(QStringLiteral("TextEdit"));
    label->setBuddy(mTextEdit);
    mButtons = new TDesignDialogButtons(*this, kHelpContext);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(mTextEdit);
    layout->addWidget(mButtons);
    setMinimumWidth(320);
    mTextEdit->selectAll();
    data::TWindowPlacement::Centre(*this, parent ? parent->window() : nullptr);
}

QString TTextDialog::Text() const
{
    return mTextEdit->text();
}

} // namespace qm::design
