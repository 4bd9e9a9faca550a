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
    case TValueType::Numeric: return TKeyType::Numeric;
    case TValueType::Date: return TKeyType::Date;
    case TValueType::Logical: return TKeyType::Logical;
    case TValueType::Character: break;
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

int TTableIndexes::TagCount() const { return int(mTags.size()); }

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
    CheckMaintainable();
    for (size_t i = 0; i < mTags.size(); ++i) {
        const bool hadKey = KeyOf(mTags[i], before, mOld);
        const bool hasKey = KeyOf(mTags[i], after, mNew);
        if (hadKey == hasKey && (!hadKey || mOld == mNew))
            continue;
        TIndexTag& tag = mIndex->Tag(int(i + 1));
        if (hadKey)
            tag.Remove(mOld, before.recNo);
        if (hasKey)
            tag.Insert(mNew, after.recNo);
    }
}

int TTableIndexes::AddTag(std::string_view name, std::string_view expression, uint32_t count,
                          const TRecordSource& source, const TProgressFn& progress)
{
    TExpression key = TExpression::Compile(expression, mFields);
    TTagInfo info;
    info.name = std::string(name);
    for (char& c : info.name)
        if (c >= 'a' && c <= 'z')
            c = char(c - 32);
    info.keyExpression = std::string(expression);
    info.keyType = KeyTypeOf(key.Type());
    if (key.Width() < 1 || key.Width() > 240)
        throw TXbaseError(TErrorKind::Usage,
                          "the key of tag " + info.name + " is " + std::to_string(key.Width()) +
                              " bytes; a key holds 1 to 240",
                          mIndex->FileName());
    info.keyLength = uint16_t(key.Width());
    TProgressMeter meter(progress, 2.0);
    TTagBuilder builder(info.keyLength, count);
    std::string out;
    for (uint32_t r = 1; r <= count; ++r) {
        key.EvalKey(source(r), out);
        builder.Add(out, r);
        if ((r & 0x3FFF) == 0)
            meter.Set(double(r) / count);
    }
    meter.Set(1.0);
    mIndex->AddTag(info, builder, [&](int p) { meter.Set(1.0 + p / 100.0); });
    const int order = mIndex->FindTag(info.name);
    // Orders after a replaced tag stay; compile the new one in its place (or at the end).
    mTags.resize(size_t(mIndex->TagCount()));
    mTags[size_t(order - 1)] = Compile(order);
    meter.Set(2.0);
    return order;
}

void TTableIndexes::Rebuild(uint32_t count, const TRecordSource& source, const TProgressFn& progress)
{
    CheckMaintainable();
    std::vector<int> orders;
    for (int order = 1; order <= TagCount(); ++order)
        orders.push_back(order);
    Build(orders, count, source, progress);
}

void TTableIndexes::Build(const std::vector<int>& orders, uint32_t count,
                          const TRecordSource& source, const TProgressFn& progress)
{
    // Work units: one per tag for extracting its keys, one for writing it.
    TProgressMeter meter(progress, 2.0 * double(std::max<size_t>(orders.size(), 1)));
    double done = 0;
    size_t next = 0;
    while (next < orders.size()) {
        // The next group: as many tags as fit the budget, at least one.
        std::vector<int> group;
        uint64_t bytes = 0;
        while (next < orders.size()) {
            const uint16_t keyLength = mIndex->Tag(orders[next]).KeyLength();
            const uint64_t need = uint64_t(count) * (uint64_t(keyLength) + 4 + 16);
            if (!group.empty() && bytes + need > kBuildBudgetBytes)
                break;
            bytes += need;
            group.push_back(orders[next++]);
        }
        std::vector<TTagBuilder> builders;
        builders.reserve(group.size());
        for (int order : group)
            builders.emplace_back(mIndex->Tag(order).KeyLength(), count);
        std::string out;
        for (uint32_t r = 1; r <= count; ++r) {
            const TRecordView record = source(r);
            for (size_t g = 0; g < group.size(); ++g) {
                if (KeyOf(mTags[size_t(group[g] - 1)], record, out))
                    builders[g].Add(out, r);
            }
            if ((r & 0x3FFF) == 0)
                meter.Set(done + double(group.size()) * r / count);
        }
        done += double(group.size());
        meter.Set(done);
        for (size_t g = 0; g < group.size(); ++g) {
            const double base = done;
            mIndex->Tag(group[g]).Rebuild(builders[g], [&](int p) { meter.Set(base + p / 100.0); });
            builders[g].Clear();
            builders[g] = TTagBuilder(1); // gives the memory back before the next tag is written
            done += 1;
            meter.Set(done);
        }
    }
    meter.Set(2.0 * double(std::max<size_t>(orders.size(), 1)));
}

void TTableIndexes::Flush(uint32_t recordCount)
{
    if (mIndex->ReadOnly())
        return;
    mIndex->SetSyncCount(recordCount);
    mIndex->Flush();
}

void TTableIndexes::Close() { mIndex->Close(); }

} // namespace qm::xbase
