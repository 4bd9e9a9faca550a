// "quillmark-tool dial": dials a number through the modem, as the "Dial Phone Number" window does.
//   dial [--port 1-4 | --device PATH] [--pulse] [--prefix TEXT] [--hangup-after SECONDS] NUMBER

#include "tools/TToolCommand.h"
#include "tools/TToolEnvironment.h"

#include "data/TMessageService.h"
#include "data/TProgramHome.h"
#include "data/TSettingsFile.h"
#include "dialer/TDialSettings.h"
#include "dialer/TDialer.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <iostream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

namespace qm::tools {
namespace {

const char* const kUsage =
    "usage: quillmark-tool dial [--port 1-4 | --device PATH] [--pulse] [--prefix TEXT]\n"
    "                           [--hangup-after SECONDS] NUMBER\n"
    "Dials NUMBER through an AT modem on a serial port, as the \"Dial Phone Number\" window does:\n"
    "sends ATDT (ATDP with --pulse) + prefix + number + CR LF at 9600 bit/s, 8 data bits, no\n"
    "parity, 1 stop bit, no flow control, checks the modem's answer, prints \"Pick up phone\" and\n"
    "hangs up (ATH) when Enter is pressed, or after SECONDS with --hangup-after.\n"
    "\n"
    "  --port N          port choice 1 to 4 (\"COM 1\" ... \"COM 4\"); its device is the one kept "
    "in\n"
    "                    the settings file (Dialing, DeviceN), by default /dev/ttyS0 ... "
    "/dev/ttyS3.\n"
    "                    Without --port or --device, the port last used in the window.\n"
    "  --device PATH     the serial device itself (any path, a pseudo-terminal too)\n"
    "  --pulse           pulse dialling (tone otherwise)\n"
    "  --prefix TEXT     put before the number, nothing between (\"9\" for an outside line)\n"
    "  --hangup-after S  hang up after S seconds (0 to 3600) instead of waiting for Enter\n"
    "\n"
    "Only printable ASCII may be dialled. Messages go to standard error.\n"
    "Exit codes: 0 dialled, 1 the number was refused or the modem answered an error, 2 bad usage,\n"
    "3 the port could not be opened or written.\n";

// Messages of the dialer go to the error stream, one line each.
class TStreamResponder : public data::TMessageResponder {
public:
    explicit TStreamResponder(std::ostream& err) : mErr(err)
    {
        data::TMessageService::SetResponder(this);
    }
    ~TStreamResponder() override { data::TMessageService::SetResponder(nullptr); }
    bool Respond(const data::TMessage& message) override
    {
        if (!message.isBeep)
            mErr << message.text.toStdString() << "\n" << std::flush;
        return message.isQuestion ? message.defaultYes : true;
    }

private:
    std::ostream& mErr;
};

void EnsureCoreApplication()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "quillmark-tool";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QCoreApplication> app = std::make_unique<QCoreApplication>(argc, argv);
}

int Usage(std::ostream& err, const std::string& problem)
{
    err << "quillmark-tool dial: " << problem << "\n" << kUsage;
    return 2;
}

} // namespace

int RunDialCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::optional<int> port;
    std::optional<std::string> device, number;
    std::string prefix;
    bool pulse = false;
    std::optional<int> hangUpAfter;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--help" || a == "-h") {
            out << kUsage;
            return 0;
        }
        if (a == "--port" && hasValue) {
            const std::string& v = args[++i];
            if (v.size() != 1 || v[0] < '1' || v[0] > '4')
                return Usage(err, "--port takes 1, 2, 3 or 4");
            port = v[0] - '1';
        } else if (a == "--device" && hasValue) {
            device = args[++i];
            if (device->empty())
                return Usage(err, "--device needs a path");
        } else if (a == "--pulse") {
            pulse = true;
        } else if (a == "--prefix" && hasValue) {
            prefix = args[++i];
        } else if (a == "--hangup-after" && hasValue) {
            bool ok = false;
            const int seconds = QString::fromStdString(args[++i]).toInt(&ok);
            if (!ok || seconds < 0 || seconds > 3600)
                return Usage(err, "--hangup-after takes whole seconds from 0 to 3600");
            hangUpAfter = seconds;
        } else if (a.rfind("--", 0) == 0 && a.size() > 2) {
            return Usage(err, "unknown or incomplete option " + a);
        } else if (!number) {
            number = a;
        } else {
            return Usage(err, "one NUMBER only (quote a number that holds blanks)");
        }
    }
    if (!number)
        return Usage(err, "NUMBER missing");
    if (port && device)
        return Usage(err, "--port and --device exclude each other");

    EnsureCoreApplication();
    TStreamResponder responder(err);
    dialer::TDialer dialer;
    dialer.NumberToDial = QString::fromStdString(prefix) + QString::fromStdString(*number);
    dialer.Method = pulse ? dialer::TDialMethod::dmPulse : dialer::TDialMethod::dmTone;
    if (device) {
        dialer.Device = QString::fromStdString(*device);
        dialer.NameComPort = false;
    } else {
        // The home the program would use (a test or the caller may have set one already).
        const data::TProgramHome home = TToolEnvironment::ProgramHome();
        const dialer::TDialSettings settings =
            dialer::TDialSettings::Load(data::TSettingsFile(home.SettingsPath()));
        dialer.ComPort = port ? dialer::TDialPort(*port) : settings.port;
        dialer.Device = settings.devices[size_t(dialer.ComPort)];
    }
    dialer.SetPickUp([&] {
        out << "Pick up phone" << std::endl;
        if (hangUpAfter) {
            // The event loop keeps running meanwhile, so the port stays served.
            QEventLoop wait;
            QTimer::singleShot(*hangUpAfter * 1000, &wait, &QEventLoop::quit);
            wait.exec();
        } else {
            std::string line;
            std::getline(std::cin, line);
        }
    });

    switch (dialer.Dial()) {
    case dialer::TDialer::TOutcome::Dialled:
        return 0;
    case dialer::TDialer::TOutcome::Refused:
    case dialer::TDialer::TOutcome::ModemRefused:
    case dialer::TDialer::TOutcome::Declined:
        return 1;
    case dialer::TDialer::TOutcome::OpenFailed:
    case dialer::TDialer::TOutcome::WriteFailed:
    case dialer::TDialer::TOutcome::HangUpFailed:
        return 3;
    }
    return 3;
}

} // namespace qm::tools
