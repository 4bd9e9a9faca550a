#pragma once

// A text file as the import reads it. The encoding is decided once for the whole file, never per
// line: UTF-16 when it starts with a UTF-16 byte-order mark (converted to UTF-8 as it is read);
// UTF-8 when every byte sequence is valid UTF-8 (a byte-order mark is dropped); else
// Windows-1252. Refused as unreadable text (TTransferError): a UTF-8 byte-order mark followed by
// invalid UTF-8, NUL bytes in a file that is not UTF-16 (named as UTF-16 without a mark, with how
// to save it, when its first bytes look so), broken UTF-16 or a NUL character in it.
//
// Read() hands out bytes in an ASCII-compatible encoding (UTF-8 or Windows-1252; Utf8Values()
// tells which), so the record reader can split them without knowing the encoding.

#include "transfer/TByteSource.h"

#include <QFile>
#include <QString>
#include <QStringDecoder>
#include <memory>
#include <string>

namespace qm::transfer {

class TTextFileSource : public TByteSource {
public:
    enum class TKind { Utf8, Utf16LE, Utf16BE, Windows1252 };

    // Opens the file and decides its encoding (reading it once unless a UTF-16 mark decides).
    // Throws TTransferError when it cannot be read or is refused.
    explicit TTextFileSource(const QString& path);
    ~TTextFileSource() override;

    TKind Kind() const { return mKind; }
    bool Utf8Values() const { return mKind != TKind::Windows1252; }
    qint64 Size() const { return mSize; }
    // Bytes of the file consumed so far (not of the converted text).
    qint64 Position() const { return mFile.pos(); }

    // Back to the first byte after the byte-order mark.
    void Rewind();
    size_t Read(char* buffer, size_t size) override;

    // The text kind decided for raw bytes alone (for tests and the fuzzer): the same rules, with
    // the reason of a refusal in *refusal.
    static TKind Decide(const QByteArray& bytes, QString* refusal, int* markLength);

private:
    [[noreturn]] void Fail(const QString& reason) const;

    QString mPath;
    QFile mFile;
    TKind mKind = TKind::Utf8;
    int mMarkLength = 0;
    qint64 mSize = 0;
    std::unique_ptr<QStringDecoder> mDecoder;
    std::string mPending; // converted UTF-16 text not yet handed out
    size_t mPendingPos = 0;
    QString mCarry; // a high surrogate waiting for its pair
};

} // namespace qm::transfer
