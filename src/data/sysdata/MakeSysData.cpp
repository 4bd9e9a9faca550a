// qm-make-sysdata: writes the shipped read-only tables from their CSV sources at build time.
//
//   qm-make-sysdata OUTDIR NAME=CSV [NAME=CSV ...]
//
// NAME is a shipped table (LBLTPL, CSZ). Each table is written to OUTDIR/NAME.DBF with its
// index OUTDIR/NAME.CDX. Exit status 0 when every table was written, 1 on the first fault (with
// a message naming the file, line and column), 2 for a wrong command line.

#include "data/sysdata/TShippedTableBuilder.h"
#include "data/sysdata/TShippedTableSchema.h"
#include "data/sysdata/TSysDataError.h"

#include <cstdio>
#include <filesystem>
#include <string>

using namespace qm::data::sysdata;

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: qm-make-sysdata OUTDIR NAME=CSV [NAME=CSV ...]\n");
        return 2;
    }
    const std::string outDir = argv[1];
    std::error_code error;
    if (!std::filesystem::is_directory(outDir, error)) {
        std::fprintf(stderr, "qm-make-sysdata: %s is not a folder\n", outDir.c_str());
        return 2;
    }
    for (int a = 2; a < argc; ++a) {
        const std::string argument = argv[a];
        const auto equals = argument.find('=');
        const TShippedTableSchema* schema =
            equals == std::string::npos ? nullptr
                                        : TShippedTableSchema::Find(argument.substr(0, equals));
        if (schema == nullptr) {
            std::fprintf(stderr,
                         "qm-make-sysdata: \"%s\" is not NAME=CSV with NAME LBLTPL or CSZ\n",
                         argument.c_str());
            return 2;
        }
        try {
            const uint32_t rows =
                TShippedTableBuilder::Build(*schema, argument.substr(equals + 1), outDir);
            std::printf("%s.DBF: %u rows\n", schema->name.c_str(), rows);
        } catch (const TSysDataError& fault) {
            std::fprintf(stderr, "qm-make-sysdata: %s\n", fault.what());
            return 1;
        }
    }
    return 0;
}
