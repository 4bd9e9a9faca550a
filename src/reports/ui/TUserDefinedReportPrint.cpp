#include "reports/ui/TUserDefinedReportPrint.h"

#include "data/TDataSet.h"
#include "data/TMessageService.h"
#include "design/core/TGClassRegistry.h"
#include "design/core/TGDataPanel.h"
#include "design/core/TGOwner.h"
#include "design/stream/TLayoutError.h"
#include "print/TRPDevice.h"
#include "reports/TReportFile.h"
#include "reports/TUserDefinedReport.h"
#include "reports/ui/TReportJobRun.h"
#include "xbase/TXbaseError.h"

namespace qm::reports {
namespace {

// The report sets the paper for its run; the printer keeps the paper it had for whatever is
// printed next.
class TKeptPaper {
public:
    TKeptPaper() : mSetup(print::TRPDevice::Instance().Setup()) {}
    ~TKeptPaper()
    {
        try {
            print::TRPDevice& device = print::TRPDevice::Instance();
            device.SetPaperSize(mSetup.paperSize, mSetup.paperWidth / 254.0,
                                mSetup.paperLength / 254.0);
            device.SetOrientation(mSetup.orientation);
        } catch (...) {
            // Never replace the error that ended the run.
        }
    }
    TKeptPaper(const TKeptPaper&) = delete;
    TKeptPaper& operator=(const TKeptPaper&) = delete;

private:
    print::TDeviceSetup mSetup;
};

} // namespace

bool TUserDefinedReportPrint::Run(QWidget* parent, data::TDataSet& dataSet, data::TApollo& apollo,
                                  const QString& layoutPath, const TUserReportChoices& choices,
                                  bool preview)
{
    const QString error = QStringLiteral("Error");
    design::TGClassRegistry::Instance().RegisterHostKinds(design::TGHostKind::Report);
    design::TGOwner owner;
    design::TGBasePanel header(&owner);
    design::TGDataPanel detail(&owner);
    design::TGBasePanel footer(&owner);
    detail.SetDataSet(&dataSet);
    TReportSettings settings;
    try {
        settings = TReportFile::Load(owner, {&header, &detail, &footer}, layoutPath);
    } catch (const design::TLayoutError& e) {
        data::TMessageService::Error(parent, error, e.Message());
        return false;
    }

    TReportRunScope scope(dataSet, apollo);
    try {
        scope.Apply({QString(), choices.choice, choices.startFromCurrent, false},
                    [parent](const QString& text) { data::TMessageService::Inform(parent, text); });
    } catch (const xbase::TXbaseError& e) {
        data::TMessageService::Error(parent, error, QString::fromLocal8Bit(e.what()));
        return false;
    } catch (const data::TDataSetError& e) {
        data::TMessageService::Error(parent, error, e.Message());
        return false;
    }

    const TKeptPaper paper;
    TUserDefinedReport routine(dataSet, settings, {&header, &detail, &footer},
                               choices.oneRecordPerPage);
    routine.SetStartAtEnd(scope.AtEnd());
    return TReportJobRun::Run(
        parent, TReportJobSettings::RecordReport(preview),
        [&routine](print::TBaseReport& report, TReportJobRun::TKeepGoing keepGoing) {
            routine.SetKeepGoing(std::move(keepGoing));
            routine.Attach(report);
        });
}

} // namespace qm::reports
