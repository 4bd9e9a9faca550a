#include "addressbook/TPreferences.h"

#include "data/TSettingsFile.h"

namespace qm::addressbook {
namespace {

const QString kSection = QStringLiteral("Adding");

constexpr std::array<const char*, TPreferences::kSkipCount> kSkipKeys = {
    "SkipOrganization", "SkipPhone1",   "SkipEmail",    "SkipState",         "SkipZip",
    "SkipCountry",      "SkipAddress2", "SkipLastName", "SkipMiddleInitial", "SkipfirstName",
    "Skiptitle",        "SkipPhone2",   "SkipFax",      "SkipCodes",         "SkipPrefix",
    "SkipComments1",    "SkipDate",     "Skipcomments2"};

struct TFlag {
    const char* key;
    bool TPreferences::*member;
};
constexpr std::array<TFlag, 10> kFlags = {{
    {"PlugDate", &TPreferences::plugDate},
    {"PlugCityState", &TPreferences::plugCityState},
    {"AutoDupCheck", &TPreferences::autoDupCheck},
    {"CarryOrg", &TPreferences::carryOrg},
    {"CarrySA1", &TPreferences::carrySA1},
    {"CarrySA2", &TPreferences::carrySA2},
    {"CarryCity", &TPreferences::carryCity},
    {"CarryState", &TPreferences::carryState},
    {"CarryZip", &TPreferences::carryZip},
    {"CarryCountry", &TPreferences::carryCountry},
}};

} // namespace

const char* TPreferences::SkipKey(TSkip which)
{
    return kSkipKeys[size_t(which)];
}

TPreferences TPreferences::Load(const data::TSettingsFile& settings)
{
    TPreferences p;
    for (const TFlag& flag : kFlags)
        p.*flag.member = settings.ReadBool(kSection, QString::fromLatin1(flag.key), false);
    p.defaultCountry = settings.ReadString(kSection, QStringLiteral("DefaultCountry"));
    for (size_t i = 0; i < kSkipKeys.size(); ++i)
        p.skip[i] = settings.ReadBool(kSection, QString::fromLatin1(kSkipKeys[i]), false);
    return p;
}

void TPreferences::Save(data::TSettingsFile& settings) const
{
    for (const TFlag& flag : kFlags)
        settings.WriteBool(kSection, QString::fromLatin1(flag.key), this->*flag.member);
    settings.WriteString(kSection, QStringLiteral("DefaultCountry"), defaultCountry);
    for (size_t i = 0; i < kSkipKeys.size(); ++i)
        settings.WriteBool(kSection, QString::fromLatin1(kSkipKeys[i]), skip[i]);
}

} // namespace qm::addressbook
