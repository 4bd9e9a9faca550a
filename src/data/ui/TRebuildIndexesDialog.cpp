#include "data/ui/TRebuildIndexesDialog.h"

#include "data/TAddressFileRebuild.h"
#include "data/TDataSet.h"
#include "data/ui/TEventPump.h"

#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>

namespace qm::data {

TRebuildIndexesDialog::TRebuildIndexesDialog(TDataSet& dataSet, QWidget* parent)
    : TReindexDialog(QStringLiteral("Rebuild indexes for ") + QFileInfo(dataSet.Path()).fileName(),
                     QStringLiteral("Reindexing removes the records you have deleted for good and "
                                    "builds the file's indexes again. Press Reindex to start."),
                     kHelpContext, TButtonOrder::ReindexHelpCancel, parent),
      mDataSet(dataSet)
{
    setObjectName(QStringLiteral("TRebuildIndexesDialog"));
}

void TRebuildIndexesDialog::Reindex()
{
    TEventPump pump;
    pump.Pump(true);
    mFailure = TAddressFileRebuild::Run(mDataSet, {[&](const QString& text) {
                                                       StatusLabel()->setText(text);
                                                       pump.Pump(true);
                                                   },
                                                   [&](int value) {
                                                       ProgressBar()->setValue(value);
                                                       pump.Pump();
                                                   }});
}

} // namespace qm::data
