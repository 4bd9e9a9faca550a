#pragma once

// The user's letters: the rows of sysdata/LETTER.DBF (DESCRIPT, RTF memo) as the "Print Letters"
// window and the tool list them, and the row operations. The list is in DESCRIPT tag order and
// leaves out rows carrying the deletion mark.
//
// Letter texts move as bytes: what the memo holds is what Rtf() returns, and Clone copies it
// byte for byte (no editor in between that could drop what it cannot show). Texts written by
// Append and Rewrite follow the stored-memo rule (a blank appended to the last line when the
// length, line breaks as CR LF, is a positive multiple of 4).
//
// Every change is written so that a reader finds the earlier row or the whole new one: a text
// goes to fresh memo blocks first and the row that points to it is written last, then the table
// is committed, so its index on disk is in step with it. A text whose stored form would be larger
// than the letter reader accepts (MaxStoredBytes) is refused before anything is written.
//
// Engine errors propagate as xbase::TXbaseError, data set errors (a description the code page
// cannot hold, a text too large) as data::TDataSetError; after a failed change the table is
// opened again, so the list shows what the files hold. The list is reloaded after every change.
// Close() reports a failure to write what was pending; the destructor never throws.

#include "data/TDataSet.h"
#include "richtext/TRtfReader.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

namespace qm::letters {

struct TLetterRow {
    uint32_t recNo = 0;
    QString description;
};

class TLetterStore {
public:
    static constexpr int kDescriptionLength = 50;
    // The most a letter's stored text may hold: what the letter reader accepts.
    static constexpr qsizetype kMaxStoredBytes = richtext::TRtfReader::MaxInputBytes;

    TLetterStore() = default;
    ~TLetterStore();
    TLetterStore(const TLetterStore&) = delete;
    TLetterStore& operator=(const TLetterStore&) = delete;

    // Opens (or creates) LETTER.DBF in sysdataDir and loads the list. Returns an empty text or
    // the failure message ("Unable to Open or Create LETTER.DBF"). readOnly opens it shared
    // without writing (listing and exporting from the tool).
    QString Open(const QString& sysdataDir, bool readOnly = false);
    void Close();
    bool IsOpen() const { return mSet.Active(); }
    // What the last Open found and did about the table's index (data::TSystemTables::
    // OpenOrCreate); empty when the index was in order.
    const QString& Notice() const { return mNotice; }

    void Reload();
    const std::vector<TLetterRow>& Rows() const { return mRows; }
    bool IsEmpty() const { return mRows.empty(); }
    // The list row of a description (exact, trailing blanks aside; else without regard to letter
    // case); -1 when none.
    int Find(const QString& description) const;

    // The stored RTF text of a row, as the memo holds it.
    QByteArray Rtf(int row);

    // Appends a letter; returns its list index.
    int Append(const QString& description, const QByteArray& rtf);
    // Rewrites a row's description and text (Modify, after the designer's Ok).
    void Rewrite(int row, const QString& description, const QByteArray& rtf);
    // Marks a row deleted.
    void Delete(int row);
    // Appends "Clone of " + the description (cut to 50 characters) with the same stored text,
    // byte for byte; returns the new row's list index.
    int Clone(int row);

    // "Delete \"<description>\"?" and "Clone \"<description>\"?", captions "DELETE" and "CLONE".
    static QString DeleteQuestion(const QString& description);
    static QString CloneQuestion(const QString& description);
    static QString CloneDescription(const QString& description);
    // The memo text as stored (the stored-memo rule), byte for byte otherwise.
    static QByteArray StoredText(const QByteArray& rtf);
    // Why a text of this stored size cannot be stored (with both sizes); empty when it fits.
    static QString SizeProblem(qsizetype storedBytes);

private:
    void GoToRow(int row);
    int IndexOfRecord(uint32_t recNo) const;
    // Writes a row (recNo 0: a new one): the text in fresh memo blocks, then the row, then the
    // commit. Returns the row's list index; on failure the table is opened again and the error
    // goes on.
    int WriteRow(uint32_t recNo, const QString& description, const QByteArray& stored);

    data::TDataSet mSet;
    std::vector<TLetterRow> mRows;
    QString mSysdataDir;
    QString mNotice;
    bool mReadOnly = false;
};

} // namespace qm::letters
