#include "data/ui/TMessageService.h"

#include <QApplication>
#include <QMessageBox>

namespace qm::data {
namespace {

QMessageBox::Icon IconOf(TMessageIcon icon)
{
    switch (icon) {
    case TMessageIcon::Warning: return QMessageBox::Warning;
    case TMessageIcon::Error: return QMessageBox::Critical;
    case TMessageIcon::Question: return QMessageBox::Question;
    case TMessageIcon::Information: break;
    }
    return QMessageBox::Information;
}

bool ShowBox(QWidget* parent, const TMessage& message)
{
    if (message.isBeep) {
        QApplication::beep();
        return true;
    }
    QMessageBox box(IconOf(message.icon), message.caption, message.text, QMessageBox::NoButton,
                    parent);
    if (message.isQuestion) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(message.defaultYes ? QMessageBox::Yes : QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    return box.exec() == QMessageBox::Yes;
}

} // namespace

void TMessageBoxes::Install() { TMessageService::SetDisplay(&ShowBox); }

} // namespace qm::data
