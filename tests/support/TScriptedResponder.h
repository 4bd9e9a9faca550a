#pragma once

// Stands in for the message boxes during a test: records every message and beep, and answers
// questions from a script (the question's default when the script runs out). Installed for its
// lifetime.

#include "data/TMessageService.h"

#include <QStringList>
#include <deque>
#include <vector>

namespace qm::test {

class TScriptedResponder : public data::TMessageResponder {
public:
    TScriptedResponder();
    ~TScriptedResponder() override;

    void QueueAnswer(bool yes) { mAnswers.push_back(yes ? data::TAnswer::Yes : data::TAnswer::No); }
    // Cancel for the next question that has a Cancel button (No for a yes/no question).
    void QueueCancel() { mAnswers.push_back(data::TAnswer::Cancel); }
    bool Respond(const data::TMessage& message) override;
    data::TAnswer RespondWithCancel(const data::TMessage& message) override;

    // Every message and question, beeps excluded.
    const std::vector<data::TMessage>& Messages() const { return mMessages; }
    QStringList Texts() const;
    int Beeps() const { return mBeeps; }

private:
    std::deque<data::TAnswer> mAnswers;
    std::vector<data::TMessage> mMessages;
    int mBeeps = 0;
};

} // namespace qm::test
