#pragma once

// The ZIP code tally: a count per key, the key being the first five characters of ZIP (without
// trailing blanks). Digit keys (five characters, a digit first, between "00000" and
// "99999-999") sort within their first digit; any other non-empty key goes to one list of other
// keys; an empty ZIP counts under "BLANK". Keys sort in byte order of the stored text.
//
// Report lines: the key padded to 10 characters, then the count in the fixed format "#,##0"
// ("1,234", whatever the user's locale: the report prints in Windows-1252 and reads the same
// everywhere); digit keys 0..9, two empty lines, the other keys, and "BLANK" last when any ZIP
// was empty.

#include <QStringList>
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace qm::reports {

class TZipTally {
public:
    enum class TGroup { Digit, Other, Blank };

    TZipTally();

    // zip: the field's stored bytes (Windows-1252), trailing blanks allowed.
    void Add(std::string_view zip);
    void Clear();

    static std::string Key(std::string_view zip);
    static TGroup Group(std::string_view key);
    // "#,##0": ASCII digits with a comma between groups of three ("1,234,567").
    static QString FormatCount(std::uint64_t count);

    std::uint64_t Records() const { return mRecords; }
    std::size_t Keys() const;
    std::uint64_t Count(std::string_view key) const;
    QStringList Lines() const;

private:
    // Keys of five ASCII digits are counted in a flat table (the common case, and fast).
    std::vector<std::uint32_t> mFiveDigits;
    std::map<std::string, std::uint64_t> mDigitKeys; // digit keys that are not five digits
    std::map<std::string, std::uint64_t> mOtherKeys;
    std::uint64_t mBlank = 0;
    std::uint64_t mRecords = 0;
};

} // namespace qm::reports
