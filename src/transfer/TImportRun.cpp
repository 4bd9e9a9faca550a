#include "transfer/TImportRun.h"

#include "data/TAddressFileIndexTags.h"
#include "data/TErrorReason.h"
#include "transfer/TTransferError.h"
#include "xbase/TTable.h"
#include "xbase/TXbaseError.h"

#include <algorithm>

namespace qm::transfer {

namespace {

size_t TrimmedLength(const std::string& text)
{
    size_t n = text.size();
    while (n > 0 && text[n - 1] == ' ')
        --n;
    return n;
}

} // namespace

QString TImportRun::RefusalMessage(const QString& reason)
{
    return QStringLiteral("Unable to import from this file\r\n\r\n") + reason;
}

QString TImportOutcome::ClosingMessage(TImportKind kind) const
{
    if (!refusal.isEmpty())
        return TImportRun::RefusalMessage(refusal);
    const QString n = QString::number(imported);
    QString text;
    if (failure != TFailure::None) {
        if (kind == TImportKind::Ascii)
            text = failure == TFailure::Read
                       ? QStringLiteral("Unknown error reading ASCII file after importing ") + n +
                             QStringLiteral(" records.")
                       : QStringLiteral("Unknown error writing to data file after importing ") + n +
                             QStringLiteral(" records.");
        else
            text =
                QStringLiteral("Import stopped after importing ") + n + QStringLiteral(" records.");
        if (!failureText.isEmpty())
            text += QStringLiteral("\r\n\r\n") + failureText;
    } else if (stopped) {
        text =
            QStringLiteral("Import cancelled after importing ") + n + QStringLiteral(" records.");
    } else {
        text = QStringLiteral("Import complete. Imported ") + n + QStringLiteral(" records.");
    }
    if (!tally.isEmpty())
        text += QStringLiteral("\r\n") + tally;
    if (cut == 1)
        text += QStringLiteral("\r\n1 value was cut to fit its field.");
    else if (cut > 1)
        text += QStringLiteral("\r\n") + QString::number(cut) +
                QStringLiteral(" values were cut to fit their fields.");
    return text;
}

TImportOutcome TImportRun::Import(const TCallbacks& callbacks)
{
    TImportOutcome outcome;
    const auto status = [&](const QString& text) {
        if (callbacks.status)
            callbacks.status(text);
    };

    // 1. Check everything before the address file is touched.
    status(mSource.CheckingStatus());
    try {
        outcome.total = mSource.Check(callbacks.checkTick);
    } catch (const TTransferError& error) {
        outcome.refusal = error.Message();
        return outcome;
    } catch (const xbase::TXbaseError& error) {
        outcome.refusal = QString::fromStdString(error.what());
        return outcome;
    }
    if (outcome.total < 0) {
        outcome.total = 0;
        outcome.stopped = true;
        return outcome;
    }

    // 2. No index is kept up while appending; it is built once at the end.
    try {
        mTarget.CloseIndexes();
        outcome.changed = true;
        mSource.Rewind();
    } catch (const xbase::TXbaseError& error) {
        outcome.failure = TImportOutcome::TFailure::Write;
        outcome.failureText = QString::fromStdString(error.what());
        return outcome;
    } catch (const TTransferError& error) {
        outcome.failure = TImportOutcome::TFailure::Read;
        outcome.failureText = error.Message();
        return outcome;
    }

    // 3. One record per source record.
    status(QStringLiteral("Importing records"));
    const xbase::TFieldList& fields = mTarget.Fields();
    const bool storeEmpty = mSource.StoresEmptyValues();
    TImportRecord record;
    for (;;) {
        try {
            if (!mSource.Next(record))
                break;
        } catch (const TTransferError& error) {
            outcome.failure = TImportOutcome::TFailure::Read;
            outcome.failureText = error.Message();
            break;
        } catch (const xbase::TXbaseError& error) {
            outcome.failure = TImportOutcome::TFailure::Read;
            outcome.failureText = QString::fromStdString(error.what());
            break;
        }
        try {
            mTarget.AppendBlank();
            for (size_t i = 0; i < record.Count(); ++i) {
                const TImportValue& v = record.At(i);
                if (v.text.empty() && !storeEmpty)
                    continue;
                const xbase::TFieldInfo& f = fields[size_t(v.field)];
                if (f.type == xbase::TFieldType::Character && TrimmedLength(v.text) > f.length)
                    ++outcome.cut;
                mTarget.PutString(v.field, v.text);
            }
            if (record.deleted)
                mTarget.SetDeleted(true);
            mTarget.Post();
        } catch (const xbase::TXbaseError& error) {
            outcome.failure = TImportOutcome::TFailure::Write;
            outcome.failureText = QString::fromStdString(error.what());
            break;
        }
        ++outcome.imported;
        const int percent =
            outcome.total > 0 ? int(std::min<int64_t>(100, outcome.imported * 100 / outcome.total))
                              : 100;
        if (callbacks.afterRecord && callbacks.afterRecord(outcome.imported, percent)) {
            outcome.stopped = true;
            break;
        }
    }
    outcome.tally = mSource.ReadTally();
    try {
        mTarget.Commit();
    } catch (const xbase::TXbaseError& error) {
        if (outcome.failure == TImportOutcome::TFailure::None) {
            outcome.failure = TImportOutcome::TFailure::Write;
            outcome.failureText = QString::fromStdString(error.what());
        }
    }
    return outcome;
}

QString TImportRun::Rebuild(const std::function<void(int percent)>& gauge)
{
    // All 26 tags in as few passes over the records as memory allows, rather than one pass each.
    try {
        // After a failed write the table refuses more until it is opened again.
        if (mTarget.WriteFailed())
            mTarget.Reopen();
        mTarget.ReplaceIndex(data::AddressFileIndexTags(), [&](int percent) {
            if (gauge)
                gauge(percent);
        });
    } catch (const xbase::TXbaseError& error) {
        // One more go from the files as they now are, as after any failed write; should it fail
        // too, the old index file stays, marked out of date, and the next open offers to
        // rebuild it.
        try {
            mTarget.RecoverAfterFailure();
        } catch (const xbase::TXbaseError&) {
        }
        return data::TErrorReason::WithReason(QStringLiteral("Unable to create index files"),
                                              data::TErrorReason::Of(error));
    }
    if (gauge)
        gauge(100);
    return {};
}

} // namespace qm::transfer
