#include "data/TAddressFileLayout.h"

namespace qm::data {

using xbase::TFieldDef;
using xbase::TFieldType;

std::vector<TFieldDef> TAddressFileLayout::FieldDefs(const TNewFileFieldLengths& lengths)
{
    const auto c = [&](const char* name) {
        return TFieldDef{name, TFieldType::Character, *lengths.Width(QString::fromLatin1(name)), 0};
    };
    return {
        c("LNAME"),
        c("FNAME"),
        TFieldDef{"MIDDLE", TFieldType::Character, 1, 0},
        c("PREFIX"),
        c("TITLE"),
        c("ORG"),
        c("STREET"),
        c("STREET2"),
        c("CITY"),
        c("STATE"),
        c("ZIP"),
        c("COUNTRY"),
        TFieldDef{"DATE", TFieldType::Character, 15, 0},
        c("PHONE"),
        c("PHONE2"),
        c("FAX"),
        c("EMAIL"),
        c("CODES"),
        c("USER1"),
        c("USER2"),
        TFieldDef{"ISDEL", TFieldType::Logical, 1, 0},
        TFieldDef{"TAG", TFieldType::Character, 8, 0},
        TFieldDef{"MEMO", TFieldType::Memo, 10, 0},
    };
}

const std::vector<TAddressTag>& TAddressFileLayout::Tags()
{
    static const std::vector<TAddressTag> tags = {
        {"NAME", "UPPER(LNAME-FNAME)"},
        {"LNAME", "UPPER(LNAME)+UPPER(FNAME)"},
        {"FNAME", "UPPER(FNAME)"},
        {"TITLE", "UPPER(TITLE)"},
        {"ORG", "UPPER(ORG)"},
        {"STREET", "UPPER(STREET)"},
        {"STREET2", "UPPER(STREET2)"},
        {"CITY", "UPPER(CITY+STATE)"},
        {"STATE", "UPPER(STATE)"},
        {"ZIP", "UPPER(ZIP)"},
        {"COUNTRY", "UPPER(COUNTRY)"},
        {"PHONE", "UPPER(PHONE)"},
        {"PHONE2", "UPPER(PHONE2)"},
        {"EMAIL", "UPPER(EMAIL)"},
        {"FAX", "UPPER(FAX)"},
        {"USER1", "UPPER(USER1)"},
        {"USER2", "UPPER(USER2)"},
        {"DATE", "UPPER(DATE)"},
        {"TAG", "UPPER(TAG)"},
        {"CODES", "UPPER(CODES)"},
        {"PREFIX", "UPPER(PREFIX)"},
        {"MIDDLE", "UPPER(MIDDLE)"},
        {"DELETED", "DELETED()"},
        {"STATEZIP", "UPPER(STATE-ZIP)"},
        {"ISDEL", "ISDEL"},
        {"NOTISDEL", "!ISDEL"},
    };
    return tags;
}

const std::vector<const char*>& TAddressFileLayout::TagCheckOrder()
{
    static const std::vector<const char*> order = {
        "NAME",    "LNAME",    "FNAME", "TITLE",    "ORG",    "STREET", "STREET2",
        "CITY",    "STATE",    "ZIP",   "COUNTRY",  "PHONE",  "PHONE2", "EMAIL",
        "FAX",     "DATE",     "CODES", "PREFIX",   "MIDDLE", "USER1",  "USER2",
        "DELETED", "STATEZIP", "ISDEL", "NOTISDEL", "TAG"};
    return order;
}

const std::vector<TFieldObject>& TAddressFileLayout::FieldObjects()
{
    using K = TFieldObjectKind;
    static const std::vector<TFieldObject> objects = {
        {"Tagged", "Tagged", true, K::Calculated, 1},
        {"FullName", "Full Name", false, K::Calculated, 35},
        {"FullNameWithPrefix", "Full Name & Prefix", false, K::Calculated, 35},
        {"CityStateZip", "City, State & Zip", false, K::Calculated, 35},
        {"LNAME", "Last Name", true, K::Stored, 0},
        {"FNAME", "First Name", true, K::Stored, 0},
        {"MIDDLE", "Middle", true, K::Stored, 0},
        {"PREFIX", "Prefix", true, K::Stored, 0},
        {"TITLE", "Title", true, K::Stored, 0},
        {"ORG", "Organization", true, K::Stored, 0},
        {"STREET", "Address 1", true, K::Stored, 0},
        {"STREET2", "Address 2", true, K::Stored, 0},
        {"CITY", "City", true, K::Stored, 0},
        {"STATE", "State", true, K::Stored, 0},
        {"ZIP", "Zip/Postal Code", true, K::Stored, 0},
        {"COUNTRY", "Country", true, K::Stored, 0},
        {"PHONE", "Phone 1", true, K::Stored, 0},
        {"PHONE2", "Phone 2", true, K::Stored, 0},
        {"FAX", "Fax", true, K::Stored, 0},
        {"EMAIL", "Email", true, K::Stored, 0},
        {"CODES", "Codes", true, K::Stored, 0},
        {"USER1", "Comment 1", true, K::Stored, 0},
        {"USER2", "Comment 2", true, K::Stored, 0},
        {"MEMO", "MEMO", false, K::Stored, 0},
        {"ISDEL", "Deleted", false, K::Stored, 0},
        {"DATE", "Actual Date", false, K::Stored, 0},
        {"DisplayDate", "Date", true, K::Calculated, 12},
        {"TAG", "TAG", false, K::Stored, 0},
    };
    return objects;
}

const TFieldObject* TAddressFileLayout::FindFieldObject(const QString& name)
{
    for (const TFieldObject& object : FieldObjects())
        if (name.compare(QLatin1String(object.name), Qt::CaseInsensitive) == 0)
            return &object;
    return nullptr;
}

} // namespace qm::data
