#pragma once

// "ASCII File Import Match Fields": the sample of the text file split into fields ("Sample ASCII
// Fields", one column per source field, each as wide as W times its longest sample value, at least
// as wide as "Field 12" and at most two inches) above the field match of TMatchFieldsDialog.

#include "transfer/ui/TMatchFieldsDialog.h"

class QTableWidget;

namespace qm::transfer {

class TCsvSample;

class TAsciiMatch : public TMatchFieldsDialog {
public:
    static constexpr int kHelpContext = 1061;

    TAsciiMatch(const TCsvSample& sample, const TFieldMatch& match, const QString& fileName,
                QWidget* parent = nullptr);

    QTableWidget* SampleGrid() const { return mSample; }

private:
    QTableWidget* mSample = nullptr;
};

} // namespace qm::transfer
