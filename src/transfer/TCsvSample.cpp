#include "transfer/TCsvSample.h"

#include "transfer/TCsvRecordReader.h"
#include "transfer/TImportText.h"
#include "transfer/TTextFileSource.h"
#include "transfer/TTransferError.h"

#include <algorithm>

namespace qm::transfer {

TCsvSample TCsvSample::FromFile(const QString& path)
{
    try {
        TTextFileSource source(path);
        return FromSource(source, source.Utf8Values());
    } catch (const TTransferError& error) {
        TCsvSample sample;
        sample.mError = error.Message();
        return sample;
    }
}

TCsvSample TCsvSample::FromSource(TByteSource& source, bool utf8)
{
    TCsvSample sample;
    const TImportText text(utf8);
    TCsvRecordReader reader(source);
    // The field count comes from the records that stand on one line each when there are any: a
    // quote left open runs on over the following lines and must not set the count the checking
    // pass holds such records against.
    int oneLineCount = -1;
    try {
        while (int(sample.mRows.size()) < kMaxRecords && reader.Next()) {
            QStringList row;
            for (int i = 0; i < reader.FieldCount(); ++i) {
                const QString value = text.Display(reader.Field(i));
                if (size_t(i) >= sample.mLongest.size())
                    sample.mLongest.resize(size_t(i) + 1, 0);
                sample.mLongest[size_t(i)] =
                    std::max(sample.mLongest[size_t(i)], int(value.size()));
                row.append(value);
            }
            sample.mFieldCount = std::max(sample.mFieldCount, reader.FieldCount());
            if (reader.QuoteSpanLine() == 0)
                oneLineCount = std::max(oneLineCount, reader.FieldCount());
            sample.mRows.push_back(row);
        }
    } catch (const TCsvFormatError& error) {
        sample.mError =
            QStringLiteral("Line %1: %2.").arg(error.Line()).arg(QString::fromUtf8(error.what()));
        sample.mRows.clear();
        sample.mFieldCount = 0;
        sample.mLongest.clear();
        return sample;
    } catch (const TTransferError& error) {
        sample.mError = error.Message();
        sample.mRows.clear();
        sample.mFieldCount = 0;
        sample.mLongest.clear();
        return sample;
    }
    if (oneLineCount >= 0)
        sample.mFieldCount = oneLineCount;
    sample.mLongest.resize(size_t(sample.mFieldCount), 0);
    for (QStringList& row : sample.mRows)
        while (row.size() < sample.mFieldCount)
            row.append(QString());
    return sample;
}

} // namespace qm::transfer
