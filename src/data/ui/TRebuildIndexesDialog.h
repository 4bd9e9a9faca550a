#pragma once

// "Rebuild indexes for <file>": cleans out the open address file's deleted records and builds its
// tags again, with a progress bar. The work is TAddressFileRebuild's.

#include "data/ui/TReindexDialog.h"

namespace qm::data {

class TDataSet;

class TRebuildIndexesDialog : public TReindexDialog {
public:
    static constexpr int kHelpContext = 1040;

    explicit TRebuildIndexesDialog(TDataSet& dataSet, QWidget* parent = nullptr);

    // The message of a failed rebuild (empty when it succeeded or did not run).
    QString Failure() const { return mFailure; }

private:
    void Reindex() override;

    TDataSet& mDataSet;
    QString mFailure;
};

} // namespace qm::data
