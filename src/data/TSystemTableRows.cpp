#include "data/TSystemTableRows.h"

#include "data/TDataSet.h"
#include "xbase/TCursor.h"
#include "xbase/TEngineSettings.h"
#include "xbase/TTable.h"

#include <cstdint>
#include <string_view>

namespace qm::data {

void TSystemTableRows::ForEachListed(TDataSet& set, const char* orderTag,
                                     const std::function<void()>& row)
{
    if (!set.Active())
        return;
    xbase::TSettingScope hideMarked(&xbase::TEngineSettings::deleted, true);
    xbase::TCursor& cursor = set.Cursor();
    if (cursor.Order() == 0) {
        if (orderTag && *orderTag) {
            if (set.Table().TagOrder(orderTag) > 0)
                cursor.SelectTag(orderTag);
        } else if (set.Table().TagCount() > 0) {
            cursor.SetOrder(1);
        }
    }
    for (set.First(); !set.Eof() && !set.IsEmpty(); set.Next())
        row();
}

QStringList TSystemTableRows::HeldValues(const TDataSet& set, const char* column)
{
    QStringList values;
    if (!set.Active())
        return values;
    xbase::TTable& table = set.Table();
    const int field = table.FieldIndex(column);
    if (field < 0)
        return values;
    const std::uint32_t count = table.RecordCount();
    for (std::uint32_t recNo = 1; recNo <= count; ++recNo) {
        table.Go(recNo); // the table's own position: the data set goes back to its record
        const std::string_view value = table.GetTrimmed(field);
        values << QString::fromLatin1(value.data(), qsizetype(value.size())).trimmed().toUpper();
    }
    return values;
}

QString TSystemTableRows::RightTrimmed(QString text)
{
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return text;
}

} // namespace qm::data
