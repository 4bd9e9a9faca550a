#include "letters/TLetterStore.h"

#include "data/TRecordText.h"
#include "data/TSystemTableRows.h"
#include "data/TSystemTables.h"

#include <QDir>
#include <stdexcept>

namespace qm::letters {

using data::TSystemTableRows;

TLetterStore::~TLetterStore()
{
    Close();
}

QString TLetterStore::Open(const QString& sysdataDir, bool readOnly)
{
    Close();
    mReadOnly = readOnly;
    // A home without its sysdata folder yet gets one: the table is created in it.
    if (!readOnly)
        QDir().mkpath(sysdataDir);
    const QString failure = data::TSystemTables::OpenOrCreate(
        mSet, data::TSystemTable::Letter, sysdataDir,
        readOnly ? xbase::TOpenMode::ReadOnly : xbase::TOpenMode::Exclusive);
    if (!failure.isEmpty())
        return failure;
    Reload();
    return {};
}

void TLetterStore::Close()
{
    if (mSet.Active())
        mSet.Close();
    mRows.clear();
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

void TLetterStore::PutRtf(const QByteArray& stored)
{
    xbase::TTable& table = mSet.Table();
    const int field = table.FieldIndex("RTF");
    if (field < 0)
        throw std::runtime_error("LETTER.DBF has no RTF field");
    table.PutMemo(field, std::string_view(stored.constData(), size_t(stored.size())));
    table.Post();
}

int TLetterStore::Append(const QString& description, const QByteArray& rtf)
{
    const QByteArray stored = StoredText(rtf);
    mSet.Append();
    try {
        mSet.SetAsString(QStringLiteral("DESCRIPT"), description.left(kDescriptionLength));
        mSet.Post();
    } catch (...) {
        mSet.Cancel();
        throw;
    }
    const uint32_t recNo = mSet.RecNo();
    // The memo goes in through the engine as bytes: the data set's text edge would re-encode it.
    mSet.GoTo(recNo);
    PutRtf(stored);
    mSet.GoTo(recNo);
    Reload();
    return IndexOfRecord(recNo);
}

void TLetterStore::Rewrite(int row, const QString& description, const QByteArray& rtf)
{
    const QByteArray stored = StoredText(rtf);
    GoToRow(row);
    const uint32_t recNo = mSet.RecNo();
    mSet.Edit();
    try {
        mSet.SetAsString(QStringLiteral("DESCRIPT"), description.left(kDescriptionLength));
        mSet.Post();
    } catch (...) {
        mSet.Cancel();
        throw;
    }
    mSet.GoTo(recNo);
    PutRtf(stored);
    mSet.GoTo(recNo);
    Reload();
}

void TLetterStore::Delete(int row)
{
    GoToRow(row);
    mSet.MarkDeleted(true);
    Reload();
}

int TLetterStore::Clone(int row)
{
    const QByteArray bytes = Rtf(row);
    const QString description = CloneDescription(mRows[size_t(row)].description);
    mSet.Append();
    try {
        mSet.SetAsString(QStringLiteral("DESCRIPT"), description);
        mSet.Post();
    } catch (...) {
        mSet.Cancel();
        throw;
    }
    const uint32_t recNo = mSet.RecNo();
    mSet.GoTo(recNo);
    PutRtf(bytes);
    mSet.GoTo(recNo);
    Reload();
    return IndexOfRecord(recNo);
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
