#pragma once

// "Rebuild System Indexes": packs and reindexes the six system tables in sysdata/, one after
// another, with a progress bar and a line naming the table at work.

#include "data/ui/TReindexDialog.h"

#include <QStringList>

namespace qm::data {

class TRebuildSystemIndexesDialog : public TReindexDialog {
public:
    static constexpr int kHelpContext = 1039;

    explicit TRebuildSystemIndexesDialog(QString sysdataDir, QWidget* parent = nullptr);

    // Every text line shown during the last run, in order.
    QStringList ShownTexts() const { return mShownTexts; }

private:
    void Reindex() override;

    QString mSysdataDir;
    QStringList mShownTexts;
};

} // namespace qm::data
