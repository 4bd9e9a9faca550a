#pragma once

// What an import reads from: a comma-separated file, another table, or an address file of an
// earlier version. The import run drives it in two passes: Check() reads the whole input and
// refuses it (TTransferError) before anything is appended; then Rewind() and Next() hand out the
// records to append, already converted to Windows-1252 and addressed by target field number.

#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qm::transfer {

struct TImportValue {
    int field = -1;   // the target field's number in the address file
    std::string text; // Windows-1252; memos with the stored-memo rule applied
};

// One record to append. Values are kept between records to reuse their memory.
class TImportRecord {
public:
    void Clear()
    {
        mCount = 0;
        deleted = false;
    }
    std::string& Add(int field)
    {
        if (mValues.size() == mCount)
            mValues.emplace_back();
        TImportValue& v = mValues[mCount++];
        v.field = field;
        v.text.clear();
        return v.text;
    }
    size_t Count() const { return mCount; }
    const TImportValue& At(size_t i) const { return mValues[i]; }

    bool deleted = false; // append it with the deletion mark

private:
    std::vector<TImportValue> mValues;
    size_t mCount = 0;
};

class TImportSource {
public:
    virtual ~TImportSource() = default;

    // The status line while Check() runs ("Counting total lines"), empty for none.
    virtual QString CheckingStatus() const { return {}; }
    // Reads the whole input and returns the number of records to import. tick runs after each
    // record and returns true to stop (Check then returns -1). Throws TTransferError when the
    // input is refused.
    virtual int64_t Check(const std::function<bool()>& tick) = 0;
    virtual void Rewind() = 0;
    // The next record to append; false after the last. Throws TTransferError on a read failure.
    virtual bool Next(TImportRecord& record) = 0;
    // Stores values that are empty too (the earlier-version import copies every mapped field).
    virtual bool StoresEmptyValues() const { return false; }
    // What the import pass has read so far, for the closing message (a text file: how many
    // lines formed how many records); empty when there is nothing to add.
    virtual QString ReadTally() const { return {}; }
};

} // namespace qm::transfer
