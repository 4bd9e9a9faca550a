#include "data/ui/TRebuildSystemIndexesDialog.h"

#include "data/TSystemTables.h"
#include "data/ui/TEventPump.h"

#include <QLabel>
#include <QProgressBar>

namespace qm::data {

TRebuildSystemIndexesDialog::TRebuildSystemIndexesDialog(QString sysdataDir, QWidget* parent)
    : TReindexDialog(QStringLiteral("Rebuild System Indexes"),
                     QStringLiteral("Rebuilds the indexes of Quillmark's own tables: letters, "
                                    "labels, label sheets, states, envelopes and reports. Press "
                                    "Reindex to start."),
                     kHelpContext, TButtonOrder::ReindexCancelHelp, parent),
      mSysdataDir(std::move(sysdataDir))
{
    setObjectName(QStringLiteral("TRebuildSystemIndexesDialog"));
}

void TRebuildSystemIndexesDialog::Reindex()
{
    mShownTexts.clear();
    TEventPump pump;
    TSystemTables::RebuildAll(
        mSysdataDir,
        [&](const QString& text) {
            mShownTexts << text;
            StatusLabel()->setText(text);
            ProgressBar()->setValue(0);
            pump.Pump(true);
        },
        [&](int percent) {
            ProgressBar()->setValue(percent);
            pump.Pump();
        });
}

} // namespace qm::data
