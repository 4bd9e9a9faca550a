// Writes N deterministic address records as CSV: the 23 fields of the address file in field
// order, no header line, UTF-8, CR LF line ends, the logical ISDEL as T or F. The file loads with
// "quillmark-tool table append-csv" into a table of the address file's layout, and into any
// spreadsheet or database program. Records whose ISDEL is T are the ones the benchmark also
// marks deleted.
//
// Usage: quillmark-xbase-generate N FILE.csv [--seed S]

#include "bench_args.h"
#include "xbase_address_generator.h"

#include "tools/TCsvWriter.h"
#include "tools/TTextEncoding.h"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>

int main(int argc, char* argv[])
{
    qm::bench::TBenchArgs args("quillmark-xbase-generate",
                               "Writes N deterministic address records as CSV (the address file's "
                               "23 fields, UTF-8, CR LF).");
    args.Positional("N", "number of records, 0 or more");
    args.Positional("FILE.csv", "the file to write");
    args.Option("seed", "S", "seed of the generator (the same seed gives the same records)");
    if (const std::optional<int> exit = args.ParseOrExit(argc, argv))
        return *exit;
    const std::optional<uint64_t> count = qm::bench::TBenchArgs::Count(args.PositionalValue(0));
    std::optional<uint64_t> seedValue = qm::bench::TAddressGenerator::kDefaultSeed;
    if (const auto text = args.Value("seed")) {
        // Decimal, or hexadecimal with 0x as the default seed is written.
        char* end = nullptr;
        seedValue = std::strtoull(text->c_str(), &end, 0);
        if (text->empty() || *end != '\0' || text->front() == '-')
            seedValue = std::nullopt;
    }
    if (!count || !seedValue) {
        std::cerr << "quillmark-xbase-generate: N and S must be whole numbers, 0 or more\n";
        return qm::bench::TBenchArgs::kExitUsage;
    }
    const long long n = (long long)*count;
    const uint64_t seed = *seedValue;
    const std::string file = args.PositionalValue(1);
    std::ofstream out(file, std::ios::binary);
    if (!out) {
        std::cerr << "quillmark-xbase-generate: cannot write " << file << "\n";
        return 3;
    }
    qm::bench::TAddressGenerator generator(seed);
    qm::bench::TAddressRecord record;
    qm::tools::TCsvWriter csv(out);
    for (long long i = 0; i < n; ++i) {
        generator.Next(record);
        for (const std::string& value : record.values)
            csv.Field(qm::tools::TTextEncoding::Win1252ToUtf8(value));
        csv.EndRecord();
    }
    out.close();
    if (!out) {
        std::cerr << "quillmark-xbase-generate: writing " << file << " failed\n";
        return 3;
    }
    return 0;
}
