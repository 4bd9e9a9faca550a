#include "data/ui/TMessageService.h"

#include <QApplication>
#include <QMessageBox>

namespace qm::data {
namespace {

QMessageBox::Icon IconOf(TMessageIcon icon)
{
    switch (icon) {
    case TMessageIcon::Warning:
        return QMessageBox::Warning;
    case TMessageIcon::Error:
        return QMessageBox::Critical;
    case TMessageIcon::Question:
        return QMessageBox::Question;
    case TMessageIcon::Information:
        break;
    }
    return QMessageBox::Information;
}

TAnswer ShowBox(QWidget* parent, const TMessage& message)
{
    if (message.isBeep) {
        QApplication::beep();
        return TAnswer::Yes;
    }
    QMessageBox box(IconOf(message.icon), message.caption, message.text, QMessageBox::NoButton,
                    parent);
    if (message.isQuestion) {
        const auto escape = message.withCancel ? QMessageBox::Cancel : QMessageBox::No;
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No |
                               (message.withCancel ? QMessageBox::Cancel : QMessageBox::NoButton));
        box.setDefaultButton(message.defaultYes ? QMessageBox::Yes : QMessageBox::No);
        box.setEscapeButton(escape);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return TAnswer::Yes;
    case QMessageBox::Cancel:
        return TAnswer::Cancel;
    default:
        return TAnswer::No;
    }
}

} // namespace

void TMessageBoxes::Install()
{
    TMessageService::SetDisplay(&ShowBox);
}

} // namespace qm::data
