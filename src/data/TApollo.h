#pragma once

// The engine-specific operations on a data set's table, as the windows use them: the query (the
// filter that hides records), orders and tags, seeks and scopes, single-key index files used as
// temporary result sets, read-ahead for whole-file passes, and progress reports of long work.
//
// Every operation that moves the engine's cursor resynchronises the data set, so bound controls
// show the record the engine stands on. Texts are converted to and from Windows-1252 here; engine
// errors propagate as xbase::TXbaseError.

#include "xbase/TTable.h"

#include <QString>
#include <functional>
#include <memory>

namespace qm::xbase {
class TSingleIndex;
}

namespace qm::data {

class TDataSet;

class TApollo {
public:
    explicit TApollo(TDataSet& dataSet);
    ~TApollo();

    TDataSet& DataSet() const { return mDataSet; }

    // --- query ---
    // Sets the query ("" clears it) and goes to the first shown record.
    void SetQuery(const QString& expression);
    QString Query() const;
    // Empty when the expression may be set as the query, else the engine's message.
    QString QueryTest(const QString& expression) const;
    // Shown records in the current order, query and deletion setting.
    uint32_t QueryRecCount() const;

    // --- orders ---
    // 1-based order of a tag by name; 0 when missing.
    int TagArea(const QString& tag) const;
    // 0: record order. Keeps the current record.
    void SetOrder(int order);
    int IndexOrd() const;
    QString TagName(int order) const;
    int TagCount() const;
    QString IndexName() const; // the compound index file's path

    // --- seeks and scopes ---
    // Seeks on the current order; lands on the match (or, with soft seek, the next key).
    bool Seek(const QString& key);
    bool Found() const;
    // Empty texts clear the scope; the data set goes to the first shown record.
    void SetScope(const QString& top, const QString& bottom);

    // --- single-key index files ---
    // Creates an empty one-key index file; it becomes usable as an order once keys are added.
    void CreateExtraIndex(const QString& path, const QString& expression);
    // Adds the current record's key to the extra index.
    bool KeyAdd();
    // Makes the extra index the order (only the added records show) and goes to the first.
    void UseExtraIndexAsOrder();
    // Closes the extra index (back to record order when it was the order); the file stays.
    void CloseExtraIndex();

    void SetTurboRead(bool on);

    // --- long work ---
    // Progress of packing and indexing, in percent; nullptr detaches.
    void SetGaugeHook(std::function<void(int)> hook) { mGauge = std::move(hook); }
    void Pack();
    void Reindex();
    void Zap();

private:
    xbase::TProgress Progress() const;

    TDataSet& mDataSet;
    std::unique_ptr<xbase::TSingleIndex> mExtraIndex;
    std::function<void(int)> mGauge;
};

} // namespace qm::data
