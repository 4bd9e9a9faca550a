// Figures for the Intelligent Mail encoder:
//   - Encode alone: N barcodes (default 1,000,000), the serial counting up in a tracking code and
//     the routing code turning through none, 5, 9 and 11 digits with changing digits, the texts
//     rewritten in place so the figure is the encoder's own (target: 1,000,000 a second);
//   - a label piece's whole path: the tracking code built from its parts and serial, the routing
//     code from a ZIP and address line, then Encode (these build new texts for every piece).
// The machine's load average is printed beside the figures: they are wall-clock rates.
// Usage: quillmark-imb-bench [--n N]

#include "design/barcode/TImbCode.h"

#include "bench_args.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

using qm::design::TImbBar;
using qm::design::TImbBars;
using qm::design::TImbCode;

// Writes value's last `width` decimal digits into text from position `at`, without allocating
// (the text is not shared).
void PutDigits(QString& text, qsizetype at, int width, std::uint64_t value)
{
    QChar* data = text.data();
    for (int i = width - 1; i >= 0; --i) {
        data[at + i] = QLatin1Char(char('0' + value % 10));
        value /= 10;
    }
}

// Wall-clock and processor seconds since a start; the machine may be shared, so both count.
struct TClock {
    std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
    std::clock_t cpu = std::clock();
    double Wall() const
    {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count();
    }
    double Cpu() const { return double(std::clock() - cpu) / CLOCKS_PER_SEC; }
};

// A running sum over the bars, so the work cannot be left out and runs can be compared; eight
// bars at a time, to keep the bench's own share small.
std::uint64_t Fold(std::uint64_t sum, const TImbBars& bars)
{
    std::uint64_t word = 0;
    for (std::size_t i = 0; i + 8 <= bars.size(); i += 8) {
        std::memcpy(&word, bars.data() + i, 8);
        sum = (sum ^ word) * 0x100000001B3ull;
    }
    return sum + std::uint64_t(bars.back());
}

void PrintRate(const char* figure, long n, const TClock& clock)
{
    const double wall = clock.Wall();
    const double cpu = clock.Cpu();
    std::printf("%-42s %9ld in %6.3f s  %10.0f a second  (processor %6.3f s, %10.0f a second)\n",
                figure, n, wall, double(n) / wall, cpu, cpu > 0 ? double(n) / cpu : 0.0);
}

} // namespace

int main(int argc, char* argv[])
{
    qm::bench::TBenchArgs args("quillmark-imb-bench",
                               "Intelligent Mail barcodes encoded a second.");
    args.Option("n", "N", "barcodes to encode (default 1,000,000)");
    if (const std::optional<int> exit = args.ParseOrExit(argc, argv))
        return *exit;
    long n = 1000000;
    if (const auto value = args.Value("n")) {
        const std::optional<uint64_t> count = qm::bench::TBenchArgs::Count(*value);
        if (!count || *count == 0 || *count > 1000000000) {
            std::fprintf(stderr,
                         "quillmark-imb-bench: --n needs a whole number from 1 to "
                         "1,000,000,000, not %s\n",
                         value->c_str());
            return qm::bench::TBenchArgs::kExitUsage;
        }
        n = long(*count);
    }

    double load[3] = {0, 0, 0};
    if (getloadavg(load, 3) == 3)
        std::printf("Load average before the run: %.2f %.2f %.2f\n", load[0], load[1], load[2]);

    // Encode alone.
    QString tracking = QStringLiteral("00700567094000000000");
    QString routings[4] = {QString(), QStringLiteral("62704"), QStringLiteral("627041234"),
                           QStringLiteral("62704123423")};
    TImbBars bars{};
    std::uint64_t sum = 0;
    long refused = 0;
    TClock clock;
    for (long i = 0; i < n; ++i) {
        PutDigits(tracking, 11, 9, std::uint64_t(i));
        QString& routing = routings[i & 3];
        if (!routing.isEmpty())
            PutDigits(routing, 1, 4, std::uint64_t(i) * 7919);
        if (TImbCode::Encode(tracking, routing, &bars))
            sum = Fold(sum, bars);
        else
            ++refused;
    }
    PrintRate("Encode (tracking and routing given)", n, clock);

    // A label piece: parts, serial, ZIP and address line as a record and the settings hold them.
    const QString barcodeId = QStringLiteral("00");
    const QString serviceType = QStringLiteral("700");
    const QString mailerId = QStringLiteral("901234567");
    const QString zips[3] = {QStringLiteral("62704"), QStringLiteral("62704-1234"),
                             QStringLiteral("627041234")};
    const QString street = QStringLiteral("123 MAIN ST");
    clock = TClock();
    for (long i = 0; i < n; ++i) {
        const QString trackingCode = TImbCode::Tracking(
            barcodeId, serviceType, mailerId, i % (TImbCode::MaxSerial(mailerId) + 1), nullptr);
        const QString routing = TImbCode::Routing(zips[i % 3], street);
        if (TImbCode::Encode(trackingCode, routing, &bars))
            sum = Fold(sum, bars);
        else
            ++refused;
    }
    PrintRate("Label piece (Tracking + Routing + Encode)", n, clock);

    if (getloadavg(load, 3) == 3)
        std::printf("Load average after the run:  %.2f %.2f %.2f\n", load[0], load[1], load[2]);
    std::printf("Check sum %016llx, %ld refused\n", static_cast<unsigned long long>(sum), refused);
    return refused == 0 ? 0 : 1;
}
