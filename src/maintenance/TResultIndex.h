#pragma once

// The temporary result set of a check: a single-key index file made empty (a file left there by a
// crash is replaced), filled one record at a time and then made the data set's order, so that
// only the records found show. The duplicate check's "_chkdup.idx" lies in the program's home
// directory, the state/ZIP check's "_chksz.idx" in the address file's folder.
//
// Contract: the data set must stay open while the index lives. Destroying the index takes it out
// of the data set's order (back to record order), closes it and deletes the file, also when the
// run that filled it ended with an error. Keys come from the key expression evaluated on the
// record given, so records are added without moving the data set.
//
// A run adds its records first and calls Finish() at its end: the keys are collected in memory
// and the file is written once, in key order, instead of one tree insert per record (a check
// that lists most of a million records would spend most of its time inserting). Records added
// after Finish() go into the tree one by one.

#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qm::xbase {
class TExpression;
class TRecordView;
class TSingleIndex;
class TTagBuilder;
} // namespace qm::xbase

namespace qm::data {
class TDataSet;
}

namespace qm::maintenance {

class TResultIndex {
public:
    static constexpr const char* kDuplicatesFile = "_chkdup.idx";
    static constexpr const char* kStateZipFile = "_chksz.idx";

    // Where the state/ZIP check keeps its result index: "_chksz.idx" in the folder of the
    // address file at addressFilePath.
    static QString StateZipPath(const QString& addressFilePath);

    // Throws xbase::TXbaseError when the file cannot be made; no file of that name is left then.
    TResultIndex(data::TDataSet& dataSet, const QString& path, const QString& keyExpression);
    ~TResultIndex();
    TResultIndex(const TResultIndex&) = delete;
    TResultIndex& operator=(const TResultIndex&) = delete;

    // Adds the record's key; false when the record was in the index already.
    bool Add(const xbase::TRecordView& record, uint32_t recNo);
    // Writes the collected keys to the file and flushes it (again harmless).
    void Finish();
    // How many records were added.
    uint32_t Count() const { return mCount; }
    // Finishes the index, makes it the data set's order and goes to its first record.
    void MakeOrder();
    bool IsOrder() const;
    const QString& Path() const { return mPath; }
    xbase::TSingleIndex& Index() { return *mIndex; }

private:
    data::TDataSet& mDataSet;
    QString mPath;
    std::unique_ptr<xbase::TSingleIndex> mIndex;
    std::unique_ptr<xbase::TExpression> mKey;
    std::unique_ptr<xbase::TTagBuilder> mPending; // keys collected until Finish()
    std::vector<uint64_t> mAdded;                 // bit recNo - 1: the record is in the index
    std::string mScratch;
    uint32_t mCount = 0;
};

} // namespace qm::maintenance
