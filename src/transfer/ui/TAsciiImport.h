#pragma once

// "ASCII File Import": appends records from a comma-delimited text file to the address file,
// which this window holds open exclusively in its own data set (the main window closes its table
// first and opens the file again afterwards). The fields get the display labels and visibility
// the main window's fields have, so the match rows read as the main window shows them.
//
// When the chosen file's first line names its columns (TColumnNames), the window says so on its
// status line and the matching window opens with the columns matched by name and the check box
// "First line holds column names" ticked; the user decides, and a ticked box leaves that line out
// of the import.
//
// A vCard file (its first line BEGIN:VCARD) is imported too: its cards fill the fields by
// property (TVCardImportSource), so there is nothing to match and "Import" is enabled at once.

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
    // Whether the first line is left out as column names (found on choosing, set by the match).
    bool HeaderLine() const { return mHeader; }
    bool VCardFile() const { return mVCard; }
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
    bool mHeader = false;
    bool mVCard = false;
    std::function<int(TAsciiMatch&)> mMatchHook;
};

} // namespace qm::transfer
