#include "dialer/TModemAnswer.h"

namespace qm::dialer {
namespace {

// A modem's lines are short; anything longer is noise that need not be kept whole.
constexpr qsizetype kMaxLine = 256;

const char* const kRefusals[] = {"ERROR", "NO DIALTONE", "NO DIAL TONE", "BUSY", "NO CARRIER"};

} // namespace

TModemAnswer::TModemAnswer(const QByteArray& command) : mEcho(command.trimmed().toUpper()) {}

TModemAnswer::TState TModemAnswer::Feed(const QByteArray& bytes)
{
    for (const char c : bytes) {
        if (mState != TState::Waiting)
            break;
        if (c == '\r' || c == '\n') {
            TakeLine(mLine);
            mLine.clear();
        } else if (mLine.size() < kMaxLine) {
            mLine += c;
        }
    }
    return mState;
}

TModemAnswer::TState TModemAnswer::Finish()
{
    if (mState == TState::Waiting && !mLine.isEmpty())
        TakeLine(mLine);
    mLine.clear();
    return mState;
}

void TModemAnswer::TakeLine(const QByteArray& line)
{
    const QByteArray word = line.trimmed().toUpper();
    if (word.isEmpty() || word == mEcho)
        return;
    if (word == "OK") {
        mState = TState::Ok;
        return;
    }
    for (const char* refusal : kRefusals) {
        if (word == refusal) {
            mState = TState::Refused;
            mWord = QString::fromLatin1(refusal);
            return;
        }
    }
}

} // namespace qm::dialer
