#include "data/TSortOrders.h"

namespace qm::data {

const std::vector<TSortOrder>& TSortOrders::All()
{
    static const std::vector<TSortOrder> orders = {
        {"&Last Name", "LNAME"},  {"&First Name", "FNAME"}, {"&Title", "TITLE"},
        {"&Organization", "ORG"}, {"&Street", "STREET"},    {"&City", "CITY"},
        {"&State", "STATE"},      {"&Zip", "ZIP"},          {"&Country", "COUNTRY"},
        {"&Phone", "PHONE"},      {"&E-mail", "EMAIL"},     {"&Fax", "FAX"},
        {"&Date", "DATE"},        {"&Codes", "CODES"}};
    return orders;
}

QString TSortOrders::CaptionText(const char* caption)
{
    return QString::fromLatin1(caption).remove(QLatin1Char('&'));
}

const TSortOrder* TSortOrders::ByCaptionText(const QString& text)
{
    for (const TSortOrder& order : All())
        if (CaptionText(order.caption).compare(text, Qt::CaseInsensitive) == 0)
            return &order;
    return nullptr;
}

const TSortOrder* TSortOrders::ByTag(const QString& tag)
{
    for (const TSortOrder& order : All())
        if (tag.compare(QLatin1String(order.tag), Qt::CaseInsensitive) == 0)
            return &order;
    return nullptr;
}

QString TSortOrders::StatusText(const TSortOrder& order)
{
    return QStringLiteral("Sorted by ") + CaptionText(order.caption);
}

} // namespace qm::data
