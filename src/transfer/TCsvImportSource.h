#pragma once

// The comma-separated file as an import source: every record of the file (the first one too,
// unless it holds column names, see SetHeaderLine), padded with empty fields up to the sample's
// field count, the matched fields converted to Windows-1252 with line breaks as blanks. Check()
// refuses the file, before anything is appended, for a quote never closed (naming its line), for a
// record whose quoted value runs over a line break and whose field count then differs from the
// sample's (naming the line where the quote opened: a closing quote is missing more likely than
// not), and for a character that Windows-1252 cannot hold (naming it, its line and its field).

#include "transfer/TFieldMatch.h"
#include "transfer/TImportSource.h"
#include "transfer/TImportText.h"

#include <memory>

namespace qm::xbase {
class TTable;
}

namespace qm::transfer {

class TByteSource;
class TCsvRecordReader;
class TTextFileSource;

class TCsvImportSource : public TImportSource {
public:
    // fieldCount: the source fields of the sample (fields beyond it are ignored). Throws
    // TTransferError when the file cannot be opened or is not readable text.
    TCsvImportSource(const QString& path, const TFieldMatch& match, const xbase::TTable& target,
                     int fieldCount);
    // The same over bytes already in an ASCII-compatible encoding (tests, the fuzzer).
    TCsvImportSource(std::unique_ptr<TByteSource> bytes, bool utf8, const TFieldMatch& match,
                     const xbase::TTable& target, int fieldCount);
    ~TCsvImportSource() override;

    // The file's first record holds column names: it is neither checked nor imported.
    void SetHeaderLine(bool header)
    {
        mHeader = header;
        mHeaderPending = header;
    }

    QString CheckingStatus() const override { return QStringLiteral("Counting total lines"); }
    int64_t Check(const std::function<bool()>& tick) override;
    void Rewind() override;
    bool Next(TImportRecord& record) override;
    // "N lines read formed M records." for the lines and records of the import pass so far.
    QString ReadTally() const override;

private:
    void Map(const TFieldMatch& match, const xbase::TTable& target, int fieldCount);
    bool Read();

    std::unique_ptr<TByteSource> mBytes;
    TTextFileSource* mFile = nullptr; // mBytes when it is a file
    std::unique_ptr<TCsvRecordReader> mReader;
    TImportText mText;
    int mFieldCount = 0;
    bool mHeader = false;
    bool mHeaderPending = false;           // the header is still to be passed over
    int64_t mRecords = 0;                  // records handed out by Next() since the last Rewind()
    std::vector<std::pair<int, int>> mMap; // (source field, target field)
    std::string mScratch;
};

} // namespace qm::transfer
