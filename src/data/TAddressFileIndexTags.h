#pragma once

// The address file's 26 index tags as the table engine builds them: each tag's name and key
// expression, in the order of TAddressFileLayout::Tags().

#include "xbase/TTable.h"

#include <vector>

namespace qm::data {

std::vector<xbase::TTable::TTagSpec> AddressFileIndexTags();

} // namespace qm::data
