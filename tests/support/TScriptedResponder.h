#pragma once

// Stands in for the message boxes during a test: records every message and answers questions
// from a script (Yes when the script runs out). Installed for its lifetime.

#include "data/ui/TMessageService.h"

#include <QStringList>
#include <deque>
#include <vector>

namespace qm::test {

class TScriptedResponder : public data::TMessageResponder {
public:
    TScriptedResponder();
    ~TScriptedResponder() override;

    void QueueAnswer(bool yes) { mAnswers.push_back(yes); }
    bool Respond(const data::TMessage& message) override;

    const std::vector<data::TMessage>& Messages() const { return mMessages; }
    QStringList Texts() const;

private:
    std::deque<bool> mAnswers;
    std::vector<data::TMessage> mMessages;
};

} // namespace qm::test
