#include "letters/TLetterStore.h"

#include "data/TRecordText.h"
#include "data/TSystemTableRows.h"
#include "data/TSystemTables.h"
#include "data/TWin1252.h"
#include "xbase/TTable.h"

#include <QDir>
#include <QLocale>
#include <optional>
#include <stdexcept>

namespace qm::letters {

using data::TSystemTableRows;

TLetterStore::~TLetterStore()
{
    data::TSystemTables::CloseQuietly(mSet);
}

QString TLetterStore::Open(const QString& sysdataDir, bool readOnly)
{
    Close();
    mReadOnly = readOnly;
    mSysdataDir = sysdataDir;
    // A home without its sysdata folder yet gets one: the table is created in it.
    if (!readOnly)
        QDir().mkpath(sysdataDir);
    const QString failure = data::TSystemTables::OpenOrCreate(
        mSet, data::TSystemTable::Letter, sysdataDir,
        readOnly ? xbase::TOpenMode::ReadOnly : xbase::TOpenMode::Exclusive, &mNotice);
    if (!failure.isEmpty())
        return failure;
    Reload();
    return {};
}

void TLetterStore::Close()
{
    mRows.clear();
    if (mSet.Active())
        mSet.Close();
}

void TLetterStore::Reload()
{
    mRows.clear();
    if (!mSet.Active())
        return;
    TSystemTableRows::ForEachListed(mSet, "DESCRIPT", [this] {
        mRows.push_back({mSet.RecNo(), mSet.AsString(QStringLiteral("DESCRIPT"))});
    });
}

int TLetterStore::Find(const QString& description) const
{
    const QString wanted = description.trimmed();
    for (size_t i = 0; i < mRows.size(); ++i)
        if (mRows[i].description.trimmed() == wanted)
            return int(i);
    for (size_t i = 0; i < mRows.size(); ++i)
        if (mRows[i].description.trimmed().compare(wanted, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

void TLetterStore::GoToRow(int row)
{
    if (row < 0 || row >= int(mRows.size()) || !mSet.Active())
        throw std::out_of_range("letter row");
    mSet.GoTo(mRows[size_t(row)].recNo);
}

int TLetterStore::IndexOfRecord(uint32_t recNo) const
{
    for (size_t i = 0; i < mRows.size(); ++i)
        if (mRows[i].recNo == recNo)
            return int(i);
    return -1;
}

QByteArray TLetterStore::Rtf(int row)
{
    GoToRow(row);
    const int field = mSet.Table().FieldIndex("RTF");
    if (field < 0)
        return {};
    const std::string memo = mSet.Table().GetMemo(field);
    return QByteArray(memo.data(), qsizetype(memo.size()));
}

QByteArray TLetterStore::StoredText(const QByteArray& rtf)
{
    // Latin-1 maps every byte to one character and back, so only the rule's changes (line breaks
    // as CR LF, the blank) touch the bytes.
    QByteArray stored = data::TRecordText::StoredMemo(QString::fromLatin1(rtf)).toLatin1();
    // A text ending with a line break gets its blank on its last line, in front of the break.
    if (stored.endsWith("\r\n "))
        stored = stored.left(stored.size() - 3) + " \r\n";
    return stored;
}

QString TLetterStore::SizeProblem(qsizetype storedBytes)
{
    if (storedBytes <= kMaxStoredBytes)
        return {};
    // Grouped the same way in every locale.
    const QLocale c(QLocale::English, QLocale::UnitedStates);
    return QStringLiteral("The letter's text would be stored as %1 bytes of RTF; a letter holds "
                          "at most %2 bytes (16 MB), or it could not be opened again. Nothing "
                          "was stored.")
        .arg(c.toString(qlonglong(storedBytes)), c.toString(qlonglong(kMaxStoredBytes)));
}

int TLetterStore::WriteRow(uint32_t recNo, const QString& description, const QByteArray& stored)
{
    if (!mSet.Active())
        throw data::TDataSetError(QStringLiteral("LETTER.DBF is not open"));
    if (mReadOnly)
        throw data::TDataSetError(QStringLiteral("LETTER.DBF was opened for reading only"));
    if (const QString problem = SizeProblem(stored.size()); !problem.isEmpty())
        throw data::TDataSetError(problem);
    QChar bad;
    const std::optional<QByteArray> descript =
        data::TWin1252::Encode(description.left(kDescriptionLength), &bad);
    if (!descript)
        throw data::TDataSetError(
            QStringLiteral("The character \"%1\" (U+%2) cannot be stored in LETTER.DBF")
                .arg(bad)
                .arg(QString::number(bad.unicode(), 16)
                         .toUpper()
                         .rightJustified(4, QLatin1Char('0'))));
    xbase::TTable& table = mSet.Table();
    const int rtfField = table.FieldIndex("RTF");
    const int descriptField = table.FieldIndex("DESCRIPT");
    if (rtfField < 0 || descriptField < 0)
        throw data::TDataSetError(QStringLiteral("LETTER.DBF has no DESCRIPT or RTF field"));
    uint32_t written = 0;
    try {
        if (recNo == 0) {
            table.AppendBlank();
        } else {
            table.Go(recNo);
            if (table.RecNo() != recNo)
                throw data::TDataSetError(QStringLiteral("The letter is no longer in LETTER.DBF"));
            data::TSystemTables::MarkIndexOutOfStep(table);
        }
        // The text in fresh memo blocks first: the row that points to it is written last, so a
        // failure leaves the earlier row (and its text) or none.
        table.PutMemo(rtfField, std::string_view(stored.constData(), size_t(stored.size())));
        table.PutString(descriptField,
                        std::string_view(descript->constData(), size_t(descript->size())));
        table.Post();
        written = table.RecNo();
        table.Commit();
    } catch (...) {
        data::TSystemTables::Reopen(mSet, data::TSystemTable::Letter, mSysdataDir,
                                    xbase::TOpenMode::Exclusive, &mNotice);
        Reload();
        throw;
    }
    mSet.GoTo(written);
    Reload();
    return IndexOfRecord(written);
}

int TLetterStore::Append(const QString& description, const QByteArray& rtf)
{
    return WriteRow(0, description, StoredText(rtf));
}

void TLetterStore::Rewrite(int row, const QString& description, const QByteArray& rtf)
{
    const QByteArray stored = StoredText(rtf);
    GoToRow(row);
    WriteRow(mRows[size_t(row)].recNo, description, stored);
}

void TLetterStore::Delete(int row)
{
    GoToRow(row);
    try {
        mSet.MarkDeleted(true);
        mSet.Table().Commit();
    } catch (...) {
        data::TSystemTables::Reopen(mSet, data::TSystemTable::Letter, mSysdataDir,
                                    xbase::TOpenMode::Exclusive, &mNotice);
        Reload();
        throw;
    }
    Reload();
}

int TLetterStore::Clone(int row)
{
    const QByteArray bytes = Rtf(row);
    return WriteRow(0, CloneDescription(mRows[size_t(row)].description), bytes);
}

QString TLetterStore::DeleteQuestion(const QString& description)
{
    return QStringLiteral("Delete \"%1\"?").arg(description);
}

QString TLetterStore::CloneQuestion(const QString& description)
{
    return QStringLiteral("Clone \"%1\"?").arg(description);
}

QString TLetterStore::CloneDescription(const QString& description)
{
    return (QStringLiteral("Clone of ") + description).left(kDescriptionLength);
}

} // namespace qm::letters
