#pragma once

// Reads the records of a comma-separated text file as RFC 4180 describes them and as Python's
// csv module (default dialect) splits them, so that a file splits here exactly as csv.reader
// splits it:
// - records end at CR LF, LF or CR outside quotes; an empty line is a record without fields;
// - a field that starts with a double quote is quoted: it may hold commas, line breaks and
//   doubled quotes (read as one); a quote followed by anything but a comma, a quote or the end of
//   the record ends the quoting and the rest is read as it stands ("ab"c gives abc);
// - a quote inside an unquoted field is an ordinary character;
// - a quoted field still open at the end of the input is an error naming the line it starts on.
//
// The reader works on bytes of any ASCII-compatible encoding (UTF-8, Windows-1252) and returns
// each field's bytes unchanged. Limits that keep memory bounded on any input: a record keeps its
// first kMaxFields fields (later ones are read and dropped) and a field its first kMaxFieldBytes
// bytes (ending on a whole UTF-8 character); FieldCut() tells when bytes were dropped.

#include "transfer/TByteSource.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qm::transfer {

// Malformed text: a quoted field that is never closed (Line() is the line it opens on) or, with
// strict quotes, text after a closing quote (the line where it stands).
class TCsvFormatError : public std::runtime_error {
public:
    enum class TKind { Unclosed, TextAfterQuote };
    TCsvFormatError(TKind kind, int64_t line, const std::string& message)
        : std::runtime_error(message), mKind(kind), mLine(line)
    {
    }
    TKind Kind() const { return mKind; }
    int64_t Line() const { return mLine; }

private:
    TKind mKind;
    int64_t mLine;
};

class TCsvRecordReader {
public:
    static constexpr int kMaxFields = 255;
    static constexpr size_t kMaxFieldBytes = 1 << 16;

    // The import's reading is the default. The table tool reads memos of any length and tables'
    // full rows, skips empty lines and wants a quote inside a quoted field doubled.
    struct TOptions {
        int maxFields = kMaxFields;
        size_t maxFieldBytes = kMaxFieldBytes;
        bool skipEmptyLines = false;
        bool strictQuotes = false; // text after a closing quote is an error, not read on
    };

    explicit TCsvRecordReader(TByteSource& source) : TCsvRecordReader(source, TOptions{}) {}
    TCsvRecordReader(TByteSource& source, const TOptions& options);

    // Reads the next record; false at the end of the input. Throws TCsvFormatError.
    bool Next();

    int FieldCount() const { return mCount; }                 // kept fields, at most kMaxFields
    int64_t SourceFieldCount() const { return mSourceCount; } // fields the record had
    std::string_view Field(int i) const { return mFields[size_t(i)]; }
    bool FieldCut(int i) const { return mCut[size_t(i)] != 0; }

    // The line (1-based) on which the record last read starts.
    int64_t RecordLine() const { return mRecordLine; }
    // The line on which a quoted value of the record last read opened and then ran over a line
    // break (the first such value); 0 when every value of the record ended on its own line.
    int64_t QuoteSpanLine() const { return mQuoteSpanLine; }
    // The line on which the record last read ends.
    int64_t RecordEndLine() const { return mRecordEndLine; }
    // Lines of the input read so far, empty ones included; a last line without a line break
    // counts once it is read.
    int64_t LinesRead() const { return mLinesRead; }
    int64_t BytesRead() const { return mBytesRead; }

private:
    int Peek()
    {
        if (mPos == mEnd && !Fill())
            return -1;
        return static_cast<unsigned char>(mBuffer[mPos]);
    }
    bool Fill();
    void StartField();
    void Add(char c);
    void AddRun(const char* bytes, size_t n);
    void EndField();

    TByteSource& mSource;
    TOptions mOptions;
    std::vector<char> mBuffer;
    size_t mPos = 0;
    size_t mEnd = 0;
    bool mAtEnd = false;
    std::vector<std::string> mFields;
    std::vector<char> mCut;
    int mCount = 0;
    int64_t mSourceCount = 0;
    std::string* mField = nullptr; // the field being read; nullptr when it is dropped
    bool mCutting = false;
    int64_t mLine = 1;
    int64_t mRecordLine = 0;
    int64_t mQuoteSpanLine = 0;
    int64_t mRecordEndLine = 0;
    int64_t mLinesRead = 0;
    int64_t mBytesRead = 0;
};

} // namespace qm::transfer
