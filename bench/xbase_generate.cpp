// Writes N deterministic address records as CSV: the 23 fields of the address file in field
// order, no header line, UTF-8, CR LF line ends, the logical ISDEL as T or F. The file loads with
// "quillmark-tool table append-csv" into a table of the address file's layout, and into any
// spreadsheet or database program. Records whose ISDEL is T are the ones the benchmark also
// marks deleted.
//
// Usage: quillmark-xbase-generate N FILE.csv [--seed S]

#include "xbase_address_generator.h"

#include "tools/TCsvWriter.h"
#include "tools/TTextEncoding.h"

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

int main(int argc, char* argv[])
{
    if (argc != 3 && !(argc == 5 && std::string(argv[3]) == "--seed")) {
        std::cerr << "Usage: quillmark-xbase-generate N FILE.csv [--seed S]\n";
        return 2;
    }
    const long long n = std::atoll(argv[1]);
    if (n < 0) {
        std::cerr << "quillmark-xbase-generate: N must be 0 or more\n";
        return 2;
    }
    const uint64_t seed = argc == 5 ? std::strtoull(argv[4], nullptr, 0)
                                    : qm::bench::TAddressGenerator::kDefaultSeed;
    std::ofstream out(argv[2], std::ios::binary);
    if (!out) {
        std::cerr << "quillmark-xbase-generate: cannot write " << argv[2] << "\n";
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
        std::cerr << "quillmark-xbase-generate: writing " << argv[2] << " failed\n";
        return 3;
    }
    return 0;
}
