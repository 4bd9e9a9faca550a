#pragma once

// The record date of a 1.x address file as the import stores it: empty stays empty; eight
// characters that form a valid year, month and day (YYYYMMDD) are kept; a date in the short date
// format (month/day/year, one or two digits for month and day, four or two for the year) is
// written as YYYYMMDD; anything else gives an empty date.

#include <string>
#include <string_view>

namespace qm::transfer {

class TOlderDate {
public:
    static std::string Convert(std::string_view value);
};

} // namespace qm::transfer
