#include "addressbook/TRecordFormLayout.h"

#include <array>
#include <cstring>

namespace qm::addressbook {
namespace {

constexpr std::array<TFormCell, 6> kNameBlock = {{
    {"&Last", "LNAME", 0, 0, 1, 0},
    {"&First", "FNAME", 0, 2, 1, 1},
    {"MI", "MIDDLE", 0, 4, 1, -1},
    {"Prefix", "PREFIX", 0, 6, 1, -1},
    {"T&itle", "TITLE", 1, 0, 3, 2},
    {"Or&g", "ORG", 1, 4, 3, 3},
}};

// Two columns above the comments, so the page is short enough for a 960 x 540 screen: the address
// and the date on the left, the phones, e-mail and codes on the right.
constexpr std::array<TFormCell, 14> kAddressPage = {{
    {"Address 1", "STREET", 0, 0, 3, 4},
    {"Address 2", "STREET2", 1, 0, 3, 5},
    {"City", "CITY", 2, 0, 1, 7},
    {"State or Prov", "STATE", 2, 2, 1, 8},
    {"Zip or Postal", "ZIP", 3, 0, 1, 6},
    {"Country", "COUNTRY", 3, 2, 1, 9},
    {"Date", "DisplayDate", 4, 0, 1, 14},
    {"Phone 1", "PHONE", 0, 4, 1, 10},
    {"Phone 2", "PHONE2", 1, 4, 1, 11},
    {"Fax", "FAX", 2, 4, 1, 12},
    {"E-mail", "EMAIL", 3, 4, 2, 13},
    {"Codes", "CODES", 4, 4, 2, 15},
    {"Comment 1", "USER1", 5, 0, 6, 16},
    {"Comment 2", "USER2", 6, 0, 6, 17},
}};
} // namespace

std::span<const TFormCell> TRecordFormLayout::NameBlock()
{
    return kNameBlock;
}

std::span<const TFormCell> TRecordFormLayout::AddressPage()
{
    return kAddressPage;
}

const TFormCell* TRecordFormLayout::ByField(const char* field)
{
    for (const auto& block : {NameBlock(), AddressPage()})
        for (const TFormCell& cell : block)
            if (std::strcmp(cell.field, field) == 0)
                return &cell;
    return nullptr;
}

} // namespace qm::addressbook
