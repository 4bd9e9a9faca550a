#include "print/ui/TPrinterCheck.h"

#include "data/ui/TMessageService.h"
#include "print/TBaseReport.h"
#include "print/TPrintError.h"
#include "print/TRPDevice.h"

namespace qm::print {

bool CheckPrinterPresence(QWidget* parent)
{
    switch (TRPDevice::Instance().CheckPresence()) {
    case TPrinterPresence::Ok:
        return true;
    case TPrinterPresence::NoPrinters:
        data::TMessageService::Inform(parent, QString::fromLatin1(msg::kNoPrinterInstalled));
        return false;
    case TPrinterPresence::NoDefault:
        data::TMessageService::Inform(parent, QString::fromLatin1(msg::kNoDefaultPrinter));
        return false;
    }
    return false;
}

void InstallPrintErrorBoxes()
{
    TBaseReport::SetErrorReporter([](const QString& text) {
        data::TMessageService::Error(nullptr, QStringLiteral("Error"), text);
    });
}

} // namespace qm::print
