#include "maintenance/TMaintenanceFields.h"

namespace qm::maintenance {
namespace {

std::vector<TFieldChoice> Make(std::initializer_list<std::pair<const char*, const char*>> items)
{
    std::vector<TFieldChoice> list;
    for (const auto& [label, field] : items)
        list.push_back({QString::fromLatin1(label), QString::fromLatin1(field)});
    return list;
}

} // namespace

const std::vector<TFieldChoice>& TMaintenanceFields::ReplaceFields()
{
    static const std::vector<TFieldChoice> list = Make({
        {"Last Name", "LNAME"},
        {"First Name", "FNAME"},
        {"Middle Initial", "MIDDLE"},
        {"Title", "TITLE"},
        {"Organization", "ORG"},
        {"Address 1", "STREET"},
        {"Address 2", "STREET2"},
        {"City", "CITY"},
        {"State", "STATE"},
        {"Zip", "ZIP"},
        {"Country", "COUNTRY"},
        {"Phone 1", "PHONE"},
        {"Phone 2", "PHONE2"},
        {"Email", "EMAIL"},
        {"Fax", "FAX"},
        {"Codes", "CODES"},
        {"Comment 1", "USER1"},
        {"Comment 2", "USER2"},
    });
    return list;
}

const std::vector<TFieldChoice>& TMaintenanceFields::CaseFields()
{
    static const std::vector<TFieldChoice> list = Make({
        {"Last", "LNAME"},
        {"First", "FNAME"},
        {"Middle", "MIDDLE"},
        {"Title", "TITLE"},
        {"Organization", "ORG"},
        {"Address 1", "STREET"},
        {"Address 2", "STREET2"},
        {"City", "CITY"},
        {"State/Province", "STATE"},
        {"Zip/Postal Code", "ZIP"},
        {"Country", "COUNTRY"},
        {"Prefix", "PREFIX"},
        {"Comment 1", "USER1"},
        {"Comment 2", "USER2"},
        {"Codes", "CODES"},
    });
    return list;
}

QString TMaintenanceFields::Resolve(const std::vector<TFieldChoice>& list,
                                    const QString& nameOrLabel)
{
    QString wanted = nameOrLabel.trimmed();
    wanted.remove(QLatin1Char('&'));
    for (const TFieldChoice& choice : list)
        if (choice.field.compare(wanted, Qt::CaseInsensitive) == 0 ||
            choice.label.compare(wanted, Qt::CaseInsensitive) == 0)
            return choice.field;
    return {};
}

} // namespace qm::maintenance
