#include "envelopes/TJobPrinterPort.h"

#include "print/TBaseReport.h"

namespace qm::envelopes {
namespace {

QString Entry(const QStringList& names, int index)
{
    return index >= 0 && index < names.size() ? names[index] : QString();
}

} // namespace

QString TJobPrinterPort::PrinterText() const
{
    return Entry(mJob.PrinterNames(), mJob.PrinterIndex());
}

QString TJobPrinterPort::BinText() const
{
    return Entry(mJob.BinNames(), mJob.CurrentBin());
}

QString TJobPrinterPort::PaperText() const
{
    return Entry(mJob.PaperNames(), mJob.CurrentPaper());
}

bool TJobPrinterPort::Landscape() const
{
    // The job's own orientation is what it will print with; the printer's until the job has one.
    const print::TOrientation own = mJob.Orientation();
    if (own != print::TOrientation::poDefault)
        return own == print::TOrientation::poLandScape;
    return mJob.CurrentOrientation() == print::TOrientation::poLandScape;
}

void TJobPrinterPort::SelectPrinterByName(const QString& name)
{
    mJob.SelectPrinterByName(name);
}

void TJobPrinterPort::SelectBinByName(const QString& name)
{
    mJob.SelectBinByName(name);
}

void TJobPrinterPort::SelectPaperByName(const QString& name)
{
    mJob.SelectPaperByName(name);
}

void TJobPrinterPort::SetLandscape(bool landscape)
{
    mJob.SetOrientation(landscape ? print::TOrientation::poLandScape
                                  : print::TOrientation::poPortrait);
}

} // namespace qm::envelopes
