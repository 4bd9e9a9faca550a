#include "maintenance/TCaseConversionRun.h"

#include "data/TDataSet.h"
#include "maintenance/TCommitPacer.h"
#include "maintenance/TMaintenanceError.h"
#include "maintenance/TRunFailure.h"
#include "maintenance/TViewKeeper.h"
#include "xbase/TCursor.h"
#include "xbase/TXbaseError.h"

#include <vector>

namespace qm::maintenance {

TCaseConversionRun::TCaseConversionRun(data::TDataSet& dataSet, const TCaseOptions& options)
    : mDataSet(dataSet), mOptions(options)
{
}

TCaseConversionRun::TOutcome TCaseConversionRun::Run(const TRunProgress& progress)
{
    TOutcome outcome;
    xbase::TTable& table = mDataSet.Table();
    if (mDataSet.Editing())
        mDataSet.Post();
    std::vector<int> fields;
    for (const QString& name : mOptions.fields) {
        const int index = table.FieldIndex(name.toStdString());
        if (index < 0 || table.Fields()[std::size_t(index)].type != xbase::TFieldType::Character)
            throw TMaintenanceError(
                QStringLiteral("The address file has no text field %1.").arg(name));
        fields.push_back(index);
    }
    if (fields.empty())
        return outcome;

    TViewKeeper keeper(mDataSet);
    TCommitPacer pacer(table);
    std::string scratch;
    const auto convert = [&] {
        bool changed = false;
        for (const int field : fields) {
            const std::string_view raw = table.GetRaw(field);
            scratch.assign(raw);
            TCaseMapping::Apply(mOptions.kind, scratch.data(), scratch.size());
            if (scratch != raw) {
                table.PutString(field, scratch);
                changed = true;
            }
        }
        if (changed) {
            table.Post();
            pacer.Wrote();
            ++outcome.changed;
        }
        ++outcome.records;
    };

    if (mOptions.scope == TCaseScope::CurrentRecord) {
        if (mDataSet.RecNo() == 0)
            return outcome;
        try {
            table.Go(mDataSet.RecNo());
            convert();
            pacer.Finish();
        } catch (const xbase::TXbaseError& error) {
            throw TRunFailure::Stop(table, QStringLiteral("converting"), outcome.changed, error);
        }
        if (progress)
            progress({1, 1, outcome.changed});
        return outcome;
    }

    xbase::TCursor& cursor = mDataSet.Cursor();
    if (mOptions.scope == TCaseScope::AllRecords)
        cursor.SetQuery("!ISDEL");
    // Record order: every tag is on upper-cased keys, but the walk must not depend on it.
    cursor.SetOrder(0);
    TRunStep step;
    step.total = cursor.Count();
    try {
        for (cursor.GoTop(); !cursor.Eof();) {
            convert();
            step.done = outcome.records;
            step.found = outcome.changed;
            cursor.Skip();
            if (progress && progress(step)) {
                outcome.cancelled = !cursor.Eof();
                break;
            }
        }
        pacer.Finish();
    } catch (const xbase::TXbaseError& error) {
        throw TRunFailure::Stop(table, QStringLiteral("converting"), outcome.changed, error);
    }
    return outcome;
}

} // namespace qm::maintenance
