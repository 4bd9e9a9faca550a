// Feeds arbitrary bytes to the label template file reader and converts what it reads, as
// "Import Label Sheets..." does: nothing may crash, hang or run past the reader's bounds, and
// every row made must be one the template table can hold.

#include "labels/TTemplateConverter.h"
#include "labels/TTemplateFile.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

using qm::labels::TTemplateConverter;
using qm::labels::TTemplateFile;
using qm::labels::TTemplateRow;

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

void Check(const TTemplateRow& row)
{
    Require(!row.description.isEmpty() && row.description.size() <= 60);
    Require(!row.maker.isEmpty() && row.maker.size() <= 10);
    Require(row.across >= 1 && row.across <= 99 && row.down >= 1 && row.down <= 99);
    for (const auto& length :
         {row.labelHeight, row.labelWidth, row.topMargin, row.leftMargin, row.horizontalPitch,
          row.verticalPitch, row.sheetWidth, row.sheetDepth, row.midExtraX, row.midExtraY}) {
        const int64_t t = length.RoundedThousandths();
        Require(t >= 0 && t < 100000);
        Require(length.ThreeDecimals().size() <= 6);
    }
    Require(row.labelHeight.RoundedThousandths() >= 300);
    Require(row.labelWidth.RoundedThousandths() >= 500);
    (void)row.Geometry();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    // Small bounds, so the fuzzer reaches them with small inputs.
    TTemplateFile::TLimits limits;
    limits.maxBytes = 64 * 1024;
    limits.maxDepth = 8;
    limits.maxElements = 2000;
    limits.maxAttributeLength = 256;
    const TTemplateFile file = TTemplateFile::Read(bytes, limits);
    Require(file.Problem().isEmpty() || file.Templates().empty());
    const TTemplateConverter::TResult result = TTemplateConverter::Convert(file, "fuzz.xml");
    Require(result.rows.size() + result.leftOut.size() == file.Templates().size());
    for (const TTemplateRow& row : result.rows)
        Check(row);
    return 0;
}
