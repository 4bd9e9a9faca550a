#include "maintenance/TDuplicateCheckRun.h"

#include "data/TDataSet.h"
#include "maintenance/TMaintenanceError.h"
#include "maintenance/TResultIndex.h"
#include "xbase/TCodePage1252.h"
#include "xbase/TCursor.h"
#include "xbase/TSingleIndex.h"

#include <algorithm>

namespace qm::maintenance {
namespace {

std::string_view RightTrimmed(std::string_view text)
{
    const std::size_t end = text.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

void AssignUpper(std::string& to, std::string_view from)
{
    to.resize(from.size());
    xbase::TCodePage1252::Upper(from.data(), to.data(), from.size());
}

int RequireField(const xbase::TTable& table, const char* name)
{
    const int index = table.FieldIndex(name);
    if (index < 0)
        throw TMaintenanceError(
            QStringLiteral("The address file has no field %1.").arg(QString::fromLatin1(name)));
    return index;
}

} // namespace

TDuplicateCheckRun::TDuplicateCheckRun(data::TDataSet& dataSet, const TDuplicateOptions& options)
    : mDataSet(dataSet), mOptions(options)
{
    mOptions.streetChars = std::clamp(mOptions.streetChars, 1, kMaxStreetChars);
}

QString TDuplicateCheckRun::KeyExpression(TDuplicateKind kind)
{
    return kind == TDuplicateKind::Street ? QStringLiteral("upper(STREET)")
                                          : QStringLiteral("upper(LNAME-FNAME)");
}

QString TDuplicateCheckRun::TagName(TDuplicateKind kind)
{
    return kind == TDuplicateKind::Street ? QStringLiteral("STREET") : QStringLiteral("NAME");
}

TDuplicateCheckRun::TOutcome TDuplicateCheckRun::Run(TResultIndex& index,
                                                     const TRunProgress& progress)
{
    TOutcome outcome;
    xbase::TTable& table = mDataSet.Table();
    xbase::TCursor& cursor = mDataSet.Cursor();
    if (mDataSet.Editing())
        mDataSet.Post();
    const QString tag = TagName(mOptions.kind);
    const int order = table.TagOrder(tag.toStdString());
    if (order <= 0)
        throw TMaintenanceError(
            QStringLiteral(
                "The index tag %1, which this check needs, is missing from the index of %2.")
                .arg(tag, mDataSet.Path()),
            tag);
    const bool street = mOptions.kind == TDuplicateKind::Street;
    const int lastField = RequireField(table, street ? "STREET" : "LNAME");
    const int firstField = street ? -1 : RequireField(table, "FNAME");

    // Whatever happens, the data set shows where the engine stands afterwards.
    struct TResync {
        data::TDataSet& ds;
        ~TResync()
        {
            try {
                ds.Resync();
            } catch (...) {
            }
        }
    } resync{mDataSet};

    cursor.SetOrder(order);
    TRunStep step;
    step.total = cursor.Count();

    // The previous record's parts (upper-cased) and number (0: no record read yet).
    std::string prevMain, prevSecond;
    std::string main, second;
    std::string prevRecord; // the previous record's bytes, for its key
    uint32_t prevRecNo = 0;
    uint32_t lastListed = 0;
    for (cursor.GoTop(); !cursor.Eof();) {
        const uint32_t recNo = cursor.RecNo();
        ++step.done;
        if (!table.Deleted()) {
            std::string_view mainValue = table.GetRaw(lastField);
            if (street)
                mainValue = mainValue.substr(0, std::size_t(mOptions.streetChars));
            mainValue = RightTrimmed(mainValue);
            AssignUpper(main, mainValue);
            if (!street) {
                std::string_view first = RightTrimmed(table.GetRaw(firstField));
                if (mOptions.kind == TDuplicateKind::Initial)
                    first = first.substr(0, 1);
                AssignUpper(second, first);
            }
            if (!main.empty() && prevRecNo != 0 && main == prevMain && second == prevSecond) {
                // The previous record first (unless the run already listed it), then this one.
                if (prevRecNo != lastListed)
                    index.Add(xbase::TRecordView{prevRecord, prevRecNo}, prevRecNo);
                index.Add(table.Record(), recNo);
                lastListed = recNo;
                ++outcome.duplicates;
            }
            prevMain.swap(main);
            prevSecond.swap(second);
            prevRecord.assign(table.Record().bytes);
            prevRecNo = recNo;
        }
        step.found = outcome.duplicates;
        cursor.Skip();
        if (progress && progress(step)) {
            outcome.cancelled = !cursor.Eof();
            break;
        }
    }
    outcome.listed = index.Count();
    index.Finish();
    return outcome;
}

} // namespace qm::maintenance
