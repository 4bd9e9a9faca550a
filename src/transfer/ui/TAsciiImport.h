#pragma once

// "ASCII File Import": appends records from a comma-delimited text file to the address file,
// which this window holds open exclusively in its own data set (the main window closes its table
// first and opens the file again afterwards). The fields get the display labels and visibility
// the main window's fields have, so the match rows read as the main window shows them.

#include "transfer/TCsvSample.h"
#include "transfer/TFieldMatch.h"
#include "transfer/ui/TImportWindow.h"

#include "data/TDataSet.h"

namespace qm::transfer {

class TAsciiMatch;

class TAsciiImport : public TImportWindow {
public:
    static constexpr int kHelpContext = 1060;

    // labels: how the main window labels each field (see TFieldMatch::AddressTargets).
    TAsciiImport(const TFieldMatch::TLabelOf& labels, QWidget* parent = nullptr);

    // Opens the address file exclusively; false when it cannot be opened.
    bool OpenAddressFile(const QString& path);

    const TCsvSample& Sample() const { return mSample; }
    const TFieldMatch& Match() const { return mMatch; }
    // Tests drive the matching window with this (it runs instead of exec()).
    void SetMatchHook(std::function<int(TAsciiMatch&)> hook) { mMatchHook = std::move(hook); }

    void SelectFileClick() override;

protected:
    xbase::TTable& Target() override { return mDataSet.Table(); }
    std::unique_ptr<TImportSource> MakeSource() override;
    TImportKind Kind() const override { return TImportKind::Ascii; }
    void MatchButtonClick() override;

private:
    data::TDataSet mDataSet;
    TFieldMatch::TLabelOf mLabels;
    QString mPath;
    TCsvSample mSample;
    TFieldMatch mMatch;
    std::function<int(TAsciiMatch&)> mMatchHook;
};

} // namespace qm::transfer
