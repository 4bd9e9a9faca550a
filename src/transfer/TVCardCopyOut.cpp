#include "transfer/TVCardCopyOut.h"

#include "data/TOutputFile.h"
#include "xbase/TCursor.h"
#include "xbase/TTable.h"
#include "xbase/TXbaseError.h"

#include <algorithm>

namespace qm::transfer {

namespace {

QString Failure(const QString& reason)
{
    return QStringLiteral("There was an error copying\r\n\r\n") + reason;
}

} // namespace

TCopyOutOutcome TVCardCopyOut::Copy(xbase::TCursor& cursor, const QString& path,
                                    TVCardVersion version, uint32_t total,
                                    const TCopyOutRun::TAfterRecord& afterRecord)
{
    TCopyOutOutcome outcome;
    data::TOutputFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        outcome.error = Failure(path + QStringLiteral(": ") + file.errorString());
        return outcome;
    }
    std::string buffer;
    buffer.reserve(1 << 17);
    const auto flush = [&]() {
        if (!buffer.empty() &&
            file.write(buffer.data(), qint64(buffer.size())) != qint64(buffer.size()))
            return false;
        buffer.clear();
        return true;
    };
    // Read-ahead helps a walk in record order only.
    const bool readAhead = cursor.Table().TurboRead();
    cursor.SetTurboRead(cursor.Order() == 0 && cursor.SingleIndexOrder() == nullptr);
    bool written = true;
    try {
        cursor.GoTop();
        while (!cursor.Eof()) {
            TVCardWriter::Card(cursor.Table(), version, buffer);
            if (buffer.size() >= (1 << 16) && !(written = flush()))
                break;
            ++outcome.copied;
            const int percent =
                total > 0 ? int(std::min<int64_t>(100, outcome.copied * 100 / total)) : 0;
            if (afterRecord && afterRecord(outcome.copied, percent)) {
                outcome.stopped = true;
                break;
            }
            cursor.Skip(1);
        }
    } catch (const xbase::TXbaseError& error) {
        cursor.SetTurboRead(readAhead);
        file.cancelWriting();
        outcome.error = Failure(QString::fromStdString(error.what()));
        return outcome;
    }
    cursor.SetTurboRead(readAhead);
    if (!written || !flush() || file.error() != QFileDevice::NoError || !file.commit()) {
        outcome.error = Failure(path + QStringLiteral(": ") + file.errorString());
        file.cancelWriting();
    }
    return outcome;
}

} // namespace qm::transfer
