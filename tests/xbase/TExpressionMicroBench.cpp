// Micro-benchmark of the evaluator alone (not a test; not run by CTest): counts records of an
// address-like layout held in memory for the two query shapes the address book uses most, and
// times key extraction for a name tag. Figures with file reads come from the engine benchmark in
// bench/.
//   qm_xbase_expr_microbench [RECORDS]

#include "xbase/TExpression.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <tuple>
#include <vector>

using namespace qm::xbase;

int main(int argc, char** argv)
{
    const long records = argc > 1 ? std::atol(argv[1]) : 1000000;
    TFieldList fields;
    uint32_t length = 1;
    for (auto [name, type, width] :
         std::vector<std::tuple<const char*, TFieldType, int>>{{"LNAME", TFieldType::Character, 30},
                                                               {"FNAME", TFieldType::Character, 30},
                                                               {"CITY", TFieldType::Character, 30},
                                                               {"STATE", TFieldType::Character, 20},
                                                               {"ZIP", TFieldType::Character, 10},
                                                               {"ISDEL", TFieldType::Logical, 1}}) {
        fields.push_back({name, type, uint16_t(width), 0, length});
        length += uint32_t(width);
    }
    static const char* kNames[] = {"Smith",
                                   "smythe",
                                   "Johnson",
                                   "Sm\xEF"
                                   "th",
                                   "Brown",
                                   "Miller",
                                   "Small",
                                   "Davis"};
    static const char* kCities[] = {"Springfield", "Boston", "Spring Hill", "Austin", "Denver"};
    std::vector<char> data(size_t(records) * length, ' ');
    unsigned seed = 12345;
    for (long i = 0; i < records; ++i) {
        char* r = data.data() + size_t(i) * length;
        seed = seed * 1103515245u + 12345u;
        const char* name = kNames[(seed >> 16) % 8];
        const char* city = kCities[(seed >> 8) % 5];
        std::copy(name, name + std::strlen(name), r + fields[0].offset);
        std::copy(city, city + std::strlen(city), r + fields[2].offset);
        r[fields[5].offset] = (seed % 50 == 0) ? 'T' : 'F';
    }
    auto time = [&](const char* text, auto&& body) {
        const auto start = std::chrono::steady_clock::now();
        const std::clock_t cpuStart = std::clock();
        const long result = body();
        const double cpu = 1000.0 * double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        std::printf("%-45s %10ld  %8.1f ms  (%.1f ms CPU)\n", text, result, ms, cpu);
    };
    for (const char* query :
         {"UPPER(LNAME)=\"SM\" .and. !ISDEL", "\"SPRING\"$UPPER(CITY+STATE) .and. !ISDEL"}) {
        const TExpression e = TExpression::Compile(query, fields);
        time(query, [&] {
            long count = 0;
            for (long i = 0; i < records; ++i)
                count += e.EvalLogical(
                    {std::string_view(data.data() + size_t(i) * length, length), uint32_t(i + 1)});
            return count;
        });
    }
    const TExpression key = TExpression::Compile("UPPER(LNAME-FNAME)", fields);
    std::string out;
    time("keys of UPPER(LNAME-FNAME)", [&] {
        long bytes = 0;
        for (long i = 0; i < records; ++i) {
            key.EvalKey(
                {std::string_view(data.data() + size_t(i) * length, length), uint32_t(i + 1)}, out);
            bytes += long(out.size());
        }
        return bytes;
    });
    return 0;
}
