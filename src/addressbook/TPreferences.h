#pragma once

// What new records receive, kept in the settings file section "Adding": the date stamp, the
// city/state fill-in, the duplicate-name check, the default country, the carry-forward switches
// and the fields the Tab key skips while adding.

#include <QString>
#include <array>

namespace qm::data {
class TSettingsFile;
}

namespace qm::addressbook {

// The skip switches, in settings-key order.
enum class TSkip {
    Organization,
    Phone1,
    Email,
    State,
    Zip,
    Country,
    Address2,
    LastName,
    MiddleInitial,
    FirstName,
    Title,
    Phone2,
    Fax,
    Codes,
    Prefix,
    Comments1,
    Date,
    Comments2,
    Count
};

struct TPreferences {
    static constexpr int kSkipCount = int(TSkip::Count);

    bool plugDate = false;
    bool plugCityState = false;
    bool autoDupCheck = false;
    QString defaultCountry;
    bool carryOrg = false;
    bool carrySA1 = false;
    bool carrySA2 = false;
    bool carryCity = false;
    bool carryState = false;
    bool carryZip = false;
    bool carryCountry = false;
    std::array<bool, kSkipCount> skip{};

    bool Skips(TSkip which) const { return skip[size_t(which)]; }

    // The settings key of a skip switch ("SkipOrganization", ..., "Skipcomments2").
    static const char* SkipKey(TSkip which);

    static TPreferences Load(const data::TSettingsFile& settings);
    // Writes every key. Throws TSettingsWriteError.
    void Save(data::TSettingsFile& settings) const;

    friend bool operator==(const TPreferences&, const TPreferences&) = default;
};

} // namespace qm::addressbook
