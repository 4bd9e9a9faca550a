#include "labels/TCursorLabelRecords.h"

#include "data/TWin1252.h"
#include "xbase/TCursor.h"
#include "xbase/TEngineSettings.h"

namespace qm::labels {

TCursorLabelRecords::TCursorLabelRecords(xbase::TCursor& cursor, int zipField)
    : mCursor(cursor), mZipField(zipField)
{
}

bool TCursorLabelRecords::AtEnd() const
{
    return mCursor.Eof();
}

uint32_t TCursorLabelRecords::RecNo() const
{
    return mCursor.RecNo();
}

QString TCursorLabelRecords::Zip() const
{
    if (mZipField < 0 || mCursor.Eof())
        return {};
    const std::string_view zip = mCursor.Table().GetTrimmed(mZipField);
    return data::TWin1252::Decode(zip.data(), static_cast<qsizetype>(zip.size()));
}

void TCursorLabelRecords::First()
{
    mCursor.GoTop();
}

void TCursorLabelRecords::Next()
{
    mCursor.Skip(1);
}

void TCursorLabelRecords::GoPastEnd()
{
    mCursor.GoBottom();
    if (!mCursor.Eof())
        mCursor.Skip(1);
}

bool TCursorLabelRecords::SeekZip(const QString& key)
{
    // A key the code page cannot hold is in no ZIP field.
    const std::optional<QByteArray> encoded = data::TWin1252::Encode(key);
    if (!encoded) {
        GoPastEnd();
        return false;
    }
    xbase::TSettingScope inexact(&xbase::TEngineSettings::exact, false);
    return mCursor.Seek(std::string_view(encoded->constData(), encoded->size()));
}

} // namespace qm::labels
