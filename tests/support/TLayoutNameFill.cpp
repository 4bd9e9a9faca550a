#include "TLayoutNameFill.h"

#include "xbase/TTable.h"

namespace qm::test {

void HoldEveryLayoutName(const QString& dbfPath, char extension, int keep)
{
    auto table = xbase::TTable::Open(dbfPath.toStdString());
    const int binary = table->FieldIndex("BINARY");
    for (int n = 1; n <= 99999; ++n) {
        if (n == keep)
            continue;
        table->AppendBlank();
        table->PutString(binary, QStringLiteral("BIN%1.%2")
                                     .arg(n, 5, 10, QLatin1Char('0'))
                                     .arg(QLatin1Char(extension))
                                     .toStdString());
        table->SetDeleted(true);
    }
    table->Close();
}

} // namespace qm::test
