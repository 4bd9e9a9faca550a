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

constexpr std::array<TFormCell, 14> kAddressPage = {{
    {"Address 1", "STREET", 0, 0, 3, 4},
    {"Address 2", "STREET2", 1, 0, 3, 5},
    {"City", "CITY", 2, 0, 1, 7},
    {"State or Prov", "STATE", 2, 2, 1, 8},
    {"Zip or Postal", "ZIP", 3, 0, 1, 6},
    {"Country", "COUNTRY", 3, 2, 1, 9},
    {"Date", "DisplayDate", 4, 0, 1, 14},
    {"Phone 1", "PHONE", 5, 0, 1, 10},
    {"Phone 2", "PHONE2", 6, 0, 1, 11},
    {"Fax", "FAX", 7, 0, 1, 12},
    {"E-mail", "EMAIL", 8, 0, 3, 13},
    {"Codes", "CODES", 9, 0, 3, 15},
    {"Comment 1", "USER1", 10, 0, 3, 16},
    {"Comment 2", "USER2", 11, 0, 3, 17},
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
