#include "data/ui/TMessageService.h"

#include <QMessageBox>

namespace qm::data {
namespace {

TMessageResponder* gResponder = nullptr;

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

} // namespace

void TMessageService::SetResponder(TMessageResponder* responder) { gResponder = responder; }

bool TMessageService::Show(QWidget* parent, const TMessage& message)
{
    if (gResponder)
        return gResponder->Respond(message);
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

void TMessageService::Inform(QWidget* parent, const QString& text, const QString& caption)
{
    Show(parent, {caption, text, TMessageIcon::Information, false, true});
}

void TMessageService::Warn(QWidget* parent, const QString& caption, const QString& text)
{
    Show(parent, {caption, text, TMessageIcon::Warning, false, true});
}

void TMessageService::Error(QWidget* parent, const QString& caption, const QString& text)
{
    Show(parent, {caption, text, TMessageIcon::Error, false, true});
}

bool TMessageService::Ask(QWidget* parent, const QString& caption, const QString& text,
                          bool defaultYes)
{
    return Show(parent, {caption, text, TMessageIcon::Question, true, defaultYes});
}

} // namespace qm::data
