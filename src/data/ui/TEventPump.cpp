#include "data/ui/TEventPump.h"

#include <QCoreApplication>

namespace qm::data {

TEventPump::TEventPump()
{
    mSince.start();
}

void TEventPump::Pump(bool force)
{
    if (!force && mSince.elapsed() < 30)
        return;
    QCoreApplication::processEvents();
    mSince.restart();
}

} // namespace qm::data
