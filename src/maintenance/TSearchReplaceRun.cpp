#include "maintenance/TSearchReplaceRun.h"

#include "data/TDataSet.h"
#include "data/TWin1252.h"
#include "maintenance/TCommitPacer.h"
#include "maintenance/TMaintenanceError.h"
#include "maintenance/TReplaceTest.h"
#include "maintenance/TRunFailure.h"
#include "maintenance/TTextReplace.h"
#include "maintenance/TViewKeeper.h"
#include "xbase/TCursor.h"
#include "xbase/TEngineSettings.h"
#include "xbase/TExpression.h"
#include "xbase/TXbaseError.h"

#include <optional>

namespace qm::maintenance {
namespace {

std::string Bytes(const QString& text, const QString& what)
{
    QChar bad;
    const auto bytes = data::TWin1252::Encode(text, &bad);
    if (!bytes)
        throw TMaintenanceError(
            QStringLiteral("The %1 holds the character \"%2\", which an address "
                           "file cannot store.")
                .arg(what, QString(bad)));
    return bytes->toStdString();
}

} // namespace

TSearchReplaceRun::TSearchReplaceRun(data::TDataSet& dataSet, const TReplaceOptions& options)
    : mDataSet(dataSet), mOptions(options)
{
}

QString TSearchReplaceRun::Question(const QString& fieldLabel, const TReplaceOptions& options)
{
    QString condition;
    if (options.find.isEmpty())
        condition = QStringLiteral("is empty ");
    else
        condition = (options.exactly ? QStringLiteral("exactly matches: \"")
                                     : QStringLiteral("contains: \"")) +
                    options.find + QLatin1Char('"') +
                    (options.caseSensitive ? QStringLiteral("  (case sensitive)")
                                           : QStringLiteral(" (not case sensitive)"));
    QString action;
    if (options.replacement.isEmpty())
        action = options.wholeField ? QStringLiteral("and delete the entire field ")
                                    : QStringLiteral("and delete the matching text ");
    else
        action =
            (options.wholeField ? QStringLiteral("and replace the entire field with \"")
                                : QStringLiteral("and replace only the matching text with \"")) +
            options.replacement + QLatin1Char('"');
    return QStringLiteral("Find records where field ") + fieldLabel + QLatin1Char('\r') +
           condition + QLatin1Char('\r') + action;
}

QString TSearchReplaceRun::CountText(uint32_t count)
{
    return QStringLiteral("Replaced ") + QString::number(count) + QStringLiteral(" records");
}

QString TSearchReplaceRun::DoneText(const TOutcome& outcome)
{
    QString text = QStringLiteral("Replacement done");
    if (outcome.notFitting > 0)
        text += QStringLiteral("\r\n\r\n") + QString::number(outcome.notFitting) +
                QStringLiteral(" records were not changed because the new value would not fit.");
    return text;
}

TSearchReplaceRun::TOutcome TSearchReplaceRun::Run(const TRunProgress& progress)
{
    TOutcome outcome;
    xbase::TTable& table = mDataSet.Table();
    xbase::TCursor& cursor = mDataSet.Cursor();
    if (mDataSet.Editing())
        mDataSet.Post();
    const int field = table.FieldIndex(mOptions.field.toStdString());
    if (field < 0 || table.Fields()[std::size_t(field)].type != xbase::TFieldType::Character)
        throw TMaintenanceError(
            QStringLiteral("The address file has no text field %1.").arg(mOptions.field));
    const std::size_t width = table.Fields()[std::size_t(field)].length;
    const std::string find = Bytes(mOptions.find, QStringLiteral("find value"));
    const std::string replacement = Bytes(mOptions.replacement, QStringLiteral("replace value"));
    if (mOptions.wholeField && replacement.size() > width)
        throw TMaintenanceError(QStringLiteral("The replace value is longer than the field (%1 "
                                               "characters).")
                                    .arg(width));
    const TReplaceTest test(find, mOptions.exactly, mOptions.caseSensitive);
    std::optional<xbase::TExpression> scope;
    if (!mOptions.scopeExpression.trimmed().isEmpty())
        scope.emplace(xbase::TExpression::Compile(
            Bytes(mOptions.scopeExpression, QStringLiteral("filter")), table.Fields()));

    xbase::TSettingScope hideMarked(&xbase::TEngineSettings::deleted, true);
    TViewKeeper keeper(mDataSet);
    cursor.SetQuery({});
    cursor.SetOrder(0);
    TCommitPacer pacer(table);
    TRunStep step;
    step.total = cursor.Count();
    std::string value;
    try {
        for (cursor.GoTop(); !cursor.Eof();) {
            ++step.done;
            if (!table.Deleted() && (!scope || scope->EvalLogical(table.Record())) &&
                test.Matches(table.GetRaw(field))) {
                if (mOptions.wholeField) {
                    value = replacement;
                } else {
                    // The stored value without its padding, so the field's trailing blanks are no
                    // text to match and leave room for a longer replacement.
                    const std::string_view raw = table.GetTrimmed(field);
                    value =
                        TTextReplace::Replace(raw, find, replacement, mOptions.caseSensitive).value;
                }
                if (value.size() > width) {
                    ++outcome.notFitting;
                } else {
                    table.PutString(field, value);
                    table.Post();
                    pacer.Wrote();
                    ++outcome.replaced;
                }
            }
            step.found = outcome.replaced;
            cursor.Skip();
            if (progress && progress(step)) {
                outcome.cancelled = !cursor.Eof();
                break;
            }
        }
        pacer.Finish();
    } catch (const xbase::TXbaseError& error) {
        throw TRunFailure::Stop(table, QStringLiteral("replacing"), outcome.replaced, error);
    }
    return outcome;
}

} // namespace qm::maintenance
