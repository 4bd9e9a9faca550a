#include "dialer/TModemPort.h"

namespace qm::dialer {

TModemPort::~TModemPort() = default;

} // namespace qm::dialer
