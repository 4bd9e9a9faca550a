#include "data/TErrorReason.h"

#include "xbase/TXbaseError.h"

#include <QFileInfo>

namespace qm::data {

QString TErrorReason::Of(const xbase::TXbaseError& error)
{
    QString text = QString::fromStdString(error.Message());
    if (!error.File().empty())
        text = QFileInfo(QString::fromStdString(error.File())).fileName() + QStringLiteral(": ") +
               text;
    else if (!text.isEmpty())
        text[0] = text[0].toUpper();
    if (error.Offset() != xbase::TXbaseError::kNoOffset)
        text += QStringLiteral(" (at byte %1)").arg(error.Offset());
    return text;
}

QString TErrorReason::WithReason(const QString& first, const QString& reason)
{
    return reason.isEmpty() ? first : first + QStringLiteral("\r\n") + reason;
}

} // namespace qm::data
