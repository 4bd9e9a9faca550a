#pragma once

// A panel bound to an address data set (not owned; it must outlive the binding), with the
// show-data switch. Data-bound objects read DataSet() positioned on the current record.

#include "design/core/TGBasePanel.h"

namespace qm::design {

class TGDataPanel : public TGBasePanel {
public:
    explicit TGDataPanel(TGOwner* owner = nullptr);

    data::TDataSet* DataSet() const override { return mDataSet; }
    void SetDataSet(data::TDataSet* dataSet) { mDataSet = dataSet; }

    bool DisplayDataValues() const override { return mDisplayDataValues; }
    // Stores the switch and calls RefreshData.
    void SetDisplayDataValues(bool on);

private:
    data::TDataSet* mDataSet = nullptr;
    bool mDisplayDataValues = true;
};

} // namespace qm::design
