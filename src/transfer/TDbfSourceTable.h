#pragma once

// A table read by the DBF imports: any table the engine reads (dBase III/IV, FoxPro, Visual
// FoxPro, Clipper), opened read-only and without its index, so a missing or foreign index never
// stops an import. Records are read in record order. Text is taken into Windows-1252 by the
// table's code-page mark: DOS 437 and 850 are converted, Windows-1252 and unmarked tables are
// taken as they are; a character Windows-1252 cannot hold is refused, naming it.

#include "xbase/TCodePageDos.h"

#include <QString>
#include <memory>
#include <string>

namespace qm::xbase {
class TTable;
}

namespace qm::transfer {

class TDbfSourceTable {
public:
    // Throws TTransferError: "Unable to open the file " + name, with the engine's reason.
    explicit TDbfSourceTable(const QString& path);
    ~TDbfSourceTable();

    xbase::TTable& Table() const { return *mTable; }
    const QString& Path() const { return mPath; }
    uint32_t RecordCount() const;
    // The code-page mark of the header (byte 29).
    int CodePageMark() const { return mMark; }

    // Makes record recNo current; false when it carries the deletion mark.
    bool Go(uint32_t recNo);
    // A field of the current record as Windows-1252 text: character and memo fields as stored,
    // numbers without padding, dates YYYYMMDD, logicals T or F. Throws TTransferError naming the
    // record and field when a character cannot be held, or with the engine's reason when the
    // record or its memo cannot be read.
    void Text(int field, std::string& out) const;

private:
    QString mPath;
    std::unique_ptr<xbase::TTable> mTable;
    int mMark = 0;
    const xbase::TCodePageDos::TUpperHalf* mDosPage = nullptr;
};

} // namespace qm::transfer
