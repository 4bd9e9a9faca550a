#include "TPtyModem.h"

namespace qm::test {

void TPtyModem::Take(const QByteArray& bytes)
{
    mReceived += bytes;
    for (const char c : bytes) {
        if (c == '\r') {
            Answer(mLine);
            mLine.clear();
        } else if (c != '\n') {
            mLine += c;
        }
    }
}

void TPtyModem::Answer(const QByteArray& line)
{
    if (mEcho)
        Send(line + "\r");
    if (!line.toUpper().startsWith("ATD"))
        return;
    if (mOnDial)
        mOnDial();
    if (mSuspendAfterDial)
        SuspendOutput(true);
    if (!mDialReply.isEmpty())
        Send(mDialReply);
}

} // namespace qm::test
