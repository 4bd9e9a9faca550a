#include "transfer/TCsvImportSource.h"

#include "transfer/TCsvRecordReader.h"
#include "transfer/TTextFileSource.h"
#include "transfer/TTransferError.h"
#include "xbase/TTable.h"

namespace qm::transfer {

namespace {

QString Counted(int64_t n, const char* one, const char* many)
{
    return QString::number(n) + QLatin1Char(' ') + QString::fromLatin1(n == 1 ? one : many);
}

} // namespace

TCsvImportSource::TCsvImportSource(const QString& path, const TFieldMatch& match,
                                   const xbase::TTable& target, int fieldCount)
    : mText(true)
{
    auto file = std::make_unique<TTextFileSource>(path);
    mFile = file.get();
    mText = TImportText(file->Utf8Values());
    mBytes = std::move(file);
    mFieldCount = fieldCount;
    Map(match, target, fieldCount);
    Rewind();
}

TCsvImportSource::TCsvImportSource(std::unique_ptr<TByteSource> bytes, bool utf8,
                                   const TFieldMatch& match, const xbase::TTable& target,
                                   int fieldCount)
    : mBytes(std::move(bytes)), mText(utf8), mFieldCount(fieldCount)
{
    Map(match, target, fieldCount);
    mReader = std::make_unique<TCsvRecordReader>(*mBytes);
}

TCsvImportSource::~TCsvImportSource() = default;

void TCsvImportSource::Map(const TFieldMatch& match, const xbase::TTable& target, int fieldCount)
{
    for (int source = 0; source < fieldCount && source < int(match.Sources().size()); ++source) {
        const int row = match.RowOf(source);
        if (row < 0)
            continue;
        const int field = target.FieldIndex(match.Targets()[size_t(row)].field.toStdString());
        if (field >= 0)
            mMap.emplace_back(source, field);
    }
}

void TCsvImportSource::Rewind()
{
    if (mFile)
        mFile->Rewind();
    else if (auto* memory = dynamic_cast<TMemoryByteSource*>(mBytes.get()))
        memory->Rewind();
    mReader = std::make_unique<TCsvRecordReader>(*mBytes);
    mRecords = 0;
    mHeaderPending = mHeader;
}

bool TCsvImportSource::Read()
{
    try {
        if (mHeaderPending) {
            mHeaderPending = false;
            if (!mReader->Next())
                return false;
        }
        return mReader->Next();
    } catch (const TCsvFormatError& error) {
        throw TTransferError(
            QStringLiteral("Line %1: %2.").arg(error.Line()).arg(QString::fromUtf8(error.what())));
    }
}

int64_t TCsvImportSource::Check(const std::function<bool()>& tick)
{
    int64_t records = 0;
    char32_t bad = 0;
    while (Read()) {
        ++records;
        // A quote that is not closed on its line runs on into the next lines and swallows them;
        // a record that does so and then has another field count than the sample is refused.
        if (mReader->QuoteSpanLine() > 0 && mReader->SourceFieldCount() != mFieldCount)
            throw TTransferError(
                QStringLiteral("Line %1: a quoted value opened on this line runs on to line %2, "
                               "and the record it starts then has %3 instead of %4. A closing "
                               "quote is probably missing.")
                    .arg(mReader->QuoteSpanLine())
                    .arg(mReader->RecordEndLine())
                    .arg(Counted(mReader->SourceFieldCount(), "field", "fields"))
                    .arg(mFieldCount));
        for (const auto& [source, field] : mMap) {
            if (source >= mReader->FieldCount())
                continue;
            if (!mText.ToWin1252(mReader->Field(source), mScratch, &bad))
                throw TTransferError(QStringLiteral("The character ") +
                                     TImportText::CharacterName(bad) + QStringLiteral(" on line ") +
                                     QString::number(mReader->RecordLine()) +
                                     QStringLiteral(", field ") + QString::number(source + 1) +
                                     QStringLiteral(", cannot be stored in the address file, which "
                                                    "holds Windows-1252 text."));
        }
        if (tick && tick())
            return -1;
    }
    return records;
}

QString TCsvImportSource::ReadTally() const
{
    return Counted(mReader->LinesRead(), "line", "lines") + QStringLiteral(" read formed ") +
           Counted(mRecords, "record", "records") +
           (mHeader ? QStringLiteral(" after the line of column names.") : QStringLiteral("."));
}

bool TCsvImportSource::Next(TImportRecord& record)
{
    record.Clear();
    if (!Read())
        return false;
    ++mRecords;
    char32_t bad = 0;
    for (const auto& [source, field] : mMap) {
        if (source >= mReader->FieldCount() || mReader->Field(source).empty())
            continue;
        std::string& text = record.Add(field);
        if (!mText.ToWin1252(mReader->Field(source), text, &bad))
            throw TTransferError(QStringLiteral("The character ") +
                                 TImportText::CharacterName(bad) + QStringLiteral(" on line ") +
                                 QString::number(mReader->RecordLine()) +
                                 QStringLiteral(" cannot be stored."));
    }
    return true;
}

} // namespace qm::transfer
