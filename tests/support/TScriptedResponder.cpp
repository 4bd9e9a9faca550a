#include "TScriptedResponder.h"

namespace qm::test {

TScriptedResponder::TScriptedResponder()
{
    data::TMessageService::SetResponder(this);
}

TScriptedResponder::~TScriptedResponder()
{
    data::TMessageService::SetResponder(nullptr);
}

bool TScriptedResponder::Respond(const data::TMessage& message)
{
    if (message.isBeep) {
        ++mBeeps;
        return true;
    }
    mMessages.push_back(message);
    if (!message.isQuestion)
        return true;
    if (mAnswers.empty())
        return message.defaultYes;
    const data::TAnswer answer = mAnswers.front();
    mAnswers.pop_front();
    return answer == data::TAnswer::Yes;
}

data::TAnswer TScriptedResponder::RespondWithCancel(const data::TMessage& message)
{
    mMessages.push_back(message);
    if (mAnswers.empty())
        return message.defaultYes ? data::TAnswer::Yes : data::TAnswer::No;
    const data::TAnswer answer = mAnswers.front();
    mAnswers.pop_front();
    return answer;
}

QStringList TScriptedResponder::Texts() const
{
    QStringList texts;
    for (const auto& m : mMessages)
        texts << m.text;
    return texts;
}

} // namespace qm::test
