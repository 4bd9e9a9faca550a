#include "xbase_address_generator.h"

#include <cstdio>

namespace qm::bench {

namespace {

using xbase::TFieldDef;
using xbase::TFieldType;

// Windows-1252 text: the \x.. bytes are accented letters of the code page.
const char* const kLastNames[] = {"Smith",
                                  "Johnson",
                                  "Williams",
                                  "Brown",
                                  "Jones",
                                  "Garcia",
                                  "Miller",
                                  "Davis",
                                  "Rodriguez",
                                  "Martinez",
                                  "Hernandez",
                                  "Lopez",
                                  "Gonzalez",
                                  "Wilson",
                                  "Anderson",
                                  "Thomas",
                                  "Taylor",
                                  "Moore",
                                  "Jackson",
                                  "Martin",
                                  "Lee",
                                  "Perez",
                                  "Thompson",
                                  "White",
                                  "Harris",
                                  "Sanchez",
                                  "Clark",
                                  "Ramirez",
                                  "Lewis",
                                  "Robinson",
                                  "Walker",
                                  "Young",
                                  "Allen",
                                  "King",
                                  "Wright",
                                  "Scott",
                                  "Torres",
                                  "Nguyen",
                                  "Hill",
                                  "Flores",
                                  "Green",
                                  "Adams",
                                  "Nelson",
                                  "Baker",
                                  "Hall",
                                  "Rivera",
                                  "Campbell",
                                  "Mitchell",
                                  "Carter",
                                  "Roberts",
                                  "Smithers",
                                  "Smythe",
                                  "Smalley",
                                  "Small",
                                  "Smart",
                                  "Snow",
                                  "Spencer",
                                  "Springer",
                                  "Stewart",
                                  "Sullivan",
                                  "O'Brien",
                                  "McDonald",
                                  "M\xFCller",
                                  "Sch\xE4"
                                  "fer",
                                  "Dubois",
                                  "Lef\xE8vre",
                                  "Jim\xE9nez",
                                  "N\xFA\xF1"
                                  "ez",
                                  "\xC5ngstr\xF6m",
                                  "Novotn\xFD",
                                  "\x8Akoda",
                                  "Ob\xE9lix",
                                  "Ferreira",
                                  "Kowalski",
                                  "Nowak",
                                  "Schmidt",
                                  "Becker",
                                  "Weber",
                                  "Wagner",
                                  "Hoffmann",
                                  "Koch",
                                  "Richter",
                                  "Klein",
                                  "Wolf",
                                  "Neumann",
                                  "Schwarz",
                                  "Zimmermann",
                                  "Braun",
                                  "Kr\xFCger",
                                  "Hartmann",
                                  "Lange",
                                  "Werner",
                                  "Krause",
                                  "Meier",
                                  "Lehmann",
                                  "Schmid",
                                  "Schulze",
                                  "Maier",
                                  "K\xF6hler",
                                  "Herrmann"};

const char* const kFirstNames[] = {"James",
                                   "Mary",
                                   "Robert",
                                   "Patricia",
                                   "John",
                                   "Jennifer",
                                   "Michael",
                                   "Linda",
                                   "David",
                                   "Elizabeth",
                                   "William",
                                   "Barbara",
                                   "Richard",
                                   "Susan",
                                   "Joseph",
                                   "Jessica",
                                   "Thomas",
                                   "Sarah",
                                   "Charles",
                                   "Karen",
                                   "Christopher",
                                   "Lisa",
                                   "Daniel",
                                   "Nancy",
                                   "Matthew",
                                   "Betty",
                                   "Anthony",
                                   "Margaret",
                                   "Mark",
                                   "Sandra",
                                   "Donald",
                                   "Ashley",
                                   "Steven",
                                   "Kimberly",
                                   "Paul",
                                   "Emily",
                                   "Andrew",
                                   "Donna",
                                   "Joshua",
                                   "Michelle",
                                   "Jos\xE9",
                                   "Ren\xE9"
                                   "e",
                                   "Zo\xEB",
                                   "S\xF8ren",
                                   "Fran\xE7ois",
                                   "J\xFCrgen",
                                   "Chlo\xE9",
                                   "Bj\xF6rn",
                                   "Ines",
                                   "Ana"};

const char* const kStreets[] = {"Main",       "Oak",      "Pine",   "Maple",  "Cedar",  "Elm",
                                "Washington", "Lake",     "Hill",   "Walnut", "Spring", "North",
                                "Ridge",      "Church",   "Willow", "Mill",   "Sunset", "Park",
                                "Highland",   "Jackson",  "River",  "Meadow", "Forest", "Chestnut",
                                "Lincoln",    "Franklin", "Center"};
const char* const kStreetTypes[] = {"St", "Ave", "Rd", "Blvd", "Ln", "Dr", "Ct", "Way", "Pl"};

struct TCity {
    const char* city;
    const char* state;
    int zipBase; // first three digits
};
const TCity kCities[] = {{"Springfield", "IL", 627},
                         {"Springfield", "MA", 11},
                         {"Springfield", "MO", 658},
                         {"Spring Hill", "FL", 346},
                         {"Springdale", "AR", 727},
                         {"Palm Springs", "CA", 922},
                         {"Colorado Springs", "CO", 809},
                         {"Silver Spring", "MD", 209},
                         {"New York", "NY", 100},
                         {"Los Angeles", "CA", 900},
                         {"Chicago", "IL", 606},
                         {"Houston", "TX", 770},
                         {"Phoenix", "AZ", 850},
                         {"Philadelphia", "PA", 191},
                         {"San Antonio", "TX", 782},
                         {"San Diego", "CA", 921},
                         {"Dallas", "TX", 752},
                         {"San Jose", "CA", 951},
                         {"Austin", "TX", 787},
                         {"Jacksonville", "FL", 322},
                         {"Columbus", "OH", 432},
                         {"Charlotte", "NC", 282},
                         {"Indianapolis", "IN", 462},
                         {"Seattle", "WA", 981},
                         {"Denver", "CO", 802},
                         {"Boston", "MA", 21},
                         {"Nashville", "TN", 372},
                         {"Detroit", "MI", 482},
                         {"Portland", "OR", 972},
                         {"Memphis", "TN", 381},
                         {"Louisville", "KY", 402},
                         {"Baltimore", "MD", 212},
                         {"Milwaukee", "WI", 532},
                         {"Albuquerque", "NM", 871},
                         {"Tucson", "AZ", 857},
                         {"Fresno", "CA", 937},
                         {"Sacramento", "CA", 958},
                         {"Kansas City", "MO", 641},
                         {"Atlanta", "GA", 303},
                         {"Omaha", "NE", 681},
                         {"Raleigh", "NC", 276},
                         {"Miami", "FL", 331},
                         {"Minneapolis", "MN", 554},
                         {"Tulsa", "OK", 741},
                         {"Cleveland", "OH", 441},
                         {"Wichita", "KS", 672},
                         {"Arlington", "TX", 760},
                         {"Montr\xE9"
                          "al",
                          "QC", 0},
                         {"Qu\xE9"
                          "bec",
                          "QC", 0},
                         {"Toronto", "ON", 0}};

const char* const kPrefixes[] = {"Mr.", "Mrs.", "Ms.", "Dr.", "Prof.", "", "", ""};
const char* const kTitles[] = {"",           "",          "",       "Manager",
                               "Director",   "Engineer",  "Owner",  "Sales Representative",
                               "Accountant", "President", "Teacher"};
const char* const kOrgWords[] = {"Acme",       "Global",   "United",   "Pacific",   "Atlantic",
                                 "Summit",     "Pioneer",  "Liberty",  "Evergreen", "Northern",
                                 "Blue Ridge", "Keystone", "Heritage", "Sterling",  "Cardinal"};
const char* const kOrgKinds[] = {"Inc.",   "LLC",        "Corp.",      "& Sons", "Partners",
                                 "Supply", "Industries", "Foundation", "Group"};
const char* const kDomains[] = {"example.com", "example.net", "example.org", "mail.example"};
const char* const kMemoWords[] = {
    "called",   "about",      "renewal", "prefers", "morning", "visits",   "annual",  "meeting",
    "donation", "newsletter", "address", "changed", "please",  "confirm",  "catalog", "order",
    "sent",     "returned",   "mail",    "holiday", "card",    "follow-up"};

template <typename T, size_t N> constexpr uint32_t Count(const T (&)[N])
{
    return static_cast<uint32_t>(N);
}

std::string Lower(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// E-mail addresses hold only ASCII letters.
std::string AsciiLetters(const std::string& s)
{
    std::string out;
    for (char c : s)
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
            out += c;
    return out;
}

} // namespace

TAddressGenerator::TAddressGenerator(uint64_t seed) : mState(seed) {}

uint64_t TAddressGenerator::Random()
{
    // splitmix64: small, fast and the same everywhere.
    uint64_t z = (mState += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

void TAddressGenerator::Next(TAddressRecord& r)
{
    ++mCount;
    char buf[64];
    auto& v = r.values;
    for (auto& s : v)
        s.clear();

    v[0] = kLastNames[Below(Count(kLastNames))];
    if (Percent(30)) // more distinct names than the list holds
        v[0] += "-" + std::string(kLastNames[Below(Count(kLastNames))]);
    v[1] = kFirstNames[Below(Count(kFirstNames))];
    if (Percent(60))
        v[2] = std::string(1, static_cast<char>('A' + Below(26)));
    v[3] = kPrefixes[Below(Count(kPrefixes))];
    v[4] = kTitles[Below(Count(kTitles))];
    if (Percent(40))
        v[5] = std::string(kOrgWords[Below(Count(kOrgWords))]) + " " +
               kOrgKinds[Below(Count(kOrgKinds))];
    std::snprintf(buf, sizeof buf, "%u %s %s", 1 + Below(9999), kStreets[Below(Count(kStreets))],
                  kStreetTypes[Below(Count(kStreetTypes))]);
    v[6] = buf;
    if (Percent(15)) {
        std::snprintf(buf, sizeof buf, "Apt %u", 1 + Below(500));
        v[7] = buf;
    }
    const TCity& city = kCities[Below(Count(kCities))];
    v[8] = city.city;
    v[9] = city.state;
    if (city.zipBase > 0) {
        std::snprintf(buf, sizeof buf, "%05u", city.zipBase * 100 + Below(100));
        v[10] = buf;
        if (Percent(30)) {
            std::snprintf(buf, sizeof buf, "-%04u", Below(10000));
            v[10] += buf;
        }
        v[11] = Percent(90) ? "" : "USA";
    } else {
        std::snprintf(buf, sizeof buf, "H%uA %uB%u", Below(10), Below(10), Below(10));
        v[10] = buf;
        v[11] = "Canada";
    }
    if (Percent(85)) {
        std::snprintf(buf, sizeof buf, "%04u%02u%02u", 1990 + Below(37), 1 + Below(12),
                      1 + Below(28));
        v[12] = buf;
    }
    std::snprintf(buf, sizeof buf, "(%03u) 555-%04u", 200 + Below(800), Below(10000));
    v[13] = buf;
    if (Percent(25)) {
        std::snprintf(buf, sizeof buf, "(%03u) 555-%04u", 200 + Below(800), Below(10000));
        v[14] = buf;
    }
    if (Percent(10)) {
        std::snprintf(buf, sizeof buf, "(%03u) 555-%04u", 200 + Below(800), Below(10000));
        v[15] = buf;
    }
    if (Percent(70))
        v[16] = Lower(AsciiLetters(v[1])) + "." + Lower(AsciiLetters(v[0])) + "@" +
                kDomains[Below(Count(kDomains))];
    if (Percent(30)) {
        for (uint32_t i = 0, n = 1 + Below(4); i < n; ++i)
            v[17] += static_cast<char>('A' + Below(26));
    }
    if (Percent(20))
        v[18] = "Customer since " + std::to_string(1990 + Below(37));
    if (Percent(10))
        v[19] = Percent(50) ? "Prefers e-mail" : "Do not call";
    r.deleted = Percent(2);
    v[20] = r.deleted ? "T" : "F";
    v[21] = Percent(5) ? "BENCH" : "";
    if (Percent(20)) {
        const uint32_t words = 5 + Below(60);
        for (uint32_t i = 0; i < words; ++i) {
            if (i > 0)
                v[22] += (i % 12 == 0) ? "\r\n" : " ";
            v[22] += kMemoWords[Below(Count(kMemoWords))];
        }
    }
}

std::string TAddressGenerator::NamePrefix()
{
    std::string name = kLastNames[Below(Count(kLastNames))];
    std::string out;
    const size_t length = 2 + Below(4);
    for (size_t i = 0; i < name.size() && out.size() < length; ++i) {
        char c = name[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        else if (static_cast<unsigned char>(c) >= 0xE0 && static_cast<unsigned char>(c) != 0xF7 &&
                 static_cast<unsigned char>(c) != 0xFF)
            c = static_cast<char>(static_cast<unsigned char>(c) - 0x20);
        out += c;
    }
    return out;
}

const std::vector<xbase::TFieldDef>& TAddressGenerator::Fields()
{
    static const std::vector<TFieldDef> fields = {
        {"LNAME", TFieldType::Character, 30, 0},  {"FNAME", TFieldType::Character, 30, 0},
        {"MIDDLE", TFieldType::Character, 1, 0},  {"PREFIX", TFieldType::Character, 12, 0},
        {"TITLE", TFieldType::Character, 30, 0},  {"ORG", TFieldType::Character, 30, 0},
        {"STREET", TFieldType::Character, 40, 0}, {"STREET2", TFieldType::Character, 40, 0},
        {"CITY", TFieldType::Character, 30, 0},   {"STATE", TFieldType::Character, 20, 0},
        {"ZIP", TFieldType::Character, 10, 0},    {"COUNTRY", TFieldType::Character, 30, 0},
        {"DATE", TFieldType::Character, 15, 0},   {"PHONE", TFieldType::Character, 30, 0},
        {"PHONE2", TFieldType::Character, 30, 0}, {"FAX", TFieldType::Character, 40, 0},
        {"EMAIL", TFieldType::Character, 40, 0},  {"CODES", TFieldType::Character, 30, 0},
        {"USER1", TFieldType::Character, 40, 0},  {"USER2", TFieldType::Character, 40, 0},
        {"ISDEL", TFieldType::Logical, 1, 0},     {"TAG", TFieldType::Character, 8, 0},
        {"MEMO", TFieldType::Memo, 10, 0}};
    return fields;
}

const std::vector<std::pair<std::string, std::string>>& TAddressGenerator::Tags()
{
    static const std::vector<std::pair<std::string, std::string>> tags = {
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
        {"NOTISDEL", "!ISDEL"}};
    return tags;
}

} // namespace qm::bench
