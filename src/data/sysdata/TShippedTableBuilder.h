#pragma once

// Writes one shipped table (TShippedTableSchema) from its CSV source (TSysDataCsv).
//
// The CSV header must name every field of the schema; further columns (such as the SOURCE
// column that says where a row came from) are not stored. Every cell is checked before anything
// is written, and a cell that would not be stored exactly stops the build with a TSysDataError
// naming the file, line and column:
// - character fields: text that Windows-1252 cannot hold, control characters, text wider than
//   the field (nothing is cut);
// - numeric fields: anything but a plain decimal number ("-"? digits ("." digits)?), more
//   decimals than the field has (nothing is rounded), a number wider than the field, an empty
//   cell;
// - logical fields: anything but T, F, Y, N (either case).
//
// The table is written into a fresh work folder inside outDir, its tag built over all rows, and
// only then moved into place: the old DBF is removed first and the new index moved in before the
// new DBF, so an interrupted or failed build never leaves a complete-looking table that is half
// written or paired with another table's index. The work folder is removed on failure.

#include "data/sysdata/TShippedTableSchema.h"

#include <cstdint>
#include <string>

namespace qm::data::sysdata {

class TShippedTableBuilder {
public:
    // Writes outDir/<name>.DBF and outDir/<name>.CDX from csvPath, replacing earlier ones. outDir
    // must exist. Returns the number of rows written. Throws TSysDataError.
    static uint32_t Build(const TShippedTableSchema& schema, const std::string& csvPath,
                          const std::string& outDir);
};

} // namespace qm::data::sysdata
