#include "addressbook/TBrowseColumnWidths.h"

#include <algorithm>

namespace qm::addressbook {

int TBrowseColumnWidths::FitWidth(int fieldCharacters, int charWidth, int cellPadding,
                                  int headingWidth)
{
    const int characters = std::clamp(fieldCharacters, kMinCharacters, kMaxCharacters);
    return std::max(characters * charWidth + cellPadding, headingWidth);
}

std::optional<int> TBrowseColumnWidths::Chosen(const QString& field) const
{
    const auto it = mChosen.find(field);
    if (it == mChosen.end())
        return std::nullopt;
    return it->second;
}

void TBrowseColumnWidths::Choose(const QString& field, int width)
{
    if (width > 0)
        mChosen[field] = width;
}

} // namespace qm::addressbook
