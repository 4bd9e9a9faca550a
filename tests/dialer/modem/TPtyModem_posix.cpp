// The test modem on a POSIX pseudo-terminal.

#include "TPtyModem.h"

#include <QSocketNotifier>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace qm::test {

std::unique_ptr<TPtyModem> TPtyModem::Create(QString& whyNot)
{
    const auto fail = [&](const char* what) {
        whyNot = QStringLiteral("%1: %2").arg(QLatin1String(what),
                                              QString::fromLocal8Bit(std::strerror(errno)));
        return nullptr;
    };
    std::unique_ptr<TPtyModem> modem(new TPtyModem);
    modem->mMaster = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (modem->mMaster < 0)
        return fail("posix_openpt");
    if (grantpt(modem->mMaster) != 0 || unlockpt(modem->mMaster) != 0)
        return fail("grantpt/unlockpt");
    const char* name = ptsname(modem->mMaster);
    if (!name)
        return fail("ptsname");
    modem->mDevicePath = QString::fromLocal8Bit(name);
    modem->mSlave = ::open(name, O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (modem->mSlave < 0)
        return fail("open pseudo-terminal");
    // Raw from the start: no echo of the modem's answers back to it, no CR LF translation.
    termios t{};
    if (tcgetattr(modem->mSlave, &t) == 0) {
        cfmakeraw(&t);
        tcsetattr(modem->mSlave, TCSANOW, &t);
    }
    modem->mNotifier = std::make_unique<QSocketNotifier>(modem->mMaster, QSocketNotifier::Read);
    QObject::connect(modem->mNotifier.get(), &QSocketNotifier::activated,
                     [m = modem.get()] { m->ReadReady(); });
    return modem;
}

TPtyModem::~TPtyModem()
{
    mNotifier.reset();
    if (mSlave >= 0) {
        tcflow(mSlave, TCOON);
        ::close(mSlave);
    }
    if (mMaster >= 0)
        ::close(mMaster);
}

void TPtyModem::ReadReady()
{
    char buffer[512];
    for (;;) {
        const ssize_t n = ::read(mMaster, buffer, sizeof buffer);
        if (n <= 0)
            break;
        Take(QByteArray(buffer, qsizetype(n)));
    }
}

void TPtyModem::Send(const QByteArray& bytes)
{
    const ssize_t written = ::write(mMaster, bytes.constData(), size_t(bytes.size()));
    (void)written; // a modem's answer the dialer does not read is lost, as on a real line
}

void TPtyModem::SuspendOutput(bool suspended)
{
    // Output of the terminal the dialer writes to: TCOOFF holds its bytes back.
    tcflow(mSlave, suspended ? TCOOFF : TCOON);
}

} // namespace qm::test

namespace qm::test {

bool TPtyModem::DenyAccess()
{
    if (::chmod(mDevicePath.toLocal8Bit().constData(), 0) != 0)
        return false;
    return ::access(mDevicePath.toLocal8Bit().constData(), R_OK | W_OK) != 0;
}

} // namespace qm::test
