#include "design/objects/TImbJob.h"

#include "design/barcode/TImbCode.h"
#include "design/core/TGBasePanel.h"
#include "design/objects/TGIMBarCode.h"
#include "design/objects/TImbSettings.h"

namespace qm::design {

TImbJob::TImbJob(std::int64_t nextSerial) : mStart(nextSerial < 0 ? 0 : nextSerial), mNext(mStart)
{
}

void TImbJob::BeginPiece(TGBasePanel& panel)
{
    for (const auto& object : panel.Objects()) {
        auto* code = dynamic_cast<TGIMBarCode*>(object.get());
        if (code == nullptr)
            continue;
        code->ResetOutcome();
        if (code->SerialSource() != TImbSerialSource::ssCounter) {
            code->SetPieceSerial(std::nullopt);
            continue;
        }
        // Only a valid mailer identifier says how wide the serial is; an invalid one fails its
        // own check when the object prints.
        if (TImbCode::MailerIdProblem(code->MailerId()).isEmpty() &&
            mNext > TImbCode::MaxSerial(code->MailerId())) {
            if (!mWrapped) {
                mWrappedAt = mNext;
                mWrappedWidth = TImbCode::SerialWidth(code->MailerId());
            }
            mWrapped = true;
            mNext = 0;
        }
        code->SetPieceSerial(mNext);
    }
}

void TImbJob::EndPiece(TGBasePanel& panel)
{
    bool any = false;
    bool skipped = false;
    bool counted = false;
    for (const auto& object : panel.Objects()) {
        auto* code = dynamic_cast<TGIMBarCode*>(object.get());
        if (code == nullptr)
            continue;
        any = true;
        if (code->LastOutcome() == TGIMBarCode::TOutcome::Skipped) {
            if (mFirstProblem.isEmpty())
                mFirstProblem = code->LastProblem();
            skipped = true;
        } else if (code->LastOutcome() == TGIMBarCode::TOutcome::Printed &&
                   code->SerialSource() == TImbSerialSource::ssCounter) {
            counted = true;
        }
        code->SetPieceSerial(std::nullopt);
    }
    if (!any)
        return;
    ++mPieces;
    if (skipped)
        ++mSkipped;
    if (counted)
        ++mNext;
}

QStringList TImbJob::Notes() const
{
    QStringList notes;
    if (mSkipped > 0)
        notes << (mSkipped == 1
                      ? QStringLiteral("1 piece skipped without a barcode: %1").arg(mFirstProblem)
                      : QStringLiteral("%1 pieces skipped without a barcode, the first: %2")
                            .arg(mSkipped)
                            .arg(mFirstProblem));
    if (mWrapped)
        notes << QStringLiteral("Warning: serial number %1 does not fit %2 digits; the counter "
                                "started again at 0")
                     .arg(mWrappedAt)
                     .arg(mWrappedWidth);
    return notes;
}

QString TImbJob::StatusText() const
{
    QString text;
    for (const QString& note : Notes())
        text += QLatin1Char('\r') + note;
    return text;
}

void TImbJob::WriteBack(data::TSettingsFile& settings) const
{
    if (CounterMoved())
        TImbSettings::WriteNextSerial(settings, mNext);
}

} // namespace qm::design
