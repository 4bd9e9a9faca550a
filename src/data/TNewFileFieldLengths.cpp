#include "data/TNewFileFieldLengths.h"

#include "data/TSettingsFile.h"

namespace qm::data {
namespace {

constexpr std::array<int, TNewFileFieldLengths::kCount> kDefaults = {
    30, 30, 12, 30, 30, 40, 40, 30, 20, 10, 30, 30, 30, 40, 40, 30, 40, 40};
constexpr int kFaxIndex = 13;

QString KeyOf(const char* field)
{
    return QStringLiteral("Field") + QString::fromLatin1(field);
}

} // namespace

const std::array<const char*, TNewFileFieldLengths::kCount>& TNewFileFieldLengths::FieldNames()
{
    static constexpr std::array<const char*, kCount> names = {
        "LNAME", "FNAME",   "PREFIX", "TITLE",  "ORG", "STREET", "STREET2", "CITY",  "STATE",
        "ZIP",   "COUNTRY", "PHONE",  "PHONE2", "FAX", "EMAIL",  "CODES",   "USER1", "USER2"};
    return names;
}

TNewFileFieldLengths::TNewFileFieldLengths() : mWidths(kDefaults) {}

TNewFileFieldLengths TNewFileFieldLengths::Load(const TSettingsFile& settings)
{
    TNewFileFieldLengths lengths;
    const QString section = QString::fromLatin1(kSection);
    for (int i = 0; i < kCount; ++i) {
        const int value =
            settings.ReadInteger(section, KeyOf(FieldNames()[size_t(i)]), kDefaults[size_t(i)]);
        lengths.mWidths[size_t(i)] =
            (value < kLoadMinimum || value > kMaximum) ? kDefaults[size_t(i)] : value;
    }
    return lengths;
}

void TNewFileFieldLengths::Save(TSettingsFile& settings) const
{
    const QString section = QString::fromLatin1(kSection);
    for (int i = 0; i < kCount; ++i)
        settings.WriteInteger(section, KeyOf(FieldNames()[size_t(i)]), mWidths[size_t(i)]);
}

TNewFileFieldLengths TNewFileFieldLengths::DialogDefaults()
{
    TNewFileFieldLengths lengths;
    lengths.mWidths[kFaxIndex] = 30;
    return lengths;
}

std::optional<int> TNewFileFieldLengths::Width(const QString& fieldName) const
{
    for (int i = 0; i < kCount; ++i)
        if (fieldName.compare(QLatin1String(FieldNames()[size_t(i)]), Qt::CaseInsensitive) == 0)
            return mWidths[size_t(i)];
    return std::nullopt;
}

std::optional<int> TNewFileFieldLengths::ParseDialogValue(const QString& text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < kDialogMinimum || value > kMaximum)
        return std::nullopt;
    return value;
}

} // namespace qm::data
