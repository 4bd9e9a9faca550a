#pragma once

// Texts made from a record: the clipboard copy, the stored-memo rule, the key and question of the
// duplicate-name check.

#include <QString>
#include <functional>

namespace qm::data {

struct TClipboardParts {
    bool names = true;    // "Name, Organization, Title"
    bool address = true;  // "Address"
    bool phones = true;   // "Phone Numbers"
    bool codes = true;    // "Codes"
    bool comments = true; // "Comments 1 && 2"
};

class TRecordText {
public:
    using TValue = std::function<QString(const QString& field)>;

    static constexpr int kMaxClipboardText = 1000;

    // Each non-empty line followed by CR LF; at most 1000 characters.
    static QString ClipboardText(const TValue& value, const TClipboardParts& parts);

    // The memo as it is stored: when the text's length (line breaks counted as CR LF) is a
    // positive multiple of 4, a blank is appended to its last line. Lines are joined with CR LF.
    static QString StoredMemo(const QString& text);

    // The LNAME tag's key for a name: last name padded or cut to lastWidth, then the first name
    // padded or cut to firstWidth, upper-cased.
    static QString DuplicateKey(const QString& last, const QString& first, int lastWidth,
                                int firstWidth);
    static QString DuplicateQuestion(const TValue& found);
};

} // namespace qm::data
