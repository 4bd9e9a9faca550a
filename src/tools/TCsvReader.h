#pragma once

// Reads RFC 4180 CSV from a byte stream: fields separated by commas; records ended by CR LF, LF
// or CR; a field in double quotes may hold commas, quotes (doubled) and line breaks. A UTF-8
// byte-order mark at the start is skipped. Lines that are entirely empty are skipped. The reader
// returns the bytes of each field unchanged; TextEncodingOf() tells the caller how to take them.
// The splitting is the import's record reader (transfer/TCsvRecordReader) with the table tool's
// stricter options: no limit on fields or their length, and a quote inside a quoted field must be
// doubled.

#include "transfer/TByteSource.h"
#include "transfer/TCsvRecordReader.h"

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace qm::tools {

// A malformed file: the message names the line (1-based) and what is wrong.
class TCsvError : public std::runtime_error {
public:
    TCsvError(int64_t line, const std::string& message);
    int64_t Line() const { return mLine; }

private:
    int64_t mLine;
};

class TCsvReader {
public:
    enum class TEncoding { Utf8, Windows1252 };

    // Reads the whole stream once: UTF-8 when every byte sequence is valid UTF-8, else
    // Windows-1252. Rewinds the stream to its start afterwards.
    static TEncoding TextEncodingOf(std::istream& in);

    explicit TCsvReader(std::istream& in);

    // The next record's fields; false at the end of the input. Throws TCsvError for a quote that
    // is never closed or text after a closing quote.
    bool Next(std::vector<std::string>& fields);

    // Line on which the record last returned by Next() started (1-based).
    int64_t RecordLine() const { return mReader->RecordLine(); }
    // Bytes consumed so far (for progress).
    int64_t BytesRead() const { return mSource.consumed; }

private:
    // The stream as the record reader's byte source, the byte-order mark skipped.
    struct TStreamSource : transfer::TByteSource {
        explicit TStreamSource(std::istream& in) : in(in) {}
        size_t Read(char* buffer, size_t size) override;
        std::istream& in;
        bool started = false;
        int64_t consumed = 0;
    };

    TStreamSource mSource;
    std::unique_ptr<transfer::TCsvRecordReader> mReader;
};

} // namespace qm::tools
