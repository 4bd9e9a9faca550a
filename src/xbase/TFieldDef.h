#pragma once

// A field as the caller asks for it when creating a table.

#include "xbase/TRecordLayout.h"

#include <string>
#include <vector>

namespace qm::xbase {

struct TFieldDef {
    std::string name; // 1..10 characters: letters, digits, '_', starting with a letter
    TFieldType type = TFieldType::Character; // Character, Numeric, Float, Logical, Date or Memo
    int length = 0;   // C 1..254, N/F 1..20; ignored for L (1), D (8), M (10)
    int decimals = 0; // N/F only: 0..15 and below length - 1 when not 0
};

// Checks the defs and turns them into the record layout (names upper-cased, offsets from 1).
// Throws TXbaseError(Usage) naming the first bad field.
TFieldList MakeFieldList(const std::vector<TFieldDef>& defs);

} // namespace qm::xbase
