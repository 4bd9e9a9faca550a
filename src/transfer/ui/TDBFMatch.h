#pragma once

// "DBF File Import Match Fields": a read-only browse of the source table ("Import DBF File
// Browser") above the field match of TMatchFieldsDialog. Rows are the address file's character
// fields plus "Memo" (memo sources only) and "Date" (date sources only).

#include "transfer/ui/TMatchFieldsDialog.h"

class QTableView;

namespace qm::transfer {

class TDbfSourceTable;

class TDBFMatch : public TMatchFieldsDialog {
public:
    static constexpr int kHelpContext = 1061; // the matching page the ASCII import shares

    TDBFMatch(TDbfSourceTable& source, const TFieldMatch& match, const QString& fileName,
              QWidget* parent = nullptr);

    QTableView* BrowseGrid() const { return mBrowse; }

private:
    QTableView* mBrowse = nullptr;
};

} // namespace qm::transfer
