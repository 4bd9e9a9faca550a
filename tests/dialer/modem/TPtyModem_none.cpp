// Systems without pseudo-terminals: the modem cannot be made and the tests that need it skip.

#include "TPtyModem.h"

namespace qm::test {

std::unique_ptr<TPtyModem> TPtyModem::Create(QString& whyNot)
{
    whyNot = QStringLiteral("this system has no pseudo-terminals");
    return nullptr;
}

TPtyModem::~TPtyModem() = default;
void TPtyModem::ReadReady() {}
void TPtyModem::Send(const QByteArray&) {}
void TPtyModem::SuspendOutput(bool) {}
bool TPtyModem::DenyAccess()
{
    return false;
}

} // namespace qm::test
