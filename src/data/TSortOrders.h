#pragma once

// The fourteen sort orders of the Sort menu: the caption without its accelerator mark,
// upper-cased, names the tag.

#include <QString>
#include <vector>

namespace qm::data {

struct TSortOrder {
    const char* caption; // with its accelerator mark, "&Last Name"
    const char* tag;     // "LNAME"
};

class TSortOrders {
public:
    static const std::vector<TSortOrder>& All();
    // "&Last Name" -> "Last Name".
    static QString CaptionText(const char* caption);
    // The order whose caption text matches (any case), or nullptr.
    static const TSortOrder* ByCaptionText(const QString& text);
    static const TSortOrder* ByTag(const QString& tag);
    // The status line: "Sorted by " + caption text.
    static QString StatusText(const TSortOrder& order);
};

} // namespace qm::data
