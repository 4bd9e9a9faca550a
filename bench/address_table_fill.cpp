#include "address_table_fill.h"

#include "xbase/TTable.h"
#include "xbase_address_generator.h"

namespace qm::bench {

void FillAddressTable(xbase::TTable& table, long count)
{
    TAddressGenerator generator;
    TAddressRecord record;
    for (long i = 0; i < count; ++i) {
        generator.Next(record);
        table.AppendBlank();
        for (int f = 0; f < kAddressFieldCount; ++f) {
            if (record.values[size_t(f)].empty())
                continue;
            if (f == kMemoField)
                table.PutMemo(f, record.values[size_t(f)]);
            else
                table.PutString(f, record.values[size_t(f)]);
        }
        table.Post();
        if (record.deleted)
            table.SetDeleted(true);
    }
    table.Commit();
}

} // namespace qm::bench
