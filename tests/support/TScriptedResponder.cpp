#include "TScriptedResponder.h"

namespace qm::test {

TScriptedResponder::TScriptedResponder() { data::TMessageService::SetResponder(this); }

TScriptedResponder::~TScriptedResponder() { data::TMessageService::SetResponder(nullptr); }

bool TScriptedResponder::Respond(const data::TMessage& message)
{
    mMessages.push_back(message);
    if (!message.isQuestion || mAnswers.empty())
        return true;
    const bool answer = mAnswers.front();
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
