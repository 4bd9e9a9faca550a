#include "data/TMessageService.h"

#include <cstdio>

namespace qm::data {
namespace {

TMessageResponder* gResponder = nullptr;

TMessageService::TDisplay& Display()
{
    static TMessageService::TDisplay display;
    return display;
}

} // namespace

void TMessageService::SetResponder(TMessageResponder* responder)
{
    gResponder = responder;
}

void TMessageService::SetDisplay(TDisplay display)
{
    Display() = std::move(display);
}

bool TMessageService::Show(QWidget* parent, const TMessage& message)
{
    return Answer(parent, message) == TAnswer::Yes;
}

TAnswer TMessageService::Answer(QWidget* parent, const TMessage& message)
{
    if (gResponder) {
        if (message.withCancel)
            return gResponder->RespondWithCancel(message);
        return gResponder->Respond(message) ? TAnswer::Yes : TAnswer::No;
    }
    if (Display())
        return Display()(parent, message);
    if (!message.isBeep)
        std::fprintf(stderr, "%s: %s\n", qPrintable(message.caption), qPrintable(message.text));
    return !message.isQuestion || message.defaultYes ? TAnswer::Yes : TAnswer::No;
}

void TMessageService::Inform(QWidget* parent, const QString& text, const QString& caption)
{
    Show(parent, {caption, text, TMessageIcon::Information, false, true, false});
}

void TMessageService::Warn(QWidget* parent, const QString& caption, const QString& text)
{
    Show(parent, {caption, text, TMessageIcon::Warning, false, true, false});
}

void TMessageService::Error(QWidget* parent, const QString& caption, const QString& text)
{
    Show(parent, {caption, text, TMessageIcon::Error, false, true, false});
}

bool TMessageService::Ask(QWidget* parent, const QString& caption, const QString& text,
                          bool defaultYes)
{
    return Show(parent, {caption, text, TMessageIcon::Question, true, defaultYes, false});
}

TAnswer TMessageService::AskWithCancel(QWidget* parent, const QString& caption, const QString& text)
{
    TMessage message{caption, text, TMessageIcon::Question, true, true, false};
    message.withCancel = true;
    return Answer(parent, message);
}

void TMessageService::Beep()
{
    Show(nullptr, {{}, {}, TMessageIcon::Information, false, true, true});
}

} // namespace qm::data
