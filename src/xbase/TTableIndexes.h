#pragma once

// The production index of an open table together with each tag's compiled key (and FOR)
// expression: keeps every tag up to date as records are appended and changed, and builds tags
// in bulk. Part of TTable; the cursor layer sees the index through TTable.
//
// Bulk builds extract keys in as few passes over the records as the memory budget allows: the
// tags are grouped so that the collected keys of one group stay under kBuildBudgetBytes (the
// address file's 26 tags over 1,000,000 records peak below 256 MB in all).

#include "xbase/TExpression.h"
#include "xbase/TRecordLayout.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qm::xbase {

class TCompoundIndex;
class TTagBuilder;

class TTableIndexes {
public:
    static constexpr uint64_t kBuildBudgetBytes = 100ull * 1024 * 1024;

    // Gives the record recNo (1..count) for bulk passes.
    using TRecordSource = std::function<TRecordView(uint32_t recNo)>;
    using TProgressFn = std::function<void(int percent)>;

    // Compiles every tag's expressions against fields. A tag whose expression this engine cannot
    // evaluate is kept (it can be read) but makes every change refuse with Usage.
    TTableIndexes(std::unique_ptr<TCompoundIndex> index, const TFieldList& fields);
    ~TTableIndexes();

    TCompoundIndex& Index() { return *mIndex; }
    const TCompoundIndex& Index() const { return *mIndex; }
    int TagCount() const;
    const TExpression& KeyExpression(int order) const;
    // Dirty on open, or flushed at a record count other than the table's.
    bool StaleOnOpen(uint32_t recordCount) const;

    // Throws Usage when some tag cannot be kept up to date.
    void CheckMaintainable() const;
    // Adds the record's keys to every tag.
    void Insert(const TRecordView& record);
    // Replaces the keys of a changed record where they differ.
    void Update(const TRecordView& before, const TRecordView& after);
    // Update in two steps, so that the index can be marked out of date before the record is
    // written: Plan works out which keys change (true when any does), ApplyPlan changes them.
    bool Plan(const TRecordView& before, const TRecordView& after);
    void ApplyPlan(uint32_t recNo);

    struct TNewTag {
        std::string name;
        std::string expression;
    };
    // Adds (or replaces) tags built over count records, in the given order, extracting their
    // keys in as few passes as the budget allows. Every expression is compiled before anything
    // is written. Returns the tags' orders.
    std::vector<int> AddTags(const std::vector<TNewTag>& tags, uint32_t count,
                             const TRecordSource& source, const TProgressFn& progress);
    // Rebuilds every tag over count records.
    void Rebuild(uint32_t count, const TRecordSource& source, const TProgressFn& progress);
    // Builds every tag afresh into fresh (a new index without tags) with the same definitions in
    // the same order, over count records. The file then holds nothing but the new trees, where a
    // rebuild in place leaves the old trees' pages behind on the free list.
    void RebuildInto(TCompoundIndex& fresh, uint32_t count, const TRecordSource& source,
                     const TProgressFn& progress);

    // Writes every change and records the table's record count as in step with the index.
    void Flush(uint32_t recordCount);
    void Close();
    // Releases the index without writing anything more (after a failed write).
    void Discard();
    // The dirty mark on the disk before a record is written (TCompoundIndex::MarkChanging).
    void MarkChanging();

private:
    struct TTagState {
        std::optional<TExpression> key;
        std::optional<TExpression> filter;
        std::string problem; // why the tag cannot be evaluated; empty when it can
    };
    TTagState Compile(int order) const;
    bool KeyOf(const TTagState& tag, const TRecordView& record, std::string& out) const;
    // One tag of a bulk build: how its keys are made and what to do with them once collected.
    struct TBuildJob {
        const TTagState* state;
        uint16_t keyLength;
        std::function<void(TTagBuilder&, const std::function<void(int)>&)> finish;
    };
    // Collects the keys of the jobs over the records, grouped by memory budget, and hands each
    // job its keys in order.
    void Build(const std::vector<TBuildJob>& jobs, uint32_t count, const TRecordSource& source,
               const TProgressFn& progress);

    std::unique_ptr<TCompoundIndex> mIndex;
    TFieldList mFields;
    std::vector<TTagState> mTags;
    std::string mOld;
    std::string mNew;
    struct TKeyChange {
        int order;
        bool hadKey, hasKey;
        std::string oldKey, newKey;
    };
    std::vector<TKeyChange> mPlan;
};

} // namespace qm::xbase
