#include "data/TAddressFileIndexTags.h"

#include "data/TAddressFileLayout.h"

namespace qm::data {

std::vector<xbase::TTable::TTagSpec> AddressFileIndexTags()
{
    std::vector<xbase::TTable::TTagSpec> tags;
    for (const TAddressTag& tag : TAddressFileLayout::Tags())
        tags.push_back({tag.name, tag.expression});
    return tags;
}

} // namespace qm::data
