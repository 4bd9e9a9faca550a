// Fuzzes what the dialer reads from outside: the modem's answer (any bytes, in reads of any size)
// and the number taken from a record. Up to the first NUL byte the input is the command whose
// echo is skipped and the number checked; the rest is the answer, fed in pieces whose sizes come
// from the answer's own bytes.

#include "dialer/TDialCommand.h"
#include "dialer/TModemAnswer.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype split = input.indexOf('\0');
    const QByteArray head = split < 0 ? input : input.left(split);
    const QByteArray answerBytes = split < 0 ? QByteArray() : input.mid(split + 1);

    using namespace qm::dialer;
    const QString number = QString::fromUtf8(head);
    QByteArray command;
    if (const auto refused = TDialCommand::FirstRefused(number)) {
        if (TDialCommand::RefusalText(*refused).isEmpty())
            std::abort();
        command = "ATDT\r\n";
    } else {
        command = TDialCommand::Dial(TDialMethod::dmTone, number);
        // Only printable ASCII may reach the modem.
        for (qsizetype i = 0; i + 2 < command.size(); ++i)
            if (uchar(command[i]) < 0x20 || uchar(command[i]) > 0x7E)
                std::abort();
    }

    TModemAnswer answer(command);
    qsizetype at = 0;
    while (at < answerBytes.size()) {
        const qsizetype piece = 1 + uchar(answerBytes[at]) % 17;
        answer.Feed(answerBytes.mid(at, piece));
        at += piece;
    }
    const TModemAnswer::TState state = answer.Finish();
    if ((state == TModemAnswer::TState::Refused) == answer.Word().isEmpty())
        std::abort();
    return 0;
}
