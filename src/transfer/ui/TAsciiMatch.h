#pragma once

// "ASCII File Import Match Fields": the sample of the text file split into fields ("Sample ASCII
// Fields", one column per source field, each as wide as W times its longest sample value, at least
// as wide as "Field 12" and at most two inches) above the field match of TMatchFieldsDialog.
//
// The check box "First line holds column names" (ticked when the import window found that it
// does; the user decides) takes the first line out of the sample grid and names the source fields
// after it; ticking it matches the rows still free by column name (TColumnNames). Unticking it
// keeps the matches made and imports the first line as data again.

#include "transfer/ui/TMatchFieldsDialog.h"

class QCheckBox;
class QTableWidget;

namespace qm::transfer {

class TCsvSample;

class TAsciiMatch : public TMatchFieldsDialog {
public:
    static constexpr int kHelpContext = 1061;

    TAsciiMatch(const TCsvSample& sample, const TFieldMatch& match, bool headerLine,
                const QString& fileName, QWidget* parent = nullptr);

    QTableWidget* SampleGrid() const { return mSample; }
    QCheckBox* HeaderCheck() const { return mHeaderCheck; }
    // Whether the first line is to be left out (the check box).
    bool HeaderLine() const;

private:
    void ShowHeaderLine(bool header);

    const TCsvSample& mSampleData;
    QTableWidget* mSample = nullptr;
    QCheckBox* mHeaderCheck = nullptr;
};

} // namespace qm::transfer
