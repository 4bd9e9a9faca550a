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
// Engine errors propagate as xbase::TXbaseError, data set errors (a description the code page
// cannot hold) as data::TDataSetError; nothing is written then. The list is reloaded after every
// change.

#include "data/TDataSet.h"

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

private:
    void GoToRow(int row);
    int IndexOfRecord(uint32_t recNo) const;
    // Writes the memo of the current record and posts it.
    void PutRtf(const QByteArray& stored);

    data::TDataSet mSet;
    std::vector<TLetterRow> mRows;
    bool mReadOnly = false;
};

} // namespace qm::letters
