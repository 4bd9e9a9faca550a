#include "reports/TBuiltInLayouts.h"

namespace qm::reports {

const std::array<TBuiltInLayout, TBuiltInLayouts::kCount>& TBuiltInLayouts::All()
{
    static const std::array<TBuiltInLayout, kCount> layouts = {{
        {1,
         "1. Name,Address,City,State,Zip,Phone",
         "LNAME",
         true,
         9,
         {1.75, 2.15, 2.0, 1.5},
         1,
         {{1, 1, "Name"}, {1, 2, "Address"}, {1, 3, "City/St/Zip"}, {1, 4, "Phone"}},
         0.8},
        {2,
         "2. Name,Organization,Phone,Fax",
         "LNAME",
         true,
         9,
         {2.0, 2.5, 1.5, 1.35},
         1,
         {{1, 1, "Name"}, {1, 2, "Organization"}, {1, 3, "Phone"}, {1, 4, "Fax"}},
         0.8},
        // The third entry's trailing blank is part of its text.
        {3,
         "3. Organization,Name,Phone,Fax ",
         "ORG",
         true,
         9,
         {2.5, 2.0, 1.5, 1.35},
         1,
         {{1, 1, "Organization"}, {1, 2, "Name"}, {1, 3, "Phone"}, {1, 4, "Fax"}},
         0.8},
        {4,
         "4. All major fields (takes several lines)",
         "LNAME",
         false,
         8,
         {0.5, 2.25, 3.0, 1.5},
         3,
         {{1, 1, "Name"},
          {1, 3, "Title and Organization"},
          {2, 2, "Street"},
          {2, 3, "City/State/Zip"},
          {2, 4, "Country"},
          {3, 2, "Phone,Fax"},
          {3, 3, "Email"},
          {3, 4, "Date"}},
         0.5},
    }};
    return layouts;
}

const TBuiltInLayout& TBuiltInLayouts::Get(int number)
{
    return All()[size_t(number >= 1 && number <= kCount ? number - 1 : 0)];
}

double TBuiltInLayouts::TabLeft(const TBuiltInLayout& layout, int tab)
{
    double left = kLeftMargin;
    for (int i = 1; i < tab && i <= 4; ++i)
        left += layout.tabWidths[size_t(i - 1)];
    return left;
}

QString TBuiltInLayouts::DefaultTitle(int number)
{
    return QStringLiteral("Report ") + QString::number(number);
}

} // namespace qm::reports
