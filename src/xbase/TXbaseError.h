#pragma once

// Errors of the table engine. Every failure is thrown as a TXbaseError that carries what a user
// and a maintainer need: the category, the file, the byte offset where it was found (when one
// applies), the operating system's error number (for I/O) and a message a user can act on.

#include <cstdint>
#include <stdexcept>
#include <string>

namespace qm::xbase {

enum class TErrorKind {
    Io,       // the operating system refused a read, write, lock or open
    Damaged,  // the file's contents break the format (bad header, pointer out of range, ...)
    InUse,    // another process holds the file exclusively
    Syntax,   // an expression does not parse or names an unknown field or function
    Type,     // an expression mixes types (for example "A" + 1)
    Usage,    // the caller asked for something the state does not allow (write to a read-only
              // table, seek without an order, a field name that does not exist, ...)
    NotFound, // a file, tag or field that is not there
};

class TXbaseError : public std::runtime_error {
public:
    static constexpr int64_t kNoOffset = -1;

    TXbaseError(TErrorKind kind, std::string message, std::string file = {},
                int64_t offset = kNoOffset, int osError = 0);

    TErrorKind Kind() const { return mKind; }
    const std::string& File() const { return mFile; }
    int64_t Offset() const { return mOffset; }
    int OsError() const { return mOsError; }
    // The message alone, without the file (what() has "file: message").
    const std::string& Message() const { return mMessage; }

private:
    TErrorKind mKind;
    std::string mMessage;
    std::string mFile;
    int64_t mOffset;
    int mOsError;
};

} // namespace qm::xbase
