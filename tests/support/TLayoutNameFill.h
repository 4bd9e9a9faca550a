#pragma once

// Takes every layout file name of a system table (LABEL, ENVELOPE or REPORT) without 99,999
// files: rows marked deleted still hold their names.

#include <QString>

namespace qm::test {

// Appends to the closed table at dbfPath one deleted row naming BINnnnnn.<extension> for every
// number from 1 to 99999 except keep (0: none). The caller removes the table's index first, so
// that it is built again when the table is next opened.
void HoldEveryLayoutName(const QString& dbfPath, char extension, int keep = 0);

} // namespace qm::test
