#pragma once

// The one error type of the layout stream: what went wrong, the message the user sees, and where
// (file and byte offset, when known). Reading and writing layouts throw it; the design windows
// show Message() in a message box.

#include <QString>
#include <stdexcept>

namespace qm::design {

enum class TLayoutErrorKind {
    Io,                  // the file could not be opened, created or written (OS reason in the text)
    InvalidStreamFormat, // "Invalid stream format": a record without its signature, a bad list
                         // start
    StreamRead,          // "Stream read error": the stream ends early
    ClassNotFound,       // "Class %s not found"
    Property,            // "Error reading %s.%s: %s"
    InvalidValue,        // "Invalid property value" (inside a property; wrapped into Property)
    NoSuchProperty,      // "Property does not exist" (inside a property; wrapped into Property)
    Text,                // a text that Windows-1252 cannot hold was to be written
    FileName,            // a layout file name that is not "BIN" + five digits + ".L"/".E"/".R"
};

class TLayoutError : public std::runtime_error {
public:
    TLayoutError(TLayoutErrorKind kind, const QString& message, qint64 offset = -1,
                 const QString& path = {});

    static constexpr const char* kInvalidStreamFormat = "Invalid stream format";
    static constexpr const char* kStreamRead = "Stream read error";
    static constexpr const char* kInvalidValue = "Invalid property value";
    static constexpr const char* kNoSuchProperty = "Property does not exist";

    static TLayoutError StreamRead(qint64 offset);
    static TLayoutError InvalidStreamFormat(qint64 offset);
    static TLayoutError InvalidValue(qint64 offset = -1);

    TLayoutErrorKind Kind() const { return mKind; }
    const QString& Message() const { return mMessage; }
    // Byte offset in the stream where the fault was found; -1 when not known.
    qint64 Offset() const { return mOffset; }
    const QString& Path() const { return mPath; }
    // The same error naming the file it came from.
    TLayoutError WithPath(const QString& path) const;

private:
    TLayoutErrorKind mKind;
    QString mMessage;
    qint64 mOffset;
    QString mPath;
};

} // namespace qm::design
