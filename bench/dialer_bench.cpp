// Figures for the modem dialer, against the test modem on a pseudo-terminal:
//   - from Dial to the last byte of the dial command at the modem, over 100 dials (target 20 ms);
//   - from Dial to "Pick up phone" with a modem that answers OK, and with one that says nothing
//     (the answer wait of 1 s is then the only added delay);
//   - the give-up time on a port whose output is suspended (target: the 3 s limit + 100 ms), and
//     the longest gap between two ticks of a 10 ms timer meanwhile (target: at most 50 ms).
// Usage: quillmark-dialer-bench [--dials N]

#include "TPtyModem.h"
#include "data/TMessageService.h"
#include "dialer/TDialer.h"

#include "bench_args.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSerialPort>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

using qm::dialer::TDialer;

// Messages are counted, not shown.
class TQuietResponder : public qm::data::TMessageResponder {
public:
    int messages = 0;
    bool Respond(const qm::data::TMessage&) override
    {
        ++messages;
        return true;
    }
};

struct TFigures {
    std::vector<double> ms;
    double Median()
    {
        std::sort(ms.begin(), ms.end());
        return ms.empty() ? 0 : ms[ms.size() / 2];
    }
    double Worst() { return ms.empty() ? 0 : *std::max_element(ms.begin(), ms.end()); }
};

double Ms(const QElapsedTimer& clock)
{
    return double(clock.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    qm::bench::TBenchArgs args("quillmark-dialer-bench",
                               "Dialling figures against the pseudo-terminal test modem.");
    args.Option("dials", "N", "dials to time (default 100)");
    if (const std::optional<int> exit = args.ParseOrExit(argc, argv))
        return *exit;
    int dials = 100;
    if (const auto value = args.Value("dials")) {
        const std::optional<uint64_t> count = qm::bench::TBenchArgs::Count(*value);
        if (!count || *count == 0 || *count > 100000) {
            std::fprintf(stderr,
                         "quillmark-dialer-bench: --dials needs a whole number from 1 to "
                         "100,000, not %s\n",
                         value->c_str());
            return qm::bench::TBenchArgs::kExitUsage;
        }
        dials = int(*count);
    }

    QString whyNot;
    auto modem = qm::test::TPtyModem::Create(whyNot);
    if (!modem) {
        std::fprintf(stderr, "quillmark-dialer-bench: no pseudo-terminal: %s\n",
                     qPrintable(whyNot));
        return 1;
    }
    TQuietResponder responder;
    qm::data::TMessageService::SetResponder(&responder);

    TDialer dialer;
    dialer.Device = modem->DevicePath();
    dialer.NumberToDial = QStringLiteral("9,555-0100");
    QElapsedTimer clock;
    double atModem = 0, atPickUp = 0;
    modem->SetOnDialCommand([&] { atModem = Ms(clock); });
    dialer.SetPickUp([&] { atPickUp = Ms(clock); });

    TFigures toModem, toPickUp;
    for (int i = 0; i < dials; ++i) {
        clock.start();
        if (dialer.Dial() != TDialer::TOutcome::Dialled) {
            std::fprintf(stderr, "dial %d failed\n", i + 1);
            return 1;
        }
        toModem.ms.push_back(atModem);
        toPickUp.ms.push_back(atPickUp);
    }
    std::printf("%-58s median %7.2f ms   worst %7.2f ms\n",
                "Dial to last byte of the command at the modem", toModem.Median(), toModem.Worst());
    std::printf("%-58s median %7.2f ms   worst %7.2f ms\n",
                "Dial to \"Pick up phone\", modem answers OK", toPickUp.Median(), toPickUp.Worst());

    // The share of the serial port's own open and close (lock file, line settings) in the above.
    TFigures opens;
    for (int i = 0; i < dials; ++i) {
        QSerialPort port(modem->DevicePath());
        clock.start();
        if (port.open(QIODevice::ReadWrite))
            opens.ms.push_back(Ms(clock));
    }
    std::printf("%-58s median %7.2f ms   worst %7.2f ms\n",
                "  of which the serial port's open alone", opens.Median(), opens.Worst());

    modem->SetEcho(false);
    modem->SetDialReply({});
    TFigures silent;
    for (int i = 0; i < 3; ++i) {
        clock.start();
        dialer.Dial();
        silent.ms.push_back(atPickUp);
    }
    std::printf("%-58s median %7.2f ms   worst %7.2f ms\n",
                "Dial to \"Pick up phone\", silent modem (3 dials)", silent.Median(),
                silent.Worst());

    modem->SuspendOutput(true);
    TFigures giveUp, gap;
    for (int i = 0; i < 2; ++i) {
        QElapsedTimer sinceTick;
        double longestGap = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            longestGap = std::max(longestGap, Ms(sinceTick));
            sinceTick.start();
        });
        ticker.start(10);
        sinceTick.start();
        clock.start();
        const TDialer::TOutcome outcome = dialer.Dial();
        giveUp.ms.push_back(Ms(clock));
        ticker.stop();
        gap.ms.push_back(longestGap);
        if (outcome != TDialer::TOutcome::WriteFailed) {
            std::fprintf(stderr, "the suspended port did not fail the dial\n");
            return 1;
        }
    }
    modem->SuspendOutput(false);
    std::printf("%-58s median %7.2f ms   worst %7.2f ms\n",
                "Give-up on a suspended port (limit 3000 ms, 2 dials)", giveUp.Median(),
                giveUp.Worst());
    std::printf("%-58s median %7.2f ms   worst %7.2f ms\n",
                "Longest gap of a 10 ms timer during the give-up", gap.Median(), gap.Worst());
    qm::data::TMessageService::SetResponder(nullptr);
    return 0;
}
