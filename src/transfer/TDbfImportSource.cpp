#include "transfer/TDbfImportSource.h"

#include "transfer/TStoredMemo.h"
#include "xbase/TTable.h"

namespace qm::transfer {

TDbfImportSource::TDbfImportSource(TDbfSourceTable& source, const TFieldMatch& match,
                                   const xbase::TTable& target)
    : mSource(source)
{
    for (size_t s = 0; s < match.Sources().size(); ++s) {
        const int row = match.RowOf(int(s));
        if (row < 0)
            continue;
        const TMatchTarget& t = match.Targets()[size_t(row)];
        const int field = target.FieldIndex(t.field.toStdString());
        const int from = source.Table().FieldIndex(match.Sources()[s].name.toStdString());
        if (field >= 0 && from >= 0)
            mMap.push_back({from, field, t.kind == TMatchKind::Memo});
    }
}

int64_t TDbfImportSource::Check(const std::function<bool()>& tick)
{
    int64_t records = 0;
    const uint32_t count = mSource.RecordCount();
    for (uint32_t r = 1; r <= count; ++r) {
        if (!mSource.Go(r))
            continue;
        ++records;
        for (const TMapped& m : mMap)
            mSource.Text(m.source, mScratch);
        if (tick && tick())
            return -1;
    }
    return records;
}

bool TDbfImportSource::Next(TImportRecord& record)
{
    record.Clear();
    const uint32_t count = mSource.RecordCount();
    while (mNext <= count && !mSource.Go(mNext))
        ++mNext;
    if (mNext > count)
        return false;
    ++mNext;
    for (const TMapped& m : mMap) {
        mSource.Text(m.source, mScratch);
        if (mScratch.empty())
            continue;
        std::string& text = record.Add(m.target);
        text = mScratch;
        if (m.memo)
            TStoredMemo::Apply(text);
    }
    return true;
}

} // namespace qm::transfer
