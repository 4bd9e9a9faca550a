#include "xbase/TTableIndexes.h"

#include "xbase/TCompoundIndex.h"
#include "xbase/TIndexTag.h"
#include "xbase/TTagBuilder.h"
#include "xbase/TXbaseError.h"

#include <algorithm>

namespace qm::xbase {
namespace {

TKeyType KeyTypeOf(TValueType t)
{
    switch (t) {
    case TValueType::Numeric:
        return TKeyType::Numeric;
    case TValueType::Date:
        return TKeyType::Date;
    case TValueType::Logical:
        return TKeyType::Logical;
    case TValueType::Character:
        break;
    }
    return TKeyType::Character;
}

// Reports overall progress as whole percents, never going back.
class TProgressMeter {
public:
    TProgressMeter(const TTableIndexes::TProgressFn& fn, double total) : mFn(fn), mTotal(total) {}
    void Set(double done)
    {
        if (!mFn || mTotal <= 0)
            return;
        const int percent = std::clamp(int(100.0 * done / mTotal), 0, 100);
        if (percent > mLast) {
            mLast = percent;
            mFn(percent);
        }
    }

private:
    const TTableIndexes::TProgressFn& mFn;
    double mTotal;
    int mLast = -1;
};

} // namespace

TTableIndexes::TTableIndexes(std::unique_ptr<TCompoundIndex> index, const TFieldList& fields)
    : mIndex(std::move(index)), mFields(fields)
{
    for (int order = 1; order <= mIndex->TagCount(); ++order)
        mTags.push_back(Compile(order));
}

TTableIndexes::~TTableIndexes() = default;

TTableIndexes::TTagState TTableIndexes::Compile(int order) const
{
    TTagState state;
    TIndexTag& tag = mIndex->Tag(order);
    const TTagInfo& info = tag.Info();
    try {
        state.key.emplace(TExpression::Compile(info.keyExpression, mFields));
        if (!info.forExpression.empty())
            state.filter.emplace(TExpression::Compile(info.forExpression, mFields));
        const TExpression& key = *state.key;
        const int width = key.Width();
        if (width != info.keyLength)
            state.problem = "its key expression gives " + std::to_string(width) +
                            " bytes but the tag holds " + std::to_string(info.keyLength);
        else if (!mIndex->ReadOnly())
            tag.SetKeyType(KeyTypeOf(key.Type()));
    } catch (const TXbaseError& e) {
        state.key.reset();
        state.problem = e.Message();
    }
    return state;
}

int TTableIndexes::TagCount() const
{
    return int(mTags.size());
}

const TExpression& TTableIndexes::KeyExpression(int order) const
{
    if (order < 1 || order > TagCount())
        throw TXbaseError(TErrorKind::Usage, "there is no tag number " + std::to_string(order),
                          mIndex->FileName());
    const TTagState& t = mTags[size_t(order - 1)];
    if (!t.key)
        throw TXbaseError(TErrorKind::Usage,
                          "tag " + mIndex->Tag(order).Name() + " cannot be used: " + t.problem,
                          mIndex->FileName());
    return *t.key;
}

bool TTableIndexes::StaleOnOpen(uint32_t recordCount) const
{
    if (mIndex->WasDirtyOnOpen())
        return true;
    return mIndex->HasEngineMark() && mIndex->SyncCount() != recordCount;
}

void TTableIndexes::CheckMaintainable() const
{
    for (size_t i = 0; i < mTags.size(); ++i)
        if (!mTags[i].problem.empty())
            throw TXbaseError(TErrorKind::Usage,
                              "the table cannot be changed while tag " +
                                  mIndex->Tag(int(i + 1)).Name() + " is open: " + mTags[i].problem,
                              mIndex->FileName());
}

bool TTableIndexes::KeyOf(const TTagState& tag, const TRecordView& record, std::string& out) const
{
    if (tag.filter && !tag.filter->EvalLogical(record))
        return false;
    tag.key->EvalKey(record, out);
    return true;
}

void TTableIndexes::Insert(const TRecordView& record)
{
    CheckMaintainable();
    for (size_t i = 0; i < mTags.size(); ++i)
        if (KeyOf(mTags[i], record, mNew))
            mIndex->Tag(int(i + 1)).Insert(mNew, record.recNo);
}

void TTableIndexes::Update(const TRecordView& before, const TRecordView& after)
{
    if (Plan(before, after))
        ApplyPlan(after.recNo);
}

bool TTableIndexes::Plan(const TRecordView& before, const TRecordView& after)
{
    CheckMaintainable();
    mPlan.clear();
    for (size_t i = 0; i < mTags.size(); ++i) {
        const bool hadKey = KeyOf(mTags[i], before, mOld);
        const bool hasKey = KeyOf(mTags[i], after, mNew);
        if (hadKey == hasKey && (!hadKey || mOld == mNew))
            continue;
        mPlan.push_back({int(i + 1), hadKey, hasKey, hadKey ? mOld : std::string(),
                         hasKey ? mNew : std::string()});
    }
    return !mPlan.empty();
}

void TTableIndexes::ApplyPlan(uint32_t recNo)
{
    for (const TKeyChange& change : mPlan) {
        TIndexTag& tag = mIndex->Tag(change.order);
        if (change.hadKey)
            tag.Remove(change.oldKey, recNo);
        if (change.hasKey)
            tag.Insert(change.newKey, recNo);
    }
    mPlan.clear();
}

std::vector<int> TTableIndexes::AddTags(const std::vector<TNewTag>& tags, uint32_t count,
                                        const TRecordSource& source, const TProgressFn& progress)
{
    // Everything is checked before the file changes.
    std::vector<TTagInfo> infos;
    std::vector<TTagState> states(tags.size());
    for (size_t i = 0; i < tags.size(); ++i) {
        TExpression key = TExpression::Compile(tags[i].expression, mFields);
        TTagInfo info;
        info.name = tags[i].name;
        for (char& c : info.name)
            if (c >= 'a' && c <= 'z')
                c = char(c - 32);
        info.keyExpression = tags[i].expression;
        info.keyType = KeyTypeOf(key.Type());
        if (key.Width() < 1 || key.Width() > 240)
            throw TXbaseError(TErrorKind::Usage,
                              "the key of tag " + info.name + " is " + std::to_string(key.Width()) +
                                  " bytes; a key holds 1 to 240",
                              mIndex->FileName());
        info.keyLength = uint16_t(key.Width());
        states[i].key.emplace(std::move(key));
        infos.push_back(std::move(info));
    }
    std::vector<TBuildJob> jobs;
    for (size_t i = 0; i < tags.size(); ++i) {
        jobs.push_back({&states[i], infos[i].keyLength,
                        [this, &infos, i](TTagBuilder& keys, const std::function<void(int)>& p) {
                            mIndex->AddTag(infos[i], keys, p);
                        }});
    }
    Build(jobs, count, source, progress);
    std::vector<int> orders;
    mTags.resize(size_t(mIndex->TagCount()));
    for (const TTagInfo& info : infos) {
        const int order = mIndex->FindTag(info.name);
        mTags[size_t(order - 1)] = Compile(order);
        orders.push_back(order);
    }
    return orders;
}

void TTableIndexes::Rebuild(uint32_t count, const TRecordSource& source,
                            const TProgressFn& progress)
{
    CheckMaintainable();
    std::vector<TBuildJob> jobs;
    for (int order = 1; order <= TagCount(); ++order) {
        jobs.push_back({&mTags[size_t(order - 1)], mIndex->Tag(order).KeyLength(),
                        [this, order](TTagBuilder& keys, const std::function<void(int)>& p) {
                            mIndex->Tag(order).Rebuild(keys, p);
                        }});
    }
    Build(jobs, count, source, progress);
}

void TTableIndexes::RebuildInto(TCompoundIndex& fresh, uint32_t count, const TRecordSource& source,
                                const TProgressFn& progress)
{
    CheckMaintainable();
    if (fresh.TagCount() != 0)
        throw TXbaseError(TErrorKind::Usage, "a fresh index must start without tags",
                          fresh.FileName());
    std::vector<TBuildJob> jobs;
    for (int order = 1; order <= TagCount(); ++order) {
        jobs.push_back({&mTags[size_t(order - 1)], mIndex->Tag(order).KeyLength(),
                        [&fresh, info = mIndex->Tag(order).Info()](
                            TTagBuilder& keys, const std::function<void(int)>& p) {
                            fresh.AddTag(info, keys, p);
                        }});
    }
    Build(jobs, count, source, progress);
}

void TTableIndexes::Build(const std::vector<TBuildJob>& jobs, uint32_t count,
                          const TRecordSource& source, const TProgressFn& progress)
{
    // Work units: one per tag for extracting its keys, one for writing it.
    const double total = 2.0 * double(std::max<size_t>(jobs.size(), 1));
    TProgressMeter meter(progress, total);
    double done = 0;
    size_t next = 0;
    while (next < jobs.size()) {
        // The next group: as many tags as fit the budget, at least one.
        size_t first = next;
        uint64_t bytes = 0;
        while (next < jobs.size()) {
            // Collected pairs cost key + record number; the sort's extra memory is needed for
            // one tag at a time and is left to the headroom above the budget.
            const uint64_t need = uint64_t(count) * (uint64_t(jobs[next].keyLength) + 4);
            if (next > first && bytes + need > kBuildBudgetBytes)
                break;
            bytes += need;
            ++next;
        }
        const size_t groupSize = next - first;
        std::vector<TTagBuilder> builders;
        builders.reserve(groupSize);
        for (size_t g = 0; g < groupSize; ++g)
            builders.emplace_back(jobs[first + g].keyLength, count);
        std::string out;
        for (uint32_t r = 1; r <= count; ++r) {
            const TRecordView record = source(r);
            for (size_t g = 0; g < groupSize; ++g) {
                if (KeyOf(*jobs[first + g].state, record, out))
                    builders[g].Add(out, r);
            }
            if ((r & 0x3FFF) == 0)
                meter.Set(done + double(groupSize) * r / count);
        }
        done += double(groupSize);
        meter.Set(done);
        for (size_t g = 0; g < groupSize; ++g) {
            const double base = done;
            jobs[first + g].finish(builders[g], [&](int p) { meter.Set(base + p / 100.0); });
            builders[g] = TTagBuilder(1); // gives the memory back before the next tag is written
            done += 1;
            meter.Set(done);
        }
    }
    meter.Set(total);
}

void TTableIndexes::Flush(uint32_t recordCount)
{
    if (mIndex->ReadOnly())
        return;
    mIndex->SetSyncCount(recordCount);
    mIndex->Flush();
}

void TTableIndexes::Close()
{
    mIndex->Close();
}

void TTableIndexes::Discard()
{
    mIndex->Discard();
}

void TTableIndexes::MarkChanging()
{
    if (!mIndex->ReadOnly())
        mIndex->MarkChanging();
}

} // namespace qm::xbase
