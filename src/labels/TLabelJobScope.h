#pragma once

// The address table as a label command finds it, and the record scope the command sets on it.
//
// Created before a print or preview command touches the table, it remembers the record number,
// the query (the main window's filter plus ".and. !ISDEL"), the index order and the exact-matching
// setting. When it goes out of scope, also after an error or a cancel, it puts them back: order,
// query, record (only when one was current) and exact matching. Errors while restoring are
// ignored, so restoring never fails the command.
//
// Contract: the table is open for the object's lifetime; the main window holds the same
// data set and sees the restored state.

#include "labels/TLabelPrintChoices.h"

#include <QString>
#include <cstdint>

namespace qm::data {
class TApollo;
}

namespace qm::labels {

class TLabelJobScope {
public:
    explicit TLabelJobScope(data::TApollo& apollo);
    ~TLabelJobScope();
    TLabelJobScope(const TLabelJobScope&) = delete;
    TLabelJobScope& operator=(const TLabelJobScope&) = delete;

    uint32_t SavedRecNo() const { return mRecNo; }
    const QString& SavedQuery() const { return mQuery; }

    // The query a record choice sets: "NOT ISDEL" for all records, "Recno()=" and the saved
    // record for the current one, the saved query for the filter's matches.
    static QString ScopeQuery(TLabelScope scope, const QString& savedQuery, uint32_t recNo);

    // Sets the scope's query and goes to the first record, or with startFromCurrent to the saved
    // record. Returns false when that record is not one of the scope's; the table then stands on
    // the first record and the caller shows OutOfRangeMessage().
    bool Apply(TLabelScope scope, bool startFromCurrent);
    static QString OutOfRangeMessage();

    // For a presorted job: exact matching off for the seeks and the ZIP order. Returns false when
    // the table has no ZIP tag.
    bool UseZipOrder();

    // "Labels will print/preview in the following order: ..." (shown before a presorted job).
    static QString PresortOrderMessage();

private:
    data::TApollo& mApollo;
    uint32_t mRecNo = 0;
    QString mQuery;
    int mOrder = 0;
    bool mExact = false;
};

} // namespace qm::labels
