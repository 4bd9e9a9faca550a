#pragma once

// An address file of the program's versions 1.x or 2.x as an import source. The version is
// recognised by its fields (all required; a file lacking one is refused with the file name and
// " does not appear to be a Quillmark 2.x DBF" or "... 1.x DBF"). Fields are copied by name,
// every value stored, empty ones too; 1.x NOTES go to CODES and 1.x dates are converted
// (TOlderDate); memos get the stored-memo rule. A 2.x record whose ISDEL is true is appended with
// the deletion mark as well, so it stays hidden and a pack removes it. CARRIER (1.x) and TAG
// (2.x) are not copied.

#include "transfer/TDbfSourceTable.h"
#include "transfer/TImportSource.h"

namespace qm::transfer {

class TOlderImportSource : public TImportSource {
public:
    enum class TVersion { V1, V2 };

    static const std::vector<const char*>& RequiredFields(TVersion version);
    // Empty when the table has every field of the version, else the refusal text.
    static QString VersionError(const TDbfSourceTable& source, TVersion version);

    // Throws TTransferError with VersionError() when the table is not of the version.
    TOlderImportSource(TDbfSourceTable& source, TVersion version, const xbase::TTable& target);

    int64_t Check(const std::function<bool()>& tick) override;
    void Rewind() override { mNext = 1; }
    bool Next(TImportRecord& record) override;
    bool StoresEmptyValues() const override { return true; }

private:
    enum class THow { Text, Date1x, Memo, Logical };
    struct TMapped {
        int source;
        int target;
        THow how;
    };
    void Fill(TImportRecord* record);

    TDbfSourceTable& mSource;
    TVersion mVersion;
    std::vector<TMapped> mMap;
    uint32_t mNext = 1;
    std::string mScratch;
};

} // namespace qm::transfer
